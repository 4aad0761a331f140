// Windows test support: a visible window whose messages go through the framework's wrappers,
// and reading back what a window or device context shows, to compare it with off-screen pictures.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class CDIB;

namespace wintest {

using Image = std::vector<uint32_t>;  // 0x00RRGGBB, top row first

// Dispatches every message waiting for this thread.
void Pump();

// A visible top-most white popup of w x h at the screen's top-left corner whose messages go to
// the window's wrapper first (CWnd::RouteMessage), as the saver window forwards them.
HWND NewRoutedWindow(int w, int h);

// The same, destroyed with the object.
class RoutedWindow {
 public:
  RoutedWindow(int w, int h) : window_(NewRoutedWindow(w, h)) {}
  ~RoutedWindow() { DestroyWindow(window_); }
  RoutedWindow(const RoutedWindow&) = delete;
  RoutedWindow& operator=(const RoutedWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_;
};

// Top-level windows of the class, shown or not (a viewer that must be one at a time).
int CountWindowsOfClass(const char* className);

// What a device context shows in (0, 0, w, h); empty when it cannot be read.
Image ReadDC(HDC source, int w, int h);
// What a window's client area shows in (0, 0, w, h).
Image ReadWindow(HWND window, int w, int h);
// What an 8-bit picture holds, through its colour table.
Image ColoursOf(const CDIB& dib);
// How many pixels differ (all of both when the sizes differ), so a failure says how much is wrong.
size_t Differences(const Image& a, const Image& b);

}  // namespace wintest
