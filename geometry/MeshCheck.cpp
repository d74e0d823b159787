// The solid check. Vertices are first identified by their place, so a mesh
// read from a file without shared vertices is judged as a reader would judge
// it. Edges are counted by sorting; intersecting pairs come from a
// bounding-box tree's self-traversal and are decided with orientation
// predicates that are exact: a floating-point filter with the classic error
// bounds, and rational arithmetic (GMP) for the few cases it leaves open.
#include "MeshCheck.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include <gmpxx.h>

namespace {

using Tri = std::array<std::uint32_t, 3>;

struct P3 {
  double x, y, z;
};
struct P2 {
  double u, v;
};

constexpr double kEpsilon = 0x1p-53;
constexpr double kOrient3Bound = (7.0 + 56.0 * kEpsilon) * kEpsilon;
constexpr double kOrient2Bound = (3.0 + 16.0 * kEpsilon) * kEpsilon;

template <typename T>
int SignOf(T value) {
  return (value > 0) - (value < 0);
}

// Exact signs without rationals where possible: every coordinate is a
// double, an integer times a power of two. Per axis the coordinates are
// written as integers over that axis's lowest bit; every term of the
// determinants multiplies one difference per axis, so the sign survives the
// scaling and, where the axes' bit spans allow, the sum fits 128 bits.
struct AxisScale {
  int low = 0, high = 0;
  bool any = false;
  // v = mantissa * 2^exponent with an odd or zero mantissa of at most 53 bits.
  static void Split(double v, std::int64_t& mantissa, int& exponent) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const int raw = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    if (raw != 0) m |= std::uint64_t{1} << 52;
    exponent = (raw != 0 ? raw : 1) - 1075;
    if (m != 0) {
      const int zeros = std::countr_zero(m);
      m >>= zeros;
      exponent += zeros;
    }
    mantissa = (bits >> 63) != 0 ? -static_cast<std::int64_t>(m) : static_cast<std::int64_t>(m);
  }
  void Add(double v) {
    if (v == 0.0) return;
    std::int64_t m = 0;
    int e = 0;
    Split(v, m, e);
    const int top = e + (64 - std::countl_zero(static_cast<std::uint64_t>(m < 0 ? -m : m)));
    low = any ? std::min(low, e) : e;
    high = any ? std::max(high, top) : top;
    any = true;
  }
  int Span() const { return any ? high - low : 0; }
  // Only for spans of at most 62 bits.
  std::int64_t Integer(double v) const {
    if (v == 0.0) return 0;
    std::int64_t m = 0;
    int e = 0;
    Split(v, m, e);
    return m * (std::int64_t{1} << (e - low));
  }
};

using Int128 = __int128;

int Orient2Exact(const P2& a, const P2& b, const P2& c) {
  AxisScale su, sv;
  for (const P2* p : {&a, &b, &c}) {
    su.Add(p->u);
    sv.Add(p->v);
  }
  if (su.Span() + sv.Span() <= 120 && std::max(su.Span(), sv.Span()) <= 60) {
    const Int128 acu = su.Integer(a.u) - su.Integer(c.u), bcv = sv.Integer(b.v) - sv.Integer(c.v);
    const Int128 acv = sv.Integer(a.v) - sv.Integer(c.v), bcu = su.Integer(b.u) - su.Integer(c.u);
    return SignOf(acu * bcv - acv * bcu);
  }
  const mpq_class det = (mpq_class(a.u) - c.u) * (mpq_class(b.v) - c.v) -
                        (mpq_class(a.v) - c.v) * (mpq_class(b.u) - c.u);
  return sgn(det);
}

// The side of c relative to the line a -> b: +1 left, -1 right, 0 on it.
int Orient2(const P2& a, const P2& b, const P2& c) {
  const double left = (a.u - c.u) * (b.v - c.v);
  const double right = (a.v - c.v) * (b.u - c.u);
  const double det = left - right;
  double sum = 0.0;
  if (left > 0.0) {
    if (right <= 0.0) return SignOf(det);
    sum = left + right;
  } else if (left < 0.0) {
    if (right >= 0.0) return SignOf(det);
    sum = -left - right;
  } else {
    return SignOf(det);
  }
  const double bound = kOrient2Bound * sum;
  if (det >= bound || -det >= bound) return SignOf(det);
  return Orient2Exact(a, b, c);
}

