// Picture frames of the screen background: a band round each picture in one of six styles, and a
// stippled drop shadow.
//
// A frame is drawn into a work bitmap of its own size on the target's colours, filled first with
// a key colour; whatever is still the key colour afterwards is left out when the frame is copied
// onto the target, so the picture inside and the torn or scalloped parts outside the band keep
// what the target shows.
#pragma once

#include "framework/WinTypes.h"

class CDIB;

// Border styles.
constexpr int kBorderBlack = 0;
constexpr int kBorderWhite = 1;
constexpr int kBorderRaised = 2;      // grey band with a raised bevel
constexpr int kBorderRaisedSunk = 3;  // grey band, raised outside and sunken inside
constexpr int kBorderTorn = 4;        // white band with a torn outer edge
constexpr int kBorderScalloped = 5;   // white band with a scalloped outer edge
constexpr int kBorderNone = 6;        // only the shadow, when there is one

// How far the shadow lies to the right and below its frame.
constexpr int kShadowOffset = 6;

// Draws a frame `width` pixels wide outside the rectangle onto the 8-bit target (clipped to it).
// With `shadow` a checkerboard of shadowIndex pixels repeats the frame's shape 6 pixels to the
// right and below; with `wholeShadow` too, the shadow covers the picture as well. The torn edge
// takes its shape from the process's random sequence (seams::Rand). Returns 1, or 0 when the
// work bitmap cannot be made; a frame with no area draws nothing and returns 1.
BOOL DrawPictureFrame(CDIB* target, const RECT* rect, int borderStyle, int width, int wholeShadow,
                      int shadow, BYTE shadowIndex);

// For each pixel of the w x h rectangle at (sx, sy) of the source that is not the key index and
// whose row + column (within the rectangle) is odd, sets the destination pixel at the same place
// relative to (dx, dy) to the colour index. Both bitmaps are clipped. 0 when either bitmap is
// missing or w or h is 0.
BOOL StippleDIBShape(CDIB* source, CDIB* destination, int dx, int dy, int w, int h, int sx, int sy,
                     BYTE key, BYTE colour);
