// The world's numbers and its letter order under the writer's own shortcuts:
// every vertex coordinate reads exactly as the general fixed-point
// conversion would write it (halfway cases, negative values that round to
// zero, values beyond any model), every index as the general integer
// conversion would; and a world whose letters are finished on several
// threads and written as they are done is the world of the whole text.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "TestVrmlTestText.h"
#include "TextSettings.h"

using namespace vrmltest;

namespace {

std::string GeneralFixed(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, 4);
  return result.ec == std::errc{} ? std::string(buffer, result.ptr) : std::string("0");
}

// The values between "point [" and "]}", in file order.
std::vector<std::string> PointNumbers(const std::string& world) {
  const std::size_t from = world.find("point [\r\n");
  const std::size_t to = world.find("    ]}", from);
  std::vector<std::string> numbers;
  std::istringstream in(world.substr(from + 9, to - from - 9));
  for (std::string word; in >> word;) {
    if (word.back() == ',') word.pop_back();
    numbers.push_back(word);
  }
  return numbers;
}

// A text of one piece whose vertices carry the given coordinates, three to
// a vertex, and whose faces list the given indices.
CText3D PieceWith(const std::vector<float>& coordinates, const std::vector<int>& indices) {
  CText3D text = EmptyText();
  std::vector<std::unique_ptr<CLetterPiece>> pieces;
  pieces.push_back(TrianglePiece({0, 0}, {0.5, 1}, {1, 0}, 255));
  CLetterPiece& piece = *pieces.back();
  piece.vertices.clear();
  for (std::size_t k = 0; k + 2 < coordinates.size(); k += 3) {
    piece.vertices.push_back(CVertex3F{coordinates[k], coordinates[k + 1], coordinates[k + 2]});
  }
  piece.frontFace = indices;
  text.AddLetter(MakeLetter('N', std::move(pieces)));
  return text;
}

}  // namespace

TEST(VrmlNumbers, CoordinatesReadAsTheGeneralConversionWritesThem) {
  std::vector<float> values = {0.0f, -0.0f, 0.03125f, -0.03125f, 0.09375f, 0.15625f, 1.03125f,
                               0.00005f, -0.00005f, 0.00004999f, -0.00001f, 0.99995f, 9.99995f,
                               0.12345f, -123.45678f, 20000.0f, 65535.99995f, 4294967.5f,
                               1.0e13f, -9.9e13f, 1.0e14f, 3.0e15f, -1.0e30f,
                               std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};
  // Every halfway case a float can hold below 4: k/32 for odd k (the
  // fourth decimal is a 5 followed by nothing), either sign.
  for (int k = 1; k < 128; k += 2) {
    values.push_back(static_cast<float>(k) / 32.0f);
    values.push_back(-static_cast<float>(k) / 32.0f);
  }
  // Random bit patterns of every magnitude, and random model-sized values.
  std::mt19937 random(20261209);
  for (int k = 0; k < 20000; ++k) {
    const std::uint32_t bits = static_cast<std::uint32_t>(random());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    values.push_back(value);
    values.push_back(std::uniform_real_distribution<float>(-2000.0f, 2000.0f)(random));
  }
  while (values.size() % 3 != 0) values.push_back(0.5f);

  const std::vector<std::string> written = PointNumbers(WorldOf(PieceWith(values, {0, -1})));
  ASSERT_EQ(written.size(), values.size());
  int wrong = 0;
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (written[k] != GeneralFixed(values[k]) && ++wrong <= 10) {
      ADD_FAILURE() << "bits of " << values[k] << ": wrote " << written[k] << ", expected "
                    << GeneralFixed(values[k]);
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(VrmlNumbers, IndicesReadAsTheGeneralConversionWritesThem) {
  std::vector<int> indices = {-1, 0, 9, 10, 99, 100, 999, 1000, 9999, 10000, 99999, 100000,
                              999999, 1000000, 123456789, std::numeric_limits<int>::max(),
                              std::numeric_limits<int>::min(), -42};
  std::string expected;
  for (int index : indices) {
    char buffer[16];
    expected.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, index).ptr);
    expected += ',';
  }
  const std::string world = WorldOf(PieceWith({0.0f, 0.0f, 0.0f}, indices));
  EXPECT_NE(world.find("coordIndex [ \r\n" + expected + "\r\n"), std::string::npos) << expected;
}

TEST(VrmlFinishing, LettersFinishedOnThreadsGiveTheWorldOfTheWholeText) {
  auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS);
  ASSERT_TRUE(font) << GLYPHKILN_LIBERATION_SANS;
  // Holes, split letters (i, j, %), blanks and a byte from 128 up.
  const std::string text = "Glyph %&@8B ij o\xE9 Q! kiln";
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  for (int shape = 0; shape < static_cast<int>(ShapeChoices::kBevelStepsOfShape.size()); ++shape) {
    TextSettings settings;
    settings.bevelSteps = ShapeChoices::BevelStepsForChoice(shape);
    settings.bevelSize = ShapeChoices::kBevelSizeOfChoice[static_cast<std::size_t>(shape % 3)];
    settings.lightFlags = shape % 4;
    const std::string whole = WorldOf(*BuildText3D(text, outline, settings));
    for (unsigned threads : {1u, 2u, 3u}) {
      SCOPED_TRACE(::testing::Message() << "shape " << shape << " threads " << threads);
      BuildOptions options;
      options.lettersOnly = true;
      const auto letters = BuildText3D(text, outline, settings, options);
      std::ostringstream out;
      WriteVrmlFinishing(*letters, settings, out, threads);
      EXPECT_TRUE(out.str() == whole) << "the world differs from the one of the whole text";
      for (const CLetter& letter : letters->letters) EXPECT_TRUE(letter.pieces.empty());
    }
  }
}
