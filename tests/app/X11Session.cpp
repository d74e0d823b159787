#include "X11Session.h"

#ifdef GLYPHKILN_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

struct X11Session::Impl {
#ifdef GLYPHKILN_HAVE_X11
  Display* display = nullptr;
#endif
};

#ifdef GLYPHKILN_HAVE_X11

namespace {

std::string Title(Display* display, Window window) {
  // The modern UTF-8 title first, the classic one otherwise.
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
          Success &&
      data) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  if (title.empty()) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
      title = name;
      XFree(name);
    }
  }
  return title;
}

}  // namespace

X11Session::X11Session(const std::string& display) : m_impl(std::make_unique<Impl>()) {
  // A window may go between listing it and asking about it (a program
  // closing); Xlib's own handler would end this process for that error.
  // Failed requests answer "no" instead.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  m_impl->display = XOpenDisplay(display.c_str());
}

X11Session::~X11Session() {
  if (m_impl->display) XCloseDisplay(m_impl->display);
}

bool X11Session::Connected() const { return m_impl->display != nullptr; }

unsigned long X11Session::FindWindow(const std::string& title) const {
  Display* display = m_impl->display;
  if (!display) return 0;
  Window root = DefaultRootWindow(display), parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
    if (Title(display, children[i]) == title) found = children[i];
  }
  if (children) XFree(children);
  return found;
}

bool X11Session::WindowSize(unsigned long window, int* width, int* height) const {
  XWindowAttributes attributes;
  if (!m_impl->display || !XGetWindowAttributes(m_impl->display, window, &attributes)) return false;
  *width = attributes.width;
  *height = attributes.height;
  return true;
}

long X11Session::CountPixels(unsigned long window, int x, int y, int w, int h,
                             const std::function<bool(std::uint32_t)>& test) const {
  if (!m_impl->display || w <= 0 || h <= 0) return -1;
  XImage* image = XGetImage(m_impl->display, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                            AllPlanes, ZPixmap);
  if (!image) return -1;
  auto channel = [](unsigned long pixel, unsigned long mask) -> std::uint32_t {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long bits = mask >> shift;
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / bits);
  };
  long count = 0;
  for (int row = 0; row < h; ++row) {
    for (int column = 0; column < w; ++column) {
      const unsigned long pixel = XGetPixel(image, column, row);
      const std::uint32_t rgb = (channel(pixel, image->red_mask) << 16) | (channel(pixel, image->green_mask) << 8) |
                                channel(pixel, image->blue_mask);
      if (test(rgb)) ++count;
    }
  }
  XDestroyImage(image);
  return count;
}

bool X11Session::RequestClose(unsigned long window) const {
  Display* display = m_impl->display;
  if (!display) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  return sent != 0;
}

#else  // without X11 every question is answered "no"

X11Session::X11Session(const std::string&) : m_impl(std::make_unique<Impl>()) {}
X11Session::~X11Session() = default;
bool X11Session::Connected() const { return false; }
unsigned long X11Session::FindWindow(const std::string&) const { return 0; }
bool X11Session::WindowSize(unsigned long, int*, int*) const { return false; }
long X11Session::CountPixels(unsigned long, int, int, int, int, const std::function<bool(std::uint32_t)>&) const {
  return -1;
}
bool X11Session::RequestClose(unsigned long) const { return false; }

#endif
