// The same frame drawn by Mesa's off-screen renderer (llvmpipe), so that the
// renderer's benchmark can state its time as a ratio against a well-known
// software rasteriser measured in the same run.
//
// llvmpipe reads its thread count once, when its screen is made, so every
// thread setting runs in its own child process, forked before any GL
// library is loaded. The parent sends "draw one frame" and the child answers
// with the frame's wall time. Both Mesa libraries are opened with dlopen and
// RTLD_LOCAL: the tessellator's GL dispatch (glvnd) never meets OSMesa's.
//
// The faces are turned into triangles once with the GLU tessellator (odd
// winding, the renderer's even-odd rule), one colour per face, kept in a
// display list: llvmpipe gets its best case, a static mesh, flat shading,
// depth test, back faces culled, no dithering, a 5-6-5 target.
#ifndef BENCH_RASTEL_MESAPEER_H
#define BENCH_RASTEL_MESAPEER_H

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/osmesa.h>
#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <deque>
#include <vector>

#include "rastel.h"

namespace mesapeer {

struct Triangle {
  float p[3][3];
  std::uint8_t rgb[3];
};

// One face list as the renderer takes it.
struct FaceList {
  const float* vertices;
  const int* indices;
  int faceCount;
  std::uint16_t colour;  // 5-6-5
};

struct View {
  int width, height;
  float focal;  // pixels
  float nearPlane;
  CameraFrame camera;
  float light[3];  // world space
  std::uint16_t background;
};

// --- tessellation -----------------------------------------------------------

struct Glu {
  void* handle = nullptr;
  decltype(&::gluNewTess) NewTess = nullptr;
  decltype(&::gluDeleteTess) DeleteTess = nullptr;
  decltype(&::gluTessCallback) TessCallback = nullptr;
  decltype(&::gluTessProperty) TessProperty = nullptr;
  decltype(&::gluTessNormal) TessNormal = nullptr;
  decltype(&::gluTessBeginPolygon) TessBeginPolygon = nullptr;
  decltype(&::gluTessBeginContour) TessBeginContour = nullptr;
  decltype(&::gluTessVertex) TessVertex = nullptr;
  decltype(&::gluTessEndContour) TessEndContour = nullptr;
  decltype(&::gluTessEndPolygon) TessEndPolygon = nullptr;
};

template <class F>
void Bind(void* handle, F& slot, const char* name) {
  slot = reinterpret_cast<F>(dlsym(handle, name));
}

inline bool LoadGlu(Glu& g) {
  g.handle = dlopen(GLYPHKILN_GLU_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!g.handle) return false;
  Bind(g.handle, g.NewTess, "gluNewTess");
  Bind(g.handle, g.DeleteTess, "gluDeleteTess");
  Bind(g.handle, g.TessCallback, "gluTessCallback");
  Bind(g.handle, g.TessProperty, "gluTessProperty");
  Bind(g.handle, g.TessNormal, "gluTessNormal");
  Bind(g.handle, g.TessBeginPolygon, "gluTessBeginPolygon");
  Bind(g.handle, g.TessBeginContour, "gluTessBeginContour");
  Bind(g.handle, g.TessVertex, "gluTessVertex");
  Bind(g.handle, g.TessEndContour, "gluTessEndContour");
  Bind(g.handle, g.TessEndPolygon, "gluTessEndPolygon");
  return g.NewTess && g.DeleteTess && g.TessCallback && g.TessProperty && g.TessNormal &&
         g.TessBeginPolygon && g.TessBeginContour && g.TessVertex && g.TessEndContour && g.TessEndPolygon;
}

struct TessState {
  std::vector<Triangle>* out;
  std::deque<GLdouble> made;  // vertices the tessellator creates; stable addresses
  std::uint8_t rgb[3];
  GLdouble* corner[3];
  int corners = 0;
};

extern "C" {
inline void TessVertexCallback(void* vertex, void* data) {
  auto* s = static_cast<TessState*>(data);
  s->corner[s->corners++] = static_cast<GLdouble*>(vertex);
  if (s->corners < 3) return;
  Triangle t;
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 3; ++k) t.p[i][k] = static_cast<float>(s->corner[i][k]);
  for (int k = 0; k < 3; ++k) t.rgb[k] = s->rgb[k];
  s->out->push_back(t);
  s->corners = 0;
}
inline void TessEdgeFlagCallback(GLboolean, void*) {}  // asks for plain triangles
inline void TessBeginCallback(GLenum, void* data) { static_cast<TessState*>(data)->corners = 0; }
inline void TessCombineCallback(GLdouble coords[3], void*[4], GLfloat[4], void** result, void* data) {
  auto* s = static_cast<TessState*>(data);
  for (int k = 0; k < 3; ++k) s->made.push_back(coords[k]);
  *result = &s->made[s->made.size() - 3];
}
}

