// Composing the screen: the background first, then the sprites from the highest depth to the
// lowest, into an off-screen surface. The screen view and the headless screen host share these.
#pragma once

#include "framework/Geometry.h"

class CDIB;
class CSpriteList;

// The part of `rect` (all of the target when null) that composition touches: inside the target,
// and inside the background when there is one.
CRect CompositionClip(const CDIB* background, const CDIB* target, const CRect* rect);
// Copies the background into the target, at the same position, within the clip.
void RenderBackgroundRect(CDIB* background, CDIB* target, const CRect* rect);
// Draws every sprite into the target within the clip, the nearest last.
void RenderSpritesRect(const CDIB* background, const CSpriteList& sprites, CDIB* target,
                       const CRect* rect);
// Copies w x h pixels of the 8-bit `from` at (sx, sy) to (dx, dy) of the 8-bit `to`, each index
// replaced by the index of to's colour nearest to its own colour in from's table: a picture keeps
// its colours when it moves onto another colour table. Only the part inside both is copied.
void CopyByColour(const CDIB& from, CDIB* to, int dx, int dy, int w, int h, int sx, int sy);
