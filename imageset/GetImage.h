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

// The colour of an index of the screen background's colour table: the grey ramp after the
// display's reserved entries (GetReservedPaletteEntries() + 0 black .. + 31 light grey); black
// for any index outside the ramp.
RGBQUAD ScreenBackgroundColour(BYTE index);

// Returns a new bitmap (the caller's) or null with a "GetImage Error Message: ..." text in
// *error. A picture that does not cover the W x H screen is centred on bars of the colour that
// `backColour` has in the screen background's table (ScreenBackgroundColour). A data file that
// cannot be opened or read is also reported through the alert seam.
// statusText: a static control that shows "Palette Interpolation..." while interpolating, or
// null; progress: a progress bar, or null. Nothing it creates outlives a failure.
CDIB* GetImage(const char* file, const CImageDesc* desc, int sizeCode, BOOL interpolate,
               BYTE backColour, HWND statusText, HWND progress, BOOL trace, CString& error);
