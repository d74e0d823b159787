// Clean solids over every printable character of four fonts (one of them
// CFF), every bevel shape and every bevel size: every piece a sound solid by
// an independent check (CGAL's), glyphs built from overlapping parts one
// piece, and the bevel cut inward: no point of the solid outside the font's
// outline, the front never larger than the back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "CleanSolid.h"
#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "IndependentSolidCheck.h"
#include "Letter.h"
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

// Whether (x, y) lies inside the letter's outline (nonzero winding of its
// contours) or within `tolerance` of it.
bool InsideOutline(const CLetter& letter, double x, double y, double tolerance) {
  int winding = 0;
  double nearest = std::numeric_limits<double>::infinity();
  for (const auto& piece : letter.pieces) {
    for (const auto& contour : piece->contours) {
      const auto& p = contour->points;
      for (std::size_t i = 0; i < p.size(); ++i) {
        const CPoint2D& a = p[i];
        const CPoint2D& b = p[(i + 1) % p.size()];
        const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y && b.y > y && side > 0) ++winding;
        if (a.y > y && b.y <= y && side < 0) --winding;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length2 = dx * dx + dy * dy;
        const double t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
        nearest = std::min(nearest, std::hypot(a.x + t * dx - x, a.y + t * dy - y));
      }
    }
  }
  return winding != 0 || nearest <= tolerance;
}

struct FontCase {
  const char* name;
  const char* path;
  bool accentsOverlap;  // the font draws Å, Ç and ç from overlapping parts
};

class CleanSolidCensus : public ::testing::TestWithParam<std::tuple<FontCase, int, int>> {};

TEST_P(CleanSolidCensus, EveryPieceIsASoundSolidWithTheBevelInside) {
  const auto [font, shape, size] = GetParam();
  const auto text = Letters(font.path, PrintableCharacters());
  ASSERT_NE(text, nullptr);
  CleanSolidOptions options;
  options.bevelSteps = ShapeChoices::kBevelStepsOfShape[static_cast<std::size_t>(shape)];
  options.bevelSize = ShapeChoices::kBevelSizeOfChoice[static_cast<std::size_t>(size)];
  const std::vector<PieceMesh> meshes = BuildCleanMeshes(*text, options);
  std::map<int, int> piecesOfLetter;
  std::map<int, PieceMesh> letterMeshes;  // all pieces of a letter in one mesh
  int outside = 0;
  for (const PieceMesh& mesh : meshes) {
    const std::string where = std::string(font.name) + " shape " + std::to_string(shape) + " size " +
                              std::to_string(size) + " " + LetterName(mesh.letterCode) + " piece " +
                              std::to_string(mesh.pieceIndex);
    ++piecesOfLetter[mesh.letterCode & 0xFF];
    PieceMesh& whole = letterMeshes[mesh.letterIndex];
    const auto base = static_cast<std::uint32_t>(whole.vertices.size());
    whole.vertices.insert(whole.vertices.end(), mesh.vertices.begin(), mesh.vertices.end());
    for (const auto& t : mesh.triangles) whole.triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
    const IndependentReport report = CheckIndependently(mesh);
    EXPECT_TRUE(report.manifold && report.closed) << where << ": not a closed oriented manifold";
    EXPECT_EQ(report.selfIntersecting, 0) << where;
    EXPECT_GT(report.volume, 0.0) << where;
    const float back = -static_cast<float>(TextSettings::kDefaultDepth);
    const double backArea = AreaAt(mesh, back);
    EXPECT_LE(report.volume, backArea * TextSettings::kDefaultDepth * (1.0 + 1e-5)) << where;
    EXPECT_LE(AreaAt(mesh, 0.0f), backArea * (1.0 + 1e-6)) << where;
    const CLetter& letter = text->letters[static_cast<std::size_t>(mesh.letterIndex)];
    for (const CVertex3F& v : mesh.vertices) {
      if (v.z != back && !InsideOutline(letter, v.x, v.y, 1e-5)) ++outside;
    }
  }
  EXPECT_EQ(outside, 0) << "points outside the font's outline";
  // The pieces of one letter never overlap or touch one another...
  for (const auto& [index, whole] : letterMeshes) {
    if (piecesOfLetter[text->letters[static_cast<std::size_t>(index)].code & 0xFF] < 2) continue;
    EXPECT_EQ(CheckIndependently(whole).selfIntersecting, 0)
        << font.name << " letter " << index << ": pieces overlap";
  }
  // ... and glyphs a font draws from overlapping parts come out as one piece.
  if (font.accentsOverlap) {
    for (int code : {0xC5, 0xC7, 0xE7}) EXPECT_EQ(piecesOfLetter[code], 1) << font.name << " " << code;
  }
  EXPECT_EQ(piecesOfLetter['i'], 2);
  EXPECT_GT(meshes.size(), 180u);
}

INSTANTIATE_TEST_SUITE_P(
    FontsShapesAndSizes, CleanSolidCensus,
    ::testing::Combine(
        ::testing::Values(
            FontCase{"LiberationSans", GLYPHKILN_LIBERATION_SANS, true},
            FontCase{"LiberationSerif", "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf", true},
            FontCase{"DejaVuSans", GLYPHKILN_DEJAVU_SANS, true},
            // Its ring of Å stands apart from the A: two pieces.
            FontCase{"NimbusSansCff", GLYPHKILN_NIMBUS_SANS_CFF, false}),
        ::testing::Range(0, 5), ::testing::Range(0, 3)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_shape" + std::to_string(std::get<1>(info.param)) +
             "_size" + std::to_string(std::get<2>(info.param));
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
  EXPECT_TRUE(CheckIndependently(merged[0]).Sound());
}

}  // namespace
