#include "routines/WipeOut.h"

#include <memory>
#include <new>

#include "engine3d/Scene.h"
#include "engine3d/ShapesRound.h"
#include "imaging/DIB.h"
#include "imaging/Resample.h"
#include "imaging/ScreenHost.h"
#include "routines/PictureTextures.h"
#include "routines/RoutineFrame.h"
#include "routines/RoutineMotion.h"
#include "seams/Clock.h"
#include "seams/Random.h"

namespace {

const RoutineErrorMessage kWipeOutErrors[] = {
    {kWipeOutOutOfMemory, "System has run out of memory"},
    {kWipeOutNoLogo, "Unable to get logo image"},
};

enum WipeOutSound { kFx5, kFx7, kFx8 };
const char* const kWipeOutSounds[] = {"wavfx5", "wavfx7", "wavfx8"};

constexpr int kStepsPerPass = 1000;
constexpr int kRestingState = 15;

// What the routine makes, kept alive until the frame's end steps have taken it down.
struct WipeOutShapes {
  C3DCyl52* cylinder = nullptr;
  ~WipeOutShapes() { delete cylinder; }
};

void StopSounds(CRoutineFrame& frame) {
  frame.StopEffectSound(kFx7);
  frame.StopEffectSound(kFx5);
  frame.StopEffectSound(kFx8);
}

// Where the cylinder travels: its start beyond the right edge, its depth and pace.
RoutineTrack MeasureTrack(C3DCyl52& cyl, int w, int h, double size, int speed) {
  RoutineTrack track = RoutineTrackOf(cyl, size, false, w, h, speed);
  RasterPoint corners[8];
  if (cyl.ProjectFace(0, corners, 8) >= 4) {
    track.z = SaturateToInt32((corners[0].y - corners[3].y) * 300 / size);
  }
  return track;
}

// The undrawn rehearsal of the cylinder's rolls, which leaves it standing ready at the centre.
// Returns the number of turning states it went through.
int32_t Rehearse(C3DScene& scene, CRoutineFrame& frame, C3DCyl52& cyl) {
  cyl.EnableAnimation();
  const int32_t states = cyl.GetAnimationStateCount();
  while (states > 0 && !CRoutineFrame::StopRequested()) {
    cyl.AnimateStep();
    frame.PlayEffectSound(kFx8);
    scene.RunUntilAllStopped(0);
    frame.StopEffectSound(kFx8);
    const int32_t state = cyl.animState;
    if (state == 1 || states - state == 3) cyl.animReal = 0.0;
    if (state >= states) break;
  }
  cyl.DisableAnimation();
  cyl.SetStateOffset(kRestingState);
  cyl.AnimateStep();
  frame.PlayEffectSound(kFx8);
  return states;
}

// A logo of the cylinder's unrolled shape round it; false when the set has none (or it could
// not be mapped), which leaves the cylinder to the picture.
bool WrapLogo(ScreenHost* host, C3DCyl52& cyl) {
  std::unique_ptr<CDIB> logo(
      OpenRoutineLogo(host, cyl.LogoAspectRatio(), "the cylinder carries the picture"));
  return logo && cyl.MapLogoTexture(host, logo.get());
}

// A logo, or else the picture (mirrored, so it reads right on the rolling side), round the
// cylinder: a set without a logo of its shape still rolls.
int WrapCylinder(ScreenHost* host, const RECT* area, int logoOn, C3DCyl52& cyl) {
  if (logoOn && WrapLogo(host, cyl)) return 0;
  std::unique_ptr<CDIB> strip(BuildBackgroundTexture(host, area, 800, 200, 0));
  if (!strip || !MirrorDIB(strip.get()) || !cyl.MapTexture(strip.get())) return kWipeOutOutOfMemory;
  return 0;
}

int SoundOfState(int32_t state, int32_t states) {
  if (state == 0) return kFx5;
  if (state < states - 4 || state > states) return kFx7;
  if (states - state == 2) return kFx5;
  return kFx8;
}

// Rolls until the run is over; true when it ended by a stop request.
bool RollAbout(C3DScene& scene, CRoutineFrame& frame, C3DCyl52& cyl, int32_t states, int infinite,
               int runSeconds) {
  cyl.animReal = 1.0;
  return frame.RunPasses(kStepsPerPass, infinite, runSeconds, [&] {
    C3DObject* stopped = scene.RunUntilOneStops(1);
    StopSounds(frame);
    frame.PlayEffectSound(SoundOfState(cyl.animState, states));
    if (stopped == &cyl) cyl.AnimateStep();
    return stopped != nullptr;
  });
}

int RunCylinder(CRoutineFrame& frame, WipeOutShapes& made, const SolidsArguments& args) {
  ScreenHost* host = frame.host();
  CDIB* background = StartBouncingRoutine(frame, args.bClockOn, args.area);
  if (background == nullptr) return frame.Fail(kWipeOutOutOfMemory);
  C3DScene& scene = *frame.scene();
  frame.StartSounds(args.bSoundOn, args.Volume, kWipeOutSounds, 3);
  const int w = background->GetWidth(), h = background->GetHeight();
  const double size = RoutineShapeSize(w, h, w / 30, w / 5, args.Res);
  made.cylinder = new (std::nothrow) C3DCyl52;
  if (made.cylinder == nullptr || !made.cylinder->ready) return frame.Fail(kWipeOutOutOfMemory);
  C3DCyl52& cyl = *made.cylinder;
  cyl.SetScreenArea(*args.area);
  scene.InsertObject(&cyl);
  const RoutineTrack track = MeasureTrack(cyl, w, h, size, args.Speed);
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));

  const int32_t none[3] = {0, 0, 0}, rolled[3] = {4500, 0, 0};
  const FixedVector right = RoutinePoint(track.xi, 0, track.z),
                    centre = RoutinePoint(0, 0, track.z);
  PlaceShape(cyl, right);
  cyl.SetMotion(right, none, centre, rolled, 0.0, 0);
  scene.RunUntilAllStopped(0);
  const BoundingPlanes walls = RoutineWallPlanes(track.x, track.y, track.z);
  int32_t ints[4];
  RoutineAnimationInts(track.pace, 2, ints);
  cyl.SetAnimationParams(0, &walls, ints, RoutineAnimationColour(), 1.0);
  const int32_t states = Rehearse(scene, frame, cyl);
  if (CRoutineFrame::StopRequested()) return 1;
  if (const int error = WrapCylinder(host, args.area, args.bLogoOn, cyl)) return frame.Fail(error);

  // Roll in from the right edge to the centre.
  FlyFromPoseTo(cyl, right, 0.0);
  scene.RunUntilAllStopped(0);
  cyl.SetMotion(right, none, centre, rolled, 3.0, 0);
  scene.RunUntilAllStopped(1);
  if (CRoutineFrame::StopRequested()) return 1;
  if (RollAbout(scene, frame, cyl, states, args.bInfiniteOn, args.RunSeconds)) return 1;
  FlyFromPoseTo(cyl, right, 3.0);
  scene.RunUntilAllStopped(1);
  return 1;
}

}  // namespace

const char* WipeOutSoundName(int state, int states) {
  return kWipeOutSounds[SoundOfState(state, states)];
}

void GetWipeOutErrorText(int code, CString* text) {
  FormatRoutineErrorText("Wipe Out Error Message: ", kWipeOutErrors, "Unknown error", code, text);
}

int RunWipeOut(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
               int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
               int RunSeconds, int traceFlag, CString* errorText) {
  WipeOutShapes made;  // outlives the frame's end steps
  CRoutineFrame frame(pScreenDoc, "Wipe Out", GetWipeOutErrorText, traceFlag, errorText);
  frame.SetOwnEndSteps([&made, pScreenDoc] {
    C3DObject* shapes[] = {made.cylinder};
    EraseShapes(pScreenDoc, shapes, 1);
  });
  return frame.Run(
      {bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bSpare, bLogoOn, RunSeconds},
      kWipeOutOutOfMemory, [&] {
        return RunCylinder(frame, made,
                           SolidsArguments{area, bInfiniteOn, bClockOn, bSoundOn, Speed, Res,
                                           Volume, bLogoOn, RunSeconds});
      });
}
