// The About dialog (template IDD_ABOUT): the product and its version, and the credits of the
// image set installed with the screen saver, read-only in a rich-text view.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The message shown, with the credits file's path after it, when the installed set has no
// credits file.
constexpr char kMissingCreditsText[] = "The credits of the installed image set are missing:\n";
constexpr char kMissingCreditsCaption[] = "Screen Saver Error";
