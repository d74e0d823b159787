// Ear clipping over a doubly linked ring of points. The outer ring is linked
// one way round and the holes the other; each hole is spliced into the outer
// ring through a bridge from its leftmost point to an outer point it can see,
// which doubles the two bridge ends. Ears are then cut off; when no ear is
// left the ring is cleaned of repeats, then local self-crossings are cut out,
// and as a last resort the ring is split along a valid diagonal.
#include "Triangulate.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

namespace {

struct Node {
  std::uint32_t i = 0;  // index of the input point
  double x = 0.0;
  double y = 0.0;
  Node* prev = nullptr;
  Node* next = nullptr;
  bool steiner = false;  // a one-point hole that must not be filtered away
};

class EarClipper {
 public:
  explicit EarClipper(std::vector<RingTriangle>& out) : m_out(out) {}

  Node* LinkedList(const std::vector<CPoint2D>& ring, std::uint32_t first, bool positive) {
    double sum = 0.0;
    const std::size_t n = ring.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
      sum += (ring[j].x - ring[i].x) * (ring[i].y + ring[j].y);
    }
    Node* last = nullptr;
    if (positive == (sum > 0.0)) {
      for (std::size_t k = 0; k < n; ++k) last = Insert(first + k, ring[k], last);
    } else {
      for (std::size_t k = n; k-- > 0;) last = Insert(first + k, ring[k], last);
    }
    if (last && Equals(last, last->next)) {
      Remove(last);
      last = last->next;
    }
    return last;
  }

  Node* EliminateHoles(std::vector<Node*>& holes, Node* outer) {
    std::vector<Node*> queue;
    for (Node* list : holes) {
      if (list == list->next) list->steiner = true;
      queue.push_back(Leftmost(list));
    }
    std::stable_sort(queue.begin(), queue.end(), [](const Node* a, const Node* b) {
      return a->x < b->x || (a->x == b->x && a->y < b->y);
    });
    for (Node* hole : queue) outer = EliminateHole(hole, outer);
    return outer;
  }

  void Clip(Node* ear, int pass) {
    if (!ear) return;
    Node* stop = ear;
    while (ear->prev != ear->next) {
      Node* prev = ear->prev;
      Node* next = ear->next;
      if (IsEar(ear)) {
        Emit(prev, ear, next);
        Remove(ear);
        ear = next->next;
        stop = next->next;
        continue;
      }
      ear = next;
      if (ear == stop) {
        if (pass == 0) {
          Clip(Filter(ear, nullptr), 1);
        } else if (pass == 1) {
          ear = CureLocalIntersections(Filter(ear, nullptr));
          Clip(ear, 2);
        } else {
          SplitClip(ear);
        }
        break;
      }
    }
  }

 private:
  // Earcut's orientation measure: negative for a convex corner of a ring
  // linked the outer ring's way round.
  static double Area(const Node* p, const Node* q, const Node* r) {
    return (q->y - p->y) * (r->x - q->x) - (q->x - p->x) * (r->y - q->y);
  }
  static bool Equals(const Node* a, const Node* b) { return a->x == b->x && a->y == b->y; }
  static int Sign(double v) { return v > 0.0 ? 1 : v < 0.0 ? -1 : 0; }

  static bool PointInTriangle(double ax, double ay, double bx, double by, double cx, double cy,
                              double px, double py) {
    return (cx - px) * (ay - py) >= (ax - px) * (cy - py) &&
           (ax - px) * (by - py) >= (bx - px) * (ay - py) &&
           (bx - px) * (cy - py) >= (cx - px) * (by - py);
  }

  Node* Insert(std::uint32_t i, const CPoint2D& p, Node* last) {
    m_nodes.emplace_back();
    Node* node = &m_nodes.back();
    node->i = i;
    node->x = p.x;
    node->y = p.y;
    if (!last) {
      node->prev = node;
      node->next = node;
    } else {
      node->next = last->next;
      node->prev = last;
      last->next->prev = node;
      last->next = node;
    }
    return node;
  }

  static void Remove(Node* p) {
    p->next->prev = p->prev;
    p->prev->next = p->next;
  }

  void Emit(const Node* a, const Node* b, const Node* c) { m_out.push_back({a->i, b->i, c->i}); }

  // A point to drop: an exact repeat of the next one, or the tip of a spike
  // that goes out and comes straight back. Points in the middle of a straight
  // edge stay: the side walls have an edge ending there.
  static bool Redundant(const Node* p) {
    if (Equals(p, p->next)) return true;
    if (Area(p->prev, p, p->next) != 0.0) return false;
    const double dot = (p->x - p->prev->x) * (p->next->x - p->x) +
                       (p->y - p->prev->y) * (p->next->y - p->y);
    return dot <= 0.0;
  }

