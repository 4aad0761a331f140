// Stand-in for the old WinG library ("WING32").
//
// WinG gave fast device-independent drawing on systems whose display drivers had no DIB sections.
// Our drawing code asks for it only when DIB sections are missing, and every system we run on has
// them (CreateDIBSection), so this stand-in just reports itself unavailable and the callers stay
// on their DIB-section path.
#pragma once

#include <windows.h>

// Always false: there is no WinG here.
bool WinGAvailable();

// Always fails: returns null, sets *bits (when given) to null and the last error to
// ERROR_CALL_NOT_IMPLEMENTED.
HBITMAP WinGCreateBitmap(HDC dc, const BITMAPINFO* header, void** bits);