int Orient3Exact(const P3& a, const P3& b, const P3& c, const P3& d) {
  AxisScale sx, sy, sz;
  for (const P3* p : {&a, &b, &c, &d}) {
    sx.Add(p->x);
    sy.Add(p->y);
    sz.Add(p->z);
  }
  if (sx.Span() + sy.Span() + sz.Span() <= 120 && std::max({sx.Span(), sy.Span(), sz.Span()}) <= 60) {
    const auto X = [&](const P3& p) { return sx.Integer(p.x); };
    const auto Y = [&](const P3& p) { return sy.Integer(p.y); };
    const auto Z = [&](const P3& p) { return sz.Integer(p.z); };
    const Int128 adx = X(a) - X(d), ady = Y(a) - Y(d), adz = Z(a) - Z(d);
    const Int128 bdx = X(b) - X(d), bdy = Y(b) - Y(d), bdz = Z(b) - Z(d);
    const Int128 cdx = X(c) - X(d), cdy = Y(c) - Y(d), cdz = Z(c) - Z(d);
    return SignOf(adx * (bdy * cdz - bdz * cdy) + bdx * (cdy * adz - cdz * ady) + cdx * (ady * bdz - adz * bdy));
  }
  const mpq_class adx = mpq_class(a.x) - d.x, ady = mpq_class(a.y) - d.y, adz = mpq_class(a.z) - d.z;
  const mpq_class bdx = mpq_class(b.x) - d.x, bdy = mpq_class(b.y) - d.y, bdz = mpq_class(b.z) - d.z;
  const mpq_class cdx = mpq_class(c.x) - d.x, cdy = mpq_class(c.y) - d.y, cdz = mpq_class(c.z) - d.z;
  const mpq_class det = adx * (bdy * cdz - bdz * cdy) + bdx * (cdy * adz - cdz * ady) + cdx * (ady * bdz - adz * bdy);
  return sgn(det);
}

// The side of d relative to the plane through a, b, c: the sign of the
// determinant of a - d, b - d, c - d (0 when the four lie in one plane).
int Orient3(const P3& a, const P3& b, const P3& c, const P3& d) {
  const double adx = a.x - d.x, ady = a.y - d.y, adz = a.z - d.z;
  const double bdx = b.x - d.x, bdy = b.y - d.y, bdz = b.z - d.z;
  const double cdx = c.x - d.x, cdy = c.y - d.y, cdz = c.z - d.z;
  const double bc = bdy * cdz - bdz * cdy, ca = cdy * adz - cdz * ady, ab = ady * bdz - adz * bdy;
  const double det = adx * bc + bdx * ca + cdx * ab;
  const double permanent = (std::fabs(bdy * cdz) + std::fabs(bdz * cdy)) * std::fabs(adx) +
                           (std::fabs(cdy * adz) + std::fabs(cdz * ady)) * std::fabs(bdx) +
                           (std::fabs(ady * bdz) + std::fabs(adz * bdy)) * std::fabs(cdx);
  // Every product is then exactly zero: the differences of floats held in
  // doubles are zero only when exactly zero, and their products cannot underflow.
  if (permanent == 0.0) return 0;
  const double bound = kOrient3Bound * permanent;
  if (det > bound) return 1;
  if (-det > bound) return -1;
  return Orient3Exact(a, b, c, d);
}

P3 CrossProduct(const P3& a, const P3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length2(const P3& a) { return a.x * a.x + a.y * a.y + a.z * a.z; }

P2 Project(const P3& p, int drop) {
  switch (drop) {
    case 0: return {p.y, p.z};
    case 1: return {p.z, p.x};
    default: return {p.x, p.y};
  }
}

// The axis to drop so that the triangle keeps its area in the projection;
// -1 for a triangle without area.
int DropAxis(const P3& a, const P3& b, const P3& c) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  const double n[3] = {std::fabs(uy * vz - uz * vy), std::fabs(uz * vx - ux * vz), std::fabs(ux * vy - uy * vx)};
  int order[3] = {0, 1, 2};
  std::sort(order, order + 3, [&](int i, int j) { return n[i] > n[j]; });
  for (int axis : order) {
    if (Orient2(Project(a, axis), Project(b, axis), Project(c, axis)) != 0) return axis;
  }
  return -1;
}

bool OnCollinearSegment(const P2& p, const P2& q, const P2& r) {
  return std::min(p.u, q.u) <= r.u && r.u <= std::max(p.u, q.u) && std::min(p.v, q.v) <= r.v &&
         r.v <= std::max(p.v, q.v);
}

