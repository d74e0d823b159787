// The hole bridging. Every visibility question goes to a grid over the
// edges, so a bridge test looks only at the edges near its segment; the
// merged outline is a linked list while it grows, so a splice costs the
// hole's size and not the outline's. Both keep the answers of testing every
// edge against a flat outline, bridge for bridge.
#include "HoleBridging.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_set>

#include "ContourPredicates.h"

namespace {

double Manhattan(const CPoint2D& a, const CPoint2D& b) {
  return std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
}

// Points compared as CPoint2D's == does: 0.0 and -0.0 are one point, and a
// NaN is never found.
struct PointHash {
  std::size_t operator()(const CPoint2D& p) const {
    const auto bits = [](double d) { return std::bit_cast<std::uint64_t>(d + 0.0); };
    return std::hash<std::uint64_t>()(bits(p.x) * 0x9E3779B97F4A7C15ull ^ bits(p.y));
  }
};

constexpr std::uint32_t kBridge = 0;  // owner of bridges: part of the outline from the start

struct Edge {
  CPoint2D a;
  CPoint2D b;
  std::uint32_t owner;  // the contour the edge belongs to, or kBridge
};

// A uniform grid of cells over the piece, each listing the edges that pass
// through it. A query visits the cells along its segment widened by one
// cell on every side, so rounding in the cell arithmetic never hides an
// edge that the exact segment test would report. Pieces whose coordinates
// are not all finite get one cell: every edge is tested, as by a plain loop.
class EdgeGrid {
 public:
  EdgeGrid(const std::vector<std::unique_ptr<CContour>>& contours, std::size_t edgeCount) {
    double left = std::numeric_limits<double>::infinity(), bottom = left;
    double right = -left, top = -left;
    bool finite = true;
    for (const auto& contour : contours) {
      for (const CPoint2D& p : contour->points) {
        finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
      }
    }
    const double side = std::max(right - left, top - bottom);
    const double perSide = std::ceil(std::sqrt(static_cast<double>(edgeCount)));
    m_cell = side / perSide;
    // Cells far below the coordinates' own precision would make the cell
    // arithmetic meaningless; one cell is always right.
    const double magnitude = std::max({std::fabs(left), std::fabs(right), std::fabs(bottom), std::fabs(top)});
    if (finite && m_cell > 1e-9 * magnitude && m_cell > 0.0) {
      m_left = left;
      m_bottom = bottom;
      m_columns = std::clamp(static_cast<int>((right - left) / m_cell) + 1, 1, kMaxCellsPerSide);
      m_rows = std::clamp(static_cast<int>((top - bottom) / m_cell) + 1, 1, kMaxCellsPerSide);
    }
    m_cells.resize(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows));
  }

  void Add(const Edge& edge) {
    const auto id = static_cast<std::uint32_t>(m_edges.size());
    m_edges.push_back(edge);
    m_seen.push_back(0);
    VisitCells(edge.a, edge.b, 0, [&](std::vector<std::uint32_t>& cell) {
      cell.push_back(id);
      return false;
    });
  }

  // Whether any edge for which `skip` is false meets the segment pq.
  template <class Skip>
  bool AnyMeets(const CPoint2D& p, const CPoint2D& q, Skip skip) {
    if (++m_query == 0) {  // the stamps wrapped round: start them afresh
      std::fill(m_seen.begin(), m_seen.end(), 0);
      m_query = 1;
    }
    return VisitCells(p, q, 1, [&](const std::vector<std::uint32_t>& cell) {
      for (std::uint32_t id : cell) {
        if (m_seen[id] == m_query) continue;
        m_seen[id] = m_query;
        const Edge& e = m_edges[id];
        if (!skip(e) && SegmentsIntersect(p, q, e.a, e.b)) return true;
      }
      return false;
    });
  }

 private:
  static constexpr int kMaxCellsPerSide = 4096;

  int Column(double x) const { return CellOf((x - m_left) / m_cell, m_columns); }
  int Row(double y) const { return CellOf((y - m_bottom) / m_cell, m_rows); }
  static int CellOf(double scaled, int count) {
    if (!(scaled > 0.0)) return 0;
    if (scaled >= count) return count - 1;
    return static_cast<int>(scaled);
  }

