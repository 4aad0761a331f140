// A stand-in for the dialog that opens a full-screen viewer: a hidden popup that records every
// WM_FULLSCREEN_CLOSE it is sent (the image shown last and the viewer's window).
#pragma once

#include <windows.h>

#include <vector>

#include "controls/OwnImagesDialog.h"

namespace viewertest {

struct Close {
  WPARAM number;
  LPARAM window;
};

// The closes reported to every owner so far; tests clear it.
inline std::vector<Close>& Closes() {
  static std::vector<Close> closes;
  return closes;
}

inline LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_FULLSCREEN_CLOSE) {
    Closes().push_back(Close{wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A new owner (its class registered on first use); null when it cannot be made.
inline HWND NewOwner() {
  static const bool registered = [] {
    WNDCLASSA owner = {};
    owner.lpfnWndProc = OwnerProc;
    owner.hInstance = GetModuleHandleA(nullptr);
    owner.lpszClassName = "ViewerTestOwner";
    return RegisterClassA(&owner) != 0;
  }();
  if (!registered) return nullptr;
  return CreateWindowExA(0, "ViewerTestOwner", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace viewertest
