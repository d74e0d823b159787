// The world file's exact text: a small world byte for byte, the world of a
// text without letters, the viewpoint's distance, colours, letter labels and
// the comments that name each shape.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "TestVrmlTestText.h"

using namespace vrmltest;

namespace {

// "A", a blank and an "i" whose first piece has no contours, lit from the
// front right.
CText3D TwoLettersAndBlank() {
  CText3D text = EmptyText();
  std::vector<std::unique_ptr<CLetterPiece>> a;
  a.push_back(TrianglePiece({0, 0}, {0.5, 0.6666667}, {1, 0}, 0x00FF8000));
  text.AddLetter(MakeLetter('A', std::move(a)));
  std::vector<std::unique_ptr<CLetterPiece>> blank;
  blank.push_back(nullptr);
  text.AddLetter(MakeLetter(' ', std::move(blank)));
  std::vector<std::unique_ptr<CLetterPiece>> i;
  i.push_back(nullptr);
  i.push_back(TrianglePiece({1.2, 1.1}, {1.3, 1.2}, {1.4, 1.1}, 255));
  text.AddLetter(MakeLetter('i', std::move(i)));
  text.SetLight(0);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string OnlyLineStartingWith(const std::string& world, const std::string& prefix) {
  for (const std::string& line : Lines(world)) {
    if (line.rfind(prefix, 0) == 0) return line;
  }
  return "(no line starting with " + prefix + ")";
}

}  // namespace

TEST(VrmlWorldFormat, SmallWorldMatchesTheFileByteForByte) {
  const std::string expected =
      ReadFile(std::string(GLYPHKILN_TEST_DATA_DIR) + "/fixtures/two_letters_and_blank.wrl");
  ASSERT_FALSE(expected.empty()) << "fixture missing";
  EXPECT_EQ(WorldOf(TwoLettersAndBlank()), expected);
}

TEST(VrmlWorldFormat, TextWithoutLettersStillHasViewpointGroupAndLight) {
  CText3D text = EmptyText();
  text.SetLight(3);
  EXPECT_EQ(WorldOf(text),
            "#VRML V2.0 utf8 \r\n"
            "Viewpoint {position  -0.50 -0.50 3.00 }\r\n"
            "Group { \r\n"
            " children [ \r\n"
            "  DirectionalLight {direction 0.50 0.20 0.90}\r\n"
            "  ]}\r\n");
}

TEST(VrmlWorldFormat, ViewpointBacksOffWithTheTextButStaysWithinThreeToFive) {
  struct Case {
    CBoundRect bounds;
    const char* expected;
  };
  // left, top, right, bottom
  for (const Case& c : {Case{{0, 1.2, 2, 0}, "Viewpoint {position  1.00 0.60 3.60 }"},
                        Case{{-1, 0.5, 6, 0}, "Viewpoint {position  2.50 0.25 5.00 }"},
                        Case{{0, 0.2, 1, 0}, "Viewpoint {position  0.50 0.10 3.00 }"},
                        Case{{0, 1, 4.5, -0.2}, "Viewpoint {position  2.25 0.40 4.50 }"}}) {
    CText3D text = EmptyText();
    text.bounds = c.bounds;
    EXPECT_EQ(OnlyLineStartingWith(WorldOf(text), "Viewpoint"), c.expected);
  }
}

TEST(VrmlWorldFormat, DiffuseColourComesFromTheColourReference) {
  for (const auto& [colour, expected] :
       std::vector<std::pair<int, std::string>>{{255, "1.00 0.00 0.00"},
                                                {0x00FF0000, "0.00 0.00 1.00"},
                                                {0x0000FF00, "0.00 1.00 0.00"},
                                                {0x00336699, "0.60 0.40 0.20"}}) {
    CText3D text = EmptyText();
    std::vector<std::unique_ptr<CLetterPiece>> pieces;
    pieces.push_back(TrianglePiece({0, 0}, {0, 1}, {1, 0}, colour));
    text.AddLetter(MakeLetter('x', std::move(pieces)));
    EXPECT_EQ(OnlyLineStartingWith(WorldOf(text), "     diffuseColor"),
              "     diffuseColor " + expected);
  }
}

TEST(VrmlWorldFormat, BytesFrom128AndBlanksAreNamedByTheirSignedCode) {
  CText3D text = EmptyText();
  for (int code : {-23, 32, 33}) {
    std::vector<std::unique_ptr<CLetterPiece>> pieces;
    pieces.push_back(TrianglePiece({0, 0}, {0, 1}, {1, 0}, 255));
    text.AddLetter(MakeLetter(code, std::move(pieces)));
  }
  std::vector<std::string> headers;
  for (const std::string& line : Lines(WorldOf(text))) {
    if (line.rfind("  Shape{", 0) == 0) headers.push_back(line);
  }
  EXPECT_EQ(headers, (std::vector<std::string>{
                         "  Shape{   #< -23 > (1/1) ", "  Shape{   #< -23 > sides(1/1) ",
                         "  Shape{   #< 32 > (1/1) ", "  Shape{   #< 32 > sides(1/1) ",
                         "  Shape{   #< ! > (1/1) ", "  Shape{   #< ! > sides(1/1) "}));
}

TEST(VrmlWorldFormat, LetterIOfARealFontNamesItsTwoWrittenPieces) {
  // The "i" of a real font splits into three pieces, the first without
  // contours: the shapes count all three, the labels only those written.
  auto font = Font::OpenFile(GLYPHKILN_LIBERATION_SANS);
  ASSERT_TRUE(font) << GLYPHKILN_LIBERATION_SANS;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, "i", *font);
  CText3D text("i", outline, 255, 1.0, 0.2);
  text.FindContours();
  text.CalculateContours();
  text.SetBevel(0, 1.0 / 30);
  text.BuildMeshes();
  ASSERT_EQ(text.letters.size(), 1u);
  ASSERT_EQ(text.letters[0].pieces.size(), 3u);
  std::vector<std::string> named;
  for (const std::string& line : Lines(WorldOf(text))) {
    if (line.rfind("  Shape{", 0) == 0 || line.find("Label_") != std::string::npos) {
      named.push_back(line);
    }
  }
  EXPECT_EQ(named, (std::vector<std::string>{
                       "  Shape{   #< i > (2/3) ", "    coord DEF Label_1 Coordinate { ",
                       "  Shape{   #< i > sides(2/3) ", "    coord USE Label_1 ",
                       "  Shape{   #< i > (3/3) ", "    coord DEF Label_2 Coordinate { ",
                       "  Shape{   #< i > sides(3/3) ", "    coord USE Label_2 "}));
}

