// The flying 3D tiles: a sliding-tile puzzle played on the picture that is on the screen. The
// picture's area is cut into square cells; one cell (the hole) shows the screen backdrop, and in
// each move the content of a random cell flies into the hole as 4 x 4 small textured squares
// that tumble along ballistic paths and land one by one. After a random number of moves the same
// moves are replayed backwards, so the picture is whole again when the routine ends.
//
// The routine is silent: it never touches the sound flag and ignores the logo flag. Drawing
// thread only.
#pragma once

#include "engine3d/FixedMath.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;
class ScreenHost;

// Error codes the routine raises (the others of the table belong to the table only).
constexpr int kFlyingTilesOutOfMemory = 1;
constexpr int kFlyingTilesNoSize = 3;
constexpr int kFlyingTilesTooManyMoves = 5;
constexpr int kFlyingTilesStrayObject = 12;

// The depth at which a tile seen square-on covers exactly one small square of its cell. Kept from
// run to run; each run rescales it from the width the reference pose projects to.
extern Fixed TileReferenceDepth;

// The routine (the routine frame's arguments, RoutineFrame.h). `screenBackground` is the backdrop
// the hole shows (the grey ramp's base colour when null or not of the screen's size); `area` is
// where the picture lies on the screen. Res picks the cell size (larger, smaller cells); a larger
// Speed flies slower. Returns 1 after a normal end, a stop, or an area of fewer than 3 cells
// (nothing drawn); 0 with the error text.
int RunFlyingTiles(ScreenHost* pScreenDoc, CDIB* screenBackground, const RECT* area,
                   int bInfiniteOn, int bClockOn, int bSoundOn, int Speed, int Res, int Volume,
                   int bSpare, int bLogoOn, int RunSeconds, int traceFlag, CString* errorText);

// "3D Flying Tiles Error Message: " and the message of the code.
void GetFlyingTilesErrorText(int code, CString* text);