// Closed segments p-q and a-b share a point.
bool SegmentsMeet(const P2& p, const P2& q, const P2& a, const P2& b) {
  const int d1 = Orient2(p, q, a), d2 = Orient2(p, q, b);
  const int d3 = Orient2(a, b, p), d4 = Orient2(a, b, q);
  if (d1 * d2 < 0 && d3 * d4 < 0) return true;
  return (d1 == 0 && OnCollinearSegment(p, q, a)) || (d2 == 0 && OnCollinearSegment(p, q, b)) ||
         (d3 == 0 && OnCollinearSegment(a, b, p)) || (d4 == 0 && OnCollinearSegment(a, b, q));
}

// Closed segment p-q and closed triangle abc, all in one plane, meet.
bool SegmentMeetsTriangle2(const P2& p, const P2& q, P2 a, P2 b, P2 c) {
  const int o = Orient2(a, b, c);
  if (o == 0) return false;
  if (o < 0) std::swap(b, c);
  const auto inside = [&](const P2& x) {
    return Orient2(a, b, x) >= 0 && Orient2(b, c, x) >= 0 && Orient2(c, a, x) >= 0;
  };
  return inside(p) || inside(q) || SegmentsMeet(p, q, a, b) || SegmentsMeet(p, q, b, c) ||
         SegmentsMeet(p, q, c, a);
}

// Closed segment p-q and closed triangle abc share a point.
// `drop` is the triangle's DropAxis, sp and sq the sides of p and q
// relative to its plane (Orient3).
bool SegmentMeetsTriangle(const P3& p, const P3& q, int sp, int sq, const P3& a, const P3& b, const P3& c,
                          int drop) {
  if (sp * sq > 0) return false;
  if (sp == 0 && sq == 0) {
    return drop >= 0 && SegmentMeetsTriangle2(Project(p, drop), Project(q, drop), Project(a, drop),
                                              Project(b, drop), Project(c, drop));
  }
  // The segment's line passes through the plane once: inside the triangle
  // when it passes no two edges on opposite sides.
  const int s1 = Orient3(p, q, a, b), s2 = Orient3(p, q, b, c), s3 = Orient3(p, q, c, a);
  const bool positive = s1 > 0 || s2 > 0 || s3 > 0;
  const bool negative = s1 < 0 || s2 < 0 || s3 < 0;
  return !(positive && negative);
}

class IntersectionFinder {
 public:
  // `drops` holds each triangle's DropAxis; triangles without area (-1) are
  // left out.
  IntersectionFinder(const std::vector<P3>& points, const std::vector<Tri>& tris, const std::vector<int>& drops)
      : m_p(points), m_t(tris), m_drop(drops), m_bad(tris.size(), false) {}

  int Count() {
    std::vector<std::uint32_t> order;
    for (std::uint32_t t = 0; t < m_t.size(); ++t) {
      if (m_drop[t] >= 0) order.push_back(t);
    }
    if (order.size() < 2) return 0;
    m_boxes.resize(m_t.size());
    m_planes.resize(m_t.size());
    for (std::uint32_t t : order) {
      m_boxes[t] = BoxOf(t);
      m_planes[t] = PlaneOf(m_t[t]);
    }
    m_order = std::move(order);
    m_nodes.reserve(2 * m_order.size() / kLeafSize + 2);
    Build(0, static_cast<std::uint32_t>(m_order.size()));
    Self(0);
    return static_cast<int>(std::count(m_bad.begin(), m_bad.end(), true));
  }

 private:
  static constexpr std::uint32_t kLeafSize = 4;
  struct Box {
    double lo[3], hi[3];
  };
  struct Node {
    Box box;
    std::uint32_t first, count;
    std::uint32_t left = 0, right = 0;  // children, when count > kLeafSize
  };

