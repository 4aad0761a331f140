// Default message handling of the saver window.
//
// Full screen, the saver ends on anything that says the user is back: a key, a mouse button, the
// mouse really moving, or another window taking the focus. A preview lives inside the settings
// window of the system and ends when that destroys it, so none of this applies there.
#include "platform/ScreenSaver.h"

#include <windowsx.h>

#include <cstdlib>

namespace {

// How far (in x or y) the pointer may wander from where the saver first saw it before it counts
// as moved: mice report one- or two-pixel jitter, and a table knock must not end the saver.
constexpr int kMouseMoveSlack = 3;

// Where the pointer was first seen over the saver window. Kept per window, so a new saver
// window starts over instead of comparing with a position seen by an earlier one.
struct MouseAnchor {
  HWND window = nullptr;
  POINT first{};
};
MouseAnchor g_anchor;

bool IsRealMouseMove(HWND window, LPARAM lParam) {
  const POINT now{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (g_anchor.window != window) {
    g_anchor = {window, now};
    return false;
  }
  return std::abs(now.x - g_anchor.first.x) > kMouseMoveSlack ||
         std::abs(now.y - g_anchor.first.y) > kMouseMoveSlack;
}

bool IsClosingInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_XBUTTONDOWN: return true;
    case WM_ACTIVATEAPP: return wParam == FALSE;
    case WM_ACTIVATE: return LOWORD(wParam) == WA_INACTIVE;
    case WM_MOUSEMOVE: return IsRealMouseMove(window, lParam);
    default: return false;
  }
}

// The window goes from the screen at once, so the desktop is back while the module's threads
// wind down; the close is posted rather than done on the spot, so the module's own WM_CLOSE
// handling still runs.
void RequestClose(HWND window) {
  ShowWindow(window, SW_HIDE);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

LRESULT FullScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsClosingInput(window, message, wParam, lParam)) {
    RequestClose(window);
    return 0;
  }
  switch (message) {
    case WM_SETCURSOR: SetCursor(nullptr); return TRUE;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_SCREENSAVE:  // this saver is already running; start no other over it
          return 0;
        case SC_CLOSE: RequestClose(window); return 0;
        default: break;
      }
      break;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY:
      if (g_anchor.window == window) {
        g_anchor = {};
      }
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  if (fChildPreview) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return FullScreenProc(window, message, wParam, lParam);
}
