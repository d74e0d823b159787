// The small predicates the nesting and bridging stand on.
#include <gtest/gtest.h>

#include "ContourPredicates.h"
#include "GeometryFixtures.h"

TEST(ContourPredicates, PointInContourUsesTheEvenOddRule) {
  const auto square = MakeContour(Rect(0, 0, 10, 10));
  EXPECT_TRUE(PointInContour({5, 5}, *square));
  EXPECT_FALSE(PointInContour({15, 5}, *square));
  EXPECT_FALSE(PointInContour({-1, 5}, *square));
  EXPECT_FALSE(PointInContour({5, 11}, *square));
  EXPECT_FALSE(PointInContour({5, 5}, CContour{}));
  // A self-overlapping star counts its doubly covered centre as outside.
  const auto pentagram = MakeContour({{0, 3}, {8, 3}, {1, -2}, {4, 7}, {7, -2}});
  EXPECT_FALSE(PointInContour({4, 2}, *pentagram));
  EXPECT_TRUE(PointInContour({4, 5}, *pentagram));
}

TEST(ContourPredicates, RayThroughAVertexCountsItAsSlightlyHigher) {
  // A diamond: the ray from the centre passes exactly through the right
  // vertex (10, 5); counted once, the centre is inside.
  const auto diamond = MakeContour({{0, 5}, {5, 10}, {10, 5}, {5, 0}});
  EXPECT_TRUE(PointInContour({5, 5}, *diamond));
  // A point level with the bottom vertex of a triangle, left of it: the
  // vertex is taken 0.0001 higher, so the ray misses the triangle.
  const auto triangle = MakeContour({{10, 0}, {5, 10}, {15, 10}});
  EXPECT_FALSE(PointInContour({0, 0}, *triangle));
  // Level with the top edge, inside the x range: the edge sits 0.0001 above
  // the point, so it is inside.
  EXPECT_TRUE(PointInContour({10, 10}, *triangle));
}

TEST(ContourPredicates, RelationComparesBoundsThenTheFirstPoint) {
  const auto outer = MakeContour(Rect(0, 0, 10, 10));
  const auto inner = MakeContour(Rect(2, 2, 8, 8));
  const auto apart = MakeContour(Rect(20, 0, 30, 10));
  EXPECT_EQ(Relation(*inner, *outer), kFirstInsideSecond);
  EXPECT_EQ(Relation(*outer, *inner), kSecondInsideFirst);
  EXPECT_EQ(Relation(*outer, *apart), kDisjoint);
  // An L whose bounds lie inside the square's but whose first point is in
  // the notch, outside the other contour: disjoint.
  const auto notched = MakeContour({{0, 0}, {0, 10}, {5, 10}, {5, 5}, {10, 5}, {10, 0}});
  const auto inNotch = MakeContour({{7, 7}, {7, 9}, {9, 9}, {9, 1}, {1, 1}, {1, 3}});
  EXPECT_EQ(Relation(*inNotch, *notched), kDisjoint);
  // Degenerate bounds relate to nothing.
  const auto flat = MakeContour({{1, 5}, {9, 5}});
  const auto dot = MakeContour({{5, 5}});
  EXPECT_EQ(Relation(*flat, *outer), kDisjoint);
  EXPECT_EQ(Relation(*outer, *dot), kDisjoint);
  EXPECT_EQ(Relation(CContour{}, *outer), kDisjoint);
}

TEST(ContourPredicates, OrientationIsPositiveForClockwiseWithYUp) {
  EXPECT_EQ(Orientation(*MakeContour(Rect(0, 0, 10, 10, true))), 1);
  EXPECT_EQ(Orientation(*MakeContour(Rect(0, 0, 10, 10, false))), -1);
  EXPECT_EQ(Orientation(*MakeContour({{0, 0}, {5, 5}, {10, 10}})), 0);
  EXPECT_EQ(Orientation(CContour{}), 0);
}

TEST(ContourPredicates, ReverseFlipsOrderAndOrientationButKeepsBounds) {
  auto contour = MakeContour({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {5, -3}});
  const CBoundRect before = contour->bounds;
  Reverse(*contour);
  EXPECT_EQ(contour->points.front(), (CPoint2D{5, -3}));
  EXPECT_EQ(contour->points[2], (CPoint2D{10, 10}));
  EXPECT_EQ(contour->points.back(), (CPoint2D{0, 0}));
  EXPECT_EQ(Orientation(*contour), -1);
  EXPECT_EQ(contour->bounds.left, before.left);
  EXPECT_EQ(contour->bounds.bottom, before.bottom);
}

TEST(ContourPredicates, SegmentsMeetWhenCrossingTouchingOrOverlapping) {
  EXPECT_TRUE(SegmentsIntersect({0, 0}, {10, 10}, {0, 10}, {10, 0}));    // crossing
  EXPECT_TRUE(SegmentsIntersect({0, 0}, {10, 0}, {5, 0}, {5, 5}));       // end on segment
  EXPECT_TRUE(SegmentsIntersect({0, 0}, {10, 0}, {10, 0}, {20, 5}));     // shared end
  EXPECT_TRUE(SegmentsIntersect({0, 0}, {10, 0}, {5, 0}, {15, 0}));      // collinear overlap
  EXPECT_FALSE(SegmentsIntersect({0, 0}, {10, 0}, {11, 0}, {15, 0}));    // collinear apart
  EXPECT_FALSE(SegmentsIntersect({0, 0}, {10, 0}, {0, 1}, {10, 1}));     // parallel
  EXPECT_FALSE(SegmentsIntersect({0, 0}, {10, 10}, {6, 4}, {10, 0}));    // would cross if longer
  EXPECT_FALSE(SegmentsIntersect({0, 0}, {4, 4}, {0, 10}, {10, 0}));     // boxes overlap, no touch
}
