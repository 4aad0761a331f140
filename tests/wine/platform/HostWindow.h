// A plain visible top-level window of the test program: the parent a preview runs in, or the
// owner a settings dialog is modal to, as the system's display settings would provide.
#pragma once

#include <windows.h>

#include <string>

class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return window_; }
  // The handle as a switch argument takes it.
  std::string Decimal() const { return DecimalOf(window_); }
  static std::string DecimalOf(HWND window);
  // The handle of a window that existed and is gone.
  static HWND StaleHandle();

 private:
  HWND window_ = nullptr;
};
