// The settings dialog of the module for now: OK and Cancel close it and nothing is changed. The
// full dialog with its sub-dialogs takes this place later.
#include "platform/ScreenSaver.h"

BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

BOOL WINAPI RegisterDialogClasses(HANDLE) { return TRUE; }
