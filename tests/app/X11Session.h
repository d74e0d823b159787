// A small client of a real X server for the end-to-end tests: finds the
// program's window by its title, reads back what it shows and closes it the
// way a window manager does when the user clicks the close box. The X11
// headers stay in X11Session.cpp: their macros clash with Qt and GoogleTest.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class X11Session {
 public:
  // Connects to `display` (":95"); Connected() tells whether that worked.
  explicit X11Session(const std::string& display);
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  bool Connected() const;
  // The first viewable top-level window whose title is `title`; 0 for none.
  unsigned long FindWindow(const std::string& title) const;
  // The window's size in pixels; false when it cannot be read.
  bool WindowSize(unsigned long window, int* width, int* height) const;
  // How many pixels in the window's rectangle (x, y, w, h) satisfy `test`,
  // which gets 0xRRGGBB; -1 when the picture cannot be read.
  long CountPixels(unsigned long window, int x, int y, int w, int h,
                   const std::function<bool(std::uint32_t)>& test) const;
  // Asks the window to close (WM_DELETE_WINDOW), as a close box does.
  bool RequestClose(unsigned long window) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};
