// Timed sprite moves: a sprite slides in a straight line to a target at a speed measured on the
// millisecond clock, so it takes the same time however fast the screen can be redrawn.
#pragma once

#include "framework/WinTypes.h"

class CSprite;
class ScreenHost;

// Moves the sprite's top-left corner to the target at `rate` pixels per second along the longer
// axis, the other coordinate following in proportion. Every step keeps the clock overlay ticking,
// moves the sprite and shows only the changed rectangles; a step that would pass the target ends
// the slide, and the sprite always ends exactly on the target. A sprite already there does not
// move. A rate of 0 or less, or a stop request, puts the sprite on the target at once.
void SlideSpriteTimed(ScreenHost* host, CSprite* sprite, const POINT* target, int rate);
