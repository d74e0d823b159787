// The state of the keyboard's lock keys, where the window system reports it
// (X11 through its keyboard extension); elsewhere all of them read as off.
#pragma once

struct LockKeyState {
  bool capsLock = false;
  bool numLock = false;
  bool scrollLock = false;
};

LockKeyState QueryLockKeys();
