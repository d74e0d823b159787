// Internals of the renderer library: the records the stages share and the
// view in its three layers. Nothing here crosses the library boundary; the
// C interface in rastel.h only ever sees the opaque RenderView handle.
#ifndef RASTEL_RASTERCORE_H
#define RASTEL_RASTERCORE_H

#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "rastel.h"

static_assert(std::endian::native == std::endian::little,
              "coverage masks are read both as words and as bytes, least significant first");

namespace rastel {

// The view is at most 4096 x 4096; its masks and texture grid are sized
// for it when it is resized.
constexpr int kMaxWidth = 4096;
constexpr int kMaxHeight = 4096;

// The most vertices one face list may have, and the most indices one face
// may have: beyond them a list is refused and a face skipped (see rastel.h).
constexpr int kMaxListVertices = 1 << 24;
constexpr std::ptrdiff_t kMaxFaceIndices = std::ptrdiff_t{1} << 26;

// Sub-pixel unit of projected coordinates: sixteenths of a pixel.
constexpr int kSubPixel = 16;

// Depth: Z = kDepthRange * near / distance, so the front clip plane is at
// kDepthRange and a cleared buffer (0) is infinitely far.
constexpr float kDepthRange = 65000.0f;

enum ClipPlane : int { kRight = 0, kLeft = 1, kTop = 2, kBottom = 3, kFront = 4, kPlaneCount = 5 };

enum ClipFlags : int {
  kOnRight = 1 << kRight,
  kOnLeft = 1 << kLeft,
  kOnTop = 1 << kTop,
  kOnBottom = 1 << kBottom,
  kOnFront = 1 << kFront,
  kPlaneBits = 0x1F,
  kProjected = 1 << 6,  // sx, sy are valid
  kSpare = 1 << 7,      // taken from the shared pool, goes back when the contour is done
  kInUse = 1 << 8,      // already linked into the contour being built
};

// One vertex of the clipper. Vertices of the current list live in the
// view's array; spares (copies and vertices made by clipping) come from the
// process-wide pool, whose free list runs through `next`.
struct ClipVertex {
  ClipVertex* next;
  float x, y, z;  // camera space
  int sx, sy;     // sixteenths of a pixel from the view's left and bottom edges
  int flags;
  float side;     // signed distance to the plane being clipped against
  int outside;    // planes the vertex is not inside of (1 << plane), set on entry
};

// A growable array of plain records that starts at four and doubles, on
// the C heap so that running out of memory is an answer, not an abort. A
// count that is negative or whose bytes no size_t can hold is refused the
// same way; the doubling stops at the count asked for, so it cannot wrap.
template <class T>
class GrowArray {
 public:
  GrowArray() = default;
  GrowArray(const GrowArray&) = delete;
  GrowArray& operator=(const GrowArray&) = delete;
  ~GrowArray() { std::free(m_items); }

  bool Reserve(int count) {
    if (count <= m_capacity) return true;
    if (static_cast<std::size_t>(count) > SIZE_MAX / sizeof(T)) return false;
    std::size_t capacity = m_capacity > 0 ? static_cast<std::size_t>(m_capacity) : 4;
    while (capacity < static_cast<std::size_t>(count)) capacity *= 2;  // < 2^32, no wrap
    if (capacity > static_cast<std::size_t>(INT_MAX) || capacity > SIZE_MAX / sizeof(T))
      capacity = static_cast<std::size_t>(count);
    void* grown = std::realloc(m_items, sizeof(T) * capacity);
    if (!grown) return false;
    m_items = static_cast<T*>(grown);
    m_capacity = static_cast<int>(capacity);
    return true;
  }
  bool Push(const T& item) {
    if (m_size == INT_MAX || !Reserve(m_size + 1)) return false;
    m_items[m_size++] = item;
    return true;
  }
  void Resize(int size) { m_size = size; }  // only within the reserved capacity
  int Size() const { return m_size; }
  T* Data() { return m_items; }
  const T* Data() const { return m_items; }
  T& operator[](int i) { return m_items[i]; }
  T& Back() { return m_items[m_size - 1]; }

 private:
  T* m_items = nullptr;
  int m_size = 0;
  int m_capacity = 0;
};

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using HeapPtr = std::unique_ptr<T[], FreeDeleter>;

// A bit mask of covered pixels with its bounding box. Pixel (x, y) is bit
// x % 32 of word x / 32 of row y, or as bytes bit x % 8 of byte x / 8. Only
// words w0..w1 of rows y0..y1-1 are meaningful; y1 == 0 means empty.
struct CoverageMask {
  int x0 = 0, x1 = 0;  // first and last covered column
  int y0 = 0, y1 = 0;  // first row, end row (exclusive)
  int w0 = 0, w1 = 0;  // x0 / 32, x1 / 32
  std::uint32_t* rows = nullptr;  // storage owned by the view
  int rowWords = 0;               // words per row: the view's width / 32, rounded up

