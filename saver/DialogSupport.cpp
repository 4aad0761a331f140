#include "saver/DialogSupport.h"

#include "platform/ScreenSaver.h"

HINSTANCE DialogInstance() { return hMainInstance ? hMainInstance : GetModuleHandleA(nullptr); }

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
