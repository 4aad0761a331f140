// The image resampler: resized copies of a CDIB for the screen, the image cache and the previews.
//
// Rows are the bitmap's rows as stored, bottom row first: row j of a result comes from row
// (j x source height / result height) counted the same way. An 8-bit result gets the source's
// colour table. The caller owns every bitmap returned; a function that fails frees whatever it
// made on the way and returns 0 or null.
#pragma once

#include "framework/WinTypes.h"

class CDIB;

// Enlarges an 8-bit picture for a W x H screen by a fixed factor chosen from the screen size
// (1, 5/4, 8/5, 9/5, 2 or 5/2), blending neighbours through tables of the palette colour nearest
// to each mix. A result smaller than the screen is centred on a W x H canvas of the colour
// `back`, which the canvas's colour table holds beside the picture's colours. A factor whose
// result would be larger than the screen one way and smaller the other gives way to the next
// smaller one; a picture that even unenlarged is so is fitted as StretchToScreen fits it. A
// result larger than the screen both ways is centred on it: only the W x H part the screen shows
// is made and returned. `progress` (or null) is a progress bar stepped while the tables are built.
BOOL InterpolateToScreen(const CDIB* source, int screenWidth, int screenHeight, CDIB** result,
                         const RGBQUAD& back, HWND progress);

// A 24-bit picture stretched to fill W x H; an 8-bit one stretched to fit inside W x H with its
// proportions kept and centred on a canvas of the colour `back` (as InterpolateToScreen's).
BOOL StretchToScreen(const CDIB* source, int screenWidth, int screenHeight, CDIB** result,
                     const RGBQUAD& back);

// Nearest-neighbour stretch of an 8-bit picture into an existing 8-bit bitmap. 0 for other depths.
BOOL StretchDIB8(const CDIB* source, CDIB* destination);
// Bilinear stretch (8-bit weights) between 24-bit bitmaps. 0 when either is not 24-bit.
BOOL StretchDIB24(const CDIB* source, CDIB* destination);
// The same bilinear arithmetic on 8-bit pixel values, which suits ramp palettes. 0 for other
// depths.
BOOL StretchDIB8Bilinear(const CDIB* source, CDIB* destination);
// Bilinear stretch of an 8-bit picture on any colour table: the blend is of the source's colours,
// and each pixel takes the destination table's nearest colour to it. 0 for other depths, when
// memory runs out, or at a stop request.
BOOL StretchDIB8InColour(const CDIB* source, CDIB* destination);

// Every fourth pixel of every fourth row: (w / 4) x (h / 4), at least 1 x 1. Null on failure or
// for other depths.
CDIB* QuarterDIB8(const CDIB* source);
// Nearest-neighbour reduction to w x h; null when that is larger than the source either way.
CDIB* ShrinkDIB8(const CDIB* source, int width, int height);
// Reverses every row of an 8-bit bitmap in place. 0 for other depths.
BOOL MirrorDIB(CDIB* dib);
