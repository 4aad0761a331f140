#include "routines/BouncingBalls.h"

#include <memory>
#include <new>

#include "engine3d/PoseMath.h"
#include "engine3d/Scene.h"
#include "engine3d/ShapesRound.h"
#include "imaging/DIB.h"
#include "imaging/ScreenHost.h"
#include "routines/BlocksWorld.h"
#include "routines/PictureTextures.h"
#include "routines/RoutineFrame.h"
#include "routines/RoutineMotion.h"
#include "seams/Clock.h"
#include "seams/Random.h"

namespace {

const RoutineErrorMessage kBallsErrors[] = {
    {kBallsOutOfMemory, "System has run out of memory"},
    {kBallsOutsideWalls, "Ball is outside boundary planes"},
    {kBallsNotMoving, "Ball is not moving"},
};

constexpr int kStepsPerPass = 1000;

// The balls, kept alive until the frame's end steps have taken them down. The measuring ball
// only sets the depth and is gone before anything is drawn.
struct BallShapes {
  C3DBall* measure = nullptr;
  C3DBall* left = nullptr;
  C3DBall* right = nullptr;
  ~BallShapes() {
    delete measure;
    delete left;
    delete right;
  }
};

struct BallTrack {
  double x = 0, y = 0;
  int32_t xi = 0, xq = 0, z = 0, pace = 0, leftPace = 0;
  int32_t tilt[3] = {0, 0, 0};
};

// The tilt that shows the ball's bands slanting: a turn of half a band about x and three
// quarters of a turn more about y, as the pose math reads it back (tenths of a degree).
void MeasureTilt(const C3DBall& ball, int32_t tilt[3]) {
  const int32_t k = ball.Bands();
  PoseAngles pose = {};
  pose.angle[0] = -3.1415926 / (2.0 * k);
  pose.angle[1] = pose.angle[0] + 4.7123889;
  Matrix4 m;
  PoseToMatrix(pose, m);
  PoseAngles back;
  RotationToAngles(m, back);
  for (int i = 0; i < 3; ++i) tilt[i] = SaturateToInt32(back.angle[i] * kTenthsPerRadian);
}

BallTrack MeasureTrack(C3DBall& ball, int w, int h, double size, int speed) {
  BallTrack track;
  MeasureTilt(ball, track.tilt);
  const RoutineTravel travel = RoutineTravelOf(ball, size, true, w, h);
  track.x = travel.x;
  track.y = travel.y;
  track.pace = RoutinePace(travel.d, speed);
  track.leftPace = SaturateToInt32(travel.d);
  const int32_t k = ball.Bands();
  RasterPoint corners[8];
  if (ball.ProjectFace((k / 2 - 1) * 2 * k, corners, 8) >= 3) {
    track.z = SaturateToInt32((corners[2].x - corners[1].x) * 300 / (0.1 * size));
  }
  track.xi = SaturateToInt32(track.x);
  track.xq = SaturateToInt32(0.4 * track.x);
  return track;
}

void TiltPlus(const int32_t tilt[3], int32_t turns, int32_t out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = tilt[i] + turns;
}

// The undrawn run of the measuring ball through its turning states, as the balls' animation
// expects before the first drawn ball rolls.
void Rehearse(C3DScene& scene, C3DBall& ball, const BallTrack& track) {
  const int32_t none[3] = {0, 0, 0};
  int32_t once[3], twice[3];
  TiltPlus(track.tilt, 3600, once);
  TiltPlus(track.tilt, 7200, twice);
  const FixedVector right = RoutinePoint(track.xi, 0, track.z),
                    centre = RoutinePoint(0, 0, track.z);
  ball.SetMotion(right, none, centre, once, 0.0, 0);
  scene.RunUntilAllStopped(0);
  ball.EnableAnimation();
  const int32_t states = ball.GetAnimationStateCount();
  while (states > 0 && !CRoutineFrame::StopRequested()) {
    ball.AnimateStep();
    scene.RunUntilAllStopped(0);
    if (ball.animState >= states) break;
  }
  ball.DisableAnimation();
  ball.SetMotion(centre, once, right, twice, 0.0, 0);
  scene.RunUntilAllStopped(0);
}

// A drawn ball at its start, with its animation parameters.
C3DBall* NewBall(const FixedVector& at, const BoundingPlanes& walls, int32_t pace,
                 uint32_t colour) {
  C3DBall* ball = new (std::nothrow) C3DBall200;
  if (ball == nullptr) return nullptr;
  PlaceShape(*ball, at);
  int32_t ints[4];
  RoutineAnimationInts(pace, 0, ints);
  ball->SetAnimationParams(0, &walls, ints, colour, 0.0);
  return ball;
}

// Bounces until the run is over; true when it ended by a stop request.
bool Bounce(C3DScene& scene, CRoutineFrame& frame, int infinite, int runSeconds) {
  CollisionGate gate(false);
  return frame.RunPasses(kStepsPerPass, infinite, runSeconds, [&] {
    C3DObject* out[4] = {};
    int32_t count = 0;
    const int outcome = scene.RunWithCollisions(0, out, &count);
    if (outcome == kSceneObjectsStopped) {
      for (int32_t i = 0; i < count; ++i) out[i]->AnimateStep();
      gate.ShapeStopped();
    } else if (outcome == kSceneCollision && gate.Answer(out[0], out[1])) {
      CollideObjects(static_cast<C3DPObject*>(out[0]), static_cast<C3DPObject*>(out[1]));
    }
    return outcome != kSceneInterrupted;
  });
}

struct BallsArguments {
  const RECT* area;
  int bInfiniteOn, bClockOn, Speed, Res, RunSeconds;
};

int RunBalls(CRoutineFrame& frame, BallShapes& made, const BallsArguments& args) {
  ScreenHost* host = frame.host();
  CDIB* background = StartBouncingRoutine(frame, args.bClockOn, args.area);
  if (background == nullptr) return frame.Fail(kBallsOutOfMemory);
  C3DScene& scene = *frame.scene();
  const int w = background->GetWidth(), h = background->GetHeight();
  const double size = RoutineShapeSize(w, h, w / 30, w / 6, args.Res);
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  made.measure = new (std::nothrow) C3DBall72;
  if (made.measure == nullptr || !made.measure->ready) return frame.Fail(kBallsOutOfMemory);
  scene.InsertObject(made.measure);
  const uint32_t colour = RoutineAnimationColour();
  const BallTrack track = MeasureTrack(*made.measure, w, h, size, args.Speed);
  const BoundingPlanes walls = RoutineWallPlanes(track.x, track.y, track.z);
  const FixedVector right = RoutinePoint(track.xi, 0, track.z),
                    left = RoutinePoint(-track.xi, 0, track.z);
  PlaceShape(*made.measure, right);
  int32_t ints[4];
  RoutineAnimationInts(track.pace, 0, ints);
  made.measure->SetAnimationParams(0, &walls, ints, colour, 0.0);
  Rehearse(scene, *made.measure, track);
  if (CRoutineFrame::StopRequested()) return 1;

  made.left = NewBall(left, walls, track.leftPace, colour);
  if (made.left == nullptr || !made.left->ready) return frame.Fail(kBallsOutOfMemory);
  scene.InsertObject(made.left);
  const int32_t none[3] = {0, 0, 0}, rightTurn[3] = {5400, 0, 900};
  int32_t leftTurn[3];
  TiltPlus(track.tilt, 3600, leftTurn);
  made.left->SetMotion(left, none, RoutinePoint(-track.xq, 0, track.z), leftTurn, 3.0, 0);
  made.right = NewBall(right, walls, track.pace, colour);
  if (made.right == nullptr || !made.right->ready) return frame.Fail(kBallsOutOfMemory);
  scene.RemoveObject(made.measure);
  delete made.measure;
  made.measure = nullptr;
  scene.InsertObject(made.right);

  std::unique_ptr<CDIB> strip(BuildBackgroundTexture(host, args.area, 1000, 500, 70));
  if (!strip || !made.right->MapTexture(strip.get()) || !made.left->MapTexture(strip.get()))
    return frame.Fail(kBallsOutOfMemory);
  strip.reset();

  made.right->SetMotion(right, none, RoutinePoint(track.xq, 0, track.z), rightTurn, 3.0, 0);
  scene.RunUntilAllStopped(1);
  if (CRoutineFrame::StopRequested()) return 1;
  made.right->SetStateOffset(2);
  made.left->SetStateOffset(2);
  made.right->AnimateStep();
  made.left->AnimateStep();
  if (Bounce(scene, frame, args.bInfiniteOn, args.RunSeconds)) return 1;
  FlyFromPoseTo(*made.right, right, 3.0);
  FlyFromPoseTo(*made.left, left, 3.0);
  scene.RunUntilAllStopped(1);
  return 1;
}

}  // namespace

void GetBouncingBallsErrorText(int code, CString* text) {
  FormatRoutineErrorText("Bouncing Balls Error Message: ", kBallsErrors, "Unrecognized error", code,
                         text);
}

int RunBouncingBalls(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
                     int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
                     int RunSeconds, int traceFlag, CString* errorText) {
  BallShapes made;  // outlives the frame's end steps
  CRoutineFrame frame(pScreenDoc, "Richochet - Bouncing Balls", GetBouncingBallsErrorText,
                      traceFlag, errorText);
  frame.SetOwnEndSteps([&made, pScreenDoc] {
    C3DObject* shapes[] = {made.left, made.right};
    EraseShapes(pScreenDoc, shapes, 2);
  });
  return frame.Run(
      {bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bSpare, bLogoOn, RunSeconds},
      kBallsOutOfMemory, [&] {
        return RunBalls(frame, made,
                        BallsArguments{area, bInfiniteOn, bClockOn, Speed, Res, RunSeconds});
      });
}
