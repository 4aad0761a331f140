#include "tests/wine/platform/HostWindow.h"

#include <cstdint>

namespace {

constexpr char kClassName[] = "PlatformTestHost";

const char* HostClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  return registered ? kClassName : nullptr;
}

}  // namespace

HostWindow::HostWindow() {
  if (const char* className = HostClass()) {
    window_ = CreateWindowExA(0, className, "Saver host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                              320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
}

HostWindow::~HostWindow() {
  if (IsWindow(window_)) {
    DestroyWindow(window_);
  }
}

std::string HostWindow::DecimalOf(HWND window) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

HWND HostWindow::StaleHandle() {
  HWND stale = HostWindow().Handle();
  return IsWindow(stale) ? nullptr : stale;
}
