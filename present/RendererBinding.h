// The link to the renderer library: loads libRastel16.so (or libRastel8.so)
// at run time, binds its sixteen functions, owns the one renderer view and
// draws frames of letters with the examiner's camera, light and background.
// It never asks for letters: the caller draws after it turns the camera.
// Free of Qt; the window half (blit, palette realisation, splash) is separate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Camera.h"
#include "CubePalette.h"
#include "FramePictures.h"
#include "SharedLibrary.h"
#include "rastel.h"

class CLetterPiece;
class CText3D;

// The renderer library's entry points, bound by their plain names.
struct RendererEntryPoints {
  decltype(&RenderCreateView) createView = nullptr;
  decltype(&RenderDestroyView) destroyView = nullptr;
  decltype(&RenderResizeView) resizeView = nullptr;
  decltype(&RenderGetViewSize) getViewSize = nullptr;
  decltype(&RenderSetCameraPos) setCameraPos = nullptr;
  decltype(&RenderSetBgColor) setBgColor = nullptr;
  decltype(&RenderSetViewTan) setViewTan = nullptr;
  decltype(&RenderSetFrontClipPlane) setFrontClipPlane = nullptr;
  decltype(&RenderSetDLight) setDLight = nullptr;
  decltype(&RenderTargetMode) targetMode = nullptr;
  decltype(&RenderStartFrame) startFrame = nullptr;
  decltype(&RenderEndFrame) endFrame = nullptr;
  decltype(&RenderSetTransform) setTransform = nullptr;
  decltype(&RenderFaceList) faceList = nullptr;
  decltype(&RenderGetBuf) getBuf = nullptr;
  decltype(&MLDither) dither = nullptr;  // not required of an 8-bit library

  // Every function but the dither is there.
  bool HasViewFunctions() const;
};

// A renderer library to try, in order, and the frame format it draws.
struct RendererLibraryCandidate {
  std::string name;  // file name, e.g. "libRastel16.so"
  int bitsPerPixel;  // 16: 5-6-5 pixels; 8: palette indices
};

// Where the binding looks for its library.
struct RendererBindingOptions {
  // Searched in order for each library before the system's search path.
  std::vector<std::filesystem::path> directories;
  bool useSystemSearchPath = true;
  std::vector<RendererLibraryCandidate> libraries = {{"libRastel16.so", 16}, {"libRastel8.so", 8}};
  // The largest view asked of the renderer: the desktop view's 800 x 600;
  // pictures may be larger where the renderer library allows it.
  int maxWidth = 800;
  int maxHeight = 600;

  // The running program's directory, then the system's search path.
  static RendererBindingOptions Default();
};

class RendererBinding {
 public:
  // The background colour until the program sets one: green and blue full,
  // red 0 (cyan), as a COLORREF.
  static constexpr std::uint32_t kDefaultBackground = 0xFFFF00;
  // The largest view the renderer is asked for.
  static constexpr int kMaxWidth = 800;
  static constexpr int kMaxHeight = 600;

  // Loads the library (each name first beside the running executable, then
  // by the system's search path).
  RendererBinding();
  explicit RendererBinding(const RendererBindingOptions& options);
  // Destroys the view and unloads the library.
  ~RendererBinding();
  RendererBinding(const RendererBinding&) = delete;
  RendererBinding& operator=(const RendererBinding&) = delete;

  // w > the largest width (800 unless the options say otherwise) gives that
  // width, w <= 3 gives 0; likewise h, with h < 4 giving 0.
  void SetViewSize(int w, int h);
  // The largest view from now on, within the library's 4096 x 4096: a pane
  // on a high-density screen asks for its device pixels.
  void SetViewLimit(int maxWidth, int maxHeight);
  // Fits the camera to the text's bounds (Camera::Fit) and takes the
  // text's light.
  void FitCamera(const CText3D* text);
  // Draws one frame of the text's pieces, in one pass over its letters;
  // nothing without a view, a size or a text.
  void DrawScene(const CText3D* text);
  // Draws one frame as DrawScene does (size, camera, light, clip plane) on
  // `libraryBackground` (in the library's colour format), with `drawFaces`
  // handing the faces to the library itself.
  void DrawFrame(int libraryBackground, const std::function<void()>& drawFaces);
  // Takes the light direction of the text (after SetLight) as the renderer's.
  void SetLightFromText(const CText3D& text);

  RenderView* View() const { return m_view; }
  int BitsPerPixel() const { return m_bitsPerPixel; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  std::uint32_t Background() const { return m_background; }  // COLORREF 0x00BBGGRR
  void SetBackground(std::uint32_t colour) { m_background = colour; }
  // The camera the next frame is drawn with; turning it draws nothing.
  Camera& ViewCamera() { return m_camera; }
  const Camera& ViewCamera() const { return m_camera; }
  const float* Light() const { return m_light; }
  // The colours the 8-bit frame's indices refer to.
  const CubePalette& Palette() const { return m_palette; }
  const RendererEntryPoints& EntryPoints() const { return m_entry; }

  // A COLORREF in the loaded library's colour format: a 5-6-5 pixel for the
  // 16-bit library, a palette index for the 8-bit one.
  int LibraryColour(std::uint32_t colour) const;

  // The frame as the library holds it: width x height pixels, bottom row
  // first; null without a frame, for the 8-bit library, or when the view
  // size was changed since the frame was drawn.
  const unsigned short* Frame16() const;
  // The frame as palette indices (width bytes a row, bottom row first); null
  // without a frame. A 16-bit frame is dithered into a buffer of the
  // binding's once per frame, so the 16-bit frame itself stays intact.
  const std::uint8_t* Frame8();
  bool Dithered() const { return m_dithered != 0; }

  // The picture as the examiner shows it, as a GIF file (dithered once per
  // frame). The caller turns a failure into its message (SaveGifMessage).
  SaveGifResult SaveGif(const std::filesystem::path& path);

 private:
  void Load(const RendererBindingOptions& options);
  bool OpenLibrary(const RendererBindingOptions& options, const std::string& name);
  void BindEntryPoints();
  bool HasFrame() const { return m_view && m_width > 0 && m_height > 0; }
  bool FrameMatchesSize() const;
  // Hands one piece's mesh to the renderer; indices is scratch space.
  void DrawPiece(const CLetterPiece& piece, std::vector<int>& indices);

  int m_dithered = 0;
  int m_bitsPerPixel = 0;
  CubePalette m_palette;
  int m_maxWidth = kMaxWidth;
  int m_maxHeight = kMaxHeight;
  // Declared before the view handle: the view is destroyed while its
  // library is still loaded.
  SharedLibrary m_library;
  RendererEntryPoints m_entry;
  RenderView* m_view = nullptr;
  std::uint32_t m_background = kDefaultBackground;
  Camera m_camera;
  float m_light[3] = {0, 0, 0};
  int m_width = 0;
  int m_height = 0;
  // The dithered form of a 16-bit frame; valid while m_dithered is 1.
  std::vector<std::uint8_t> m_frame8;
};
