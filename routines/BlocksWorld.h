// Blocks' World: two cubes, two long blocks and two pyramids wearing the shown picture fly in
// from the edges of the screen, bounce about a box of six walls and off each other, each bounce
// and each collision with its sound, until the run time is over, and fly back out. The picture
// behind them is left as it was.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class C3DPObject;
class ScreenHost;

// Error codes.
constexpr int kBlocksOutOfMemory = 1;
constexpr int kBlocksNoTexture = 2;

// The routine (the routine frame's arguments, RoutineFrame.h). Res sets the solids' size (the
// upper bound shrinks on screens wider than 1000, 1100 and 1200 pixels), Speed their pace (100
// fastest). With bLogoOn a logo goes on two faces of each cube; without a logo those faces stay
// lit grey. 1 after a normal end or a stop; 0 with the error text (a texture that cannot be made
// is kBlocksNoTexture). Whichever way it ends, the solids, the clock, every sprite and the sounds
// are gone and the screen shows the picture as it was.
int RunBlocksWorld(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
                   int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
                   int RunSeconds, int traceFlag, CString* errorText);

// "Blocks' World Error Message: " and the message of the code.
void GetBlocksWorldErrorText(int code, CString* text);

// Two solids that have just met swap their velocities: each flies on from where it is, in the
// other's direction, to the next wall of its box (the wall opposite the other's last one left
// out of the search).
void CollideObjects(C3DPObject* a, C3DPObject* b);

// The upper bound of the solids' size on a screen `width` pixels wide: a fifth of it, times 0.8
// above 1000 pixels, 0.6 above 1100 and 0.5 above 1200.
double BlocksUpperSize(int width);
