// Orientation of the contours and the bridges that join holes to the outer
// contour in one merged outline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <tuple>

#include "ContourPredicates.h"
#include "GeometryFixtures.h"
#include "HoleBridging.h"
#include "RealGlyphs.h"

namespace {

using Contours = std::vector<std::unique_ptr<CContour>>;

const CPoint2D& At(const CLetterPiece& piece, std::size_t k) {
  const OutlinePoint& e = piece.mergedOutline[k];
  return piece.contours[e.contour]->points[e.point];
}

// The bridges in the order they leave: (start, target) for each entry
// followed by an entry of a higher contour.
std::vector<std::pair<CPoint2D, CPoint2D>> Bridges(const CLetterPiece& piece) {
  std::vector<std::pair<CPoint2D, CPoint2D>> bridges;
  const auto& outline = piece.mergedOutline;
  for (std::size_t k = 0; k + 1 < outline.size(); ++k) {
    if (outline[k + 1].contour > outline[k].contour) bridges.emplace_back(At(piece, k), At(piece, k + 1));
  }
  return bridges;
}

// The bridging written the plain way, testing every edge for every bridge
// on a flat outline: the answers the fast bridging must give exactly.
class PlainBridging {
 public:
  explicit PlainBridging(const Contours& contours) : c(contours), joined(contours.size(), 0) {
    for (std::uint32_t k = 0; k < c[0]->Size(); ++k) merged.push_back({0, k});
  }

  std::vector<OutlinePoint> Run() {
    for (std::size_t i = 0; i < merged.size(); ++i) BridgeFrom(i);
    return merged;
  }

 private:
  const CPoint2D& P(std::size_t k) const { return c[merged[k].contour]->points[merged[k].point]; }
  static double Manhattan(const CPoint2D& a, const CPoint2D& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
  }
  bool IsEnd(const CPoint2D& p) const { return std::find(ends.begin(), ends.end(), p) != ends.end(); }

  bool Blocked(const CPoint2D& v, const CPoint2D& h) const {
    for (std::size_t k = 0; k < merged.size(); ++k) {
      const CPoint2D &a = P(k), &b = P((k + 1) % merged.size());
      if (!(a == v || b == v) && SegmentsIntersect(v, h, a, b)) return true;
    }
    for (std::size_t j = 1; j < c.size(); ++j) {
      const auto& p = c[j]->points;
      for (std::size_t k = 0; !joined[j] && k < p.size(); ++k) {
        const CPoint2D &a = p[k], &b = p[(k + 1) % p.size()];
        if (!(a == h || b == h) && SegmentsIntersect(v, h, a, b)) return true;
      }
    }
    return false;
  }

  int Target(const CPoint2D& v, std::size_t j) const {
    const auto& p = c[j]->points;
    std::size_t t = 0;
    while (t < p.size() && Blocked(v, p[t])) ++t;
    if (t == p.size()) return -1;
    if (t + 1 == p.size() || Blocked(v, p[t + 1])) return static_cast<int>(t);
    return static_cast<int>(Manhattan(v, p[t]) > Manhattan(v, p[t + 1]) ? t + 1 : t);
  }

  void BridgeFrom(std::size_t& i) {
    const CPoint2D v = P(i);
    if (IsEnd(v)) return;
    for (std::size_t j = 1; j < c.size(); ++j) {
      if (joined[j]) continue;
      int t = Target(v, j);
      if (t < 0) continue;
      const auto& hole = c[j]->points;
      CPoint2D from = v;
      if (i + 1 < merged.size() && !IsEnd(P(i + 1))) {
        const int tNext = Target(P(i + 1), j);
        if (tNext >= 0 && Manhattan(P(i + 1), hole[tNext]) < Manhattan(v, hole[t])) {
          from = P(++i);
          t = tNext;
        }
      }
      std::vector<OutlinePoint> walk;
      for (std::size_t k = 0; k <= hole.size(); ++k) {
        walk.push_back({static_cast<std::uint32_t>(j), static_cast<std::uint32_t>((t + k) % hole.size())});
      }
      walk.push_back(merged[i]);
      ends.push_back(from);
      ends.push_back(hole[t]);
      merged.insert(merged.begin() + static_cast<std::ptrdiff_t>(i + 1), walk.begin(), walk.end());
      joined[j] = 1;
      return;
    }
  }

