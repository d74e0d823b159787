// The export meshes over every printable character of two fonts and every
// bevel shape: the front faces cover exactly the letter's area, no triangle
// repeats a vertex or has no area, and every piece whose polygon mesh is
// closed becomes a closed, consistently oriented surface enclosing positive
// volume. Plus the ear clipper on shapes whose answer is known by geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ExtractGlyphOutlines.h"
#include "FontEngine.h"
#include "Letter.h"
#include "MeshCheck.h"
#include "PieceMesh.h"
#include "Text3D.h"
#include "Triangulate.h"

namespace {

// Every byte that is a printable character of the code page.
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

std::unique_ptr<CText3D> Build(const char* fontPath, const std::string& text, int steps, double size) {
  std::string error;
  const auto font = Font::OpenFile(fontPath, 0, &error);
  EXPECT_NE(font, nullptr) << fontPath << ": " << error;
  if (!font) return nullptr;
  CGlyphOutline outline;
  ExtractGlyphOutlines(outline, text, *font);
  TextSettings settings;
  settings.bevelSteps = steps;
  settings.bevelSize = size;
  return BuildText3D(text, outline, settings);
}

double RingArea(const CContour& contour) {
  double twice = 0.0;
  const auto& p = contour.points;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    // The mesh works in the vertices' single precision.
    const double xi = static_cast<float>(p[i].x), yi = static_cast<float>(p[i].y);
    const double xj = static_cast<float>(p[j].x), yj = static_cast<float>(p[j].y);
    twice += xj * yi - xi * yj;
  }
  return std::fabs(twice) / 2.0;
}

// The letter's area: the outer contour less its holes.
double PolygonArea(const CLetterPiece& piece) {
  double area = 0.0;
  for (std::size_t c = 0; c < piece.contours.size(); ++c) {
    if (piece.contours[c]->points.size() < 3) continue;
    area += (c == 0 ? 1.0 : -1.0) * RingArea(*piece.contours[c]);
  }
  return area;
}

// The area the front triangles (all corners at z = 0) cover, counted with
// their winding seen from +z.
double FrontArea(const PieceMesh& mesh) {
  double twice = 0.0;
  for (const auto& t : mesh.triangles) {
    const CVertex3F& a = mesh.vertices[t[0]];
    const CVertex3F& b = mesh.vertices[t[1]];
    const CVertex3F& c = mesh.vertices[t[2]];
    if (a.z != 0.0f || b.z != 0.0f || c.z != 0.0f) continue;
    twice += TwiceSignedArea({a.x, a.y}, {b.x, b.y}, {c.x, c.y});
  }
  return twice / 2.0;
}

// Whether the piece's own polygon mesh (the faces the world is written with)
// is closed once equal vertices are taken as one: each undirected edge of
// non-zero length used exactly twice.
bool PolygonMeshClosed(const CLetterPiece& piece) {
  std::map<std::tuple<float, float, float>, int> id;
  auto vertex = [&](int k) {
    const CVertex3F& v = piece.vertices[static_cast<std::size_t>(k)];
    return id.try_emplace({v.x + 0.0f, v.y + 0.0f, v.z + 0.0f}, static_cast<int>(id.size())).first->second;
  };
  std::map<std::pair<int, int>, int> uses;
  auto polygons = [&](const std::vector<int>& list) {
    std::vector<int> polygon;
    for (int k : list) {
      if (k >= 0) {
        polygon.push_back(vertex(k));
        continue;
      }
      for (std::size_t i = 0; i < polygon.size(); ++i) {
        const int a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if (a != b) ++uses[{std::min(a, b), std::max(a, b)}];
      }
      polygon.clear();
    }
  };
  polygons(piece.frontFace);
  polygons(piece.backFace);
  polygons(piece.sideFaces);
  for (const auto& [edge, count] : uses) {
    if (count != 2) return false;
  }
  return !uses.empty();
}

struct FontCase {
  const char* name;
  const char* path;
};

class PieceMeshCensus : public ::testing::TestWithParam<std::tuple<FontCase, int>> {};

