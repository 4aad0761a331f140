// A parent window that records the notices its custom controls send (WM_HSCROLL and
// WM_RDIBCTL_CLICK), the five control classes registered once, and reading back a control's
// buffers.
#pragma once

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "framework/Wnd.h"
#include "imaging/DIBSurface.h"

namespace controltest {

struct Notice {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int Code() const { return LOWORD(wParam); }
  int Position() const { return static_cast<short>(HIWORD(wParam)); }
};

// Registers the five control classes (once per process) and loads RICHED32.DLL.
void RegisterControls();

// The colour of pixel (x, y) (from the top) of a 24-bit or 8-bit buffer, as RGB().
COLORREF PixelOf(const CDIB& buffer, int x, int y);

// A mouse message's lParam for a point that may lie above or left of the control.
inline LPARAM MousePoint(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                    static_cast<WORD>(static_cast<short>(y)));
}

class ControlTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A visible child control of the class, identifier 100.
  HWND Create(const char* className, int x, int y, int w, int h);
  template <typename T>
  static T* Wrapper(HWND control) {
    return static_cast<T*>(CWnd::FromHandlePermanent(control));
  }
  const std::vector<Notice>& Notices() const;
  void ClearNotices();

  HWND parent_ = nullptr;
};

}  // namespace controltest
