// A saver module for the platform tests only: it paints a known picture, answers the tests'
// acknowledgement message and logs what the library asked of it (see TestSaver.h).
#include "tests/wine/platform/TestSaver.h"
#include "platform/ScreenSaver.h"

#include <cstdio>

namespace {

void Log(const char* event) {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA(kTestSaverLogVariable, path, sizeof path);
  if (length == 0 || length >= sizeof path) {
    return;
  }
  if (std::FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s\n", event);
    std::fclose(file);
  }
}

void FillWith(HDC dc, const RECT& area, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

void PaintHalves(HWND window, HDC dc) {
  RECT left{};
  GetClientRect(window, &left);
  RECT right = left;
  left.right = right.left = (left.left + left.right) / 2;
  FillWith(dc, left, kTestSaverLeftColour);
  FillWith(dc, right, kTestSaverRightColour);
}

void Acknowledge(HWND window, WPARAM sequence) {
  char title[32];
  std::snprintf(title, sizeof title, "ack %u", static_cast<unsigned>(sequence));
  SetWindowTextA(window, title);
}

}  // namespace

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: Log(fChildPreview ? kLogCreatedPreview : kLogCreatedFullScreen); break;
    case WM_ERASEBKGND: PaintHalves(window, reinterpret_cast<HDC>(wParam)); return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintHalves(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case kTestSaverAckMessage: Acknowledge(window, wParam); return 0;
    default: break;
  }
  return DefScreenSaverProc(window, message, wParam, lParam);
}

BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: Log(kLogDialogOpened); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

BOOL WINAPI RegisterDialogClasses(HANDLE) {
  Log(kLogRegisterDialogClasses);
  return GetEnvironmentVariableA(kTestSaverRefuseVariable, nullptr, 0) == 0;
}