TEST_P(PieceMeshCensus, FacesCoverTheLetterAndClosedPiecesStayClosed) {
  const auto [font, shape] = GetParam();
  const int steps = ShapeChoices::kBevelStepsOfShape[static_cast<std::size_t>(shape)];
  const auto text = Build(font.path, PrintableCharacters(), steps, ShapeChoices::kBevelSizeOfChoice[1]);
  ASSERT_NE(text, nullptr);
  int pieces = 0, closedPieces = 0;
  for (const CLetter& letter : text->letters) {
    for (std::size_t p = 0; p < letter.pieces.size(); ++p) {
      const CLetterPiece& piece = *letter.pieces[p];
      if (piece.vertices.empty()) continue;
      const PieceMesh mesh = BuildPieceMesh(piece);
      const std::string where = std::string(font.name) + " shape " + std::to_string(shape) +
                                " letter " + LetterName(letter.code) + " piece " + std::to_string(p);
      ++pieces;
      const MeshReport report = CheckMesh(mesh, false);
      EXPECT_EQ(report.degenerate, 0) << where;
      const double expected = PolygonArea(piece);
      EXPECT_NEAR(FrontArea(mesh), expected, 1e-6 + 1e-5 * expected) << where;
      if (PolygonMeshClosed(piece)) {
        ++closedPieces;
        EXPECT_TRUE(report.closed) << where << ": " << report.boundaryEdges << " open, "
                                   << report.overusedEdges << " overused edges";
        EXPECT_TRUE(report.oriented) << where;
        EXPECT_GT(report.volume, 0.0) << where;
      }
    }
  }
  // The census means something only when nearly every piece is checked as closed.
  EXPECT_GT(pieces, 180);
  EXPECT_GT(closedPieces, pieces * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(
    FontsAndShapes, PieceMeshCensus,
    ::testing::Combine(::testing::Values(FontCase{"LiberationSans", GLYPHKILN_LIBERATION_SANS},
                                         FontCase{"DejaVuSans", GLYPHKILN_DEJAVU_SANS}),
                       ::testing::Range(0, 5)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_shape" +
             std::to_string(std::get<1>(info.param));
    });

// Ear clipping on rings whose area and triangle count follow from geometry:
// n corners with h holes give n + 2h - 2 triangles (every point kept), and the
// triangles cover the outer ring's area less the holes'.
TEST(EarClipping, CoversRingsWithHolesCollinearPointsAndBothWindings) {
  using Ring = std::vector<CPoint2D>;
  const Ring square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  const Ring squareClockwise = {{0, 0}, {0, 4}, {4, 4}, {4, 0}};
  const Ring squareWithMidpoints = {{0, 0}, {2, 0}, {4, 0}, {4, 2}, {4, 4}, {2, 4}, {0, 4}, {0, 2}};
  const Ring comb = {{0, 0}, {5, 0}, {5, 3}, {4, 3}, {4, 1}, {3, 1}, {3, 3}, {2, 3},
                     {2, 1}, {1, 1}, {1, 3}, {0, 3}};
  const Ring hole = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};
  const Ring hole2 = {{2.5, 2.5}, {3, 2.5}, {3, 3}, {2.5, 3}};
  const Ring holeTouchingOuter = {{0, 1}, {1, 2}, {1, 1}};
  struct Case {
    const char* name;
    std::vector<Ring> rings;
    double area;
    bool countKnown = true;  // a hole touching the outer ring merges two of its points
  };
  const std::vector<Case> cases = {
      {"square", {square}, 16.0},
      {"clockwise square", {squareClockwise}, 16.0},
      {"collinear points kept", {squareWithMidpoints}, 16.0},
      {"comb with notches", {comb}, 11.0},
      {"one hole", {square, hole}, 15.0},
      {"two holes", {square, hole, hole2}, 14.75},
      {"hole touching the outer edge", {square, holeTouchingOuter}, 15.5, false},
  };
  for (const Case& c : cases) {
    std::vector<CPoint2D> all;
    for (const Ring& r : c.rings) all.insert(all.end(), r.begin(), r.end());
    const std::vector<RingTriangle> tris = TriangulateRings(c.rings);
    if (c.countKnown) {
      EXPECT_EQ(tris.size(), all.size() + 2 * (c.rings.size() - 1) - 2) << c.name;
    }
    double area = 0.0;
    for (const RingTriangle& t : tris) {
      const double twice = TwiceSignedArea(all[t[0]], all[t[1]], all[t[2]]);
      EXPECT_GT(twice, 0.0) << c.name << ": every triangle counter-clockwise with area";
      area += twice / 2.0;
    }
    EXPECT_DOUBLE_EQ(area, c.area) << c.name;
  }
  EXPECT_TRUE(TriangulateRings({}).empty());
  EXPECT_TRUE(TriangulateRings({{{0, 0}, {1, 1}}}).empty());
}

// The check that reports on solids must see what is wrong: a cube is closed,
// oriented and has its volume; a missing triangle, a flipped one and a second
// cube pushed into the first are each found.
TEST(MeshCheck, FindsOpenFlippedAndIntersectingSurfaces) {
  PieceMesh cube;
  for (int k = 0; k < 8; ++k) {
    cube.vertices.push_back({static_cast<float>(k & 1), static_cast<float>((k >> 1) & 1),
                             static_cast<float>((k >> 2) & 1)});
  }
  cube.triangles = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                    {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
  const MeshReport good = CheckMesh(cube);
  EXPECT_TRUE(good.closed);
  EXPECT_TRUE(good.oriented);
  EXPECT_EQ(good.selfIntersecting, 0);
  EXPECT_NEAR(good.volume, 1.0, 1e-9);

  PieceMesh open = cube;
  open.triangles.pop_back();
  EXPECT_FALSE(CheckMesh(open).closed);
  EXPECT_EQ(CheckMesh(open).boundaryEdges, 3);

  PieceMesh flipped = cube;
  std::swap(flipped.triangles[0][1], flipped.triangles[0][2]);
  EXPECT_TRUE(CheckMesh(flipped).closed);
  EXPECT_FALSE(CheckMesh(flipped).oriented);

  PieceMesh twoCubes = cube;
  for (int k = 0; k < 8; ++k) {
    const CVertex3F& v = cube.vertices[static_cast<std::size_t>(k)];
    twoCubes.vertices.push_back({v.x + 0.5f, v.y + 0.25f, v.z + 0.3f});
  }
  for (const auto& t : cube.triangles) twoCubes.triangles.push_back({t[0] + 8, t[1] + 8, t[2] + 8});
  const MeshReport crossing = CheckMesh(twoCubes);
  EXPECT_TRUE(crossing.oriented);
  EXPECT_GT(crossing.selfIntersecting, 0);
}

}  // namespace
