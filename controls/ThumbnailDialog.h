// The thumbnail cache window: while the quarter-size image cache of the current image set is
// built, a small modeless window shows "Loading thumbnail images..." and a progress bar.
#pragma once

#include <windows.h>

// Shows the window over the parent (which may be null), builds the cache with the progress bar
// inside the window's frame, destroys the window and returns the build's result (failures are
// alerted by the build). When the window cannot be made the cache is built without it.
BOOL CreateThumbnails(HWND parent);

// The same with the window made from template IDD_LOADIMAGES of `instance` and run by
// `dialogProc` (the wallpaper program has its own template and procedure); no trace lines.
BOOL BuildThumbnailsUnderDialog(HINSTANCE instance, HWND parent, DLGPROC dialogProc);

// The window's dialog procedure.
INT_PTR CALLBACK LoadImagesDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
