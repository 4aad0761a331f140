// Bouncing Balls: two balls wrapped in strips of the shown picture roll in from the left and the
// right edges, bounce about a box of six walls and off each other until the run time is over,
// and roll back out. Silent; the picture behind them is left as it was.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class ScreenHost;

// Error codes (only running out of memory is raised).
constexpr int kBallsOutOfMemory = 1;
constexpr int kBallsOutsideWalls = 2;
constexpr int kBallsNotMoving = 3;

// The routine (the routine frame's arguments, RoutineFrame.h; bSoundOn, Volume and bLogoOn only
// reach the trace, and the screen's sound flag is left as it is). Res sets the balls' size (1: a
// sixth of the screen's width, 100: a thirtieth), Speed the right ball's pace (the left ball
// keeps the pace of Speed 100). 1 after a normal end or a stop; 0 with the error text.
// Whichever way it ends, the balls, the clock and every sprite are gone and the screen shows the
// picture as it was.
int RunBouncingBalls(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
                     int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
                     int RunSeconds, int traceFlag, CString* errorText);

// "Bouncing Balls Error Message: " and the message of the code.
void GetBouncingBallsErrorText(int code, CString* text);