TEST(VrmlWorldFormat, StraightSidedPieceListsTwoPointsPerOutlinePoint) {
  // A square built through the solid stages: 8 point lines, "8 points
  // (0 .. 7)", the two face lines and four quad lines.
  CText3D text = EmptyText();
  auto piece = std::make_unique<CLetterPiece>(255, 0.2);
  auto contour = std::make_unique<CContour>();
  for (const CPoint2D& p : {CPoint2D{0, 0}, CPoint2D{0, 1}, CPoint2D{1, 1}, CPoint2D{1, 0}}) {
    contour->Add(p);
  }
  piece->AddContour(std::move(contour));
  std::vector<std::unique_ptr<CLetterPiece>> pieces;
  pieces.push_back(std::move(piece));
  text.AddLetter(MakeLetter('o', std::move(pieces)));
  text.SetBevel(0, 0.02);
  text.BuildMeshes();
  const std::vector<std::string> lines = Lines(WorldOf(text));
  auto at = [&](const std::string& line) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
      if (lines[k] == line) return k;
    }
    return lines.size();
  };
  const std::size_t points = at("     point [");
  const std::size_t end = at("    ]} # 8 points (0 .. 7)");
  ASSERT_LT(end, lines.size());
  EXPECT_EQ(end - points - 1, 8u);
  EXPECT_EQ(lines[points + 2], "0.0000 0.0000 -0.2000,");
  EXPECT_EQ(lines[end + 2], "6,4,2,0,-1,");
  EXPECT_EQ(lines[end + 3], "1,3,5,7,-1,");
  const std::size_t sides = at("    coord USE Label_1 ");
  ASSERT_LT(sides + 6, lines.size());
  EXPECT_EQ(lines[sides + 2], "1,0,2,3,-1,");
  EXPECT_EQ(lines[sides + 5], "7,6,0,1,-1,");
  EXPECT_EQ(lines[sides + 6], "    ]");
}

TEST(VrmlWorldFormat, PieceWithoutMeshIsLeftOutOfTheLabels) {
  // A piece whose only contour has no area has no mesh: no empty shape is
  // written for it, and the next piece takes label 1.
  CText3D text = EmptyText();
  auto stray = std::make_unique<CLetterPiece>(255, 0.25);
  auto point = std::make_unique<CContour>();
  point->Add(0.3, 0.5);
  stray->AddContour(std::move(point));
  std::vector<std::unique_ptr<CLetterPiece>> pieces;
  pieces.push_back(std::move(stray));
  pieces.push_back(TrianglePiece({0, 0}, {0, 1}, {1, 0}, 255));
  text.AddLetter(MakeLetter('u', std::move(pieces)));
  const std::string world = WorldOf(text);
  EXPECT_EQ(world.find("(1/2)"), std::string::npos);
  EXPECT_NE(world.find("  Shape{   #< u > (2/2) \r\n"), std::string::npos);
  EXPECT_NE(world.find("    coord DEF Label_1 Coordinate { \r\n"), std::string::npos);
  EXPECT_EQ(world.find("Label_2"), std::string::npos);
}
