// The mesh of a piece: vertex rings, the order of the front and back
// polygons, the side quads, and the counts that the writers rely on.
#include <gtest/gtest.h>

#include <vector>

#include "Letter.h"
#include "LetterPiece.h"
#include "TestClosedSolidChecks.h"

using solidcheck::MakeContour;
using solidcheck::MakePiece;

namespace {

std::unique_ptr<CLetterPiece> SquarePiece(double depth = 0.2) {
  std::vector<std::unique_ptr<CContour>> c;
  c.push_back(MakeContour({{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
  return MakePiece(std::move(c), {}, depth);
}

// An outer square 0..3 with a counter-clockwise square hole 1..2, bridged
// from outer point 0 to hole point 0 the way the bridging splices a hole in:
// the whole hole from its bridge end back to it, then back to the outer point.
std::unique_ptr<CLetterPiece> SquareWithHole() {
  std::vector<std::unique_ptr<CContour>> c;
  c.push_back(MakeContour({{0, 0}, {0, 3}, {3, 3}, {3, 0}}));
  c.push_back(MakeContour({{1, 1}, {2, 1}, {2, 2}, {1, 2}}));
  return MakePiece(std::move(c),
                   {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 0}, {0, 0}, {0, 1}, {0, 2}, {0, 3}});
}

void ExpectVertex(const CVertex3F& v, double x, double y, double z) {
  EXPECT_NEAR(v.x, x, 1e-6);
  EXPECT_NEAR(v.y, y, 1e-6);
  EXPECT_NEAR(v.z, z, 1e-6);
}

}  // namespace

TEST(MeshLayout, StraightSideHasTwoRingsAndOneQuadPerEdge) {
  auto piece = SquarePiece(0.25);
  piece->SetBevel(0, 0.04);
  piece->BuildMesh();
  ASSERT_EQ(piece->vertices.size(), 8u);
  ExpectVertex(piece->vertices[0], 0, 0, 0);
  ExpectVertex(piece->vertices[1], 0, 0, -0.25);
  ExpectVertex(piece->vertices[6], 1, 0, 0);
  ExpectVertex(piece->vertices[7], 1, 0, -0.25);
  EXPECT_EQ(piece->frontFace, (std::vector<int>{6, 4, 2, 0, -1}));
  EXPECT_EQ(piece->backFace, (std::vector<int>{1, 3, 5, 7, -1}));
  // Each quad: back and front of one point, then front and back of the next.
  EXPECT_EQ(piece->sideFaces, (std::vector<int>{1, 0, 2, 3, -1, 3, 2, 4, 5, -1,  //
                                                5, 4, 6, 7, -1, 7, 6, 0, 1, -1}));
  EXPECT_EQ(piece->faceCount, 6);
}

TEST(MeshLayout, RoundBevelRingsTraceTheParabola) {
  // Square of side 1, 7 steps, size 0.06: ring i (f = i/8) lies at the corner
  // plus 4f(1 - f) of the full 0.06 outward offset, at z = -depth * f.
  auto piece = SquarePiece(0.2);
  piece->SetBevel(7, 0.06);
  piece->BuildMesh();
  const int r = 9;
  ASSERT_EQ(piece->vertices.size(), 4u * r);
  for (int i = 0; i < r; ++i) {
    const double f = i / 8.0;
    const double grow = 0.06 * 4.0 * f * (1.0 - f);
    ExpectVertex(piece->vertices[0 * r + i], -grow, -grow, -0.2 * f);
    ExpectVertex(piece->vertices[2 * r + i], 1 + grow, 1 + grow, -0.2 * f);
  }
  ExpectVertex(piece->vertices[4], -0.06, -0.06, -0.1);  // the full grown square halfway
  EXPECT_EQ(piece->frontFace, (std::vector<int>{27, 18, 9, 0, -1}));
  EXPECT_EQ(piece->backFace, (std::vector<int>{8, 17, 26, 35, -1}));
  EXPECT_EQ(piece->faceCount, 2 + 4 * 8);
  EXPECT_EQ(piece->sideFaces.size(), 5u * 4 * 8);
}

TEST(MeshLayout, FewerStepsPutTheMiddleRingsOnTheSameParabola) {
  struct Shape {
    int steps;
    std::vector<double> widths;  // share of the bevel at rings 1..steps
  };
  for (const Shape& shape : {Shape{1, {1.0}}, Shape{2, {8.0 / 9, 8.0 / 9}},
                             Shape{3, {0.75, 1.0, 0.75}}}) {
    SCOPED_TRACE(shape.steps);
    auto piece = SquarePiece(0.3);
    piece->SetBevel(shape.steps, 0.04);
    piece->BuildMesh();
    const int r = shape.steps + 2;
    ASSERT_EQ(piece->vertices.size(), 4u * r);
    for (int i = 1; i <= shape.steps; ++i) {
      const double grow = 0.04 * shape.widths[i - 1];
      // Point 1 is the upper left corner (0, 1): it moves left and up.
      ExpectVertex(piece->vertices[1 * r + i], -grow, 1 + grow, -0.3 * i / (shape.steps + 1));
    }
    EXPECT_EQ(piece->faceCount, 2 + 4 * (r - 1));
  }
}

TEST(MeshFaces, FrontFollowsTheMergedOutlineBackwardsAndBackForwards) {
  auto piece = SquareWithHole();
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

TEST(MeshFaces, UnbridgedHoleGetsSidesButIsNotCutOut) {
  std::vector<std::unique_ptr<CContour>> c;
  c.push_back(MakeContour({{0, 0}, {0, 3}, {3, 3}, {3, 0}}));
  c.push_back(MakeContour({{1, 1}, {2, 1}, {2, 2}, {1, 2}}));
  auto piece = MakePiece(std::move(c), {{0, 0}, {0, 1}, {0, 2}, {0, 3}});
  piece->BuildMesh();
  EXPECT_EQ(piece->frontFace, (std::vector<int>{6, 4, 2, 0, -1}));
  EXPECT_EQ(piece->faceCount, 2 + 8);
  EXPECT_EQ(piece->sideFaces.back(), -1);
  // The hole's closing edge (point 7 to point 4) is the last quad.
  const std::vector<int> last(piece->sideFaces.end() - 5, piece->sideFaces.end());
  EXPECT_EQ(last, (std::vector<int>{15, 14, 8, 9, -1}));
}

TEST(MeshFaces, PieceWithHolesButNoMergedOutlineFacesWithItsOuterContour) {
  std::vector<std::unique_ptr<CContour>> c;
  c.push_back(MakeContour({{0, 0}, {0, 3}, {3, 3}, {3, 0}}));
  c.push_back(MakeContour({{1, 1}, {2, 1}, {2, 2}, {1, 2}}));
  auto piece = MakePiece(std::move(c));
  piece->BuildMesh();
  EXPECT_EQ(piece->frontFace, (std::vector<int>{6, 4, 2, 0, -1}));
  EXPECT_EQ(piece->backFace, (std::vector<int>{1, 3, 5, 7, -1}));
}

TEST(MeshFaces, BrokenMergedOutlineEntriesAreLeftOut) {
  std::vector<std::unique_ptr<CContour>> c;
  c.push_back(MakeContour({{0, 0}, {0, 3}, {3, 3}, {3, 0}}));
  c.push_back(MakeContour({{1, 1}, {2, 1}, {2, 2}}));
  auto piece = MakePiece(std::move(c), {{0, 0}, {0, 1}, {5, 0}, {1, 9}, {0, 2}, {0, 3}});
  piece->BuildMesh();
  EXPECT_EQ(piece->frontFace, (std::vector<int>{6, 4, 2, 0, -1}));
}

TEST(MeshFaces, PieceWithoutContoursHasNoMesh) {
  CLetterPiece piece(255, 0.2);
  piece.SetBevel(7, 0.06);
  piece.BuildMesh();
  EXPECT_TRUE(piece.vertices.empty());
  EXPECT_TRUE(piece.frontFace.empty());
  EXPECT_TRUE(piece.backFace.empty());
  EXPECT_TRUE(piece.sideFaces.empty());
  EXPECT_EQ(piece.faceCount, 0);
}

TEST(MeshFaces, PieceMissingBevelContoursGetsAStraightSide) {
  std::vector<std::unique_ptr<CContour>> c;
  c.push_back(MakeContour({{-1, -1}, {-1, 2}, {2, 2}, {2, -1}}));
  c.push_back(MakeContour({{0, 0}, {1, 0}}));
  auto piece = MakePiece(std::move(c));
  piece->SetBevel(7, 0.06);
  ASSERT_EQ(piece->bevelContours.size(), 1u);
  piece->BuildMesh();
  EXPECT_EQ(piece->vertices.size(), 6u * 2);
  EXPECT_EQ(piece->faceCount, 2 + 6);
}

TEST(MeshFaces, RebuildReplacesTheMeshAndTakesTheNewDepth) {
  auto piece = SquarePiece(0.2);
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

TEST(MeshFaces, EveryShapeOfAHolePieceIsAClosedSolid) {
  for (int steps : {0, 1, 2, 3, 7}) {
    for (double size : {0.02, 0.04, 0.06}) {
      SCOPED_TRACE(testing::Message() << steps << " steps, size " << size);
      auto piece = SquareWithHole();
      piece->SetBevel(steps, size);
      piece->BuildMesh();
      EXPECT_TRUE(solidcheck::IsClosedSolid(*piece));
      EXPECT_TRUE(solidcheck::FrontFacesViewer(*piece));
    }
  }
}

TEST(MeshFaces, OuterContourWithoutAreaGivesNoSolid) {
  // Fonts carry stray contours of one or two points; they must not turn into
  // faces with fewer than three corners.
  for (auto points : {std::vector<CPoint2D>{}, std::vector<CPoint2D>{{1, 1}},
                      std::vector<CPoint2D>{{1, 1}, {2, 1}}}) {
    auto contour = std::make_unique<CContour>();
    for (const CPoint2D& p : points) contour->Add(p);
    std::vector<std::unique_ptr<CContour>> c;
    c.push_back(std::move(contour));
    auto piece = MakePiece(std::move(c));
    piece->SetBevel(7, 0.06);
    piece->BuildMesh();
    EXPECT_TRUE(piece->vertices.empty());
    EXPECT_TRUE(piece->frontFace.empty());
    EXPECT_TRUE(piece->sideFaces.empty());
    EXPECT_EQ(piece->faceCount, 0);
  }
}
