// The world is the same byte for byte whatever locale the program runs in: a
// desktop session in a decimal-comma locale must not write "0,50" or group
// the digits of large vertex numbers.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <stdexcept>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <sstream>
#include <string>
#include <unistd.h>

#include "TestVrmlTestText.h"

using namespace vrmltest;

namespace {

// Decimal comma and digits grouped by three with a point, as in German.
class CommaNumbers : public std::numpunct<char> {
 protected:
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

// A piece of 700 points on a circle: vertex numbers beyond 1000 and
// coordinates with decimals of either sign.
CText3D LargeText() {
  CText3D text = EmptyText();
  auto piece = std::make_unique<CLetterPiece>(0x00336699, 0.15);
  auto contour = std::make_unique<CContour>();
  for (int k = 0; k < 700; ++k) {
    const double angle = -2.0 * 3.14159265358979 * k / 700;  // clockwise
    contour->Add(1234.5 + std::cos(angle), std::sin(angle));
  }
  piece->AddContour(std::move(contour));
  std::vector<std::unique_ptr<CLetterPiece>> pieces;
  pieces.push_back(std::move(piece));
  text.AddLetter(MakeLetter('O', std::move(pieces)));
  text.SetLight(1);
  text.SetBevel(3, 0.06);
  text.BuildMeshes();
  return text;
}

// Restores the C and C++ global locales when a test ends.
class LocaleGuard {
 public:
  LocaleGuard() : m_cpp(std::locale()), m_c(std::setlocale(LC_ALL, nullptr)) {}
  ~LocaleGuard() {
    std::locale::global(m_cpp);
    std::setlocale(LC_ALL, m_c.c_str());
  }

 private:
  std::locale m_cpp;
  std::string m_c;
};

}  // namespace

TEST(VrmlLocale, CommaLocaleOnStreamAndProgramChangesNothing) {
  const CText3D text = LargeText();
  const std::string reference = WorldOf(text);
  ASSERT_NE(reference.find("1234.5000"), std::string::npos);
  ASSERT_NE(reference.find("2099,"), std::string::npos);

  LocaleGuard guard;
  const std::locale comma(std::locale::classic(), new CommaNumbers);
  std::locale::global(comma);
  std::ostringstream out;
  out.imbue(comma);
  WriteVrml(text, out);
  EXPECT_TRUE(out.str() == reference) << "the world differs under a decimal-comma locale";
}

TEST(VrmlLocale, GermanProcessLocaleChangesNothing) {
  // The C library's formatting follows the process locale, which a desktop
  // session sets from the environment. The German locale is compiled into a
  // private directory, so the machine's own locales are left alone.
  const CText3D text = LargeText();
  const std::string reference = WorldOf(text);

  char pattern[] = "/tmp/glyphkiln-locale-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path directory(pattern);
  const std::string command = "localedef -i de_DE -f UTF-8 '" + (directory / "de_DE.UTF-8").string() +
                              "' >/dev/null 2>&1";
  const int built = std::system(command.c_str());
  ASSERT_EQ(built, 0) << "localedef could not build de_DE.UTF-8 (package locales missing?)";

  LocaleGuard guard;
  setenv("LOCPATH", directory.c_str(), 1);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  unsetenv("LOCPATH");
  ASSERT_TRUE(german) << "de_DE.UTF-8 could not be loaded";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.2f", 0.5);
  ASSERT_STREQ(probe, "0,50") << "the German locale is not in effect";
  // The C++ side in German too (the named locale cannot be loaded without a
  // one-time allocation the C library never frees, hence the facet).
  std::locale::global(std::locale(std::locale::classic(), new CommaNumbers));

  std::ostringstream out;
  WriteVrml(text, out);
  EXPECT_TRUE(out.str() == reference) << "the world differs under the German locale";
  std::filesystem::remove_all(directory);
}
