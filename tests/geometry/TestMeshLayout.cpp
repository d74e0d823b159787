// The mesh of a piece: vertex rings, the order of the front and back
// polygons, the side quads, and the counts that the writers rely on.
#include <gtest/gtest.h>

#include <vector>

#include "GeometryFixtures.h"
#include "LetterPiece.h"
#include "TestClosedSolidChecks.h"

namespace {

// An outer square 0..3 with a counter-clockwise square hole 1..2.
const Polygon kOuter = Rect(0, 0, 3, 3);
const Polygon kHole = Rect(1, 1, 2, 2, false);

void ExpectVertex(const CVertex3F& v, double x, double y, double z) {
  EXPECT_NEAR(v.x, x, 1e-6);
  EXPECT_NEAR(v.y, y, 1e-6);
  EXPECT_NEAR(v.z, z, 1e-6);
}

}  // namespace

TEST(MeshLayout, RingsOfEveryBevelShapeLieOnTheParabola) {
  // A unit square: each of the 4 points gets r = steps + 2 vertices, ring i
  // at z = -depth * i / (r - 1) and pushed out by the given share of the
  // bevel size (4f(1 - f) with f = i / (r - 1)); the first and the last
  // ring lie on the contour itself.
  struct Shape {
    int steps;
    std::vector<double> widths;  // share of the bevel at rings 1..steps
  };
  const double size = 0.06, depth = 0.3;
  for (const Shape& shape :
       {Shape{0, {}}, Shape{1, {1.0}}, Shape{2, {8.0 / 9, 8.0 / 9}}, Shape{3, {0.75, 1.0, 0.75}},
        Shape{7, {7.0 / 16, 12.0 / 16, 15.0 / 16, 1.0, 15.0 / 16, 12.0 / 16, 7.0 / 16}}}) {
    SCOPED_TRACE(testing::Message() << shape.steps << " steps");
    auto piece = MakePiece({Rect(0, 0, 1, 1)}, {}, depth);
    piece->SetBevel(shape.steps, size);
    piece->BuildMesh();
    const int r = shape.steps + 2;
    ASSERT_EQ(piece->vertices.size(), 4u * r);
    std::vector<double> widths{0.0};
    widths.insert(widths.end(), shape.widths.begin(), shape.widths.end());
    widths.push_back(0.0);
    const CPoint2D corners[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int k = 0; k < 4; ++k) {
      const double dx = corners[k].x > 0 ? 1 : -1, dy = corners[k].y > 0 ? 1 : -1;
      for (int i = 0; i < r; ++i) {
        const double grow = size * widths[i];
        ExpectVertex(piece->vertices[k * r + i], corners[k].x + dx * grow, corners[k].y + dy * grow,
                     -depth * i / (r - 1));
      }
    }
    // Front: the first ring, against the contour; back: the last, along it.
    EXPECT_EQ(piece->frontFace, (std::vector<int>{3 * r, 2 * r, r, 0, -1}));
    EXPECT_EQ(piece->backFace, (std::vector<int>{r - 1, 2 * r - 1, 3 * r - 1, 4 * r - 1, -1}));
    EXPECT_EQ(piece->faceCount, 2 + 4 * (r - 1));
    EXPECT_EQ(piece->sideFaces.size(), 5u * 4 * (r - 1));
    EXPECT_TRUE(solidcheck::IsClosedSolid(*piece));
  }
}

TEST(MeshLayout, SideQuadJoinsTwoRingsOfOnePointToThoseOfTheNext) {
  auto piece = MakePiece({Rect(0, 0, 1, 1)});
  piece->SetBevel(0, 0.04);
  piece->BuildMesh();
  // Each quad: back and front of one point, then front and back of the next.
  EXPECT_EQ(piece->sideFaces, (std::vector<int>{1, 0, 2, 3, -1, 3, 2, 4, 5, -1,  //
                                                5, 4, 6, 7, -1, 7, 6, 0, 1, -1}));
}

TEST(MeshFaces, FrontFollowsTheMergedOutlineBackwardsAndBackForwards) {
  // Bridged from outer point 0 to hole point 0 the way the bridging splices
  // a hole in: the whole hole from its bridge end back to it, then back to
  // the outer point.
  auto piece = MakePiece({kOuter, kHole},
                         {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 0}, {0, 0}, {0, 1}, {0, 2}, {0, 3}});
  piece->SetBevel(1, 0.02);
  piece->BuildMesh();
  const int r = 3;
  // Global point numbers: outer 0..3, hole 4..7.
  const std::vector<int> merged{0, 4, 5, 6, 7, 4, 0, 1, 2, 3};
  std::vector<int> front, back;
  for (auto it = merged.rbegin(); it != merged.rend(); ++it) front.push_back(*it * r);
  front.push_back(-1);
  for (int g : merged) back.push_back(g * r + r - 1);
  back.push_back(-1);
  EXPECT_EQ(piece->frontFace, front);
  EXPECT_EQ(piece->backFace, back);
  EXPECT_EQ(piece->vertices.size(), 8u * r);
  EXPECT_EQ(piece->faceCount, 2 + 8 * (r - 1));
  EXPECT_TRUE(solidcheck::IsClosedSolid(*piece));
  EXPECT_TRUE(solidcheck::FrontFacesViewer(*piece));
}