  static Node* Filter(Node* start, Node* end) {
    if (!start) return start;
    if (!end) end = start;
    Node* p = start;
    bool again = false;
    do {
      again = false;
      if (!p->steiner && Redundant(p)) {
        Remove(p);
        p = end = p->prev;
        if (p == p->next) break;
        again = true;
      } else {
        p = p->next;
      }
    } while (again || p != end);
    return end;
  }

  static bool IsEar(const Node* ear) {
    const Node* a = ear->prev;
    const Node* b = ear;
    const Node* c = ear->next;
    if (Area(a, b, c) >= 0.0) return false;  // reflex or straight
    const double x0 = std::min({a->x, b->x, c->x}), x1 = std::max({a->x, b->x, c->x});
    const double y0 = std::min({a->y, b->y, c->y}), y1 = std::max({a->y, b->y, c->y});
    for (const Node* p = c->next; p != a; p = p->next) {
      if (p->x < x0 || p->x > x1 || p->y < y0 || p->y > y1) continue;
      if ((p->x == a->x && p->y == a->y) || (p->x == c->x && p->y == c->y)) continue;
      if (PointInTriangle(a->x, a->y, b->x, b->y, c->x, c->y, p->x, p->y) &&
          Area(p->prev, p, p->next) >= 0.0) {
        return false;
      }
    }
    return true;
  }

  static bool OnSegment(const Node* p, const Node* q, const Node* r) {
    return q->x <= std::max(p->x, r->x) && q->x >= std::min(p->x, r->x) &&
           q->y <= std::max(p->y, r->y) && q->y >= std::min(p->y, r->y);
  }

  static bool Intersects(const Node* p1, const Node* q1, const Node* p2, const Node* q2) {
    const int o1 = Sign(Area(p1, q1, p2));
    const int o2 = Sign(Area(p1, q1, q2));
    const int o3 = Sign(Area(p2, q2, p1));
    const int o4 = Sign(Area(p2, q2, q1));
    if (o1 != o2 && o3 != o4) return true;
    if (o1 == 0 && OnSegment(p1, p2, q1)) return true;
    if (o2 == 0 && OnSegment(p1, q2, q1)) return true;
    if (o3 == 0 && OnSegment(p2, p1, q2)) return true;
    if (o4 == 0 && OnSegment(p2, q1, q2)) return true;
    return false;
  }

  static bool IntersectsPolygon(const Node* a, const Node* b) {
    const Node* p = a;
    do {
      if (p->i != a->i && p->next->i != a->i && p->i != b->i && p->next->i != b->i &&
          Intersects(p, p->next, a, b)) {
        return true;
      }
      p = p->next;
    } while (p != a);
    return false;
  }

  static bool LocallyInside(const Node* a, const Node* b) {
    return Area(a->prev, a, a->next) < 0.0
               ? Area(a, b, a->next) >= 0.0 && Area(a, a->prev, b) >= 0.0
               : Area(a, b, a->prev) < 0.0 || Area(a, a->next, b) < 0.0;
  }

  static bool MiddleInside(const Node* a, const Node* b) {
    const Node* p = a;
    bool inside = false;
    const double px = (a->x + b->x) / 2.0, py = (a->y + b->y) / 2.0;
    do {
      if (((p->y > py) != (p->next->y > py)) && p->next->y != p->y &&
          (px < (p->next->x - p->x) * (py - p->y) / (p->next->y - p->y) + p->x)) {
        inside = !inside;
      }
      p = p->next;
    } while (p != a);
    return inside;
  }

  static bool IsValidDiagonal(const Node* a, const Node* b) {
    return a->next->i != b->i && a->prev->i != b->i && !IntersectsPolygon(a, b) &&
           ((LocallyInside(a, b) && LocallyInside(b, a) && MiddleInside(a, b) &&
             (Area(a->prev, a, b->prev) != 0.0 || Area(a, b->prev, b) != 0.0)) ||
            (Equals(a, b) && Area(a->prev, a, a->next) > 0.0 &&
             Area(b->prev, b, b->next) > 0.0));
  }

  // Joins a and b by a diagonal, splitting the ring in two; returns the copy
  // of b that starts the second ring.
  Node* SplitPolygon(Node* a, Node* b) {
    m_nodes.emplace_back(*a);
    Node* a2 = &m_nodes.back();
    m_nodes.emplace_back(*b);
    Node* b2 = &m_nodes.back();
    Node* an = a->next;
    Node* bp = b->prev;
    a->next = b;
    b->prev = a;
    a2->next = an;
    an->prev = a2;
    b2->next = a2;
    a2->prev = b2;
    bp->next = b2;
    b2->prev = bp;
    return b2;
  }

  Node* CureLocalIntersections(Node* start) {
    if (!start) return start;
    Node* p = start;
    do {
      Node* a = p->prev;
      Node* b = p->next->next;
      if (!Equals(a, b) && Intersects(a, p, p->next, b) && LocallyInside(a, b) &&
          LocallyInside(b, a)) {
        Emit(a, p, b);
        Remove(p);
        Remove(p->next);
        p = start = b;
      }
      p = p->next;
    } while (p != start);
    return Filter(p, nullptr);
  }

