// Square tile sizes for the effects that cut the screen, or a rectangle of it, into tiles.
//
// The percentage is a 1..100 setting (a routine's Res slider): a larger percentage gives a
// smaller tile. Sizes under 20 pixels, and sizes that would give more than 36 tiles along a side,
// are never chosen.
#pragma once

#include "framework/WinTypes.h"

// A size that divides both a and b exactly, picked by the percentage among the common divisors
// from 8 up to half the shorter side. Returns 1 and writes the size to both outputs; returns 0,
// writing nothing, when fewer than two divisors exist or none is acceptable.
int ChooseTileSize(int a, int b, int percent, int* sizeA, int* sizeB);

// A size for the rectangle, picked by the percentage among the common divisors of its sides
// (with halfFlag only up to half the shorter side, and stopping two sizes short of the first size
// of which two tiles no longer fit along a side; with multipleOf4Flag only multiples of 4), or
// among the fixed sizes 20, 40, ... 120 (... 160 with multipleOf4Flag) when no divisor of 160 or
// more exists. When the size does not divide the sides, a neighbouring size that covers more of the
// rectangle may replace it, and the rectangle is shrunk to whole tiles and centred (the odd pixel
// to the right and bottom). Returns 1 with the size written; 0, with size and rectangle untouched,
// when no size is acceptable or not one tile fits.
int ChooseTileSizeInRect(RECT* rect, int percent, int halfFlag, int multipleOf4Flag, int* size);

// The tile grid that the run-time trace reports for a screen size: column width, row height,
// square size and square width. 4, 4, 10, 10 for 640 x 480, 800 x 600, 1280 x 1080 and
// 1600 x 1200; 4, 4, 8, 8 for every other size. Always 1.
BOOL GetTileGridForScreen(int width, int height, int* colWidth, int* rowHeight, int* sizeSquare,
                          int* sizeWidth);
