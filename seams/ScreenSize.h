// The screen's size, as the background composer and the image loaders lay pictures out on it,
// and its depth, which decides how the settings dialogs' controls buffer their drawing.
//
// On Windows it is the horizontal and vertical resolution of the screen's device context; a
// native build has no screen and answers 1024 x 768. Tests put any size in its place for a scope.
// A plain pair rather than the framework's CSize: the seams sit below the framework.
#pragma once

struct ScreenSize {
  int cx = 0;
  int cy = 0;
};

inline bool operator==(ScreenSize a, ScreenSize b) { return a.cx == b.cx && a.cy == b.cy; }

ScreenSize GetScreenSize();

// Makes GetScreenSize answer cx x cy until the scope ends (tests; not thread-safe).
class ScopedScreenSize {
 public:
  ScopedScreenSize(int cx, int cy);
  ~ScopedScreenSize();
  ScopedScreenSize(const ScopedScreenSize&) = delete;
  ScopedScreenSize& operator=(const ScopedScreenSize&) = delete;

 private:
  bool hadOverride_;
  ScreenSize previous_;
};

// Bits per pixel of the screen (BITSPIXEL of the screen's device context) on Windows; a native
// build answers 32. Wine's display is always 32 bits deep, so tests reach the 8-bit display's
// branches only through ScopedScreenBitsPerPixel.
int GetScreenBitsPerPixel();

// Makes GetScreenBitsPerPixel answer `bits` until the scope ends (tests; not thread-safe).
class ScopedScreenBitsPerPixel {
 public:
  explicit ScopedScreenBitsPerPixel(int bits);
  ~ScopedScreenBitsPerPixel();
  ScopedScreenBitsPerPixel(const ScopedScreenBitsPerPixel&) = delete;
  ScopedScreenBitsPerPixel& operator=(const ScopedScreenBitsPerPixel&) = delete;

 private:
  int previous_;
};
