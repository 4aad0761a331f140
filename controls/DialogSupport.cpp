#include "controls/DialogSupport.h"

#include "controls/ControlsViews.h"
#include "framework/Wnd.h"
#include "platform/ScreenSaver.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"

HINSTANCE DialogInstance() { return hMainInstance ? hMainInstance : GetModuleHandleA(nullptr); }

bool FolderExists(const char* folder) {
  const DWORD attributes = GetFileAttributesA(folder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CentreOverOwner(HWND window) {
  HWND over = GetWindow(window, GW_OWNER);
  if (!over) over = GetParent(window);
  if (!over) over = GetDesktopWindow();
  CentreOver(window, over);
}

void CentreOver(HWND window, HWND over) {
  RECT outer, own;
  GetWindowRect(over, &outer);
  GetWindowRect(window, &own);
  const int x = outer.left + ((outer.right - outer.left) - (own.right - own.left)) / 2;
  const int y = outer.top + ((outer.bottom - outer.top) - (own.bottom - own.top)) / 2;
  SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

CRDIBCtl* ImageView(HWND parent, int id) { return DialogControl<CRDIBCtl>(parent, id); }

void RepaintNow(HWND control) {
  if (!control) return;
  RECT client;
  GetClientRect(control, &client);
  InvalidateRect(control, &client, TRUE);
  UpdateWindow(control);
}

INT_PTR StatusDialogProc(const char* name, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  const seams::TraceMessageScope trace(name, message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: CentreOverOwner(window); return TRUE;
    case WM_SHOWWINDOW: return FALSE;
    case WM_COMMAND:
      if (wParam == IDOK || wParam == IDCANCEL) {
        EndDialog(window, 0);
        return TRUE;
      }
      break;
  }
  trace.Ending();
  return FALSE;
}

BOOL RegisterFullScreenViewerClass(const char* className, WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = DialogInstance();
  windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = className;
  // A class already registered in this process counts as registered.
  return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

ViewerKey ReadViewerKey(UINT message, WPARAM key) {
  switch (message) {
    case WM_KEYDOWN:
      if (key == VK_LEFT || key == VK_UP) return ViewerKey::kBack;
      if (key == VK_RIGHT || key == VK_DOWN) return ViewerKey::kForward;
      return ViewerKey::kClose;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return ViewerKey::kClose;
  }
  return ViewerKey::kNone;
}

void CreateViewerPicture(HWND viewer, int id) {
  const ScreenSize screen = GetScreenSize();
  CreateWindowExA(0, "RDIBCtl", "ImageCtl", WS_CHILD | WS_VISIBLE, 0, 0, screen.cx, screen.cy,
                  viewer, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), DialogInstance(),
                  nullptr);
}

CRDIBCtl* ViewerPicture(HWND viewer, int id) {
  CRDIBCtl* picture = ImageView(viewer, id);
  if (!picture) seams::Alert("Unable to find DIB control", "Alert", seams::kAlertIconHand);
  return picture;
}

LRESULT ViewerWindowProc(const ViewerHandlers& handlers, HWND viewer, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(viewer);
  const seams::TraceMessageScope trace(handlers.traceName, message, wParam, lParam);
  switch (ReadViewerKey(message, wParam)) {
    case ViewerKey::kBack: handlers.step(viewer, false); break;
    case ViewerKey::kForward: handlers.step(viewer, true); break;
    case ViewerKey::kClose: return handlers.close(viewer);
    case ViewerKey::kNone: break;
  }
  switch (message) {
    case WM_CREATE: handlers.create(viewer); break;
    case WM_NCDESTROY: handlers.destroyed(viewer); break;
  }
  return DefWindowProcA(viewer, message, wParam, lParam);
}

HWND CreateFullScreenViewer(const char* className, HWND owner) {
  const ScreenSize screen = GetScreenSize();
  HWND window = CreateWindowExA(WS_EX_TOPMOST, className, "Kelvane",
                                WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, screen.cx,
                                screen.cy, owner, nullptr, DialogInstance(), nullptr);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}
