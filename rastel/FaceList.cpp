// One face list: its vertices taken to camera space, then face by face the
// plane and culling test, the contours turned into coverage masks, the depth
// test, the fill and the pick test. The whole call runs under the library's
// lock because the spare-vertex pool is shared.
#include "RasterCore.h"

namespace rastel {
namespace {

constexpr std::uint16_t kBrightHighlight = 0x6B4D;
constexpr std::uint16_t kDarkHighlight = 0x18C3;

// Pushes the enclosing list and appends this call's vertices, in camera
// space, as the current list.
bool EnterVertexList(RasterCore& core, int count, const float* points) {
  if (!core.listStack.Push({core.listBase, core.listCount, {0, 0}})) return false;
  const int base = core.vertices.Size();
  if (count > INT_MAX - base || !core.vertices.Reserve(base + count)) {
    core.listStack.Resize(core.listStack.Size() - 1);
    return false;
  }
  for (int i = 0; i < count; ++i) {
    ClipVertex& v = core.vertices[base + i];
    float camera[3];
    ApplyFrame(core.modelToCamera, points + 3 * i, camera);
    v = {nullptr, camera[0], camera[1], camera[2], 0, 0, 0, 0, 0};
  }
  MarkOutside(core, core.vertices.Data() + base, count);
  ProjectVertices(core, core.vertices.Data() + base, count);
  core.vertices.Resize(base + count);
  core.listBase = base;
  core.listCount = count;
  return true;
}

void LeaveVertexList(RasterCore& core) {
  const VertexListFrame saved = core.listStack.Back();
  core.listStack.Resize(core.listStack.Size() - 1);
  core.vertices.Resize(core.listBase);
  core.listBase = saved.base;
  core.listCount = saved.count;
}

// Builds, clips, projects and scan-converts one contour into `mask`.
bool ContourMask(RasterCore& core, const int* indices, int count, CoverageMask& mask) {
  Contour contour = BuildContour(core, indices, count);
  if (contour.count == 0) return false;
  contour = ClipContour(core, contour);
  if (contour.count == 0) return false;
  ProjectContour(core, contour);
  return ScanConvert(contour, mask) && Compact(mask);
}

// The pick pixel is cleared first: if it is not 0 after `draw`, the face
// covered it (a face drawn in colour 0 is never reported).
template <class Draw>
void DrawAndPick(RasterCore& core, Draw draw) {
  std::uint16_t saved = 0;
  if (core.pickArmed) {
    saved = *core.pickCell;
    *core.pickCell = 0;
  }
  draw();
  if (core.pickArmed) {
    if (*core.pickCell != 0) core.PickHit();
    else *core.pickCell = saved;
  }
}

bool Textured(const RasterCore& core) { return core.material.texture && TextureReady(core); }

// Depth test, pick bookkeeping and fill of the face mask.
void DrawMaskedFace(RasterCore& core, const float plane[3]) {
  CoverageMask& mask = core.faceMask;
  if (core.material.stipple) {
    ApplyStipple(mask, core.material.stipple);
    if (!Compact(mask)) return;
  }
  const DepthPlane depth = MakeDepthPlane(core, mask.x0, mask.y0, plane);
  const bool transparent = core.material.transparent != 0;
  const bool textured = Textured(core);
  if (!transparent && !textured && core.depthMode == DepthMode::kTestAndWrite) {
    // An opaque face of one colour: depth test, depth write and fill in one
    // pass.
    const std::uint16_t colour = ShadeColour(core, plane);
    DrawAndPick(core, [&] { TestWriteDepthAndFill(core, mask, depth, colour); });
    return;
  }
  if (transparent || core.depthMode == DepthMode::kTest) TestDepth(core, mask, depth);
  else TestAndWriteDepth(core, mask, depth);
  if (!Compact(mask)) return;

  DrawAndPick(core, [&] {
    if (textured)
      TextureFace(core, mask, TextureShade(core, plane), transparent);
    else
      FillMask(core, mask, ShadeColour(core, plane));
    if (transparent) WriteDepth(core, mask, depth);
  });
}

// The longest contour drawn from spans; longer ones go through the mask.
constexpr int kMaxSpanPoints = 64;

void DrawMaskedContour(RasterCore& core, Contour contour, const float plane[3]) {
  if (ScanConvert(contour, core.faceMask) && Compact(core.faceMask)) DrawMaskedFace(core, plane);
}

// A face of one contour drawn opaque in one colour, the common case: when
// the contour rises and falls once the face goes from spans straight to the
// buffers, otherwise through the mask as any other face; both give the same
// pixels. A contour that needs no clipping is read straight from the list.
void DrawPlainFace(RasterCore& core, const int* indices, int count, const float plane[3]) {
  ScreenPoint points[kMaxSpanPoints];
  ClipVertex* list = core.vertices.Data() + core.listBase;
  int outside = 0;
  if (count <= kMaxSpanPoints)
    for (int i = 0; i < count; ++i) outside |= list[indices[i]].outside;
  SpanScan scan;
  if (count <= kMaxSpanPoints && !(outside & core.clipEnable)) {
    for (int i = 0; i < count; ++i) {
      ClipVertex& v = list[indices[i]];
      if (!(v.flags & kProjected)) ProjectVertex(core, v);  // done as the list was entered
      points[i] = {v.sx, v.sy};
    }
    scan = ScanSpans(points, count, core.spans);
    if (scan == SpanScan::kNotSpans) {
      // the same contour as a ring: nothing to clip, already projected
      const Contour contour = BuildContour(core, indices, count);
      if (contour.count == 0) return;
      DrawMaskedContour(core, contour, plane);
      return;
    }
  } else {
    Contour contour = BuildContour(core, indices, count);
    if (contour.count == 0) return;
    contour = ClipContour(core, contour);
    if (contour.count == 0) return;
    ProjectContour(core, contour);
    if (contour.count > kMaxSpanPoints) {
      DrawMaskedContour(core, contour, plane);
      return;
    }
    const ClipVertex* v = contour.head;
    for (int i = 0; i < contour.count; ++i, v = v->next) points[i] = {v->sx, v->sy};
    scan = ScanSpans(points, contour.count, core.spans);
    if (scan == SpanScan::kNotSpans) {
      DrawMaskedContour(core, contour, plane);
      return;
    }
    ReleaseContour(contour);
  }
  if (scan == SpanScan::kEmpty) return;
  // Empty rows at either end are left out, as Compact leaves them out of a
  // mask; the depth plane is anchored at the first row left.
  SpanRows& spans = core.spans;
  while (spans.y0 < spans.y1 && spans.first[spans.y0] == spans.second[spans.y0]) ++spans.y0;
  while (spans.y1 > spans.y0 && spans.first[spans.y1 - 1] == spans.second[spans.y1 - 1]) --spans.y1;
  if (spans.y0 >= spans.y1) return;
  const DepthPlane depth = MakeDepthPlane(core, spans.x0, spans.y0, plane);
  const std::uint16_t colour = ShadeColour(core, plane);
  DrawAndPick(core, [&] { TestWriteDepthAndFillSpans(core, spans, depth, colour); });
}

// One face: a run of indices ending with -1; the first contour is the
// outline, every further one (after a negative separator other than -1) a
// hole. Faces that refer to vertices outside the list, and faces longer
// than any contour the clipper takes, are skipped whole.
// `highest` is the largest index of the run.
void DrawFace(RasterCore& core, const int* run, std::ptrdiff_t count, int highest) {
  if (count < 3 || count > kMaxFaceIndices || run[0] < 0 || run[1] < 0) return;
  if (highest >= core.listCount) return;
  int outer = 0;
  while (run[outer] >= 0) ++outer;
  if (outer < 3) return;

  // Newell normal as a fan about the first vertex.
  const ClipVertex* list = core.vertices.Data() + core.listBase;
  const ClipVertex& a = list[run[0]];
  float normal[3] = {0, 0, 0};
  for (int i = 1; i + 1 < outer; ++i) {
    const ClipVertex& p = list[run[i]];
    const ClipVertex& q = list[run[i + 1]];
    const float u[3] = {p.x - a.x, p.y - a.y, p.z - a.z};
    const float v[3] = {q.x - a.x, q.y - a.y, q.z - a.z};
    normal[0] += u[1] * v[2] - u[2] * v[1];
    normal[1] += u[2] * v[0] - u[0] * v[2];
    normal[2] += u[0] * v[1] - u[1] * v[0];
  }
  // Counter-clockwise as seen from the eye means d < 0; clockwise and
  // edge-on faces (d = 0, also -0) are culled, and so is anything that is
  // not a number.
  const float d = a.x * normal[0] + a.y * normal[1] + a.z * normal[2];
  if (!(d < 0)) return;
  // Every point q of the face's plane has q . plane = 1.
  const float plane[3] = {normal[0] / d, normal[1] / d, normal[2] / d};

  if (run[outer] == -1 && !core.material.stipple && !core.material.transparent && !Textured(core) &&
      core.depthMode == DepthMode::kTestAndWrite) {
    DrawPlainFace(core, run, outer, plane);
    return;
  }
  if (!ContourMask(core, run, outer, core.faceMask)) return;
  for (int pos = outer; run[pos] != -1;) {
    const int start = ++pos;
    while (run[pos] >= 0) ++pos;
    if (pos > start && ContourMask(core, run + start, pos - start, core.holeMask))
      CutHole(core.faceMask, core.holeMask);
  }
  if (!Compact(core.faceMask)) return;
  DrawMaskedFace(core, plane);
}

void TakeTextureMap(RasterCore& core, const FaceTexMap* texMap) {
  core.texture = TextureProjection();
  if (!texMap || !texMap->on) return;
  for (int i = 0; i < 3; ++i)
    if (texMap->vertex[i] < 0 || texMap->vertex[i] >= core.listCount) return;
  core.texture.on = true;
  for (int i = 0; i < 3; ++i) core.texture.vertex[i] = texMap->vertex[i];
  for (int i = 0; i < 6; ++i) core.texture.uv[i] = texMap->uv[i];
}

}  // namespace

int DrawFaceList(RenderView& view, int faceCount, int vertexCount, const float* vertices,
                 const int* indices, const FaceTexMap* texMap, const FaceMaterial* material) {
  std::lock_guard<std::mutex> guard(LibraryLock());
  view.pickHit = false;
  if (vertexCount > kMaxListVertices) return -1;
  if (!EnterVertexList(view, vertexCount > 0 ? vertexCount : 0, vertices)) return -1;
  TakeTextureMap(view, texMap);
  if (material) {
    view.material = *material;
    view.highlight[0] = kBrightHighlight;
    view.highlight[1] = kDarkHighlight;
  }
  PrepareShading(view);

  int result = -1;
  if (view.colour) {
    const int* run = indices;
    for (int face = 0; face < faceCount; ++face) {
      std::ptrdiff_t count = 0;
      int highest = -1;
      for (; run[count] != -1; ++count) highest = run[count] > highest ? run[count] : highest;
      ++count;  // the run includes its -1
      DrawFace(view, run, count, highest);
      if (view.pickHit) {
        view.pickHit = false;
        result = face;
      }
      run += count;
    }
  }

  LeaveVertexList(view);
  view.texture = TextureProjection();
  view.material = FaceMaterial();
  view.highlight[0] = view.highlight[1] = 0;
  return result;
}

}  // namespace rastel