  const Contours& c;
  std::vector<int> joined;
  std::vector<OutlinePoint> merged;
  std::vector<CPoint2D> ends;
};

std::vector<OutlinePoint> PlainBridges(const Contours& contours) {
  if (contours.size() < 2) return {};
  return PlainBridging(contours).Run();
}

// A square of side `side` with n x n square holes of side `hole` on a grid
// of pitch `pitch`, listed row by row; the outer contour has only its
// corners.
std::unique_ptr<CLetterPiece> HoleField(int n, double pitch, double hole) {
  auto piece = std::make_unique<CLetterPiece>(255, 0.2);
  piece->AddContour(MakeContour(Rect(0, 0, n * pitch + pitch, n * pitch + pitch)));
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      const double x = pitch * (column + 1) - hole / 2, y = pitch * (row + 1) - hole / 2;
      piece->AddContour(MakeContour(Rect(x, y, x + hole, y + hole, false)));
    }
  }
  return piece;
}

// Random holes in a square, on a coarse lattice so that points line up,
// edges touch and bridges graze corners: the cases where the rules are
// easiest to get wrong. Holes are regular polygons listed from any point
// in either direction; the larger ones touch their neighbours and the
// outer edge.
std::unique_ptr<CLetterPiece> RandomPiece(std::mt19937& random) {
  auto piece = std::make_unique<CLetterPiece>(255, 0.2);
  std::uniform_int_distribution<int> cell(0, 9), corners(3, 6), coin(0, 1), count(1, 14), radius(4, 5);
  piece->AddContour(MakeContour(Rect(0, 0, 100, 100, coin(random) == 1)));
  std::set<std::pair<int, int>> used;
  const int holes = count(random);
  for (int k = 0; k < holes; ++k) {
    const int cx = cell(random), cy = cell(random);
    if (!used.insert({cx, cy}).second) continue;
    const int n = corners(random);
    Polygon polygon;
    const double turn = coin(random) * 0.25, r = radius(random);
    for (int i = 0; i < n; ++i) {
      const double a = 2 * M_PI * (i + turn) / n;
      polygon.push_back({std::round(cx * 10 + 5 + r * std::cos(a)), std::round(cy * 10 + 5 + r * std::sin(a))});
    }
    std::rotate(polygon.begin(), polygon.begin() + cell(random) % n, polygon.end());
    if (coin(random)) std::reverse(polygon.begin(), polygon.end());
    piece->AddContour(MakeContour(polygon));
  }
  return piece;
}

}  // namespace

TEST(HoleBridging, SingleContourIsTurnedClockwiseAndNeedsNoMergedOutline) {
  auto piece = MakePiece({Rect(0, 0, 10, 10, false)});
  piece->CalculateContours();
  EXPECT_EQ(Orientation(*piece->contours[0]), 1);
  EXPECT_TRUE(piece->mergedOutline.empty());
  ExpectBridgedPiece(*piece, "single contour");
}

TEST(HoleBridging, ContourWithoutAreaKeepsItsOrder) {
  auto piece = MakePiece({{{0, 0}, {5, 5}, {10, 10}}});
  piece->CalculateContours();
  EXPECT_EQ(piece->contours[0]->points.front(), (CPoint2D{0, 0}));
}

TEST(HoleBridging, EmptyPieceIsLeftUntouched) {
  CLetterPiece piece(255, 0.2);
  piece.CalculateContours();
  EXPECT_TRUE(piece.contours.empty());
  EXPECT_TRUE(piece.mergedOutline.empty());
}

TEST(HoleBridging, OuterCounterClockwiseAndHoleClockwiseAreBothTurned) {
  auto piece = MakePiece({Rect(0, 0, 100, 100, false), Rect(40, 40, 60, 60, true)});
  piece->CalculateContours();
  EXPECT_EQ(Orientation(*piece->contours[0]), 1);
  EXPECT_EQ(Orientation(*piece->contours[1]), -1);
  EXPECT_EQ(piece->contours[0]->points.front(), (CPoint2D{0, 100}));
  EXPECT_EQ(piece->contours[1]->points.front(), (CPoint2D{60, 40}));
  EXPECT_EQ(InOutline(*piece), (std::vector<bool>{true, true}));
  ExpectBridgedPiece(*piece, "turned ring");
}