  // The plane of a triangle in floating point, for a quick side test.
  struct Plane {
    P3 normal;
    double scale;  // bound on the rounding of normal . (p - a), per unit of |p - a|
  };
  Plane PlaneOf(const Tri& t) const {
    const P3& a = m_p[t[0]];
    const P3 u{m_p[t[1]].x - a.x, m_p[t[1]].y - a.y, m_p[t[1]].z - a.z};
    const P3 v{m_p[t[2]].x - a.x, m_p[t[2]].y - a.y, m_p[t[2]].z - a.z};
    const double um = std::max({std::fabs(u.x), std::fabs(u.y), std::fabs(u.z)});
    const double vm = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
    // The rounding stays below 64 units in the last place of |u| |v| |w|.
    return {CrossProduct(u, v), 1e-13 * um * vm};
  }
  // The side of point p relative to triangle t's plane, as Orient3 gives it.
  int Side(std::uint32_t t, const P3& p) const {
    const P3& a = m_p[m_t[t][0]];
    const P3 w{p.x - a.x, p.y - a.y, p.z - a.z};
    const Plane& plane = m_planes[t];
    const double s = plane.normal.x * w.x + plane.normal.y * w.y + plane.normal.z * w.z;
    const double bound = plane.scale * std::max({std::fabs(w.x), std::fabs(w.y), std::fabs(w.z)});
    if (s > bound) return -1;
    if (s < -bound) return 1;
    return Orient3(a, m_p[m_t[t][1]], m_p[m_t[t][2]], p);
  }

  static bool Overlap(const Box& a, const Box& b) {
    for (int k = 0; k < 3; ++k) {
      if (a.lo[k] > b.hi[k] || b.lo[k] > a.hi[k]) return false;
    }
    return true;
  }
  static double Axis(const P3& p, int k) { return k == 0 ? p.x : k == 1 ? p.y : p.z; }

  Box BoxOf(std::uint32_t t) const {
    Box box;
    for (int k = 0; k < 3; ++k) {
      box.lo[k] = box.hi[k] = Axis(m_p[m_t[t][0]], k);
      for (int c = 1; c < 3; ++c) {
        box.lo[k] = std::min(box.lo[k], Axis(m_p[m_t[t][c]], k));
        box.hi[k] = std::max(box.hi[k], Axis(m_p[m_t[t][c]], k));
      }
    }
    return box;
  }

  std::uint32_t Build(std::uint32_t first, std::uint32_t count) {
    const auto index = static_cast<std::uint32_t>(m_nodes.size());
    m_nodes.push_back({m_boxes[m_order[first]], first, count});
    Box box = m_boxes[m_order[first]];
    double lo[3], hi[3];
    for (int k = 0; k < 3; ++k) lo[k] = hi[k] = m_boxes[m_order[first]].lo[k] + m_boxes[m_order[first]].hi[k];
    for (std::uint32_t i = first; i < first + count; ++i) {
      const Box& b = m_boxes[m_order[i]];
      for (int k = 0; k < 3; ++k) {
        box.lo[k] = std::min(box.lo[k], b.lo[k]);
        box.hi[k] = std::max(box.hi[k], b.hi[k]);
        lo[k] = std::min(lo[k], b.lo[k] + b.hi[k]);
        hi[k] = std::max(hi[k], b.lo[k] + b.hi[k]);
      }
    }
    m_nodes[index].box = box;
    if (count <= kLeafSize) return index;
    int axis = 0;
    for (int k = 1; k < 3; ++k) {
      if (hi[k] - lo[k] > hi[axis] - lo[axis]) axis = k;
    }
    const std::uint32_t half = count / 2;
    std::nth_element(m_order.begin() + first, m_order.begin() + first + half, m_order.begin() + first + count,
                     [&](std::uint32_t s, std::uint32_t t) {
                       return m_boxes[s].lo[axis] + m_boxes[s].hi[axis] < m_boxes[t].lo[axis] + m_boxes[t].hi[axis];
                     });
    const std::uint32_t left = Build(first, half);
    const std::uint32_t right = Build(first + half, count - half);
    m_nodes[index].left = left;
    m_nodes[index].right = right;
    return index;
  }

