// Wipe Out: a cylinder wrapped in the shown picture (or a logo) rolls in from the right, rolls
// about the screen again and again, printing its end faces onto the picture and picking them up
// again, each roll with its sound, until the run time is over, and rolls out to the right.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class ScreenHost;

// Error codes.
constexpr int kWipeOutOutOfMemory = 1;
constexpr int kWipeOutNoLogo = 2;  // has its text; a missing logo no longer ends the routine

// The routine (the routine frame's arguments, RoutineFrame.h). Res sets the cylinder's size
// (1: a fifth of the screen's width, 100: a thirtieth), Speed its pace (100 fastest). The run
// time counts from the end of the roll-in; an endless run ends there too. 1 after a normal end
// or a stop; 0 with the error text. With bLogoOn and no logo of the cylinder's unrolled shape
// in the set, the cylinder carries the picture and the trace says why. Whichever way it ends, the
// cylinder, the clock, every sprite and the sounds are gone and the screen shows the picture (with
// what the cylinder printed).
int RunWipeOut(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
               int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
               int RunSeconds, int traceFlag, CString* errorText);

// The sound after a roll that ended in `state` of the cylinder's `states` turning states:
// "wavfx5" at the start and two before the end, "wavfx8" around the end, "wavfx7" otherwise.
const char* WipeOutSoundName(int state, int states);

// "Wipe Out Error Message: " and the message of the code.
void GetWipeOutErrorText(int code, CString* text);