TEST(HoleBridging, RingIsMergedThroughOneBridgeCrossedBothWays) {
  auto piece = MakePiece({Rect(0, 0, 100, 100), Rect(40, 40, 60, 60, false)});
  piece->CalculateContours();
  const auto& merged = piece->mergedOutline;
  ASSERT_EQ(merged.size(), 4u + 4u + 2u);
  ExpectBridgedPiece(*piece, "ring");
  EXPECT_EQ(merged[5], merged[1]) << "the hole is walked round back to its first point";
  EXPECT_EQ(merged[6], merged[0]) << "then the bridge is crossed back";
  EXPECT_EQ(Bridges(*piece).size(), 1u);
}

// The first bridge of a square with one square hole (40..60), the outer
// contour listed clockwise from different corners: from the first point
// that sees the hole to the hole's first visible point, or to its successor
// when that is visible and nearer; from the outline's next point instead
// when that reaches the hole by a shorter bridge.
TEST(HoleBridging, FirstBridgeFollowsTheTargetAndStepRules) {
  const Polygon square = {{40, 40}, {60, 40}, {60, 60}, {40, 60}};
  struct Case {
    const char* what;
    Polygon outer;
    Polygon hole;
    CPoint2D from, to;
  };
  const Case cases[] = {
      {"first visible point is nearer than its successor", {{0, 0}, {0, 100}, {100, 100}, {100, 0}},
       square, {0, 0}, {40, 40}},
      {"visible successor is nearer", {{100, 0}, {0, 0}, {0, 100}, {100, 100}}, square, {100, 0}, {60, 40}},
      {"first point hidden behind the hole itself", {{100, 100}, {100, 0}, {0, 0}, {0, 100}}, square,
       {100, 100}, {60, 60}},
      {"next outline point is nearer the hole", Rect(0, 0, 100, 100), Rect(5, 80, 20, 95, false), {0, 100},
       {5, 80}},
  };
  for (const Case& c : cases) {
    auto piece = MakePiece({c.outer, c.hole});
    piece->CalculateContours();
    ExpectBridgedPiece(*piece, c.what);
    const auto bridges = Bridges(*piece);
    ASSERT_EQ(bridges.size(), 1u) << c.what;
    EXPECT_EQ(bridges[0].first, c.from) << c.what;
    EXPECT_EQ(bridges[0].second, c.to) << c.what;
  }
}

