// The puzzle cube: a cube whose faces carry a small copy of the picture on the screen (and the
// logo on two faces when logos are on) flies in from the right, plays its face animation between
// moves and is scrambled like a 3 x 3 x 3 puzzle, one third turning in each move; then the moves
// are undone in reverse order and the cube flies out to the right. Drawing thread only.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class ScreenHost;

// Error codes the routine raises (2 belongs to the table only).
constexpr int kPuzzleCubeOutOfMemory = 1;
constexpr int kPuzzleCubeNoLogo = 3;  // a face refused its texture
constexpr int kPuzzleCubeTooManySpins = 4;
constexpr int kPuzzleCubeBadSpin = 5;

// The edge of the cube on a screen W x H pixels for a Res setting: the larger Res, the smaller.
double PuzzleCubeEdge(int W, int H, int Res);

// The routine (the routine frame's arguments, RoutineFrame.h). Effect sounds wavfx3 (each quarter
// turn) and wavfx7 (each face-animation step); wavfx8 is loaded and never played. A larger Speed
// gives a quicker face animation. With bLogoOn and no square logo in the set, the logo faces
// carry the picture and the trace says why. Returns 1 after a normal end or a stop; 0 with the
// error text.
int RunPuzzleCube(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
                  int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
                  int RunSeconds, int traceFlag, CString* errorText);

// "Puzzle Cube Error Message: " and the message of the code.
void GetPuzzleCubeErrorText(int code, CString* text);
