// The screen's size, as the background composer lays pictures out on it.
//
// On Windows it is the horizontal and vertical resolution of the screen's device context; a
// native build has no screen and answers 1024 x 768. Tests put any size in its place for a scope.
#pragma once

#include "framework/Geometry.h"

CSize GetScreenSize();

// Makes GetScreenSize answer `size` until the scope ends (tests; not thread-safe).
class ScopedScreenSize {
 public:
  explicit ScopedScreenSize(CSize size);
  ~ScopedScreenSize();
  ScopedScreenSize(const ScopedScreenSize&) = delete;
  ScopedScreenSize& operator=(const ScopedScreenSize&) = delete;

 private:
  bool hadOverride_;
  CSize previous_;
};
