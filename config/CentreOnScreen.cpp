#include "config/CentreOnScreen.h"

#include "controls/DialogSupport.h"
#include "seams/ScreenSize.h"

namespace {

// The start that keeps a span of `length` inside 0..limit (its start when it cannot fit).
int KeptInside(int start, int length, int limit) {
  if (start + length > limit) start = limit - length;
  return start < 0 ? 0 : start;
}

}  // namespace

void CentreOverOwnerOnScreen(HWND window) {
  CentreOverOwner(window);
  RECT own;
  if (!GetWindowRect(window, &own)) return;
  const ScreenSize screen = GetScreenSize();
  const int x = KeptInside(own.left, own.right - own.left, screen.cx);
  const int y = KeptInside(own.top, own.bottom - own.top, screen.cy);
  if (x != own.left || y != own.top)
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