// The colour of a face under the light, as the renderer shades lit faces.
inline void Shade(std::uint16_t colour, const float normal[3], const float light[3], std::uint8_t rgb[3]) {
  const float len = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
  const float d = len > 0 ? (normal[0] * light[0] + normal[1] * light[1] + normal[2] * light[2]) / len : 0;
  const float k = std::fmin(std::fmax(1.0f + 0.7f * d, 0.0f), 1.0f);
  rgb[0] = static_cast<std::uint8_t>((colour >> 11) * 255 / 31 * k);
  rgb[1] = static_cast<std::uint8_t>((colour >> 5 & 63) * 255 / 63 * k);
  rgb[2] = static_cast<std::uint8_t>((colour & 31) * 255 / 31 * k);
}

// Every face of the lists as triangles; empty when GLU cannot be loaded.
inline std::vector<Triangle> Triangulate(const std::vector<FaceList>& lists, const float light[3]) {
  std::vector<Triangle> triangles;
  Glu glu;
  if (!LoadGlu(glu)) return triangles;
  GLUtesselator* tess = glu.NewTess();
  using Callback = void (*)();
  glu.TessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(&TessVertexCallback));
  glu.TessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(&TessEdgeFlagCallback));
  glu.TessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(&TessBeginCallback));
  glu.TessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(&TessCombineCallback));
  glu.TessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
  for (const FaceList& list : lists) {
    std::vector<GLdouble> coords;
    const int* run = list.indices;
    for (int face = 0; face < list.faceCount; ++face) {
      int count = 0;
      while (run[count] != -1) ++count;
      // Newell normal of the outline: the face's front, counter-clockwise
      float n[3] = {0, 0, 0};
      int outer = 0;
      while (outer < count && run[outer] >= 0) ++outer;
      for (int i = 0; i < outer; ++i) {
        const float* a = list.vertices + 3 * run[i];
        const float* b = list.vertices + 3 * run[(i + 1) % outer];
        n[0] += (a[1] - b[1]) * (a[2] + b[2]);
        n[1] += (a[2] - b[2]) * (a[0] + b[0]);
        n[2] += (a[0] - b[0]) * (a[1] + b[1]);
      }
      TessState state{&triangles, {}, {0, 0, 0}, {nullptr, nullptr, nullptr}, 0};
      Shade(list.colour, n, light, state.rgb);
      coords.assign(static_cast<std::size_t>(3 * count), 0.0);
      glu.TessNormal(tess, n[0], n[1], n[2]);
      glu.TessBeginPolygon(tess, &state);
      glu.TessBeginContour(tess);
      for (int i = 0; i < count; ++i) {
        if (run[i] < 0) {
          glu.TessEndContour(tess);
          glu.TessBeginContour(tess);
          continue;
        }
        for (int k = 0; k < 3; ++k) coords[3 * i + k] = list.vertices[3 * run[i] + k];
        glu.TessVertex(tess, &coords[3 * i], &coords[3 * i]);
      }
      glu.TessEndContour(tess);
      glu.TessEndPolygon(tess);
      run += count + 1;
    }
  }
  glu.DeleteTess(tess);
  return triangles;
}

// --- drawing in a child process ---------------------------------------------

