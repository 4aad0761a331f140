// The screen background composer: the screen-size 8-bit backdrop on which pictures are shown.
//
// It paints the whole screen with tiled logo squares or a solid grey (the screen style), frames
// every picture rectangle of a layout (LayoutRects.h) in a border style with an optional
// stippled shadow (Frames.h), and paints the area of the main picture with tiled logos or a solid
// grey (the back style). Every surface it makes is on the grey-ramp palette that follows the
// display's reserved entries (GetReservedPaletteEntries): index n is black, n + 31 light grey.
// Both the screen saver and the wallpaper program compose their backgrounds here, on the
// caller's thread.
#pragma once

#include "framework/Lists.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;

// Screen styles (whole screen) and back styles (the picture area).
constexpr int kStyleLogosLarge = 0;  // tiled logo squares, the largest tiles
constexpr int kStyleLogosSmall = 1;  // tiled logo squares, smaller tiles
constexpr int kStyleBlack = 2;
constexpr int kStyleLightGrey = 3;
constexpr int kBackStyleKeep = 4;  // back style: leave the picture area as the screen style made it

// Composes the background into the 8-bit target (at least 640 x 480; its pixels are replaced):
// the screen style on the whole target; unless the first rectangle's picture area is the whole
// target, a frame of the border style round every rectangle of the list, its width set by the
// thickness flag, with a shadow when shadowOn is set; then the back style on the picture area,
// which has the first rectangle's size (640 x 480 when that is larger than the target) and is
// centred. The logo is needed by the tiled styles only. Returns 1, or 0 with a "Set Logo
// Background Error Message: " text (or the logo tile's "Get Indexed Logo Error Message: " text)
// in *error; the target is untouched on failure. Trace lines only when `trace` is set.
BOOL SetSSBackground(CDIB* target, CPtrList* rects, CDIB* logo, int backStyle, int screenStyle,
                     int borderStyle, int borderThickness, int shadowOn, BOOL trace,
                     CString* error);

// The frame width that SetSSBackground draws: 10 (thick, a picture area 640 pixels wide or more)
// or 18 (thick, a narrower area); thin frames are 4 pixels, 7 raised, 9 raised and sunken, 14
// torn or scalloped; at most 30 (wide area) or 18 (narrow).
int PictureFrameWidth(int borderStyle, int borderThickness, bool largeArea);

// Makes `out` a width x height copy of the 8-bit logo, resampled bilinearly and mapped onto the
// grey-ramp palette. 0 with a "Get Indexed Logo Error Message: " text in *error when there is no
// logo (6), its palette cannot be made (7), the copy cannot be made (8) or resampled (9), or
// mapped (11).
BOOL GetIndexedLogo(CDIB* logo, int width, int height, CDIB* out, BOOL trace, CString* error);

// The error texts of the composer and of the logo tiles by code; an unknown code gives the
// prefix and "Unrecognized error".
void GetLogoBackgroundErrorText(int code, CString* text);
void GetIndexedLogoErrorText(int code, CString* text);
