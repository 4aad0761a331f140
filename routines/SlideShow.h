// The slide show: keeps the picture on the screen for a while, the clock ticking when it is on.
//
// The drawing thread runs it when the chosen display routine is the slide show, and when the
// picture's area is too small for any other routine.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class ScreenHost;

// Error codes of the slide show.
constexpr int kSlideShowOutOfMemory = 1;

// Waits waitSeconds whole seconds (one pass for 0 or less) in steps of at most 50 ms, keeping
// the clock overlay ticking when clockOn is set, and ends early on a stop request. 1 after a
// normal end or a stop; 0 with the error text when the clock cannot be made. The clock and
// every sprite of the screen are gone afterwards.
int RunSlideShow(ScreenHost* pScreenDoc, int bClockOn, int waitSeconds, int traceFlag,
                 CString* errorText);

// "Slide Show Error Message: " and the message of the code.
void GetSlideShowErrorText(int code, CString* text);