TEST(HoleBridging, TwoHolesSideBySideAreBothJoinedFromDifferentPoints) {
  auto piece = MakePiece({Rect(0, 0, 100, 50), Rect(10, 10, 40, 40, false), Rect(60, 10, 90, 40, false)});
  piece->CalculateContours();
  EXPECT_EQ(InOutline(*piece), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(piece->mergedOutline.size(), 4u + 4u + 2u + 4u + 2u);
  ExpectBridgedPiece(*piece, "two holes");
  // A point that already carries a bridge never starts another one.
  const auto bridges = Bridges(*piece);
  ASSERT_EQ(bridges.size(), 2u);
  EXPECT_FALSE(bridges[0].first == bridges[1].first);
}

TEST(HoleBridging, HoleSeenOnlyFromPointsAlreadyPassedStaysOut) {
  // The small triangle sits by the first outer edge: only the first two
  // outer points see it, and the scan spends both on the other hole before
  // coming to it. It stays a hole of the piece but not of the outline.
  auto piece = MakePiece({{{92, 0}, {24, -42}, {-44, -75}, {-53, 0}, {-46, 79}, {14, 24}},
                          {{23, 10}, {-1, 27}, {-14, 3}, {8, -10}},
                          {{41, -26}, {27, -23}, {33, -36}}});
  piece->CalculateContours();
  EXPECT_EQ(InOutline(*piece), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(piece->contours.size(), 3u);
  EXPECT_EQ(Orientation(*piece->contours[2]), -1);
  ExpectBridgedPiece(*piece, "unreachable hole");
}

TEST(HoleBridging, HoleWithoutPointsCannotBeBridged) {
  auto piece = MakePiece({Rect(0, 0, 100, 100), {}, Rect(40, 40, 60, 60, false)});
  piece->CalculateContours();
  EXPECT_EQ(InOutline(*piece), (std::vector<bool>{true, false, true}));
  ExpectBridgedPiece(*piece, "empty hole");
}

TEST(HoleBridging, RecalculatingGivesTheSameOutline) {
  auto piece = MakePiece({Rect(0, 0, 100, 50), Rect(10, 10, 40, 40, false), Rect(60, 10, 90, 40, false)});
  piece->CalculateContours();
  const auto first = piece->mergedOutline;
  piece->CalculateContours();
  EXPECT_EQ(piece->mergedOutline, first);
}

// Every hole of a large field is joined, each bridge pairs with its way
// back and no bridge crosses an edge or another bridge.
TEST(HoleBridging, ManyHolesAreAllJoinedWithoutCrossings) {
  for (const auto& [n, pitch, hole] : {std::tuple{20, 10.0, 4.0}, std::tuple{17, 3.0, 2.0}}) {
    auto piece = HoleField(n, pitch, hole);
    piece->CalculateContours();
    const std::string what = std::to_string(n * n) + " holes";
    ExpectBridgedPiece(*piece, what);
    const std::vector<bool> joined = InOutline(*piece);
    EXPECT_EQ(std::count(joined.begin(), joined.end(), true), n * n + 1) << what;
    const auto bridges = Bridges(*piece);
    EXPECT_EQ(bridges.size(), static_cast<std::size_t>(n * n)) << what;
    for (std::size_t a = 0; a < bridges.size(); ++a) {
      for (std::size_t b = a + 1; b < bridges.size(); ++b) {
        EXPECT_FALSE(SegmentsCrossProperly(bridges[a].first, bridges[a].second, bridges[b].first,
                                           bridges[b].second))
            << what << ": bridges " << a << " and " << b << " cross";
      }
    }
  }
}

// The fast bridging against the plain one: the same outline entry for entry
// on random lattice pieces, on hole fields and on every glyph of two fonts.
TEST(HoleBridging, SameBridgesAsTestingEveryEdge) {
  std::mt19937 random(20261209);
  for (int k = 0; k < 400; ++k) {
    auto piece = RandomPiece(random);
    piece->CalculateContours();
    ASSERT_EQ(piece->mergedOutline, PlainBridges(piece->contours)) << "random piece " << k;
  }
  for (int n : {1, 3, 8}) {
    auto piece = HoleField(n, 10, 4);
    piece->CalculateContours();
    EXPECT_EQ(piece->mergedOutline, PlainBridges(piece->contours)) << n << " x " << n << " holes";
  }
  std::string all;
  for (int c = 0x21; c <= 0xFF; ++c) all.push_back(static_cast<char>(c));
  for (const char* path : {GLYPHKILN_LIBERATION_SANS, GLYPHKILN_DEJAVU_SANS}) {
    const auto text = BuildFromFont(path, all);
    ASSERT_NE(text, nullptr);
    for (const CLetter& letter : text->letters) {
      for (const auto& piece : letter.pieces) {
        EXPECT_EQ(piece->mergedOutline, PlainBridges(piece->contours)) << path << " code " << letter.code;
      }
    }
  }
}

TEST(HoleBridging, RealGlyphsAreOrientedAndFullyBridged) {
  std::string all;
  for (int c = 0x21; c <= 0xFF; ++c) all.push_back(static_cast<char>(c));
  for (const char* path : {GLYPHKILN_LIBERATION_SANS, GLYPHKILN_DEJAVU_SANS}) {
    const auto text = BuildFromFont(path, all);
    ASSERT_NE(text, nullptr);
    for (const CLetter& letter : text->letters) {
      for (const auto& piece : letter.pieces) {
        if (piece->contours.empty()) continue;
        const std::string what = std::string(path) + " code " + std::to_string(letter.code);
        ExpectBridgedPiece(*piece, what);
        const std::vector<bool> joined = InOutline(*piece);
        for (std::size_t j = 1; j < joined.size(); ++j) EXPECT_TRUE(joined[j]) << what << " hole " << j;
      }
    }
  }
}
