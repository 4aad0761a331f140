// The own-images dialog and its full-screen viewer. The modal dialog lists the own-images
// folder's JPEG and BMP files sorted, previews the selected one, steps through them without
// wrapping and lets the user choose the folder; the viewer, a top-most popup over the dialog,
// shows the selected picture laid out on the screen as the saver lays it out, walks the dialog's
// list with the arrow keys and closes on any other key, telling the dialog which picture it
// showed last. One viewer at a time: asking for another while one is open does nothing.
#pragma once

#include <windows.h>

// From a full-screen viewer to its dialog when it closes: wParam the image shown last, lParam
// the viewer's window.
constexpr UINT WM_FULLSCREEN_CLOSE = 1523;

constexpr char kFullScreenOwnImageClass[] = "FullScreenOwnImageWnd";
// The viewer's picture control.
constexpr int kViewerImageId = 1000;

INT_PTR CALLBACK OwnImageSearchDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the list with the folder of "OWNIMAGES_DIR", selects SelectedOwnImageNo (a number past
// the end selects nothing), previews it and shows the folder. TRUE when the list exists.
BOOL FillOwnImageList(HWND dialog);

// Remembers the selected line in SelectedOwnImageNo and previews its picture; with nothing
// selected the preview keeps what it showed.
void ShowSelectedOwnImage(HWND dialog, BOOL showErrors);

// The ">>" and "<<" steps; nothing at the last or first line.
void ShowNextOwnImage(HWND dialog);
void ShowPreviousOwnImage(HWND dialog);

BOOL RegisterFullScreenOwnImageWnd();

// Opens the viewer over the whole screen with the dialog as its parent. 1, or 0 when the window
// cannot be made or a viewer is already open.
BOOL CreateFullScreenOwnImageWnd(HWND parent);

// The open viewer, or null.
HWND FullScreenOwnImageWnd();

LRESULT CALLBACK FullScreenOwnImageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
