#include "saver/RoutineTable.h"

#include "routines/BlocksWorld.h"
#include "routines/BouncingBalls.h"
#include "routines/FlyingTiles.h"
#include "routines/PuzzleCube.h"
#include "routines/SlideShow.h"
#include "routines/SlidingTiles.h"
#include "routines/WipeOut.h"
#include "saver/ImagePickers.h"
#include "seams/Random.h"

namespace {

// Fixed arguments of every routine run by the saver: no endless repeat, no effect sounds,
// volume 50, the spare flag 0.
constexpr int kInfiniteOff = 0;
constexpr int kSoundOff = 0;
constexpr int kVolume = 50;
constexpr int kSpare = 0;
constexpr int kNoOutline = 0;

int SlidingTiles(const RoutineCall& call) {
  return RunSlidingBlocks(call.host, call.screenBackground, &call.area, kInfiniteOff, call.clockOn,
                          kSoundOff, call.speed, call.res, kVolume, kSpare, kNoOutline,
                          call.logosOn, call.runSeconds, call.trace, call.errorText);
}

int SlideShow(const RoutineCall& call) {
  return RunSlideShow(call.host, call.clockOn, SlideShowSeconds(call.runSeconds), call.trace,
                      call.errorText);
}

// The routines with the common arguments, and those that also take the composed background.
using CommonRoutine = int (*)(ScreenHost*, const RECT*, int, int, int, int, int, int, int, int, int,
                              int, CString*);
using BackgroundRoutine = int (*)(ScreenHost*, CDIB*, const RECT*, int, int, int, int, int, int,
                                  int, int, int, int, CString*);

template <CommonRoutine Run>
int Common(const RoutineCall& call) {
  return Run(call.host, &call.area, kInfiniteOff, call.clockOn, kSoundOff, call.speed, call.res,
             kVolume, kSpare, call.logosOn, call.runSeconds, call.trace, call.errorText);
}

template <BackgroundRoutine Run>
int WithBackground(const RoutineCall& call) {
  return Run(call.host, call.screenBackground, &call.area, kInfiniteOff, call.clockOn, kSoundOff,
             call.speed, call.res, kVolume, kSpare, call.logosOn, call.runSeconds, call.trace,
             call.errorText);
}

}  // namespace

const RoutineEntry RoutineTable[kRoutineNumberCount] = {
    {"2D Sliding Tiles", SlidingTiles},
    {"3D Flying Tiles", WithBackground<RunFlyingTiles>},
    {"Flying Puzzle Cube", Common<RunPuzzleCube>},
    {"Collisions: Blocks' World", Common<RunBlocksWorld>},
    {"Wipe Out", Common<RunWipeOut>},
    {"Ricochet: Bouncing Balls", Common<RunBouncingBalls>},
    {"Combo", nullptr},
    {"Slide Show", SlideShow},
};

int ChooseCycleRoutine(int setting, int previous, const RECT& area) {
  const int routine = setting == kRoutineCombo ? PickComboRoutine(previous) : setting;
  const bool small = area.right - area.left < kSmallestRoutineArea ||
                     area.bottom - area.top < kSmallestRoutineArea;
  return small ? kRoutineSlideShow : routine;
}

int RunDisplayRoutine(int routine, const RoutineCall& call) {
  const RoutineRunner run =
      routine >= 0 && routine < kRoutineNumberCount ? RoutineTable[routine].run : nullptr;
  return run ? run(call) : SlideShow(call);
}

int SlideShowSeconds(int timePerImage) {
  return timePerImage != 0 ? timePerImage : 120 + seams::Rand() % 120;
}
