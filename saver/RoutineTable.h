// The display routines the drawing thread runs between two image changes, chosen by number
// ("SSFN"): one table, one entry per routine, each entry calling its routine with the thread's
// arguments.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;
class ScreenHost;

// Routine numbers.
constexpr int kRoutineSlidingTiles = 0;
constexpr int kRoutineFlyingTiles = 1;
constexpr int kRoutinePuzzleCube = 2;
constexpr int kRoutineBlocksWorld = 3;
constexpr int kRoutineWipeOut = 4;
constexpr int kRoutineBouncingBalls = 5;
constexpr int kRoutineCombo = 6;
constexpr int kRoutineSlideShow = 7;
constexpr int kRoutineNumberCount = 8;

// A picture area narrower or lower than this is always shown by the slide show.
constexpr int kSmallestRoutineArea = 100;

// What the drawing thread hands every routine.
struct RoutineCall {
  ScreenHost* host = nullptr;
  CDIB* screenBackground = nullptr;  // the composed background (the sliding tiles' empty cells)
  RECT area{};                       // the picture's rectangle on the screen
  int clockOn = 0;
  int speed = 0;  // the routine's own "SPEEDn" and "RESn" settings
  int res = 0;
  int logosOn = 0;
  int runSeconds = 0;  // the time per image; 0 lets the routine choose
  int trace = 0;
  CString* errorText = nullptr;
};

using RoutineRunner = int (*)(const RoutineCall& call);

struct RoutineEntry {
  const char* name;
  RoutineRunner run;
};

// Indexed by routine number; "Combo" (6) has no runner of its own.
extern const RoutineEntry RoutineTable[kRoutineNumberCount];

// The routine the cycle runs: "Combo" becomes PickComboRoutine(previous); then an area under
// kSmallestRoutineArea on either side makes it the slide show.
int ChooseCycleRoutine(int setting, int previous, const RECT& area);

// Runs the routine of that number (0..5 or 7): its result, 1 or 0 with *errorText.
int RunDisplayRoutine(int routine, const RoutineCall& call);

// The slide show's time: the time per image, or 120 to 239 seconds drawn at random when it is 0.
int SlideShowSeconds(int timePerImage);
