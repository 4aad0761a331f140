// A copy of what the primary screen shows, read the way any program can: BitBlt from the
// screen's device context into a 32-bit DIB section.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class ScreenCapture {
 public:
  // Captures the whole primary screen now; Empty() when that failed.
  static ScreenCapture Take();

  bool Empty() const { return pixels_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const;
  // Writes a 32-bit bottom-up BMP file, for looking at after a failure.
  bool SaveBmp(const char* path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // top-down rows, 0x00RRGGBB
};

// Lets this thread's windows paint (half a second of their messages), captures the screen and,
// when SAVER_SCREENSHOT_DIR names a folder (a Windows path), saves the capture there as
// dialogs-<name>.bmp.
ScreenCapture TakeDialogsShot(const char* name);
