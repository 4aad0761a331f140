// The square 8-bit textures the 3D display routines paste on their shapes' faces, in the colours
// of the screen's background so that their pixels go into face textures as they are.
//
// BuildRoutineTexture shrinks the part of the screen that holds the picture into a square,
// keeping its proportions, centred on a logo or on the grey ramp's darkest grey; LoadLogoTexture
// resizes a logo (opened by the caller, HostServices::OpenRandomLogoFile) into a square. The caller
// owns and deletes what they return.
#pragma once

#include <memory>
#include <new>

#include "framework/WinTypes.h"

class CDIB;
class ScreenHost;

// An n x n texture of the host's background inside `area` (cut to the background first), on
// `logo`'s pixels (its top-left n x n; it must be on the background's colours) or on the grey
// ramp's base. An empty area gives the ground alone. Null when the texture cannot be made (nothing
// is left behind) or the host has no background. The shrink is the display's stretch blit
// (colour on colour) on Windows and the nearest-neighbour stretch natively.
CDIB* BuildRoutineTexture(ScreenHost* host, const RECT& area, int n, CDIB* logo);

// The logo resized to n x n (bilinear on its own colour table), then mapped onto the background's
// colours. Null when there is no logo or background or memory runs out; the logo stays the
// caller's.
CDIB* LoadLogoTexture(ScreenHost* host, CDIB* logo, int n);

// All of `whole` stretched to w x h and copied into `into` at (x0, y0), on `palette`: the
// display's stretch blit (colour on colour) on Windows, nearest neighbour natively. False when
// a surface cannot be made.
class CColorPalette;
bool ShrinkPicture(CDIB& whole, CColorPalette* palette, int w, int h, CDIB& into, int x0, int y0);

// What the texture builders share: a new object or null when memory runs out, and whether a
// picture is a usable 8-bit one (header, pixels, 8 bits per pixel).
namespace texturebuild {
template <typename T>
std::unique_ptr<T> Make() {
  return std::unique_ptr<T>(new (std::nothrow) T);
}
bool IsEightBit(const CDIB* dib);
}  // namespace texturebuild
