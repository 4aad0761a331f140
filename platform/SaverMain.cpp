// The screen saver's entry point: reads the switch, then runs the full-screen window, the preview
// child or the settings dialog of the module.
//
// A module never refers to WinMain; only the C runtime's startup code does, and the linker reaches
// that after our archive. platform/CMakeLists.txt therefore marks WinMain undefined for every
// program linking saver_platform, so the linker takes it from here.
#include "platform/SaverCommandLine.h"
#include "platform/ScreenSaver.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // bad switch argument, or a window or dialog could not be made

HWND WindowFromValue(std::uintptr_t value) {
  HWND window = reinterpret_cast<HWND>(value);
  return value != 0 && IsWindow(window) ? window : nullptr;
}

bool RegisterSaverClass() {
  WNDCLASSA saverClass{};
  saverClass.style = CS_HREDRAW | CS_VREDRAW | CS_SAVEBITS | CS_DBLCLKS;
  saverClass.lpfnWndProc = ScreenSaverProc;
  saverClass.hInstance = hMainInstance;
  saverClass.hIcon = LoadIconA(hMainInstance, MAKEINTRESOURCEA(ID_APP));  // null when absent
  saverClass.hbrBackground = nullptr;  // the saver starts from whatever the screen shows
  saverClass.lpszClassName = SAVER_WINDOW_CLASS;
  return RegisterClassA(&saverClass) != 0;
}

// The saver window: its title is the module's description, when it has one.
HWND CreateSaverWindow(DWORD exStyle, DWORD style, const RECT& place, HWND parent) {
  char title[256] = "";
  LoadStringA(hMainInstance, IDS_DESCRIPTION, title, sizeof title);
  return CreateWindowExA(exStyle, SAVER_WINDOW_CLASS, title, style, place.left, place.top,
                         place.right - place.left, place.bottom - place.top, parent, nullptr,
                         hMainInstance, nullptr);
}

// Runs until the saver window's WM_DESTROY posts the quit message; returns its code.
int RunMessageLoop() {
  MSG message{};
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : kExitFailed;
}

RECT WholeScreen() {
  RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) {  // no virtual-screen metrics: the primary screen
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  screen.right = screen.left + width;
  screen.bottom = screen.top + height;
  return screen;
}

int RunFullScreen() {
  if (FindWindowA(SAVER_WINDOW_CLASS, nullptr) != nullptr) {
    return kExitOk;  // a saver already covers the screen
  }
  fChildPreview = FALSE;
  if (!RegisterSaverClass()) {
    return kExitFailed;
  }
  ShowCursor(FALSE);  // before the window shows, so the cursor never appears over it
  hMainWindow = CreateSaverWindow(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, WholeScreen(), nullptr);
  const int result = hMainWindow != nullptr ? RunMessageLoop() : kExitFailed;
  ShowCursor(TRUE);
  return result;
}

int RunPreview(HWND parent) {
  if (parent == nullptr) {
    return kExitFailed;
  }
  fChildPreview = TRUE;
  RECT client{};
  if (!GetClientRect(parent, &client) || !RegisterSaverClass()) {
    return kExitFailed;
  }
  hMainWindow = CreateSaverWindow(0, WS_CHILD | WS_VISIBLE, client, parent);
  return hMainWindow != nullptr ? RunMessageLoop() : kExitFailed;
}

// The module's dialog procedure returns BOOL; a dialog procedure must return INT_PTR, which is
// wider on 64-bit Windows. Calling it through a cast function pointer would leave the upper half
// of the result undefined there, so the dialog runs through this adapter instead.
INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return ScreenSaverConfigureDialog(dialog, message, wParam, lParam);
}

// The owner is the window the switch named, when it is one. Without one the dialog stands alone:
// borrowing the foreground window would disable some unrelated program while the dialog is open.
int RunSettings(HWND owner) {
  if (!RegisterDialogClasses(hMainInstance)) {
    return kExitFailed;
  }
  const INT_PTR result = DialogBoxParamA(hMainInstance, MAKEINTRESOURCEA(DLG_SCRNSAVECONFIGURE),
                                         owner, ConfigureDialogProc, 0);
  return result == -1 ? kExitFailed : kExitOk;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  hMainInstance = instance;
  const SaverCommand command = ParseSaverCommandLine(commandLine);
  switch (command.mode) {
    case SaverMode::FullScreen: return RunFullScreen();
    case SaverMode::Preview: return RunPreview(WindowFromValue(command.window));
    case SaverMode::ChangePassword:
      return kExitOk;  // NT-family systems keep the saver's password themselves
    case SaverMode::Configure: break;
  }
  return RunSettings(WindowFromValue(command.window));
}