  void Self(std::uint32_t n) {
    const Node node = m_nodes[n];
    if (node.count <= kLeafSize) {
      for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
        for (std::uint32_t j = i + 1; j < node.first + node.count; ++j) Test(m_order[i], m_order[j]);
      }
      return;
    }
    Self(node.left);
    Self(node.right);
    Cross(node.left, node.right);
  }

  void Cross(std::uint32_t a, std::uint32_t b) {
    const Node& na = m_nodes[a];
    const Node& nb = m_nodes[b];
    if (!Overlap(na.box, nb.box)) return;
    const bool leafA = na.count <= kLeafSize, leafB = nb.count <= kLeafSize;
    if (leafA && leafB) {
      for (std::uint32_t i = na.first; i < na.first + na.count; ++i) {
        for (std::uint32_t j = nb.first; j < nb.first + nb.count; ++j) Test(m_order[i], m_order[j]);
      }
    } else if (!leafA && (leafB || na.count >= nb.count)) {
      Cross(na.left, b);
      Cross(na.right, b);
    } else {
      Cross(a, nb.left);
      Cross(a, nb.right);
    }
  }

  void Test(std::uint32_t s, std::uint32_t t) {
    if (!Overlap(m_boxes[s], m_boxes[t])) return;
    if (Meet(s, t)) m_bad[s] = m_bad[t] = true;
  }

  // Whether triangles A and B share more than the corners or the edge they
  // have in common.
  bool Meet(std::uint32_t ia, std::uint32_t ib) const {
    const Tri& A = m_t[ia];
    const Tri& B = m_t[ib];
    int sharedA[3], sharedB[3], shared = 0;
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        if (A[i] == B[j]) {
          sharedA[shared] = i;
          sharedB[shared] = j;
          ++shared;
        }
      }
    }
    const auto& P = m_p;
    if (shared >= 3) return true;
    if (shared == 2) {
      // Across a common edge u-w they overlap only when they lie in one plane
      // with their third corners on the same side of the edge.
      const std::uint32_t u = A[sharedA[0]], w = A[sharedA[1]];
      const std::uint32_t a = A[3 - sharedA[0] - sharedA[1]], b = B[3 - sharedB[0] - sharedB[1]];
      // Their normals (taken from the common edge) point the same way only
      // for such a fold; any clear angle between them rules it out cheaply.
      const P3 e{P[w].x - P[u].x, P[w].y - P[u].y, P[w].z - P[u].z};
      const P3 na = CrossProduct(e, {P[a].x - P[u].x, P[a].y - P[u].y, P[a].z - P[u].z});
      const P3 nb = CrossProduct(e, {P[b].x - P[u].x, P[b].y - P[u].y, P[b].z - P[u].z});
      const double dot = na.x * nb.x + na.y * nb.y + na.z * nb.z;
      if (dot < 0.999 * std::sqrt(Length2(na) * Length2(nb))) return false;
      if (Orient3(P[u], P[w], P[a], P[b]) != 0) return false;
      const int drop = m_drop[ia];
      return Orient2(Project(P[u], drop), Project(P[w], drop), Project(P[a], drop)) *
                 Orient2(Project(P[u], drop), Project(P[w], drop), Project(P[b], drop)) > 0;
    }
    if (shared == 1) {
      // Beyond a common corner, the two meet exactly when the edge opposite
      // the corner in one meets the other triangle.
      const int i = sharedA[0], j = sharedB[0];
      // One triangle wholly on one side of the other's plane but for the
      // corner: they meet in the corner only.
      const P3& a1 = P[A[(i + 1) % 3]];
      const P3& a2 = P[A[(i + 2) % 3]];
      const P3& b1 = P[B[(j + 1) % 3]];
      const P3& b2 = P[B[(j + 2) % 3]];
      const int sb1 = Side(ia, b1), sb2 = Side(ia, b2);
      if (sb1 * sb2 > 0) return false;
      const int sa1 = Side(ib, a1), sa2 = Side(ib, a2);
      if (sa1 * sa2 > 0) return false;
      return SegmentMeetsTriangle(a1, a2, sa1, sa2, P[B[0]], P[B[1]], P[B[2]], m_drop[ib]) ||
             SegmentMeetsTriangle(b1, b2, sb1, sb2, P[A[0]], P[A[1]], P[A[2]], m_drop[ia]);
    }
    // Apart: each must reach the other's plane, then an edge of one meets
    // the other.
    const auto allOneSide = [](const int (&side)[3]) {
      return (side[0] > 0 && side[1] > 0 && side[2] > 0) || (side[0] < 0 && side[1] < 0 && side[2] < 0);
    };
    const int sideOfB[3] = {Side(ia, P[B[0]]), Side(ia, P[B[1]]), Side(ia, P[B[2]])};
    if (allOneSide(sideOfB)) return false;
    const int sideOfA[3] = {Side(ib, P[A[0]]), Side(ib, P[A[1]]), Side(ib, P[A[2]])};
    if (allOneSide(sideOfA)) return false;
    for (int e = 0; e < 3; ++e) {
      const int f = (e + 1) % 3;
      if (SegmentMeetsTriangle(P[A[e]], P[A[f]], sideOfA[e], sideOfA[f], P[B[0]], P[B[1]], P[B[2]], m_drop[ib])) {
        return true;
      }
      if (SegmentMeetsTriangle(P[B[e]], P[B[f]], sideOfB[e], sideOfB[f], P[A[0]], P[A[1]], P[A[2]], m_drop[ia])) {
        return true;
      }
    }
    return false;
  }

  const std::vector<P3>& m_p;
  const std::vector<Tri>& m_t;
  const std::vector<int>& m_drop;
  std::vector<Plane> m_planes;
  std::vector<bool> m_bad;
  std::vector<Box> m_boxes;
  std::vector<std::uint32_t> m_order;
  std::vector<Node> m_nodes;
};

