// The document's link to the renderer library: loads libRastel16.so (or
// libRastel8.so) at run time, binds its sixteen functions, owns the one
// renderer view and keeps the examiner's camera, light and background.
// Free of Qt; the window half (blit, palette realisation, splash) is separate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "CubePalette.h"
#include "FrameGif.h"
#include "Profile.h"
#include "SharedLibrary.h"
#include "rastel.h"

class CText3D;

// Where Redraw finds the current letters: the desktop program's layout view,
// or the command-line tool's own text object.
class TextProvider {
 public:
  virtual ~TextProvider() = default;
  virtual const CText3D* CurrentText() const = 0;
};

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

// Where the binding looks for its library and keeps its background colour.
struct RendererBindingOptions {
  // Searched in order for each library before the system's search path.
  std::vector<std::filesystem::path> directories;
  bool useSystemSearchPath = true;
  std::vector<RendererLibraryCandidate> libraries = {{"libRastel16.so", 16}, {"libRastel8.so", 8}};
  std::filesystem::path profilePath;  // empty: Profile::DefaultPath()
  // Read the background from the profile and write it back on destruction.
  // The command-line tool takes its colours from its options and leaves the
  // desktop program's settings alone.
  bool keepSettings = true;
  // The largest view asked of the renderer: the desktop view's 800 x 600;
  // pictures may be larger where the renderer library allows it.
  int maxWidth = 800;
  int maxHeight = 600;

  // The running program's directory, then the system's search path, and the
  // default profile.
  static RendererBindingOptions Default();
};

class RendererBinding {
 public:
  // The background colour until the profile says otherwise: green and blue
  // full, red 0 (cyan), as a COLORREF.
  static constexpr std::uint32_t kDefaultBackground = 0xFFFF00;
  // The largest view the renderer is asked for.
  static constexpr int kMaxWidth = 800;
  static constexpr int kMaxHeight = 600;

  // Loads the library (each name first beside the running executable, then
  // by the system's search path) and reads the background from the profile.
  RendererBinding();
  explicit RendererBinding(const RendererBindingOptions& options);
  // Destroys the view, unloads the library, writes the background back.
  ~RendererBinding();
  RendererBinding(const RendererBinding&) = delete;
  RendererBinding& operator=(const RendererBinding&) = delete;

  void SetTextProvider(const TextProvider* provider) { m_provider = provider; }

  // w > the largest width (800 unless the options say otherwise) gives that
  // width, w <= 3 gives 0; likewise h, with h < 4 giving 0.
  void SetViewSize(int w, int h);
  // Centres the camera on the text's bounds at a distance that shows it
  // whole, looking down the negative z axis, and takes the text's light.
  void FitCamera(const CText3D* text);
  // Turns the camera about the centre: yaw about the world y axis, then
  // pitch about the world x axis (radians); then Redraw.
  void Rotate(float yaw, float pitch);
  // Moves the eye toward (factor < 1) or away from the centre; then Redraw.
  void Zoom(float factor);
  // Back to the camera of the last FitCamera (the light stays); then Redraw.
  void ResetCamera();
  // Draws one frame of the text's pieces; nothing without a view, a size or
  // a text.
  void DrawScene(const CText3D* text);
  // Draws the provider's current text, if there is one.
  void Redraw();
  // Takes the light direction of the text (after SetLight) as the renderer's.
  void SetLightFromText(const CText3D& text);

  RenderView* View() const { return m_view; }
  int BitsPerPixel() const { return m_bitsPerPixel; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  std::uint32_t Background() const { return m_background; }  // COLORREF 0x00BBGGRR
  void SetBackground(std::uint32_t colour) { m_background = colour; }
  const CameraFrame& Camera() const { return m_camera; }
  // Replaces the camera for the next frame (the centre and distance stay).
  void SetCamera(const CameraFrame& camera) { m_camera = camera; }
  const float* Light() const { return m_light; }
  const float* Centre() const { return m_centre; }
  float Distance() const { return m_distance; }
  // The colours the 8-bit frame's indices refer to.
  const CubePalette& Palette() const { return m_palette; }
  const RendererEntryPoints& EntryPoints() const { return m_entry; }
  const Profile& Settings() const { return m_profile; }

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

  const TextProvider* m_provider = nullptr;
  int m_dithered = 0;
  int m_bitsPerPixel = 0;
  CubePalette m_palette;
  Profile m_profile;
  bool m_keepSettings = true;
  int m_maxWidth = kMaxWidth;
  int m_maxHeight = kMaxHeight;
  // Declared before the view handle: the view is destroyed while its
  // library is still loaded.
  SharedLibrary m_library;
  RendererEntryPoints m_entry;
  RenderView* m_view = nullptr;
  std::uint32_t m_background = kDefaultBackground;
  CameraFrame m_camera{};
  float m_light[3] = {0, 0, 0};
  float m_centre[3] = {0, 0, 0};
  int m_width = 0;
  int m_height = 0;
  float m_distance = 0.0f;
  // The dithered form of a 16-bit frame; valid while m_dithered is 1.
  std::vector<std::uint8_t> m_frame8;
};