TEST(MeshFaces, HoleNotInTheMergedOutlineGetsSidesButIsNotCutOut) {
  struct Case {
    const char* what;
    Polygon hole;
    MergedOutline merged;
  };
  const std::vector<Case> cases = {
      {"unbridged hole", kHole, {{0, 0}, {0, 1}, {0, 2}, {0, 3}}},
      {"no merged outline at all", kHole, {}},
      {"broken entries left out", {{1, 1}, {2, 1}, {2, 2}}, {{0, 0}, {0, 1}, {5, 0}, {1, 9}, {0, 2}, {0, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto piece = MakePiece({kOuter, c.hole}, c.merged);
    piece->BuildMesh();
    EXPECT_EQ(piece->frontFace, (std::vector<int>{6, 4, 2, 0, -1}));
    EXPECT_EQ(piece->backFace, (std::vector<int>{1, 3, 5, 7, -1}));
    const int n = static_cast<int>(c.hole.size());
    EXPECT_EQ(piece->faceCount, 2 + 4 + n);
    // The hole's closing edge (its last point to its first, 4) is the last quad.
    ASSERT_GE(piece->sideFaces.size(), 5u);
    const std::vector<int> last(piece->sideFaces.end() - 5, piece->sideFaces.end());
    EXPECT_EQ(last, (std::vector<int>{(3 + n) * 2 + 1, (3 + n) * 2, 8, 9, -1}));
  }
}

TEST(MeshFaces, PieceWithoutAnAreaHasNoMesh) {
  // No contour at all, or a stray outer contour of no, one or two points as
  // fonts carry them: no faces with fewer than three corners.
  for (const std::vector<Polygon>& contours :
       {std::vector<Polygon>{}, {Polygon{}}, {Polygon{{1, 1}}}, {Polygon{{1, 1}, {2, 1}}}}) {
    SCOPED_TRACE(testing::Message() << contours.size() << " contours, "
                                    << (contours.empty() ? 0 : contours[0].size()) << " points");
    CLetterPiece piece(255, 0.2);
    for (const Polygon& c : contours) piece.AddContour(MakeContour(c));
    piece.SetBevel(7, 0.06);
    piece.BuildMesh();
    EXPECT_TRUE(piece.vertices.empty());
    EXPECT_TRUE(piece.frontFace.empty());
    EXPECT_TRUE(piece.backFace.empty());
    EXPECT_TRUE(piece.sideFaces.empty());
    EXPECT_EQ(piece.faceCount, 0);
  }
}

TEST(MeshFaces, PieceMissingBevelContoursGetsAStraightSide) {
  auto piece = MakePiece({Rect(-1, -1, 2, 2), {{0, 0}, {1, 0}}});
  piece->SetBevel(7, 0.06);
  ASSERT_EQ(piece->bevelContours.size(), 1u);
  piece->BuildMesh();
  EXPECT_EQ(piece->vertices.size(), 6u * 2);
  EXPECT_EQ(piece->faceCount, 2 + 6);
}

TEST(MeshFaces, RebuildReplacesTheMeshAndTakesTheNewDepth) {
  auto piece = MakePiece({Rect(0, 0, 1, 1)});
  piece->SetBevel(3, 0.02);
  piece->BuildMesh();
  piece->SetDepth(1.5);
  piece->SetBevel(0, 0.02);
  piece->BuildMesh();
  EXPECT_EQ(piece->vertices.size(), 8u);
  EXPECT_EQ(piece->faceCount, 6);
  EXPECT_EQ(piece->sideFaces.size(), 20u);
  ExpectVertex(piece->vertices[1], 0, 0, -1.5);
}

TEST(MeshFaces, AddFaceLeavesOutNegativeCorners) {
  CLetterPiece piece(255, 0.2);
  piece.AddFace(10, 0, 1, -1, 3);
  piece.AddFace(0, 4, 5, 6, 7);
  EXPECT_EQ(piece.sideFaces, (std::vector<int>{10, 11, 13, -1, 4, 5, 6, 7, -1}));
  EXPECT_EQ(piece.faceCount, 2);
}
