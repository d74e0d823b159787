// Kept apart from the rest of the program: the X11 headers define macros
// (None, Bool, Status) that collide with ordinary names elsewhere.
#include "LockKeys.h"

#include <QGuiApplication>

#ifdef GLYPHKILN_HAVE_X11
#include <X11/XKBlib.h>
#endif

LockKeyState QueryLockKeys() {
  LockKeyState state;
#ifdef GLYPHKILN_HAVE_X11
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return state;
  auto lit = [display](const char* name, bool* on) {
    const Atom atom = XInternAtom(display, name, True);
    int value = 0;
    if (atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &value, nullptr, nullptr)) *on = value != 0;
  };
  lit("Caps Lock", &state.capsLock);
  lit("Num Lock", &state.numLock);
  lit("Scroll Lock", &state.scrollLock);
#endif
  return state;
}
