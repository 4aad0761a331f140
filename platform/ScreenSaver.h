// The contract between the screen-saver library and a saver module.
//
// The library (saver_platform) owns the program's entry point: it reads the switch the system
// passes (/s full screen, /p <hwnd> preview, /c settings, /a password), registers the saver
// window class and runs its window or the settings dialog. The module supplies the three
// functions declared under "Supplied by the module" and the resources named by the ids below,
// and forwards every message its ScreenSaverProc does not consume to DefScreenSaverProc
// (including WM_DESTROY, which ends the program).
//
// The ids are plain #defines so that the module's resource script can include this header.
#pragma once

#define IDS_DESCRIPTION 1           // string: the saver's name as the system lists it
#define ID_APP 100                  // icon of the saver window class (optional)
#define DLG_SCRNSAVECONFIGURE 2003  // dialog template of the settings dialog

#ifndef RC_INVOKED
#include <windows.h>

// Window class of the full-screen and the preview window.
#define SAVER_WINDOW_CLASS "WindowsScreenSaverClass"

#ifdef __cplusplus
extern "C" {
#endif

// Supplied by the module.
// Window procedure of the saver window (full screen and preview alike).
LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Dialog procedure of dialog template DLG_SCRNSAVECONFIGURE.
BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Called once before the settings dialog opens, to register any window classes its template
// uses. FALSE cancels the dialog.
BOOL WINAPI RegisterDialogClasses(HANDLE instance);

// Supplied by the library.
// Default handling of the saver window's messages: full screen it closes the window on a key,
// a mouse button, a real mouse move or deactivation, and hides the cursor; in preview it leaves
// all that to DefWindowProc.
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern HINSTANCE hMainInstance;  // the saver module's instance
extern HWND hMainWindow;         // the saver window, once created
extern BOOL fChildPreview;       // TRUE when the saver window is a preview child

#ifdef __cplusplus
}
#endif
#endif  // RC_INVOKED
