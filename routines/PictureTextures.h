// The picture textures of the rolling and bouncing routines: the shown picture's area as a strip
// repeated along a wide texture (wrapped round the cylinder and the balls), and the area fitted
// into a texture turned a quarter turn (the long faces of the blocks). Both are 8-bit on the
// background's colours, so their pixels go into face textures as they are; the caller owns and
// deletes what they return.
#pragma once

#include "framework/WinTypes.h"

class CDIB;
class ScreenHost;

// A tw x th texture: copies of the area, each shrunk to the band's height th - 2 border, laid
// side by side with equal gaps across the band (turned a quarter turn when upright copies would
// fill less than 80 % of the width). Every pixel outside the copies is the ramp's darkest grey;
// an area, band or copy too small for one copy gives that grey alone. Null when the host has no
// 8-bit background or a picture cannot be made (memory).
CDIB* BuildBackgroundTexture(ScreenHost* host, const RECT* area, int tw, int th, int border);

// A th x tw texture: the area (turned a quarter turn when it is at least as tall as wide) shrunk
// with its proportions into tw x th, centred on `backdrop` (its top-left tw x th) or on the
// ramp's darkest grey, and the whole turned a quarter turn. An empty area gives the ground
// alone. Null as BuildBackgroundTexture.
CDIB* BuildFittedTexture(ScreenHost* host, const RECT* area, int tw, int th, CDIB* backdrop);

// Turns `from` a quarter turn into `to`, which must be from's height wide and its width high:
// pixel (x, y) goes to (height - 1 - y, x). False, `to` untouched, when the sizes do not fit.
bool TurnQuarter(const CDIB& from, CDIB& to);

// Turns an 8-bit picture half a turn in place: pixel (x, y) goes to (w - 1 - x, h - 1 - y).
void TurnHalf(CDIB& dib);
