#include "routines/RoutineFrame.h"

#include <cstdarg>
#include <cstring>
#include <new>

#include "engine3d/Scene.h"
#include "imaging/AnimDoc.h"
#include "imaging/ClockOverlay.h"
#include "imaging/FolderPath.h"
#include "imaging/HostServices.h"
#include "imaging/ScreenHost.h"
#include "imaging/SpriteList.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "sound/Wave.h"
#include "sound/WavePlayer.h"

namespace {

// Room for the longest error text, made in the error text when a routine starts: a routine that
// fails because memory has run out can still write its text.
constexpr int kErrorTextRoom = 128;

thread_local CRoutineFrame::StepHook stepHook = nullptr;

}  // namespace

void FormatRoutineErrorText(const char* prefix, const RoutineErrorMessage* table, int count,
                            const char* unknown, int code, CString* text) {
  if (!text) return;
  const char* message = unknown;
  for (int i = 0; i < count; ++i) {
    if (table[i].code == code) message = table[i].text;
  }
  const size_t prefixLength = std::strlen(prefix);
  const size_t length = prefixLength + std::strlen(message);
  try {
    char* buffer = text->GetBuffer(static_cast<int>(length));  // no allocation within the room
    std::memcpy(buffer, prefix, prefixLength);
    std::memcpy(buffer + prefixLength, message, length - prefixLength);
    text->ReleaseBuffer(static_cast<int>(length));
  } catch (const std::bad_alloc&) {
    // No room was made and none can be: the caller still sees the failure, without its text.
  }
}

int ClampRoutinePercent(int value) { return value < 1 ? 1 : value > 100 ? 100 : value; }

CRoutineFrame::CRoutineFrame(ScreenHost* host, const char* traceName,
                             RoutineErrorTextFn errorTextFn, int traceFlag, CString* errorText)
    : host_(host),
      traceName_(traceName),
      errorTextFn_(errorTextFn),
      traceFlag_(traceFlag),
      errorText_(errorText) {
  if (!errorText_) return;
  try {
    errorText_->GetBuffer(kErrorTextRoom);
    errorText_->ReleaseBuffer();
  } catch (const std::bad_alloc&) {
  }
}

CRoutineFrame::~CRoutineFrame() {
  EndSteps();
  if (!traceFlag_ || failed_) return;
  if (endTraceLine_) {
    seams::Trace::Printf("%s", endTraceLine_);
  } else {
    seams::Trace::Printf("%s - end - \n\n", traceName_);
  }
}

void CRoutineFrame::TraceStart(const RoutineTraceArguments& a) {
  TraceStart(
      "bInfiniteOn=%x,bClockOn=%x,bSoundOn=%x,Speed=%d,Res=%d,Volume=%d,bSpare=%x,"
      "bLogoOn=%x,RunSeconds=%d",
      a.bInfiniteOn, a.bClockOn, a.bSoundOn, a.Speed, a.Res, a.Volume, a.bSpare, a.bLogoOn,
      a.RunSeconds);
}

void CRoutineFrame::TraceStart(const char* format, ...) {
  if (!traceFlag_) return;
  seams::Trace::Printf("%s - start - \n", traceName_);
  va_list args;
  va_start(args, format);
  seams::Trace::VPrintf(format, args);
  va_end(args);
  seams::Trace::Printf("\n");
}

void CRoutineFrame::TracePrintf(const char* format, ...) {
  if (!traceFlag_) return;
  va_list args;
  va_start(args, format);
  seams::Trace::VPrintf(format, args);
  va_end(args);
}

BOOL CRoutineFrame::StartSceneAndClock(int draws3D, int clockOn) {
  if (draws3D || clockOn) {
    scene_ = new (std::nothrow) C3DScene(host_);
    if (!scene_) return 0;
  }
  if (!clockOn) return 1;
  if (!ServicesOf(host_)) return 1;  // a screen without services shows no clock
  return CreateClockOverlay(host_) != nullptr;
}

