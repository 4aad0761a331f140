// What the saver's dialogs share: the module their templates live in and centring a window.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

// The module that holds the dialog templates: the saver module's instance once it is known,
// else the program's own.
HINSTANCE DialogInstance();

// Moves the window, unresized and to the top of the window order, so that it is centred over
// another window; it may reach past the screen's edge.
void CentreOver(HWND window, HWND over);
// Centres the window over its owner (or parent), or over the desktop when it has none.
void CentreOverOwner(HWND window);

class CRDIBCtl;

// The wrapper of the control when it is a T, or null (a control of another class, or none).
template <typename T>
T* ControlWrapper(HWND control) {
  return dynamic_cast<T*>(CWnd::FromHandlePermanent(control));
}

// The wrapper of control `id` of the window when it is a T, or null.
template <typename T>
T* DialogControl(HWND parent, int id) {
  return ControlWrapper<T>(GetDlgItem(parent, id));
}

// The image view control `id` of the window, or null.
CRDIBCtl* ImageView(HWND parent, int id);

// Whether the path names a folder that exists.
bool FolderExists(const char* folder);

// Paints a control now, so that its text or frame shows before a long step holds the thread.
void RepaintNow(HWND control);

// The dialog procedure of the small modeless status windows (a text and a frame for a progress
// bar) that show while a long step runs: centred over the parent on creation, ended by OK or
// Cancel; `name` heads its trace lines.
INT_PTR StatusDialogProc(const char* name, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The full-screen viewers' window class: no style, the application icon and the arrow, the
// window colour as background. TRUE when registered, now or before in this process.
BOOL RegisterFullScreenViewerClass(const char* className, WNDPROC procedure);

// A full-screen viewer: a top-most popup over the whole screen, owned by the dialog, shown and
// painted at once; null when it cannot be made.
HWND CreateFullScreenViewer(const char* className, HWND owner);

// What a key message means to a full-screen viewer: a step back (left or up arrow), a step
// forward (right or down arrow), closing (any other key, and every system key such as Alt) or
// nothing (not a key message).
enum class ViewerKey { kNone, kBack, kForward, kClose };
ViewerKey ReadViewerKey(UINT message, WPARAM key);

// Makes a viewer's picture: image view control `id` over the whole screen.
void CreateViewerPicture(HWND viewer, int id);
// The viewer's picture control `id`; null, alerted ("Unable to find DIB control"), when the
// viewer has none.
CRDIBCtl* ViewerPicture(HWND viewer, int id);

// What one full-screen viewer does, for ViewerWindowProc.
struct ViewerHandlers {
  const char* traceName;                    // heads the trace lines of its messages
  void (*create)(HWND viewer);              // WM_CREATE
  void (*step)(HWND viewer, bool forward);  // an arrow key
  LRESULT (*close)(HWND viewer);            // any other key; the procedure's result
  void (*destroyed)(HWND viewer);           // WM_NCDESTROY
};

// The full-screen viewers' window procedure: the viewer owns the alerts raised meanwhile, each
// message is traced, the keys are read as ReadViewerKey reads them, and everything is then
// handled by default.
LRESULT ViewerWindowProc(const ViewerHandlers& handlers, HWND viewer, UINT message, WPARAM wParam,
                         LPARAM lParam);

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
