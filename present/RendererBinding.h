// The document's link to the renderer library: loads libRastel16.so (or
// libRastel8.so) at run time, binds its sixteen functions, owns the one
// renderer view and keeps the examiner's camera, light and background.
// Free of Qt; the window half (blit, palette realisation, splash) is separate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "rastel.h"

class CText3D;

// Where Redraw finds the current letters: the desktop program's layout view,
// or the command-line tool's own text object.
class TextProvider {
 public:
  virtual ~TextProvider() = default;
  virtual const CText3D* CurrentText() const = 0;
};

class RendererBinding {
 public:
  // Loads the library (each name first beside the running executable, then
  // by the system's search path) and reads the background from the profile.
  RendererBinding();
  // Destroys the view, unloads the library, writes the background back.
  ~RendererBinding();
  RendererBinding(const RendererBinding&) = delete;
  RendererBinding& operator=(const RendererBinding&) = delete;

  void SetTextProvider(const TextProvider* provider) { m_provider = provider; }

  // w > 800 gives 800, w <= 3 gives 0; h > 600 gives 600, h < 4 gives 0.
  void SetViewSize(int w, int h);
  void FitCamera(const CText3D* text);
  void Rotate(float yaw, float pitch);
  void Zoom(float factor);
  void ResetCamera();
  void DrawScene(const CText3D* text);
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
  const float* Light() const { return m_light; }

  // The frame as the library holds it: width x height pixels, bottom row first.
  const unsigned short* Frame16() const;
  // The frame as palette indices (width bytes a row, bottom row first),
  // dithered in place at most once per frame; null without a frame.
  const std::uint8_t* Frame8();
  bool Dithered() const { return m_dithered != 0; }

  // ... remaining members (palette, GIF saving, library handle) are added by
  // the implementation.

 private:
  const TextProvider* m_provider = nullptr;
  int m_dithered = 0;
  int m_bitsPerPixel = 0;
  RenderView* m_view = nullptr;
  std::uint32_t m_background = 0xFFFF00;
  CameraFrame m_camera{};
  float m_light[3] = {0, 0, 0};
  float m_centre[3] = {0, 0, 0};
  int m_width = 0;
  int m_height = 0;
  float m_distance = 0.0f;
};