std::uint32_t FloatBits(float f) {
  if (f == 0.0f) f = 0.0f;  // -0 and +0 are the same place
  std::uint32_t bits = 0;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

}  // namespace

MeshReport CheckMesh(const PieceMesh& mesh, bool intersections) {
  MeshReport report;
  // One number per place.
  std::vector<P3> points;
  std::vector<std::uint32_t> place(mesh.vertices.size());
  {
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> buckets;
    for (std::size_t k = 0; k < mesh.vertices.size(); ++k) {
      const CVertex3F& v = mesh.vertices[k];
      const std::uint64_t hash = (static_cast<std::uint64_t>(FloatBits(v.x)) * 0x9E3779B97F4A7C15ull) ^
                                 (static_cast<std::uint64_t>(FloatBits(v.y)) * 0xC2B2AE3D27D4EB4Full) ^
                                 static_cast<std::uint64_t>(FloatBits(v.z));
      auto& bucket = buckets[hash];
      std::uint32_t found = UINT32_MAX;
      for (std::uint32_t candidate : bucket) {
        const P3& p = points[candidate];
        if (p.x == v.x && p.y == v.y && p.z == v.z) found = candidate;
      }
      if (found == UINT32_MAX) {
        found = static_cast<std::uint32_t>(points.size());
        points.push_back({v.x, v.y, v.z});
        bucket.push_back(found);
      }
      place[k] = found;
    }
  }
  std::vector<Tri> tris;
  tris.reserve(mesh.triangles.size());
  std::vector<int> drops;
  std::vector<std::uint64_t> edges;  // (low, high) << 1 | runs low to high
  edges.reserve(3 * mesh.triangles.size());
  for (const Tri& source : mesh.triangles) {
    Tri t{};
    for (int c = 0; c < 3; ++c) t[c] = source[c] < place.size() ? place[source[c]] : 0;
    tris.push_back(t);
    const bool repeats = t[0] == t[1] || t[1] == t[2] || t[0] == t[2];
    const int drop = repeats ? -1 : DropAxis(points[t[0]], points[t[1]], points[t[2]]);
    if (drop < 0) ++report.degenerate;
    drops.push_back(drop);
    for (int e = 0; e < 3; ++e) {
      const std::uint32_t a = t[e], b = t[(e + 1) % 3];
      edges.push_back((static_cast<std::uint64_t>(std::min(a, b)) << 33) |
                      (static_cast<std::uint64_t>(std::max(a, b)) << 1) | (a < b ? 1u : 0u));
    }
    const P3& a = points[t[0]];
    const P3& b = points[t[1]];
    const P3& c = points[t[2]];
    report.volume += (a.x * (b.y * c.z - b.z * c.y) + a.y * (b.z * c.x - b.x * c.z) + a.z * (b.x * c.y - b.y * c.x)) / 6.0;
  }
  std::sort(edges.begin(), edges.end());
  bool oriented = true;
  for (std::size_t i = 0; i < edges.size();) {
    std::size_t j = i;
    int forward = 0, backward = 0;
    while (j < edges.size() && (edges[j] >> 1) == (edges[i] >> 1)) {
      ((edges[j] & 1u) != 0 ? forward : backward) += 1;
      ++j;
    }
    if (forward + backward == 1) ++report.boundaryEdges;
    if (forward + backward > 2) ++report.overusedEdges;
    if (forward != 1 || backward != 1) oriented = false;
    i = j;
  }
  report.closed = !mesh.triangles.empty() && report.boundaryEdges == 0 && report.overusedEdges == 0;
  report.oriented = report.closed && oriented;
  if (intersections) report.selfIntersecting = IntersectionFinder(points, tris, drops).Count();
  return report;
}

bool IsSoundSolid(const MeshReport& report) {
  return report.closed && report.oriented && report.degenerate == 0 && report.selfIntersecting == 0 &&
         report.volume > 0.0;
}
