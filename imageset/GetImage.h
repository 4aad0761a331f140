// GetImage: the one road from an image of the current image set to a screen-sized bitmap.
//
// Reads the picture from "imfull.dat" at the record's offset in the record's format (packed,
// BMP or JPEG), then scales it to one of seven screen sizes, by palette interpolation or by
// plain stretching.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;
class CImageDesc;

// Width and height of a size code: 0 the screen (GetScreenSize), 1..6 640 x 480 up to
// 1600 x 1200. FALSE for any other code.
BOOL GetImageSizeForCode(int sizeCode, int* width, int* height);

// Returns a new bitmap (the caller's) or null with a "GetImage Error Message: ..." text in
// *error. A data file that cannot be opened or read is also reported through the alert seam.
// statusText: a static control that shows "Palette Interpolation..." while interpolating, or
// null; progress: a progress bar, or null. Nothing it creates outlives a failure.
CDIB* GetImage(const char* file, const CImageDesc* desc, int sizeCode, BOOL interpolate,
               BYTE backColour, HWND statusText, HWND progress, BOOL trace, CString& error);
