// Where the transition dialog's mini screen and the preview picture on it lie, and which effect a
// picture too small for the chosen one runs instead. Pure arithmetic, shared by the dialog's
// paint and preview handlers (each computes it afresh) and tested natively.
#pragma once

#include "framework/WinTypes.h"

// The group box frames the mini screen with this margin (in all, over both sides).
constexpr int kMiniScreenMargin = 30;
// A picture narrower or lower than this on the screen previews with a sweep.
constexpr int kSmallPreviewSide = 20;

// The mini screen inside a group box of `box` (dialog client coordinates): the box less the
// margin, brought to 4:3 by shrinking one side, centred in the box. Empty (all zero) when the box
// leaves no room for it, and then nothing may be drawn.
RECT MiniScreenRect(const RECT& box);

// The picture's rectangle on a screen of sw x sh when it is w x h and centred: a picture larger
// than the screen is cut to the screen's centre, never placed off it. Empty for a screen or
// picture of no size.
RECT CentredImageRect(int sw, int sh, int w, int h);

// The picture's screen rectangle scaled onto the mini screen (its width by mini width / sw, its
// height by mini height / sh) and centred on the mini screen's centre. Empty when the screen has
// no size.
RECT MiniImageRect(const RECT& mini, int sw, int sh, const RECT& image);

// The effect a preview runs: the chosen one, or for a picture under kSmallPreviewSide in width or
// height a sweep that suits its shape (118 for a ratio between 0.5 and 2, 110 for a wide one,
// 112 for a tall one), with `sweepClass` telling the caller to take the sweep class's middle
// sliders.
struct PreviewEffect {
  int effectId;
  bool sweepClass;
};
PreviewEffect ChoosePreviewEffect(int effectId, int imageWidth, int imageHeight);