  void SplitClip(Node* start) {
    Node* a = start;
    do {
      for (Node* b = a->next->next; b != a->prev; b = b->next) {
        if (a->i != b->i && IsValidDiagonal(a, b)) {
          Node* c = SplitPolygon(a, b);
          a = Filter(a, a->next);
          c = Filter(c, c->next);
          Clip(a, 0);
          Clip(c, 0);
          return;
        }
      }
      a = a->next;
    } while (a != start);
  }

  static Node* Leftmost(Node* start) {
    Node* p = start;
    Node* leftmost = start;
    do {
      if (p->x < leftmost->x || (p->x == leftmost->x && p->y < leftmost->y)) leftmost = p;
      p = p->next;
    } while (p != start);
    return leftmost;
  }

  static bool SectorContainsSector(const Node* m, const Node* p) {
    return Area(m->prev, m, p->prev) < 0.0 && Area(p->next, m, m->next) < 0.0;
  }

  // The outer point the hole's leftmost point is joined to: the nearest
  // crossing of a ray to the left, or a reflex point inside the triangle it
  // spans that sees the hole at the smallest angle.
  static Node* FindHoleBridge(const Node* hole, Node* outer) {
    Node* p = outer;
    const double hx = hole->x, hy = hole->y;
    double qx = -std::numeric_limits<double>::infinity();
    Node* m = nullptr;
    do {
      if (hy <= p->y && hy >= p->next->y && p->next->y != p->y) {
        const double x = p->x + (hy - p->y) * (p->next->x - p->x) / (p->next->y - p->y);
        if (x <= hx && x > qx) {
          qx = x;
          m = p->x < p->next->x ? p : p->next;
          if (x == hx) return m;  // the hole touches the outer edge
        }
      }
      p = p->next;
    } while (p != outer);
    if (!m) return nullptr;

    const Node* stop = m;
    const double mx = m->x, my = m->y;
    double tanMin = std::numeric_limits<double>::infinity();
    p = m;
    do {
      if (hx >= p->x && p->x >= mx && hx != p->x &&
          PointInTriangle(hy < my ? hx : qx, hy, mx, my, hy < my ? qx : hx, hy, p->x, p->y)) {
        const double tan = std::fabs(hy - p->y) / (hx - p->x);
        if (LocallyInside(p, hole) &&
            (tan < tanMin ||
             (tan == tanMin && (p->x > m->x || (p->x == m->x && SectorContainsSector(m, p)))))) {
          m = p;
          tanMin = tan;
        }
      }
      p = p->next;
    } while (p != stop);
    return m;
  }

  Node* EliminateHole(Node* hole, Node* outer) {
    Node* bridge = FindHoleBridge(hole, outer);
    if (!bridge) return outer;
    Node* bridgeReverse = SplitPolygon(bridge, hole);
    Filter(bridgeReverse, bridgeReverse->next);
    return Filter(bridge, bridge->next);
  }

  std::vector<RingTriangle>& m_out;
  std::deque<Node> m_nodes;  // stable addresses while nodes are added
};

}  // namespace

double TwiceSignedArea(const CPoint2D& a, const CPoint2D& b, const CPoint2D& c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

std::vector<RingTriangle> TriangulateRings(const std::vector<std::vector<CPoint2D>>& rings) {
  std::vector<RingTriangle> triangles;
  if (rings.empty() || rings[0].size() < 3) return triangles;
  EarClipper clipper(triangles);
  Node* outer = clipper.LinkedList(rings[0], 0, true);
  if (!outer || outer->next == outer->prev) return triangles;
  std::uint32_t first = static_cast<std::uint32_t>(rings[0].size());
  std::vector<Node*> holes;
  for (std::size_t r = 1; r < rings.size(); ++r) {
    if (rings[r].size() >= 3) {  // a hole without area cuts nothing out
      Node* hole = clipper.LinkedList(rings[r], first, false);
      if (hole) holes.push_back(hole);
    }
    first += static_cast<std::uint32_t>(rings[r].size());
  }
  if (!holes.empty()) outer = clipper.EliminateHoles(holes, outer);
  clipper.Clip(outer, 0);

  // Counter-clockwise, whichever way the rings were linked.
  std::vector<CPoint2D> all;
  for (const auto& ring : rings) all.insert(all.end(), ring.begin(), ring.end());
  double total = 0.0;
  for (const RingTriangle& t : triangles) total += TwiceSignedArea(all[t[0]], all[t[1]], all[t[2]]);
  if (total < 0.0) {
    for (RingTriangle& t : triangles) std::swap(t[1], t[2]);
  }
  return triangles;
}