struct Gl {
  void* handle = nullptr;
  decltype(&::OSMesaCreateContextExt) CreateContextExt = nullptr;
  decltype(&::OSMesaMakeCurrent) MakeCurrent = nullptr;
  decltype(&::OSMesaDestroyContext) DestroyContext = nullptr;
  decltype(&::glViewport) Viewport = nullptr;
  decltype(&::glMatrixMode) MatrixMode = nullptr;
  decltype(&::glLoadIdentity) LoadIdentity = nullptr;
  decltype(&::glFrustum) Frustum = nullptr;
  decltype(&::glLoadMatrixf) LoadMatrixf = nullptr;
  decltype(&::glEnable) Enable = nullptr;
  decltype(&::glDisable) Disable = nullptr;
  decltype(&::glDepthFunc) DepthFunc = nullptr;
  decltype(&::glShadeModel) ShadeModel = nullptr;
  decltype(&::glClearColor) ClearColor = nullptr;
  decltype(&::glClear) Clear = nullptr;
  decltype(&::glNewList) NewList = nullptr;
  decltype(&::glEndList) EndList = nullptr;
  decltype(&::glCallList) CallList = nullptr;
  decltype(&::glBegin) Begin = nullptr;
  decltype(&::glEnd) End = nullptr;
  decltype(&::glColor3ub) Color3ub = nullptr;
  decltype(&::glVertex3fv) Vertex3fv = nullptr;
  decltype(&::glFinish) Finish = nullptr;
};

inline bool LoadGl(Gl& g) {
  g.handle = dlopen(GLYPHKILN_OSMESA_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!g.handle) return false;
  Bind(g.handle, g.CreateContextExt, "OSMesaCreateContextExt");
  Bind(g.handle, g.MakeCurrent, "OSMesaMakeCurrent");
  Bind(g.handle, g.DestroyContext, "OSMesaDestroyContext");
  auto gl = [&g](auto& slot, const char* name) { Bind(g.handle, slot, name); return slot != nullptr; };
  return g.CreateContextExt && g.MakeCurrent && g.DestroyContext && gl(g.Viewport, "glViewport") &&
         gl(g.MatrixMode, "glMatrixMode") && gl(g.LoadIdentity, "glLoadIdentity") && gl(g.Frustum, "glFrustum") &&
         gl(g.LoadMatrixf, "glLoadMatrixf") && gl(g.Enable, "glEnable") && gl(g.Disable, "glDisable") &&
         gl(g.DepthFunc, "glDepthFunc") && gl(g.ShadeModel, "glShadeModel") && gl(g.ClearColor, "glClearColor") &&
         gl(g.Clear, "glClear") && gl(g.NewList, "glNewList") && gl(g.EndList, "glEndList") &&
         gl(g.CallList, "glCallList") && gl(g.Begin, "glBegin") && gl(g.End, "glEnd") &&
         gl(g.Color3ub, "glColor3ub") && gl(g.Vertex3fv, "glVertex3fv") && gl(g.Finish, "glFinish");
}

// World to camera: the inverse of the camera frame (axes as columns).
inline void ViewMatrix(const CameraFrame& c, float m[16]) {
  const float* x = c.xAxis;
  const float* y = c.yAxis;
  const float* z = c.zAxis;
  float rows[3][3] = {{y[1] * z[2] - y[2] * z[1], y[2] * z[0] - y[0] * z[2], y[0] * z[1] - y[1] * z[0]},
                      {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2], z[0] * x[1] - z[1] * x[0]},
                      {x[1] * y[2] - x[2] * y[1], x[2] * y[0] - x[0] * y[2], x[0] * y[1] - x[1] * y[0]}};
  const float det = x[0] * rows[0][0] + x[1] * rows[0][1] + x[2] * rows[0][2];
  for (int r = 0; r < 3; ++r) {
    float t = 0;
    for (int k = 0; k < 3; ++k) {
      rows[r][k] /= det;
      m[4 * k + r] = rows[r][k];  // column-major
      t += rows[r][k] * c.origin[k];
    }
    m[12 + r] = -t;
    m[3 + 4 * r] = 0;
  }
  m[15] = 1;
}

struct FrameResult {
  double seconds;     // wall time
  double cpuSeconds;  // CPU time of the whole child (all of llvmpipe's threads)
  int covered;        // pixels not of the background colour
};

