// The display-routine frame: what every display routine does around its own animation.
//
// A routine makes one CRoutineFrame at its start and returns through it. The frame writes the
// trace lines, makes the 3D scene (a routine that shows the clock needs one even when it draws
// nothing in 3D: the scene's set-up binds the grey ramp the clock's lines use), the clock overlay
// and the effect sounds, measures the elapsed time, and writes the error text of a failure.
// Its destructor runs the end steps on every return, the failures and the stops included: the
// scene, the clock (whose area is composed and shown again), every sprite of the screen, the
// routine's own end steps, the sounds; only the end trace line is left out after a failure.
// So nothing of a routine outlives it but the picture it leaves on the screen.
//
// The clock overlay and the sound flag live in the screen's services (HostServices.h); on a screen
// host without them (the headless host of the native tests) a routine runs without a clock.
// Drawing thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <new>

#include "framework/String.h"
#include "framework/WinTypes.h"

class C3DScene;
class CWave;
class ScreenHost;

// A routine's error-text function: the routine's prefix and the message of the code.
using RoutineErrorTextFn = void (*)(int code, CString* text);

// One row of a routine's error table.
struct RoutineErrorMessage {
  int code;
  const char* text;
};

// The prefix, then the table's text for the code, or `unknown` when the table lacks it.
void FormatRoutineErrorText(const char* prefix, const RoutineErrorMessage* table, int count,
                            const char* unknown, int code, CString* text);
// The same over a whole table.
template <int N>
void FormatRoutineErrorText(const char* prefix, const RoutineErrorMessage (&table)[N],
                            const char* unknown, int code, CString* text) {
  FormatRoutineErrorText(prefix, table, N, unknown, code, text);
}

// Speed and Res settings kept to 1..100: a setting outside it (from a hand-edited registry) would
// give a slide rate of 0 or less, or a tile size the choosers never meant.
int ClampRoutinePercent(int value);

// The arguments every routine lists on its trace line.
struct RoutineTraceArguments {
  int bInfiniteOn;
  int bClockOn;
  int bSoundOn;
  int Speed;
  int Res;
  int Volume;
  int bSpare;
  int bLogoOn;
  int RunSeconds;
};

class CRoutineFrame {
 public:
  static constexpr int kMaxSounds = 5;

  // traceFlag: write the trace lines; errorText receives the text of a failure (may be null).
  CRoutineFrame(ScreenHost* host, const char* traceName, RoutineErrorTextFn errorTextFn,
                int traceFlag, CString* errorText);
  // The end steps (below) and, unless the routine failed, the end trace line.
  ~CRoutineFrame();
  CRoutineFrame(const CRoutineFrame&) = delete;
  CRoutineFrame& operator=(const CRoutineFrame&) = delete;

  // "<name> - start - " and the line of arguments.
  void TraceStart(const RoutineTraceArguments& args);
  // An entry point's run of its routine in the frame: TraceStart with the arguments, then the
  // routine; a list or a text of the screen that cannot grow on the way fails the routine with
  // its out-of-memory code.
  template <typename Routine>
  int Run(const RoutineTraceArguments& args, int outOfMemoryCode, Routine routine) {
    TraceStart(args);
    try {
      return routine();
    } catch (const std::bad_alloc&) {
      return Fail(outOfMemoryCode);
    }
  }
  // "<name> - start - " and a line of the routine's own.
  void TraceStart(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  // A further line of the routine's own trace (only with the trace flag).
  void TracePrintf(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

  // Makes the scene when the routine draws in 3D or shows the clock, then the clock when
  // clockOn is set and the screen has services. 0 when memory runs out (the routine's "out of
  // memory" error; what was made is taken down by the end steps).
  BOOL StartSceneAndClock(int draws3D, int clockOn);
  // Sets the sound flag (the screen services' too) and, only when it is set, loads each effect
  // sound "<base name>.wav" of the data folder and scales it by 100 - volume percent. A sound that
  // cannot be loaded is reported by the wave and fails when it is played.
  void StartSounds(int soundOn, int volume, const char* const* baseNames, int count);
  // Notes the start time on the clock seam and returns it (a tick count).
  uint32_t StartTime();

  // Whole seconds since StartTime: the signed tick difference over 1000.
  int ElapsedSeconds() const;
  // The routine's time limit: 0 seconds never ends it; otherwise the elapsed time exceeds it.
  bool PastSeconds(int limit) const { return limit > 0 && ElapsedSeconds() > limit; }

  // Starts the sound of that index on the default wave player, only while the sound flag is set.
  // The first failed start of a sound is reported ("Failed to play sound - <base name>") and that
  // sound is not started again in this run: a machine without a sound device would otherwise
  // show a message for every frame. The routine goes on either way.
  void PlayEffectSound(int index);
  // Ends the sound of that index when it is playing (stopped, its blocks taken back).
  void StopEffectSound(int index);

  // Whether a stop was requested of the drawing thread.
  static bool StopRequested();
  // Whether the run is over: a stop was requested, or the time limit (0: none) is past.
  bool RunOver(int runSeconds) const { return StopRequested() || PastSeconds(runSeconds); }
  // The main loop of a routine: notes the start time, then runs `step` up to stepsPerPass times
  // a pass until it returns false (nothing more can happen) or the run is over (RunOver); passes
  // repeat only for an endless run (bInfiniteOn) whose time is not up and that was not stopped.
  // Returns whether it ended by a stop request.
  bool RunPasses(int stepsPerPass, int bInfiniteOn, int runSeconds,
                 const std::function<bool()>& step);
  // Called after every step RunPasses runs on the calling thread (null: none, as in the saver),
  // for the tests that count a routine's steps; returns the hook it replaces.
  using StepHook = void (*)();
  static StepHook SetStepHook(StepHook hook);

  // The routine's own end steps: they run after the sprites are gone and before the sounds stop.
  void SetOwnEndSteps(std::function<void()> steps) { ownEndSteps_ = std::move(steps); }

  // The routine ends early with nothing to do: this line ends its trace instead of the end line.
  void EndTraceWith(const char* line) { endTraceLine_ = line; }

  // Writes the error text of the code; the end trace is left out. Returns 0, the routine's result.
  int Fail(int code);

  ScreenHost* host() const { return host_; }
  C3DScene* scene() const { return scene_; }
  int soundOn() const { return soundOn_; }

 private:
  void EndSteps();
  void StopSounds();

  ScreenHost* host_;
  const char* traceName_;
  RoutineErrorTextFn errorTextFn_;
  int traceFlag_;
  CString* errorText_;
  bool failed_ = false;
  C3DScene* scene_ = nullptr;
  int soundOn_ = 0;
  CWave* waves_[kMaxSounds] = {};
  const char* waveNames_[kMaxSounds] = {};
  bool waveFailed_[kMaxSounds] = {};
  int waveCount_ = 0;
  uint32_t startTick_ = 0;
  std::function<void()> ownEndSteps_;
  const char* endTraceLine_ = nullptr;
};