  // Calls visit for the cells the segment pq passes through, widened by
  // `margin` cells, row by row from p's end; stops when visit returns true.
  template <class Visit>
  bool VisitCells(const CPoint2D& p, const CPoint2D& q, int margin, Visit visit) {
    if (m_columns == 1 && m_rows == 1) return visit(m_cells[0]);
    const double yLow = std::min(p.y, q.y), yHigh = std::max(p.y, q.y);
    const int first = std::max(Row(yLow) - margin, 0);
    const int last = std::min(Row(yHigh) + margin, m_rows - 1);
    const bool upward = p.y <= q.y;
    for (int k = 0; k <= last - first; ++k) {
      const int row = upward ? first + k : last - k;
      // The part of the segment within this row's band of heights.
      const double bandLow = std::clamp(m_bottom + row * m_cell, yLow, yHigh);
      const double bandHigh = std::clamp(m_bottom + (row + 1) * m_cell, yLow, yHigh);
      double xLow = std::min(p.x, q.x), xHigh = std::max(p.x, q.x);
      if (p.y != q.y) {
        const double slope = (q.x - p.x) / (q.y - p.y);
        const double x0 = p.x + (bandLow - p.y) * slope;
        const double x1 = p.x + (bandHigh - p.y) * slope;
        xLow = std::max(xLow, std::min(x0, x1));
        xHigh = std::min(xHigh, std::max(x0, x1));
      }
      const int from = std::max(Column(xLow) - margin, 0);
      const int to = std::min(Column(xHigh) + margin, m_columns - 1);
      for (int column = from; column <= to; ++column) {
        if (visit(m_cells[static_cast<std::size_t>(row) * m_columns + column])) return true;
      }
    }
    return false;
  }

  double m_left = 0.0, m_bottom = 0.0, m_cell = 1.0;
  int m_columns = 1, m_rows = 1;
  std::vector<std::vector<std::uint32_t>> m_cells;
  std::vector<Edge> m_edges;
  std::vector<std::uint32_t> m_seen;  // the last query that tested each edge
  std::uint32_t m_query = 0;
};

// The bridging's working state: the growing outline, which holes are
// joined, the points that carry a bridge, and the edge grid.
class Bridging {
 public:
  explicit Bridging(const std::vector<std::unique_ptr<CContour>>& contours)
      : m_contours(contours), m_joined(contours.size(), 0), m_grid(contours, EdgeCount(contours)) {
    for (std::uint32_t j = 0; j < contours.size(); ++j) {
      const auto& points = contours[j]->points;
      for (std::size_t k = 0; k < points.size(); ++k) {
        m_grid.Add(Edge{points[k], points[(k + 1) % points.size()], j});
      }
      if (j > 0) m_unjoined.push_back(j);
    }
    m_joined[0] = 1;
    for (std::uint32_t k = 0; k < contours[0]->Size(); ++k) Append(OutlinePoint{0, k});
  }

  std::vector<OutlinePoint> Run() {
    // The scan only goes forward: after a bridge it goes on from the first
    // point of the hole just inserted.
    std::uint32_t node = m_entries.empty() ? kEnd : 0;
    while (node != kEnd) {
      BridgeFrom(node);
      node = m_next[node];
    }
    std::vector<OutlinePoint> outline;
    outline.reserve(m_entries.size());
    for (std::uint32_t k = m_entries.empty() ? kEnd : 0; k != kEnd; k = m_next[k]) {
      outline.push_back(m_entries[k]);
    }
    return outline;
  }

 private:
  static constexpr std::uint32_t kEnd = std::numeric_limits<std::uint32_t>::max();

  static std::size_t EdgeCount(const std::vector<std::unique_ptr<CContour>>& contours) {
    std::size_t n = 1;
    for (const auto& contour : contours) n += contour->Size();
    return n;
  }

  const CPoint2D& Point(std::uint32_t node) const {
    const OutlinePoint& e = m_entries[node];
    return m_contours[e.contour]->points[e.point];
  }