void CRoutineFrame::StartSounds(int soundOn, int volume, const char* const* baseNames, int count) {
  soundOn_ = soundOn ? 1 : 0;
  if (HostServices* services = ServicesOf(host_)) services->SetSoundOn(soundOn_);
  if (!soundOn_) return;
  for (int i = 0; i < count && waveCount_ < kMaxSounds; ++i) {
    const int slot = waveCount_++;
    waveNames_[slot] = baseNames[i];
    CWave* wave = new (std::nothrow) CWave(FALSE);
    if (!wave) continue;  // reported when it is played
    waves_[slot] = wave;
    try {
      const CString path = JoinFolderPath(IniSettings.DATADIRECTORY, baseNames[i]) + ".wav";
      if (wave->Load(path)) wave->ScaleVolume(100 - volume);
    } catch (const std::bad_alloc&) {
      // The path could not be made: the wave stays empty and its play fails.
    }
  }
}

uint32_t CRoutineFrame::StartTime() {
  startTick_ = seams::TickCount();
  return startTick_;
}

int CRoutineFrame::ElapsedSeconds() const {
  return static_cast<int32_t>(seams::TickCount() - startTick_) / 1000;
}

void CRoutineFrame::PlayEffectSound(int index) {
  if (!soundOn_ || index < 0 || index >= waveCount_ || waveFailed_[index]) return;
  if (waves_[index] && waves_[index]->Play(nullptr)) return;
  waveFailed_[index] = true;
  try {
    seams::Alert(CString("Failed to play sound - ") + waveNames_[index]);
  } catch (const std::bad_alloc&) {
    seams::Alert("Failed to play sound");
  }
}

void CRoutineFrame::StopEffectSound(int index) {
  if (index < 0 || index >= waveCount_) return;
  CWave* wave = waves_[index];
  if (!wave || wave->GetPlayCount() == 0) return;
  // The drawing thread has no message loop to hear the device's notices: it ends the plays
  // itself once the device has given the blocks back.
  wave->Stop();
  while (wave->GetPlayCount() > 0) wave->EndPlay();
  // The player lets go of the stopped blocks now: a routine that stops and replays a sound on
  // every step would otherwise keep every block it ever played until the run ends.
  DefaultWavePlayer.DropWave(wave);
}

bool CRoutineFrame::StopRequested() { return seams::StopRequested(); }

CRoutineFrame::StepHook CRoutineFrame::SetStepHook(StepHook hook) {
  const StepHook previous = stepHook;
  stepHook = hook;
  return previous;
}

bool CRoutineFrame::RunPasses(int stepsPerPass, int bInfiniteOn, int runSeconds,
                              const std::function<bool()>& step) {
  StartTime();
  bool over = false;
  do {
    for (int i = 0; i < stepsPerPass && !over; ++i) {
      over = !step() || RunOver(runSeconds);
      if (stepHook) stepHook();
    }
  } while (bInfiniteOn != 0 && !over);
  return StopRequested();
}

int CRoutineFrame::Fail(int code) {
  failed_ = true;
  if (errorTextFn_) errorTextFn_(code, errorText_);
  return 0;
}

namespace {

// Runs one end step; a list of the screen that cannot grow on the way loses its step's redraw,
// never the steps after it (this runs from a destructor).
template <typename Step>
void EndStep(Step step) {
  try {
    step();
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void CRoutineFrame::EndSteps() {
  delete scene_;
  scene_ = nullptr;
  EndStep([this] { RemoveClockOverlay(host_); });
  if (host_) host_->GetSprites()->DeleteAll();
  EndStep([this] {
    if (ownEndSteps_) ownEndSteps_();
  });
  ownEndSteps_ = nullptr;
  StopSounds();
}

void CRoutineFrame::StopSounds() {
  if (waveCount_ == 0) return;
  for (int i = 0; i < waveCount_; ++i) StopEffectSound(i);
  DefaultWavePlayer.Close();
  for (int i = 0; i < waveCount_; ++i) {
    delete waves_[i];
    waves_[i] = nullptr;
    waveFailed_[i] = false;
  }
  waveCount_ = 0;
}
