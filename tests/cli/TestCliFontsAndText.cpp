// glyphkiln with PostScript-flavoured fonts, Unicode text, missing
// characters, kerning and several lines, as a user runs it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <regex>

#include "RunGlyphkiln.h"

namespace {

using Json = nlohmann::json;

Json GeometryOf(const std::vector<std::string>& args, CliRun* runOut = nullptr) {
  std::vector<std::string> all{"--dump-geometry"};
  all.insert(all.end(), args.begin(), args.end());
  const CliRun run = RunGlyphkiln(all);
  if (runOut) *runOut = run;
  EXPECT_EQ(run.status, 0) << run.err;
  return run.status == 0 ? Json::parse(run.out) : Json();
}

// Per letter with contours: its pieces' contour counts ("1" a solid, "2" a
// piece with one hole), in text order.
std::vector<std::vector<std::size_t>> PieceContours(const Json& json) {
  std::vector<std::vector<std::size_t>> letters;
  for (const Json& letter : json["letters"]) {
    std::vector<std::size_t> pieces;
    for (const Json& piece : letter["pieces"]) {
      if (!piece["contours"].empty()) pieces.push_back(piece["contours"].size());
    }
    letters.push_back(pieces);
  }
  return letters;
}

double Width(const Json& json) { return json["bounds"][2].get<double>() - json["bounds"][0].get<double>(); }

std::string TempFile(const std::string& name, const std::string& contents) {
  const std::string path = "/tmp/glyphkiln-cli-" + std::to_string(::getpid()) + "-" + name;
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}

}  // namespace

TEST(CliFontsAndText, PostScriptFamiliesGiveEveryContourOfTheTrueTypeDesign) {
  // "Helvetica" is a CFF face on Debian; its letters must have the pieces
  // and holes of the metric-compatible TrueType family.
  std::string ascii;
  for (char c = 33; c < 127; ++c) ascii.push_back(c);
  const Json cff = GeometryOf({"--font", "Helvetica", ascii});
  const Json trueType = GeometryOf({"--font", "Liberation Sans", ascii});
  const auto cffPieces = PieceContours(cff), ttPieces = PieceContours(trueType);
  ASSERT_EQ(cffPieces.size(), ascii.size());
  for (std::size_t k = 0; k < ascii.size(); ++k) {
    EXPECT_EQ(cffPieces[k], ttPieces[k]) << ascii[k];
  }
  const auto sog = PieceContours(GeometryOf({"--font", "Helvetica", "Sog"}));
  EXPECT_EQ(sog, (std::vector<std::vector<std::size_t>>{{1}, {2}, {2}})) << "the o and g keep their holes";
}

TEST(CliFontsAndText, UnicodeTextGivesItsOwnGlyphsNamedInTheWorld) {
  const std::string world = TempFile("unicode.wrl", "");
  const CliRun run = RunGlyphkiln({"--font", "DejaVu Sans", "-o", world, "Ωλ€ Ж"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  const std::string text = ReadWhole(world);
  std::remove(world.c_str());
  // Front and sides of each of the four letters with contours, the euro
  // sign by its code-page byte as before, the others by code point.
  for (const char* header : {"#< U+03A9 > (1/1)", "#< U+03BB > (1/1)", "#< -128 > (1/1)",
                             "#< U+0416 > (1/1)", "#< U+0416 > sides(1/1)"}) {
    EXPECT_NE(text.find(header), std::string::npos) << header;
  }
  const std::regex header(R"(Shape\{   #< (U\+[0-9A-F]{4,6}|-?\d+|[!-~]) > (sides)?\(\d+/\d+\))");
  EXPECT_EQ(std::distance(std::sregex_iterator(text.begin(), text.end(), header), std::sregex_iterator()), 8);
}

TEST(CliFontsAndText, MissingCharactersWarnAndTheFallbackFillsThem) {
  CliRun plain, filled;
  const Json without = GeometryOf({"--font", "Liberation Sans", "aԱ"}, &plain);
  EXPECT_NE(plain.err.find("warning"), std::string::npos) << plain.err;
  EXPECT_NE(plain.err.find("U+0531"), std::string::npos) << plain.err;
  const Json with = GeometryOf({"--font", "Liberation Sans", "--font-fallback", "aԱ"}, &filled);
  EXPECT_TRUE(filled.err.empty()) << filled.err;
  ASSERT_EQ(with["letters"].size(), 2u);
  EXPECT_NE(with["letters"][1]["bounds"], without["letters"][1]["bounds"]);
  EXPECT_EQ(with["letters"][1]["code"], 0x531);
}

TEST(CliFontsAndText, KerningNarrowsPairsOnlyWhenAskedFor) {
  const Json plain = GeometryOf({"--font", "Liberation Sans", "AV"});
  const Json kerned = GeometryOf({"--font", "Liberation Sans", "--kerning", "AV"});
  EXPECT_LT(Width(kerned), Width(plain) - 0.01);
}

TEST(CliFontsAndText, LinesComeFromNewlinesOrATextFile) {
  const Json one = GeometryOf({"--font", "Liberation Sans", "Kiln"});
  const Json two = GeometryOf({"--font", "Liberation Sans", "--align", "right", "Glyph\nKiln"});
  const std::string file = TempFile("text.txt", "Glyph\nKiln\n");
  const Json fromFile = GeometryOf({"--font", "Liberation Sans", "--align", "right", "--text-file", file});
  std::remove(file.c_str());
  EXPECT_EQ(two, fromFile) << "the file's last newline ends the line, starts none";
  ASSERT_EQ(two["letters"].size(), 10u);
  EXPECT_LT(two["bounds"][3].get<double>(), one["bounds"][3].get<double>() - 0.9) << "a line lower";
  // Right aligned: both lines end at the same x.
  EXPECT_NEAR(two["letters"][4]["bounds"][2].get<double>(), two["letters"][9]["bounds"][2].get<double>(),
              0.1);

  const CliRun unreadable = RunGlyphkiln({"--text-file", "/nonexistent/text.txt"});
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.err.find("/nonexistent/text.txt"), std::string::npos) << unreadable.err;
}

TEST(CliFontsAndText, FontAndTextOptionsRefuseWhatCannotWork) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string says;
  };
  const std::string notFont = std::string(GLYPHKILN_TEST_DATA_DIR) + "/CMakeLists.txt";
  const std::vector<Case> cases = {
      {{"--face-index", "1", "a"}, 2, "--font-file"},
      {{"--font-file", GLYPHKILN_LIBERATION_SANS, "--face-index", "x", "a"}, 2, "--face-index"},
      {{"--align", "middle", "a"}, 2, "--align"},
      {{"--text-file", "t.txt", "a"}, 2, "TEXT"},
      {{"--font-file", GLYPHKILN_LIBERATION_SANS, "--face-index", "2", "a"}, 1, "face 2"},
      {{"--font-file", notFont, "a"}, 1, "not a font file: " + notFont},
      {{"--font-file", GLYPHKILN_LIBERATION_SANS, "--font-style", "Heavy", "a"}, 1, "Heavy"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunGlyphkiln(c.args);
    EXPECT_EQ(run.status, c.status) << c.says;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
}