  // Adds an entry after `after` (at the end for kEnd) and returns it.
  std::uint32_t Insert(std::uint32_t after, const OutlinePoint& entry) {
    const auto node = static_cast<std::uint32_t>(m_entries.size());
    m_entries.push_back(entry);
    m_next.push_back(after == kEnd ? kEnd : m_next[after]);
    if (after != kEnd) m_next[after] = node;
    return node;
  }
  void Append(const OutlinePoint& entry) {
    const std::uint32_t node = Insert(m_last, entry);
    m_last = node;
  }

  bool CarriesBridge(const CPoint2D& p) const { return m_bridgeEnds.count(p) != 0; }

  bool Blocked(const CPoint2D& v, const CPoint2D& h) {
    return m_grid.AnyMeets(v, h, [&](const Edge& e) {
      const CPoint2D& end = m_joined[e.owner] ? v : h;
      return e.a == end || e.b == end;
    });
  }

  int FindBridgeTarget(const CPoint2D& v, std::uint32_t hole) {
    const auto& points = m_contours[hole]->points;
    const std::size_t m = points.size();
    std::size_t t = 0;
    while (t < m && Blocked(v, points[t])) ++t;
    if (t == m) return -1;
    if (t + 1 == m || Blocked(v, points[t + 1])) return static_cast<int>(t);
    return static_cast<int>(Manhattan(v, points[t]) > Manhattan(v, points[t + 1]) ? t + 1 : t);
  }

  // Tries to bridge some unjoined hole from `node`; true when one was
  // spliced in, with `node` moved to the entry the bridge starts from.
  bool BridgeFrom(std::uint32_t& node) {
    const CPoint2D v = Point(node);
    if (CarriesBridge(v)) return false;  // a point carries at most one bridge
    for (auto it = m_unjoined.begin(); it != m_unjoined.end(); ++it) {
      const std::uint32_t j = *it;
      int t = FindBridgeTarget(v, j);
      if (t < 0) continue;
      const auto& hole = m_contours[j]->points;
      CPoint2D from = v;
      // One step along the outline when the next point reaches the hole by
      // a shorter bridge.
      const std::uint32_t next = m_next[node];
      if (next != kEnd && !CarriesBridge(Point(next))) {
        const CPoint2D nextPoint = Point(next);
        const int tNext = FindBridgeTarget(nextPoint, j);
        if (tNext >= 0 && Manhattan(nextPoint, hole[tNext]) < Manhattan(v, hole[t])) {
          node = next;
          from = nextPoint;
          t = tNext;
        }
      }
      const CPoint2D to = hole[t];
      Splice(j, static_cast<std::uint32_t>(t), node);
      m_joined[j] = 1;
      m_unjoined.erase(it);
      m_bridgeEnds.insert(from);
      m_bridgeEnds.insert(to);
      m_grid.Add(Edge{from, to, kBridge});
      return true;
    }
    return false;
  }

  // The whole hole from its target round to it again, then the bridge's
  // start once more, after `node`.
  void Splice(std::uint32_t hole, std::uint32_t target, std::uint32_t node) {
    const auto m = static_cast<std::uint32_t>(m_contours[hole]->Size());
    if (m == 0) return;  // an empty hole has nothing to walk round
    const OutlinePoint back = m_entries[node];
    std::uint32_t at = node;
    for (std::uint32_t k = 0; k <= m; ++k) at = Insert(at, OutlinePoint{hole, (target + k) % m});
    at = Insert(at, back);
    if (m_next[at] == kEnd) m_last = at;
  }

  const std::vector<std::unique_ptr<CContour>>& m_contours;
  std::vector<OutlinePoint> m_entries;  // in order of creation
  std::vector<std::uint32_t> m_next;    // the entry after each one, or kEnd
  std::uint32_t m_last = kEnd;
  std::vector<std::uint8_t> m_joined;     // per contour: in the outline
  std::vector<std::uint32_t> m_unjoined;  // the holes not yet joined, in order
  std::unordered_set<CPoint2D, PointHash> m_bridgeEnds;
  EdgeGrid m_grid;
};

}  // namespace

std::vector<OutlinePoint> BridgeHoles(const std::vector<std::unique_ptr<CContour>>& contours) {
  if (contours.size() < 2) return {};
  return Bridging(contours).Run();
}