  void Clear() { x0 = x1 = y0 = y1 = w0 = w1 = 0; }
  std::uint32_t* Row(int y) const { return rows + static_cast<std::ptrdiff_t>(y) * rowWords; }
  std::uint8_t* RowBytes(int y) const { return reinterpret_cast<std::uint8_t*>(Row(y)); }
};

// A projected point: sixteenths of a pixel from the view's left and bottom.
struct ScreenPoint {
  int sx, sy;
};

// The covered pixels of a face whose every corner row crosses its contour
// exactly twice: row y covers the columns from the lesser of first[y] and
// second[y] up to but not including the greater (none when they are equal).
// x0 and y0, y1 are the bounding box the coverage mask of the same contour
// would have; only rows y0..y1-1 are meaningful.
struct SpanRows {
  int x0 = 0;
  int y0 = 0, y1 = 0;
  int* first = nullptr;   // crossings of the edges going up, storage owned by the view
  int* second = nullptr;  // crossings of the edges going down
};

// A frame as the interface passes it: origin and three axes.
struct Frame {
  float origin[3];
  float axis[3][3];  // axis[0] is the x axis, ...
};

// Saved state of the enclosing vertex list while a face list is entered.
struct VertexListFrame {
  int base;
  int count;
  int reserved[2];
};

// The planar texture projection of one face list, in camera space.
struct TextureProjection {
  bool on = false;
  int vertex[3] = {0, 0, 0};
  float uv[6] = {0, 0, 0, 0, 0, 0};
};

// The depth plane of one face in 16.16 fixed point, anchored at the mask's
// first row and first 8-aligned column. Arithmetic wraps modulo 2^32.
struct DepthPlane {
  std::uint32_t start;
  std::uint32_t columnStep;
  std::uint32_t rowStep;
  int column;  // 8-aligned column of `start`
  int row;     // row of `start`

  std::uint32_t At(int x, int y) const {
    return start + static_cast<std::uint32_t>(y - row) * rowStep +
           static_cast<std::uint32_t>(x - column) * columnStep;
  }
};

enum class DepthMode { kTestAndWrite, kTest };

// Lowest layer: everything the pipeline needs to draw into a pair of
// buffers. The pick-hit notification does nothing here.
class RasterCore {
 public:
  RasterCore();
  virtual ~RasterCore();
  virtual void PickHit() {}

  // clipping, culling and depth handling
  int clipEnable = kPlaneBits;
  bool cullClockwise = true;
  DepthMode depthMode = DepthMode::kTestAndWrite;

  // vertex lists: the current one is vertices[listBase .. listBase + listCount)
  GrowArray<ClipVertex> vertices;
  GrowArray<VertexListFrame> listStack;
  int listBase = 0;
  int listCount = 0;

  TextureProjection texture;
  Frame modelToCamera;
  float light[3] = {0, 0, 0};  // camera space, not normalised
  bool lightOn = false;
  FaceMaterial material;
  float materialChannels[3] = {0, 0, 0};  // the material colour's red, green, blue in 0..1 (Shade.cpp)
  std::uint16_t highlight[2] = {0, 0};

  CoverageMask faceMask, holeMask;
  HeapPtr<std::uint32_t> maskStorage;
  SpanRows spans;
  HeapPtr<int> spanStorage;
  HeapPtr<std::uint8_t> textureGrid;  // laid out by Texture.cpp, sized per view

  std::uint16_t* colour = nullptr;
  std::uint16_t* depth = nullptr;
  int stride = 0;  // pixels per row
  // Rows of the depth buffer that may hold anything but 0 (a cleared
  // buffer): every depth write widens them, and a frame start clears only
  // them. Empty when from >= to.
  int depthRowsFrom = 0, depthRowsTo = 0;

  void MarkDepthRows(int y0, int y1) {
    if (y0 >= y1) return;
    if (depthRowsFrom >= depthRowsTo) {
      depthRowsFrom = y0;
      depthRowsTo = y1;
      return;
    }
    depthRowsFrom = y0 < depthRowsFrom ? y0 : depthRowsFrom;
    depthRowsTo = y1 > depthRowsTo ? y1 : depthRowsTo;
  }

  int focal = 300;  // pixels
  int left = 0, right = 0, bottom = 0, top = 0;  // view rectangle about the optical axis
  float sideNormal[4][3] = {};
  float frontDistance = 10.0f;
  float depthScale = 0;   // kDepthRange * near / focal
  float depthOffset = 0;  // kDepthRange * near

  bool pickArmed = false;
  std::uint16_t* pickCell = nullptr;

  void SetViewRectangle(int width, int height);
  void ComputeSidePlanes();
  void ComputeDepthScale();
};

// Middle layer: owns the colour and depth buffers and the masks' storage.
class BufferLayer : public RasterCore {
 public:
  ~BufferLayer() override;
  void PickHit() override {}

