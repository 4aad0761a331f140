// The 2D sliding tiles: the picture on the screen cut into tiles of one, two or four square
// cells, a block of four cells left empty in the bottom right corner, and then, cycle after
// cycle, scrambled by sliding tiles into the empty cells (each move chosen with a three-move
// look-ahead, CTileBoard) and unscrambled by replaying the same moves backwards, so that every
// cycle ends with the picture whole.
//
// The empty cells show the composed screen background (the backdrop without the picture). The
// routine never writes into that shared backdrop; it changes only the screen's own background
// inside the board, and gives the board its picture back when it ends, whichever way it ends.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;
class ScreenHost;

// Error codes.
constexpr int kTilesOutOfMemory = 2;
constexpr int kTilesTooManyMoves = 3;
constexpr int kTilesBadDirection = 4;
constexpr int kTilesBadDistance = 5;
constexpr int kTilesNotFourEmpty = 6;
constexpr int kTilesNoTileSize = 7;
constexpr int kTilesNoPalette = 8;
constexpr int kTilesNoSprite = 9;

// The routine (the routine frame's arguments, RoutineFrame.h). `screenBackground` is the backdrop
// the empty cells show (a black ramp entry when null); `outlineFlag` gives every tile a one-pixel
// outline. Slides at (106 - Speed) * 10 pixels per second; Res picks the tile size (larger,
// smaller tiles). 1 after a normal end, a stop, or an area with fewer than 9 cells (nothing
// drawn); 0 with the error text.
int RunSlidingBlocks(ScreenHost* pScreenDoc, CDIB* screenBackground, const RECT* area,
                     int bInfiniteOn, int bClockOn, int bSoundOn, int Speed, int Res, int Volume,
                     int bSpare, int outlineFlag, int bLogoOn, int RunSeconds, int traceFlag,
                     CString* errorText);

// "2D Sliding Tiles Error Message: " and the message of the code.
void GetSlidingTilesErrorText(int code, CString* text);

// Draws a one-pixel frame of the colour index along the four edges of the bitmap.
void DrawTileOutline(CDIB* sprite, int colourIndex);
