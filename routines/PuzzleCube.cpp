#include "routines/PuzzleCube.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "engine3d/PoseMath.h"
#include "engine3d/Scene.h"
#include "engine3d/ShapesBox.h"
#include "framework/Geometry.h"
#include "imaging/DIB.h"
#include "imaging/ScreenHost.h"
#include "routines/CubeSlice.h"
#include "routines/PictureTextures.h"
#include "routines/RoutineFrame.h"
#include "routines/RoutineMotion.h"
#include "routines/RoutineTexture.h"
#include "seams/Clock.h"
#include "seams/Random.h"

namespace {

const RoutineErrorMessage kCubeErrors[] = {
    {1, "System has run out of memory"},
    {2, "Unable to get background image for texture map"},
    {3, "Unable to get logo image for texture map"},
    {4, "Too many spins set"},
    {5, "Bad spin planned"},
};

const char* const kCubeSounds[3] = {"wavfx3", "wavfx7", "wavfx8"};
constexpr int kTurnSound = 0;
constexpr int kStepSound = 1;
constexpr int kMaxTurns = 49;
constexpr int kTextureSize = 200;
constexpr int kFaceSteps = 19;
constexpr double kQuarterTurnSeconds = 0.8;
constexpr int kStopped = -1;
constexpr int kTimeUp = -2;

struct Turn {
  int face = 0;
  int q = 0;
};

// One run: the screen's sizes, the cube and where it flies.
struct CubeRun {
  ScreenHost* host = nullptr;
  C3DScene* scene = nullptr;
  std::unique_ptr<C3DCube> cube;
  int W = 0, H = 0;
  double S = 0, X = 0, Y = 0;
  int N = 0, z1 = 0, X0 = 0;
  int previousFace = -1;
  Turn history[kMaxTurns + 1];
};

FixedVector Units(int x, int y, int z) {
  return FixedVector{x * kFixedOne, y * kFixedOne, z * kFixedOne};
}

// A motion of `seconds` from where the cube is now to the pose, run until it ends.
void MoveCubeTo(CubeRun& run, const FixedVector& to, const int32_t angles[3], double seconds,
                int draw) {
  FixedVector from;
  int32_t fromAngles[3];
  ReadBackPose(run.cube->matrix, from, fromAngles);
  run.cube->SetMotion(from, fromAngles, to, angles, seconds, 0);
  run.scene->RunUntilAllStopped(draw);
}

// The animation sizes from the cube's radius and the screen (the larger Speed, the smaller N).
void ChooseAnimationSizes(CubeRun& run, int Speed) {
  const double R = std::sqrt(run.cube->radiusSq / 65536.0);
  const double k = R / std::sqrt(3 * (run.S / 2) * (run.S / 2));
  const double halfW = (run.W / 2) - run.S / 2;
  run.X = k * halfW * 2;
  run.Y = halfW != 0 ? run.X * ((run.H / 2) - run.S / 2) / halfW : 0;
  const double D = 0.04 * std::sqrt((run.X + 10) * (run.X + 10) + run.Y * run.Y + run.X * run.X);
  run.N = static_cast<int>(D + (25 * D - D) * (100 - Speed) * (1.0 / 99));
}

// The depth at which the cube shows S pixels wide, and its place off the right edge.
void ChooseDepth(CubeRun& run) {
  RasterPoint corners[4];
  if (run.cube->ProjectFace(4, corners, 4) == 4 && run.S > 0) {
    run.z1 = static_cast<int>((corners[2].x - corners[1].x) * 300 / run.S);
  }
  for (int i = 0; i < 3; ++i) run.cube->matrix.m[i][3] = 0;
  run.cube->matrix.m[2][3] = run.z1 * kFixedOne;
  const int e = (run.cube->vertices[3].x - run.cube->vertices[2].x) >> 16;
  run.X0 = run.S > 0 ? static_cast<int>(((run.W / 2) + 100 + run.S) * e / run.S) : 0;
}

// The picture (and the logo on faces 0 and 2) on the cube's faces; a set without a square logo
// puts the picture on those faces too. 0, or the error code.
int TextureCube(CubeRun& run, const RECT& area, int bLogoOn) {
  std::unique_ptr<CDIB> logo;
  if (bLogoOn) {
    std::unique_ptr<CDIB> opened(
        OpenRoutineLogo(run.host, 1.0, "every face of the cube carries the picture"));
    if (opened) {
      logo.reset(LoadLogoTexture(run.host, opened.get(), kTextureSize));
      if (!logo) return kPuzzleCubeNoLogo;
    }
  }
  std::unique_ptr<CDIB> picture(BuildRoutineTexture(run.host, area, kTextureSize, logo.get()));
  // The faces' texture corners put an image half a turn round on the face that fronts the viewer
  // when the cube is at rest; turned beforehand, it stands there as it stood on the screen.
  for (CDIB* image : {picture.get(), logo.get()}) {
    if (image) TurnHalf(*image);
  }
  for (int face = 0; face < 6; ++face) {
    CDIB* image = logo && (face == 0 || face == 2) ? logo.get() : picture.get();
    if (!run.cube->MapTexture(face, image)) return kPuzzleCubeNoLogo;
  }
  return 0;
}

// The cube placed, textured and flown in to the centre; its face animation set up. 0, or the
// error code.
int BringCubeIn(CubeRun& run, const RECT& area, int bLogoOn, int Speed) {
  run.cube.reset(new (std::nothrow) C3DCube);
  if (!run.cube || !run.cube->ready) return kPuzzleCubeOutOfMemory;
  run.scene->InsertObject(run.cube.get());
  ChooseAnimationSizes(run, Speed);
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  ChooseDepth(run);
  static const int32_t kTurned[3] = {5400, 0, 0};
  static const int32_t kUpright[3] = {0, 0, 0};
  run.cube->matrix.m[0][3] = run.X0 * kFixedOne;
  run.cube->SetMotion(Units(run.X0, 0, run.z1), kUpright, Units(0, 0, run.z1), kTurned, 0, 0);
  run.scene->RunUntilAllStopped(0);
  if (const int error = TextureCube(run, area, bLogoOn)) return error;
  MoveCubeTo(run, Units(run.X0, 0, run.z1), kUpright, 0, 0);
  run.cube->SetMotion(Units(run.X0, 0, run.z1), kUpright, Units(0, 0, run.z1), kTurned, 3.0, 0);
  run.scene->RunUntilAllStopped(1);
  const int c = (seams::Rand() % 255) / 4;
  const BoundingPlanes planes = {
      {{-1, 1, 0, 0, 0, 0},
       {0, 0, -1, 1, 0, 0},
       {0, 0, 0, 0, 1, -1},
       {run.X / 2, run.X / 2, run.Y / 2, run.Y / 2, run.X + 10 - run.z1, run.z1 + 10.0}}};
  const int32_t ints[4] = {-1, run.N, run.N + 10, 0};
  run.cube->SetAnimationParams(0, &planes, ints, static_cast<uint32_t>(c), 0.0);
  run.cube->DisableAnimation();
  run.cube->SetStateOffset(2);
  run.cube->AnimateStep();
  return 0;
}

// One step of the cube's face animation, with its sound when asked. False at a stop request.
bool FaceStep(CubeRun& run, CRoutineFrame& frame, bool sound) {
  C3DObject* o = run.scene->RunUntilOneStops(1);
  if (!o || seams::StopRequested()) return false;
  if (sound) {
    // A step that comes before the last one's sound has ended starts it again.
    frame.StopEffectSound(kStepSound);
    frame.PlayEffectSound(kStepSound);
  }
  o->AnimateStep();
  return true;
}

// One move of the cube. 0, kStopped or the error code.
int Move(CubeRun& run, CRoutineFrame& frame, const Turn& turn) {
  if (turn.face < 0 || turn.face > 5 || turn.q == 0 || turn.q < -3 || turn.q > 3) {
    return kPuzzleCubeBadSpin;
  }
  if (TurnCubeSlice(
          *run.scene, *run.cube, turn.face, turn.q, kQuarterTurnSeconds,
          [&frame] { frame.PlayEffectSound(kTurnSound); },
          [&frame] { frame.StopEffectSound(kTurnSound); })) {
    return 0;
  }
  return seams::StopRequested() ? kStopped : kPuzzleCubeOutOfMemory;
}

Turn RandomTurn(const CubeRun& run) {
  Turn t;
  do {
    t.face = seams::Rand() % 6;
  } while (t.face == run.previousFace);
  t.q = seams::Rand() % 3 + 1;
  if (seams::Rand() % 2 == 1) t.q = -t.q;
  return t;
}

// The scramble: face-animation steps and moves until m moves are made or the time is up. The
// moves made in *turns. 0, kTimeUp, kStopped or the error code.
int Scramble(CubeRun& run, CRoutineFrame& frame, int m, int RunSeconds, int* turns) {
  bool timeUp = false;
  while (*turns < m && !timeUp) {
    for (int s = 0; s < kFaceSteps && !timeUp; ++s) {
      if (!FaceStep(run, frame, true)) return kStopped;
      timeUp = frame.PastSeconds(RunSeconds);
    }
    if (!FaceStep(run, frame, false)) return kStopped;
    if (timeUp) break;
    const Turn turn = RandomTurn(run);
    if (const int result = Move(run, frame, turn)) return result;
    run.previousFace = turn.face;
    run.history[++*turns] = turn;
  }
  return timeUp ? kTimeUp : 0;
}

// One cycle: scramble, a pause of face animation, and the moves undone. 0, kTimeUp, kStopped or
// the error code.
int RunCycle(CubeRun& run, CRoutineFrame& frame, int RunSeconds) {
  const int m = seams::Rand() % 24 + 25;
  if (m > kMaxTurns) return kPuzzleCubeTooManySpins;
  int turns = 0;
  const int scrambled = Scramble(run, frame, m, RunSeconds, &turns);
  if (scrambled > 0 || scrambled == kStopped) return scrambled;
  if (scrambled != kTimeUp) {
    for (int s = 0; s <= kFaceSteps; ++s) {
      if (!FaceStep(run, frame, s < kFaceSteps)) return kStopped;
    }
  }
  for (int k = turns; k >= 1; --k) {
    if (const int result = Move(run, frame, Turn{run.history[k].face, -run.history[k].q})) {
      return result;
    }
  }
  return scrambled;
}

struct CubeArguments {
  ScreenHost* host;
  const RECT* area;
  int bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bLogoOn, RunSeconds;
};

int RunCube(CRoutineFrame& frame, CubeRun& run, const CubeArguments& args) {
  CDIB* background = args.host ? args.host->GetBackground() : nullptr;
  if (!background || !args.area) return frame.Fail(kPuzzleCubeOutOfMemory);
  frame.StartSounds(args.bSoundOn, args.Volume, kCubeSounds, 3);
  if (!frame.StartSceneAndClock(1, args.bClockOn)) return frame.Fail(kPuzzleCubeOutOfMemory);
  run.host = args.host;
  run.scene = frame.scene();
  run.W = background->GetWidth();
  run.H = background->GetHeight();
  run.S = PuzzleCubeEdge(run.W, run.H, ClampRoutinePercent(args.Res));
  // The screen is composed again once the scene is gone: args stop may leave the cube drawn.
  frame.SetOwnEndSteps([&run] {
    run.host->RenderRect(nullptr);
    run.host->ShowRect(nullptr);
  });
  if (const int error =
          BringCubeIn(run, *args.area, args.bLogoOn, ClampRoutinePercent(args.Speed))) {
    return frame.Fail(error);
  }
  frame.StartTime();
  for (;;) {
    if (seams::StopRequested()) return 1;
    const int result = RunCycle(run, frame, args.RunSeconds);
    if (result > 0) return frame.Fail(result);
    if (result == kStopped) return 1;
    if (result == kTimeUp || !args.bInfiniteOn) break;
  }
  static const int32_t kUpright[3] = {0, 0, 0};
  MoveCubeTo(run, Units(run.X0, 0, run.z1), kUpright, 2.0, 1);
  return 1;
}

}  // namespace

double PuzzleCubeEdge(int W, int H, int Res) {
  const int lo = W / 15;
  double hi = std::min(H / 4, W / 5);
  if (W > 1200) {
    hi *= 0.5;
  } else if (W > 1100) {
    hi *= 0.6;
  } else if (W > 1000) {
    hi *= 0.8;
  }
  return lo + (hi - lo) * (100 - Res) * (1.0 / 99);
}

void GetPuzzleCubeErrorText(int code, CString* text) {
  FormatRoutineErrorText("Puzzle Cube Error Message: ", kCubeErrors, "Unknown error", code, text);
}

int RunPuzzleCube(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
                  int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
                  int RunSeconds, int traceFlag, CString* errorText) {
  CubeRun run;  // outlives the frame's end steps
  CRoutineFrame frame(pScreenDoc, "Puzzle Cube", GetPuzzleCubeErrorText, traceFlag, errorText);
  return frame.Run(
      {bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bSpare, bLogoOn, RunSeconds},
      kPuzzleCubeOutOfMemory, [&] {
        return RunCube(frame, run,
                       CubeArguments{pScreenDoc, area, bInfiniteOn, bClockOn, bSoundOn, Speed, Res,
                                     Volume, bLogoOn, RunSeconds});
      });
}