inline double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The child's loop: set up, then one frame per request until the pipe closes.
[[noreturn]] inline void ChildLoop(int in, int out, const View& view, const std::vector<Triangle>& triangles) {
  Gl gl;
  FrameResult failed{-1, -1, 0};
  if (!LoadGl(gl)) {
    (void)!write(out, &failed, sizeof failed);
    _exit(1);
  }
  OSMesaContext context = gl.CreateContextExt(OSMESA_RGB_565, 16, 0, 0, nullptr);
  std::vector<std::uint16_t> buffer(static_cast<std::size_t>(view.width) * view.height);
  if (!context || !gl.MakeCurrent(context, buffer.data(), GL_UNSIGNED_SHORT_5_6_5, view.width, view.height)) {
    (void)!write(out, &failed, sizeof failed);
    _exit(1);
  }
  gl.Viewport(0, 0, view.width, view.height);
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  const double s = view.nearPlane / view.focal;
  gl.Frustum(-view.width / 2.0 * s, view.width / 2.0 * s, -view.height / 2.0 * s, view.height / 2.0 * s,
             view.nearPlane, 1000.0);
  gl.MatrixMode(GL_MODELVIEW);
  float m[16];
  ViewMatrix(view.camera, m);
  gl.LoadMatrixf(m);
  gl.Enable(GL_DEPTH_TEST);
  gl.DepthFunc(GL_LESS);
  gl.Enable(GL_CULL_FACE);
  gl.Disable(GL_DITHER);
  gl.ShadeModel(GL_FLAT);
  const std::uint16_t bg = view.background;
  gl.ClearColor((bg >> 11) / 31.0f, (bg >> 5 & 63) / 63.0f, (bg & 31) / 31.0f, 1.0f);
  gl.NewList(1, GL_COMPILE);
  gl.Begin(GL_TRIANGLES);
  for (const Triangle& t : triangles) {
    gl.Color3ub(t.rgb[0], t.rgb[1], t.rgb[2]);
    for (const auto& p : t.p) gl.Vertex3fv(p);
  }
  gl.End();
  gl.EndList();

  auto frame = [&] {
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.CallList(1);
    gl.Finish();
  };
  // the first frames compile llvmpipe's shaders
  for (int i = 0; i < 3; ++i) frame();
  char command;
  while (read(in, &command, 1) == 1) {
    const double cpu = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    frame();
    const auto stop = std::chrono::steady_clock::now();
    FrameResult result{std::chrono::duration<double>(stop - start).count(), ProcessCpuSeconds() - cpu, 0};
    for (std::uint16_t px : buffer) result.covered += px != buffer[0];
    if (write(out, &result, sizeof result) != sizeof result) break;
  }
  gl.DestroyContext(context);
  _exit(0);
}

// One llvmpipe in a child process; threads 0 means llvmpipe's default.
class Peer {
 public:
  Peer(const View& view, const std::vector<Triangle>& triangles, int threads) {
    int toChild[2], fromChild[2];
    if (triangles.empty() || pipe(toChild) != 0) return;
    if (pipe(fromChild) != 0) {
      close(toChild[0]);
      close(toChild[1]);
      return;
    }
    m_child = fork();
    if (m_child == 0) {
      close(toChild[1]);
      close(fromChild[0]);
      setenv("GALLIUM_DRIVER", "llvmpipe", 1);
      if (threads > 0) setenv("LP_NUM_THREADS", std::to_string(threads).c_str(), 1);
      else unsetenv("LP_NUM_THREADS");
      ChildLoop(toChild[0], fromChild[1], view, triangles);
    }
    close(toChild[0]);
    close(fromChild[1]);
    m_to = toChild[1];
    m_from = fromChild[0];
    if (m_child < 0) Close();
  }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;
  ~Peer() { Close(); }

  // Wall time of one frame, or a negative value when the peer is missing.
  FrameResult Frame() {
    FrameResult result{-1, -1, 0};
    const char go = 'f';
    if (m_to < 0 || write(m_to, &go, 1) != 1 || read(m_from, &result, sizeof result) != sizeof result)
      return {-1, -1, 0};
    return result;
  }

 private:
  void Close() {
    if (m_to >= 0) close(m_to);
    if (m_from >= 0) close(m_from);
    m_to = m_from = -1;
    if (m_child > 0) waitpid(m_child, nullptr, 0);
    m_child = -1;
  }
  pid_t m_child = -1;
  int m_to = -1, m_from = -1;
};

}  // namespace mesapeer

#endif  // BENCH_RASTEL_MESAPEER_H
