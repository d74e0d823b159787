// Clean solids over every printable character of three fonts, every bevel
// shape and the largest bevel: every piece a sound solid by the mesh check
// (itself tested on broken meshes beside the export meshes), glyphs built
// from overlapping parts one piece, and the bevel cut inward: the front never
// reaches beyond the back and nothing bulges past the extruded outline.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CleanSolid.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Letter.h"
#include "MeshCheck.h"
#include "Text3D.h"
#include "Triangulate.h"

namespace {

std::string PrintableCharacters() {
  std::string text;
  for (int b = 0x21; b <= 0xFF; ++b) {
    if (b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D || b == 0xA0 ||
        b == 0xAD) {
      continue;
    }
    text.push_back(static_cast<char>(b));
  }
  return text;
}

std::unique_ptr<CText3D> Letters(const char* fontPath, const std::string& text) {
  std::string error;
  const auto font = Font::OpenFile(fontPath, 0, &error);
  EXPECT_NE(font, nullptr) << fontPath << ": " << error;
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  BuildOptions contoursOnly;
  contoursOnly.contoursOnly = true;
  return BuildText3D(text, outline, TextSettings{}, contoursOnly);
}

// Area of the triangles lying flat at height z, seen from +z.
double AreaAt(const PieceMesh& mesh, float z) {
  double twice = 0.0;
  for (const auto& t : mesh.triangles) {
    const CVertex3F& a = mesh.vertices[t[0]];
    const CVertex3F& b = mesh.vertices[t[1]];
    const CVertex3F& c = mesh.vertices[t[2]];
    if (a.z != z || b.z != z || c.z != z) continue;
    twice += TwiceSignedArea({a.x, a.y}, {b.x, b.y}, {c.x, c.y});
  }
  return std::fabs(twice) / 2.0;
}

struct FontCase {
  const char* name;
  const char* path;
};

class CleanSolidCensus : public ::testing::TestWithParam<std::tuple<FontCase, int>> {};

TEST_P(CleanSolidCensus, EveryPieceIsASoundSolidWithTheBevelInside) {
  const auto [font, shape] = GetParam();
  const auto text = Letters(font.path, PrintableCharacters());
  ASSERT_NE(text, nullptr);
  CleanSolidOptions options;
  options.bevelSteps = ShapeChoices::kBevelStepsOfShape[static_cast<std::size_t>(shape)];
  options.bevelSize = ShapeChoices::kBevelSizeOfChoice[2];
  const std::vector<PieceMesh> meshes = BuildCleanMeshes(*text, options);
  std::map<int, int> piecesOfLetter;
  for (const PieceMesh& mesh : meshes) {
    const std::string where = std::string(font.name) + " shape " + std::to_string(shape) + " " +
                              LetterName(mesh.letterCode) + " piece " + std::to_string(mesh.pieceIndex);
    ++piecesOfLetter[mesh.letterCode & 0xFF];
    const MeshReport report = CheckMesh(mesh);
    EXPECT_TRUE(report.closed && report.oriented) << where << ": " << report.boundaryEdges
                                                  << " open, " << report.overusedEdges << " overused";
    EXPECT_EQ(report.selfIntersecting, 0) << where;
    EXPECT_EQ(report.degenerate, 0) << where;
    const float back = -static_cast<float>(TextSettings::kDefaultDepth);
    const double backArea = AreaAt(mesh, back);
    EXPECT_GT(report.volume, 0.0) << where;
    EXPECT_LE(report.volume, backArea * TextSettings::kDefaultDepth * (1.0 + 1e-5)) << where;
    EXPECT_LE(AreaAt(mesh, 0.0f), backArea * (1.0 + 1e-6)) << where;
  }
  // Glyphs a font draws from overlapping parts come out as one piece.
  for (int code : {0xC5, 0xC7, 0xE7}) EXPECT_EQ(piecesOfLetter[code], 1) << font.name << " " << code;
  EXPECT_EQ(piecesOfLetter['i'], 2);
  EXPECT_GT(meshes.size(), 180u);
}

INSTANTIATE_TEST_SUITE_P(
    FontsAndShapes, CleanSolidCensus,
    ::testing::Combine(
        ::testing::Values(
            FontCase{"LiberationSans", GLYPHKILN_LIBERATION_SANS},
            FontCase{"LiberationSerif", "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf"},
            FontCase{"DejaVuSans", GLYPHKILN_DEJAVU_SANS}),
        ::testing::Range(0, 5)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_shape" + std::to_string(std::get<1>(info.param));
    });

// Letters that touch become one piece only when asked: "rn" in a tight
// setting overlaps; without merging each letter keeps its own pieces.
TEST(CleanSolids, MergeTouchingJoinsOverlappingLetters) {
  const auto text = Letters(GLYPHKILN_LIBERATION_SANS, "\xC5\xC5");
  ASSERT_NE(text, nullptr);
  // Push the second letter onto the first so the two overlap.
  const double shift = (text->letters[1].bounds.left - text->letters[0].bounds.left) * 0.5;
  for (auto& piece : text->letters[1].pieces) {
    for (auto& contour : piece->contours) {
      for (CPoint2D& p : contour->points) p.x -= shift;
    }
  }
  CleanSolidOptions options;
  EXPECT_EQ(BuildCleanMeshes(*text, options).size(), 2u);
  options.mergeTouching = true;
  const std::vector<PieceMesh> merged = BuildCleanMeshes(*text, options);
  ASSERT_EQ(merged.size(), 1u);
  const MeshReport report = CheckMesh(merged[0]);
  EXPECT_TRUE(report.oriented);
  EXPECT_EQ(report.selfIntersecting, 0);
}

}  // namespace
