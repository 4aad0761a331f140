// The picture rectangles of the background layouts: where the pictures of a screen background or
// a wallpaper go.
//
// A rectangle list is a CPtrList of heap RECTs (screen pixels, right and bottom exclusive) in
// placing order, left to right, then top to bottom. Its rectangles belong to the list's owner,
// who frees them with DeleteAllPtrListElements.
#pragma once

#include "framework/Lists.h"
#include "framework/WinTypes.h"

// Layouts.
constexpr int kLayoutCentred = 0;  // one picture of the size code, centred
constexpr int kLayoutMosaic = 1;   // 4:3 cells of about 160 pixels, edge to edge
constexpr int kLayoutGrid = 2;     // 160 x 120 pictures in 196 x 156 cells
constexpr int kLayoutMixed = 3;    // the same grid, pictures alternately 120 x 90 and 160 x 120
constexpr int kLayoutLarge = 4;    // 260 x 195 pictures in 296 x 231 cells

// Picture sizes of the centred layout: code 0 is the screen's size, codes 1 to 6 640 x 480 up
// to 1600 x 1200.
constexpr int kMaxSizeCode = 6;

// Empties the list and fills it with the layout's rectangles for the screen's size
// (GetScreenSize). 0 only for the centred layout on a screen under 640 x 480 or with a size code
// outside 0..6; an unknown layout, or a screen that holds no whole cell, gives 1 and no
// rectangles. A centred picture larger than the screen becomes 640 x 480. 0 with an empty list
// also when memory runs out.
BOOL GetImageLayoutRects(CPtrList* list, int layout, int sizeCode);

// Removes every rectangle from the list and frees it.
void DeleteAllPtrListElements(CPtrList* list);
