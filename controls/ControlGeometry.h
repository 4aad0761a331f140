// The arithmetic of the settings dialogs' custom controls, apart from any window: where a
// slider's thumb sits, which position a mouse point means, and where the image view draws a
// picture. Computed in 64 bits; an empty range, a track no longer than the thumb and a control
// of no size all leave the thumb at the track's start and the position at the minimum.
#pragma once

#include <cstdint>

#include "framework/WinTypes.h"

// The position moved into minimum..maximum; the minimum when the range is empty or reversed.
int32_t ClampToRange(int64_t position, int32_t minimum, int32_t maximum);

// Vertical slider of height h: the track runs from h/10 to 9h/10, the minimum at the top.
int VSliderThumbCentre(int h, int32_t position, int32_t minimum, int32_t maximum);
int32_t VSliderPositionAt(int y, int h, int32_t minimum, int32_t maximum);

// Horizontal slider of width w with a thumb of width t: the track runs from t/2 to w - t/2.
int HSliderThumbCentre(int w, int t, int32_t position, int32_t minimum, int32_t maximum);
int32_t HSliderPositionAt(int x, int w, int t, int32_t minimum, int32_t maximum);

// Where the image view draws a picture of iw x ih in a control of W x H. Fit off: the whole
// control. Fit on: the picture with its proportions kept, shrunk to the control but never
// enlarged, centred (halves rounded toward zero). A picture of no size: an empty rectangle at
// the control's centre.
RECT ImageViewRect(int W, int H, int iw, int ih, bool fit);

// True when the point lies in the rectangle (right and bottom edges outside).
bool PointInRect(const RECT& rect, int x, int y);
