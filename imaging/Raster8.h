// Raster drawing into 8-bit bitmaps: solid Bresenham lines of one colour index, and antialiased
// lines and ellipses whose pixels are indexes into a 32-level grey ramp of the palette in use.
//
// Antialiased pixels are GreyRampBaseIndex + level (modulo 256), level 0 the ramp's darkest entry
// and the maximum level the line's own colour. The flag of each antialiased call picks the
// intensity resolution: non-zero 32 levels (0..31), zero 8 levels (0..7).
//
// Nothing here reads the pixels it overwrites. Every pixel is written by address arithmetic from
// the bits; one that falls outside the bitmap is skipped, so a line that leaves the bitmap can
// never write past its rows. A bitmap that is not 8 bits per pixel is left alone.
#pragma once

#include <cstdint>

class CDIB;

// Palette index of the first of the 32 grey levels of the palette in use: the caption engine and
// the 3D scene set it to the screen document's count of reserved entries before they draw
// antialiased pixels. Only its low 8 bits are used.
extern int32_t GreyRampBaseIndex;

// Bresenham line from (x0, y0) to (x1, y1) in one colour index, both end points included.
void DrawLine8(CDIB* dib, int x0, int y0, int x1, int y1, int colour);
// The same line (a second entry point, kept for the sliding-tiles routine).
void DrawLine8B(CDIB* dib, int x0, int y0, int x1, int y1, int colour);

// Antialiased line (Wu's algorithm with a 16-bit fraction); horizontal, vertical and exactly
// diagonal lines are drawn solid in the line's colour.
void DrawWuLine8(CDIB* dib, int x0, int y0, int x1, int y1, int flag);
// The same line, drawing only the pixels inside the clip rectangle. The rectangle is inclusive on
// every side and may be given with its corners in any order; each pixel is tested on both
// coordinates.
void DrawWuLineClipped8(CDIB* dib, int x0, int y0, int x1, int y1, int clipX1, int clipY1,
                        int clipX2, int clipY2, int flag);
// Antialiased axis-aligned ellipse with centre (cx, cy), horizontal radius a and vertical radius
// b; its four extreme points are solid. Negative radii count as their size; a radius of 0 gives
// the solid line between the extreme points.
void DrawWuEllipse8(CDIB* dib, int cx, int cy, int a, int b, int flag);
