// The screen's size, as the background composer and the image loaders lay pictures out on it.
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
