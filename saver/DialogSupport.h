// What the saver's dialogs share: the module their templates live in and centring a window.
#pragma once

#include <windows.h>

// The module that holds the dialog templates: the saver module's instance once it is known,
// else the program's own.
HINSTANCE DialogInstance();

// Moves the window, unresized and to the top of the window order, so that it is centred over
// another window; it may reach past the screen's edge.
void CentreOver(HWND window, HWND over);
// Centres the window over its owner (or parent), or over the desktop when it has none.
void CentreOverOwner(HWND window);

// Shows the wait cursor for the length of a scope and puts the previous cursor back.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};
