// Contours of a face: built from the current vertex list, clipped against
// the view's five planes (Sutherland-Hodgman) and projected to sixteenths
// of a pixel. New vertices and second uses of a vertex are spares from the
// shared pool; everything goes back as soon as a contour is done with.
#include <cmath>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include "RasterCore.h"

namespace rastel {
namespace {

float SignedDistance(const RasterCore& core, int plane, const ClipVertex& v) {
  if (plane == kFront) return -core.frontDistance - v.z;
  const float* n = core.sideNormal[plane];
  return v.x * n[0] + v.y * n[1] + v.z * n[2];
}

// The point where edge a-b meets the plane, walking from a: a is inside,
// b outside (or the other way round), so a.side - b.side is not zero.
ClipVertex* Intersect(const ClipVertex& a, const ClipVertex& b, int plane) {
  ClipVertex* v = TakeSpare();
  if (!v) return nullptr;
  const float t = a.side / (a.side - b.side);
  v->x = a.x + (b.x - a.x) * t;
  v->y = a.y + (b.y - a.y) * t;
  v->z = a.z + (b.z - a.z) * t;
  v->sx = v->sy = 0;
  v->side = 0;
  v->outside = 0;  // only read before any clipping
  v->flags = (1 << plane) | (a.flags & b.flags & kPlaneBits) | kSpare;
  return v;
}

class RingBuilder {
 public:
  void Append(ClipVertex* v) {
    if (!m_ring.head) m_ring.head = v;
    else m_tail->next = v;
    m_tail = v;
    v->next = m_ring.head;
    ++m_ring.count;
  }
  Contour Ring() const { return m_ring; }

 private:
  Contour m_ring;
  ClipVertex* m_tail = nullptr;
};

ClipVertex* Last(Contour contour) {
  ClipVertex* v = contour.head;
  for (int i = 1; i < contour.count; ++i) v = v->next;
  return v;
}

// One plane of Sutherland-Hodgman: walks the edges prev -> cur, starting
// with the edge from the last vertex to the first.
Contour ClipAgainst(const RasterCore& core, Contour contour, int plane) {
  bool anyOutside = false;
  ClipVertex* v = contour.head;
  for (int i = 0; i < contour.count; ++i, v = v->next) {
    v->side = SignedDistance(core, plane, *v);
    anyOutside |= !(v->side >= 0);  // -0 counts as inside, NaN as outside
  }
  if (!anyOutside) return contour;

  RingBuilder out;
  bool failed = false;
  ClipVertex* last = Last(contour);
  ClipVertex* prev = last;
  ClipVertex* cur = contour.head;
  bool releaseLast = false;
  for (int i = 0; i < contour.count; ++i) {
    ClipVertex* next = cur->next;
    const bool prevInside = prev->side >= 0;
    const bool curInside = cur->side >= 0;
    ClipVertex* made = nullptr;
    if (prevInside) {
      out.Append(prev);
      if (!curInside && !(made = Intersect(*prev, *cur, plane))) failed = true;
    } else {
      if (curInside && !(made = Intersect(*cur, *prev, plane))) failed = true;
      // The last vertex is still needed for the final edge; it goes last.
      if (prev == last) releaseLast = true;
      else ReleaseVertex(prev);
    }
    if (made) out.Append(made);
    prev = cur;
    cur = next;
  }
  if (releaseLast) ReleaseVertex(last);
  Contour result = out.Ring();
  if (failed || result.count <= 1) {
    ReleaseContour(result);
    return Contour();
  }
  return result;
}

}  // namespace

void ReleaseVertex(ClipVertex* vertex) {
  if (vertex->flags & kSpare) ReturnSpare(vertex);
  else vertex->flags &= ~kInUse;
}

void ReleaseContour(Contour contour) {
  ClipVertex* v = contour.head;
  for (int i = 0; i < contour.count; ++i) {
    ClipVertex* next = v->next;
    ReleaseVertex(v);
    v = next;
  }
}

// A vertex used twice in one contour needs two links, so the second use is
// a copy from the pool.
Contour BuildContour(RasterCore& core, const int* indices, int count) {
  RingBuilder ring;
  ClipVertex* list = core.vertices.Data() + core.listBase;
  for (int i = 0; i < count; ++i) {
    ClipVertex* v = &list[indices[i]];
    if (v->flags & kInUse) {
      ClipVertex* copy = TakeSpare();
      if (!copy) {
        ReleaseContour(ring.Ring());
        return Contour();
      }
      *copy = *v;
      copy->flags |= kSpare;
      v = copy;
    } else {
      v->flags |= kInUse;
    }
    ring.Append(v);
  }
  return ring.Ring();
}

// The planes a clip pass would find each vertex outside of (not a number
// counts as outside), by the same arithmetic as the pass itself: with SSE2
// the four side planes at once, each lane summing its products in the same
// order as SignedDistance.
void MarkOutside(const RasterCore& core, ClipVertex* vertices, int count) {
#if defined(__SSE2__)
  static_assert(kRight == 0 && kLeft == 1 && kTop == 2 && kBottom == 3, "side planes are lanes 0..3");
  const float (*n)[3] = core.sideNormal;
  const __m128 nx = _mm_setr_ps(n[0][0], n[1][0], n[2][0], n[3][0]);
  const __m128 ny = _mm_setr_ps(n[0][1], n[1][1], n[2][1], n[3][1]);
  const __m128 nz = _mm_setr_ps(n[0][2], n[1][2], n[2][2], n[3][2]);
  const __m128 zero = _mm_setzero_ps();
  for (int i = 0; i < count; ++i) {
    ClipVertex& v = vertices[i];
    const __m128 side = _mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(v.x), nx), _mm_mul_ps(_mm_set1_ps(v.y), ny)),
                                   _mm_mul_ps(_mm_set1_ps(v.z), nz));
    v.outside = _mm_movemask_ps(_mm_cmpnge_ps(side, zero)) |
                !(SignedDistance(core, kFront, v) >= 0) << kFront;
  }