  void Resize(int width, int height);
  void SetViewTangent(float tangent);

  int flags = 0;
  HeapPtr<std::uint16_t> colourBuffer;
  HeapPtr<std::uint16_t> depthBuffer;
  int width = 0;
  int height = 0;
  float viewTangent = 0.75f;

 private:
  void ReleaseBuffers();
  void ComputeFocalLength();
};

}  // namespace rastel

// Top layer, the handle callers hold: camera, background, world light and
// the flag the pick-hit notification raises.
struct RenderView final : public rastel::BufferLayer {
  void PickHit() override { pickHit = true; }

  CameraFrame camera;
  std::uint16_t background = 0;
  bool pickHit = false;
  float worldLight[3] = {0, 0, 0};

  RenderView();
};

namespace rastel {

// Frame.cpp: frames composed and inverted by cofactors
Frame FrameFromCamera(const CameraFrame& camera);
Frame IdentityFrame();
Frame SeenFrom(const Frame& a, const Frame& b);  // a expressed in b's coordinates
void InverseApply(const Frame& b, const float v[3], float out[3]);  // b's 3x3 inverse times v
// Inline: it runs for every vertex of every face list.
inline void ApplyFrame(const Frame& t, const float p[3], float out[3]) {
  for (int i = 0; i < 3; ++i)
    out[i] = t.origin[i] + p[0] * t.axis[0][i] + p[1] * t.axis[1][i] + p[2] * t.axis[2][i];
}

// Library.cpp: process-wide state shared by all views, used under the lock
std::mutex& LibraryLock();  // held for the whole of each face list
ClipVertex* TakeSpare();  // null when memory runs out
void ReturnSpare(ClipVertex* vertex);

// Clip.cpp: contours built from the current list, clipped and projected.
// A contour is a closed ring of `count` vertices starting at `head`.
struct Contour {
  ClipVertex* head = nullptr;
  int count = 0;
};
Contour BuildContour(RasterCore& core, const int* indices, int count);
Contour ClipContour(const RasterCore& core, Contour contour);  // empty when nothing is left
void MarkOutside(const RasterCore& core, ClipVertex* vertices, int count);  // sets `outside`
void ProjectContour(const RasterCore& core, Contour contour);
void ProjectVertex(const RasterCore& core, ClipVertex& vertex);  // once: later calls keep sx, sy
void ProjectVertices(const RasterCore& core, ClipVertex* vertices, int count);  // each as ProjectVertex
void ReleaseVertex(ClipVertex* vertex);
void ReleaseContour(Contour contour);

// Coverage.cpp: masks
bool ScanConvert(Contour contour, CoverageMask& mask);  // releases the contour
// The same coverage as spans, for projected contours (given as their
// points in order) that rise and fall once; kNotSpans for any other.
enum class SpanScan { kDone, kEmpty, kNotSpans };
SpanScan ScanSpans(const ScreenPoint* points, int count, SpanRows& spans);
void CutHole(CoverageMask& face, CoverageMask& hole);
bool Compact(CoverageMask& mask);  // false when nothing is left
void ApplyStipple(CoverageMask& mask, const unsigned char* pattern);

// Pixels.cpp: the byte routines over a mask
void FillMask(RasterCore& core, CoverageMask& mask, std::uint16_t colour);
void ClearBuffers(RasterCore& core, std::size_t pixels, std::uint16_t colour);
void TestWriteDepthAndFill(RasterCore& core, CoverageMask& mask, const DepthPlane& plane,
                           std::uint16_t colour);
void TestWriteDepthAndFillSpans(RasterCore& core, const SpanRows& spans, const DepthPlane& plane,
                                std::uint16_t colour);  // rows spans.y0..y1-1
void WriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane);
void TestAndWriteDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane);
void TestDepth(RasterCore& core, CoverageMask& mask, const DepthPlane& plane);
// Anchored at the 8-aligned column of x0 and at row y0 of the covered area.
DepthPlane MakeDepthPlane(const RasterCore& core, int x0, int y0, const float plane[3]);

// Shade.cpp: one colour per face
void PrepareShading(RasterCore& core);  // after the material is set
std::uint16_t ShadeColour(const RasterCore& core, const float plane[3]);
std::uint16_t TextureShade(const RasterCore& core, const float plane[3]);

// Texture.cpp: textured faces in 8 x 8 blocks
bool TextureReady(const RasterCore& core);
std::size_t TextureGridBytes(int width, int height);  // the grid a view of this size needs
void TextureFace(RasterCore& core, CoverageMask& mask, std::uint16_t shade, bool transparent);

// FaceList.cpp: one call of RenderFaceList
int DrawFaceList(RenderView& view, int faceCount, int vertexCount, const float* vertices,
                 const int* indices, const FaceTexMap* texMap, const FaceMaterial* material);

}  // namespace rastel

#endif  // RASTEL_RASTERCORE_H
