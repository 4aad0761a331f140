// The 2D transition dispatcher: runs one effect, given by its identifier 0..152, from two prepared
// surfaces onto a destination rectangle.
//
// The effect families draw through a blit layer (Blit.h); the dispatcher picks the family routine
// and its mode arguments (TransFXFamilies.h) and returns its result. One-surface effects draw
// from surface A at (ax, ay) when offScreen is 0 and from surface B at (bx, by) otherwise;
// two-surface effects get both surfaces and run their on-screen or off-screen form.
#pragma once

#include "framework/WinTypes.h"

class BlitLayer;

// Largest width or height of an area or destination the effects accept.
constexpr int kMaxTransFXSide = 0x8000;

// TRUE for the identifiers that an effect serves: 0..152 except 15, 16, 17 and 19.
bool IsTransFXEffect(int effect);

// Runs the effect through `layer`, paced as Pacing.h says: par0 of a display frame or more is
// the step period; 0 .. kFrameMs - 1 spreads the effect's steps over PacedDuration (the steps are
// counted first by running its geometry without drawing); kUnpaced runs it at full speed. The
// result is the effect's own; FALSE, nothing drawn, for an identifier no effect serves and for a
// destination or area larger than kMaxTransFXSide (or coordinates beyond a million pixels), which
// no screen has. A destination or area of zero or
// negative size runs nothing and returns TRUE, as an effect with nothing to draw does.
BOOL TransFXDispatch(BlitLayer& layer, int dx, int dy, int dw, int dh, int ax, int ay, int sw,
                     int sh, int bx, int by, int effect, int par0, int par1, int par2,
                     BOOL offScreen, const RECT* screen);

#ifdef _WIN32
class CDC;
class CDIBSurface;

// The same on a device context, from two off-screen surfaces: pieces are copied 1:1 with the
// surface's palette realised, or stretched with StretchBlt; region-clipped effects clip the
// device context, which is left without a clipping region.
BOOL TransFXDispatch(CDC* dc, int dx, int dy, int dw, int dh, CDIBSurface* surfaceA, int ax, int ay,
                     int sw, int sh, CDIBSurface* surfaceB, int bx, int by, int effect, int par0,
                     int par1, int par2, BOOL offScreen, const RECT* screen);
#endif