#else
  for (int i = 0; i < count; ++i) {
    int outside = 0;
    for (int plane = 0; plane < kPlaneCount; ++plane)
      outside |= !(SignedDistance(core, plane, vertices[i]) >= 0) << plane;
    vertices[i].outside = outside;
  }
#endif
}

// A contour whose vertices are all inside every enabled plane comes through
// every pass unchanged, so it is not walked at all.
Contour ClipContour(const RasterCore& core, Contour contour) {
  int outside = 0;
  const ClipVertex* v = contour.head;
  for (int i = 0; i < contour.count; ++i, v = v->next) outside |= v->outside;
  if (!(outside & core.clipEnable) && contour.count >= 3) return contour;
  for (int plane = 0; plane < kPlaneCount && contour.count > 0; ++plane)
    if (core.clipEnable & (1 << plane)) contour = ClipAgainst(core, contour, plane);
  if (contour.count > 0 && contour.count < 3) {
    ReleaseContour(contour);
    return Contour();
  }
  return contour;
}

// Perspective projection to sixteenths of a pixel from the view's left and
// bottom edges. Vertices made on a side plane land exactly on that edge;
// everything else is held inside the view. The comparisons are made before
// converting to int so that a vertex at the eye cannot overflow.
namespace {

struct Projection {
  float f16;
  int xLow, xHigh, yLow, yHigh;

  explicit Projection(const RasterCore& core)
      : f16(static_cast<float>(kSubPixel * core.focal)),
        xLow(kSubPixel * core.left),
        xHigh(kSubPixel * core.right),
        yLow(kSubPixel * core.bottom),
        yHigh(kSubPixel * core.top) {}

  void operator()(ClipVertex* v) const;
};

// One screen coordinate, from the top-left corner of the view: a vertex
// on an edge plane lies on that edge, any other is projected and held
// inside [low, high].
inline int ProjectAxis(int flags, int onLow, int onHigh, float f16, float along, float z,
                       int low, int high) {
  if (flags & onLow) return 0;
  if (flags & onHigh) return high - low;
  const float at = -(f16 * along / z);
  return !(at >= low) ? 0 : at > high ? high - low : static_cast<int>(at) - low;
}

inline void Projection::operator()(ClipVertex* v) const {
  v->flags |= kProjected;
  v->sx = ProjectAxis(v->flags, kOnLeft, kOnRight, f16, v->x, v->z, xLow, xHigh);
  v->sy = ProjectAxis(v->flags, kOnBottom, kOnTop, f16, v->y, v->z, yLow, yHigh);
}

}  // namespace

void ProjectVertex(const RasterCore& core, ClipVertex& vertex) {
  if (vertex.flags & kProjected) return;
  const Projection project(core);
  project(&vertex);
}

// A whole list at once: its divisions overlap instead of each face waiting
// for its own. Vertices no face needs are projected too, which costs less.
void ProjectVertices(const RasterCore& core, ClipVertex* vertices, int count) {
  const Projection project(core);
  for (int i = 0; i < count; ++i)
    if (!(vertices[i].flags & kProjected)) project(&vertices[i]);
}

void ProjectContour(const RasterCore& core, Contour contour) {
  ClipVertex* v = contour.head;
  for (int i = 0; i < contour.count; ++i, v = v->next) ProjectVertex(core, *v);
}

}  // namespace rastel
