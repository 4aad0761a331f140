#include "routines/BlocksWorld.h"

#include <memory>
#include <new>

#include "engine3d/Animation.h"
#include "engine3d/Scene.h"
#include "engine3d/ShapesBox.h"
#include "imaging/DIB.h"
#include "imaging/ScreenHost.h"
#include "routines/PictureTextures.h"
#include "routines/RoutineFrame.h"
#include "routines/RoutineMotion.h"
#include "routines/RoutineTexture.h"
#include "seams/Clock.h"
#include "seams/Random.h"

namespace {

const RoutineErrorMessage kBlocksErrors[] = {
    {kBlocksOutOfMemory, "System has run out of memory"},
    {kBlocksNoTexture, "Unable to get background image for texture map"},
};

enum BlocksSound { kFx4, kFx7, kFx8 };
const char* const kBlocksSounds[] = {"wavfx4", "wavfx7", "wavfx8"};

constexpr int kStepsPerPass = 10000;
constexpr int kSolids = 6;
enum Solid { kCubeA, kCubeB, kBlockA, kBlockB, kPyramidA, kPyramidB };

// The solids, kept alive until the frame's end steps have taken them down.
struct BlocksShapes {
  C3DPObject* solids[kSolids] = {};
  ~BlocksShapes() {
    for (C3DPObject* s : solids) delete s;
  }
};

C3DPObject* NewSolid(int which) {
  switch (which) {
    case kCubeA:
    case kCubeB: return new (std::nothrow) C3DCube;
    case kBlockA:
    case kBlockB: return new (std::nothrow) C3DBlock;
    default: return new (std::nothrow) C3DPyr5;
  }
}

// Where each solid starts (and flies back to), where its entry ends, and how it turns on entry.
struct SolidPath {
  FixedVector start, entry;
  int32_t turn[3];
};

// The box's track, with the ends of the entries four tenths of the way out.
struct BoxTrack : RoutineTrack {
  int32_t xq = 0, yq = 0;
};

BoxTrack MeasureTrack(C3DPObject& cube, int w, int h, double size, int speed) {
  BoxTrack track;
  static_cast<RoutineTrack&>(track) = RoutineTrackOf(cube, size, true, w, h, speed);
  RasterPoint corners[8];
  if (cube.ProjectFace(4, corners, 8) >= 3) {
    track.z = SaturateToInt32((corners[2].x - corners[1].x) * 300 / size);
  }
  track.yq = SaturateToInt32(0.4 * track.y);
  track.xq = SaturateToInt32(0.4 * track.x);
  return track;
}

SolidPath PathOf(int which, const BoxTrack& t) {
  const int32_t z = t.z;
  switch (which) {
    case kCubeA: return {RoutinePoint(t.xi, t.yq, z), RoutinePoint(t.xq, t.yq, z), {5400, 0, 900}};
    case kCubeB:
      return {RoutinePoint(t.xi, -t.yq, z), RoutinePoint(t.xq, -t.yq, z), {5400, 0, 900}};
    case kBlockA: return {RoutinePoint(0, t.xi, z), RoutinePoint(0, t.yq, z), {5400, 0, 900}};
    case kBlockB: return {RoutinePoint(0, -t.xi, z), RoutinePoint(0, -t.yq, z), {5400, 0, 900}};
    case kPyramidA:
      return {RoutinePoint(-t.xi, t.yq, z), RoutinePoint(-t.xq, t.yq, z), {4500, 0, 1800}};
    default: return {RoutinePoint(-t.xi, -t.yq, z), RoutinePoint(-t.xq, -t.yq, z), {4500, 0, 1800}};
  }
}

// The picture on the cubes' and pyramids' squares and the blocks' long faces, a logo on the
// cubes' sides. 0 or the error.
int Dress(ScreenHost* host, const RECT* area, int logoOn, C3DPObject* const* solids) {
  auto* cubeA = static_cast<C3DCuboid*>(solids[kCubeA]);
  auto* cubeB = static_cast<C3DCuboid*>(solids[kCubeB]);
  std::unique_ptr<CDIB> square(BuildRoutineTexture(host, *area, 200, nullptr));
  std::unique_ptr<CDIB> fitted(BuildFittedTexture(host, area, 400, 300, nullptr));
  if (!square || !fitted) return kBlocksNoTexture;
  for (C3DCuboid* cube : {cubeA, cubeB}) {
    if (!cube->MapTexture(0, square.get()) || !cube->MapTexture(2, square.get()))
      return kBlocksNoTexture;
  }
  for (int p : {kPyramidA, kPyramidB}) {
    if (!static_cast<C3DPyr*>(solids[p])->MapTexture(square.get())) return kBlocksNoTexture;
  }
  for (int b : {kBlockA, kBlockB}) {
    auto* block = static_cast<C3DCuboid*>(solids[b]);
    if (!block->MapTexture(2, fitted.get()) || !block->MapTexture(0, fitted.get()))
      return kBlocksNoTexture;
  }
  if (!logoOn) return 0;
  // Without a logo of the right shape the cubes' sides stay lit grey.
  std::unique_ptr<CDIB> logo(OpenRoutineLogo(host, 1.0, "the cubes' logo faces stay grey"));
  if (!logo) return 0;
  std::unique_ptr<CDIB> logoTexture(LoadLogoTexture(host, logo.get(), 200));
  if (!logoTexture) return kBlocksNoTexture;
  for (C3DCuboid* cube : {cubeA, cubeB}) {
    if (!cube->MapTexture(1, logoTexture.get()) || !cube->MapTexture(3, logoTexture.get()))
      return kBlocksNoTexture;
  }
  return 0;
}

// Bounces until the run is over; true when it ended by a stop request.
bool Bounce(C3DScene& scene, CRoutineFrame& frame, int infinite, int runSeconds) {
  CollisionGate gate(true);
  return frame.RunPasses(kStepsPerPass, infinite, runSeconds, [&] {
    C3DObject* out[kSolids + 2] = {};
    int32_t count = 0;
    const int outcome = scene.RunWithCollisions(1, out, &count);
    if (outcome == kSceneObjectsStopped) {
      for (int32_t i = 0; i < count; ++i) out[i]->AnimateStep();
      gate.ShapeStopped();
      frame.StopEffectSound(kFx4);
      frame.StopEffectSound(kFx7);
      frame.PlayEffectSound(kFx7);
    } else if (outcome == kSceneCollision && gate.Answer(out[0], out[1])) {
      frame.StopEffectSound(kFx4);
      frame.StopEffectSound(kFx7);
      frame.PlayEffectSound(kFx4);
      CollideObjects(static_cast<C3DPObject*>(out[0]), static_cast<C3DPObject*>(out[1]));
    }
    return outcome != kSceneInterrupted;
  });
}

int RunSolids(CRoutineFrame& frame, BlocksShapes& made, const SolidsArguments& args) {
  ScreenHost* host = frame.host();
  CDIB* background = StartBouncingRoutine(frame, args.bClockOn, args.area);
  if (background == nullptr) return frame.Fail(kBlocksOutOfMemory);
  C3DScene& scene = *frame.scene();
  frame.StartSounds(args.bSoundOn, args.Volume, kBlocksSounds, 3);
  const int w = background->GetWidth(), h = background->GetHeight();
  const double size = RoutineShapeSize(w, h, w / 30, BlocksUpperSize(w), args.Res);
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  const uint32_t colour = RoutineAnimationColour();

  BoxTrack track;
  BoundingPlanes walls = {};
  int32_t ints[4];
  SolidPath paths[kSolids];
  for (int i = 0; i < kSolids; ++i) {
    made.solids[i] = NewSolid(i);
    if (made.solids[i] == nullptr || !made.solids[i]->ready) return frame.Fail(kBlocksOutOfMemory);
    scene.InsertObject(made.solids[i]);
    if (i == kCubeA) {
      // The first cube measures the box for all six.
      track = MeasureTrack(*made.solids[i], w, h, size, args.Speed);
      walls = RoutineWallPlanes(track.x, track.y, track.z);
      RoutineAnimationInts(track.pace, 0, ints);
    }
    paths[i] = PathOf(i, track);
    PlaceShape(*made.solids[i], paths[i].start);
    made.solids[i]->SetAnimationParams(0, &walls, ints, colour, 0.0);
  }
  if (const int error = Dress(host, args.area, args.bLogoOn, made.solids)) return frame.Fail(error);

  const int32_t none[3] = {0, 0, 0};
  for (int i = 0; i < kSolids; ++i)
    made.solids[i]->SetMotion(paths[i].start, none, paths[i].entry, paths[i].turn, 3.0, 0);
  scene.RunUntilAllStopped(1);
  if (CRoutineFrame::StopRequested()) return 1;
  for (C3DPObject* s : made.solids) s->SetStateOffset(2);
  for (C3DPObject* s : made.solids) s->AnimateStep();
  if (Bounce(scene, frame, args.bInfiniteOn, args.RunSeconds)) return 1;
  for (int i = 0; i < kSolids; ++i) FlyFromPoseTo(*made.solids[i], paths[i].start, 3.0);
  scene.RunUntilAllStopped(1);
  return 1;
}

}  // namespace

double BlocksUpperSize(int width) {
  double hi = width / 5;
  if (width > 1200) {
    hi *= 0.5;
  } else if (width > 1100) {
    hi *= 0.6;
  } else if (width > 1000) {
    hi *= 0.8;
  }
  return hi;
}

void GetBlocksWorldErrorText(int code, CString* text) {
  FormatRoutineErrorText("Blocks' World Error Message: ", kBlocksErrors, "Unknown error", code,
                         text);
}

void CollideObjects(C3DPObject* a, C3DPObject* b) {
  if (a == nullptr || b == nullptr) return;
  auto flip = [](int32_t n) { return n % 2 == 0 ? n + 1 : n - 1; };
  const int32_t pa = a->animInts[0], pb = b->animInts[0];
  const FixedVector va = a->velocity, vb = b->velocity;
  FlightSettings settings;  // end angles turned, plain spin, no spin given
  auto flyOn = [&settings](C3DPObject* o, int32_t plane, const FixedVector& v) {
    FixedVector position, end, next;
    int32_t angles[3], endAngles[3];
    ReadBackPose(o->matrix, position, angles);
    o->animInts[0] = plane;
    o->FlyToWall(o->boundingPlanes, o->animInts[0], position, angles, v, settings, end, endAngles,
                 next);
  };
  flyOn(a, flip(pb), vb);
  flyOn(b, flip(pa), va);
}

int RunBlocksWorld(ScreenHost* pScreenDoc, const RECT* area, int bInfiniteOn, int bClockOn,
                   int bSoundOn, int Speed, int Res, int Volume, int bSpare, int bLogoOn,
                   int RunSeconds, int traceFlag, CString* errorText) {
  BlocksShapes made;  // outlives the frame's end steps
  CRoutineFrame frame(pScreenDoc, "Blocks' World:Collisions", GetBlocksWorldErrorText, traceFlag,
                      errorText);
  frame.SetOwnEndSteps([&made, pScreenDoc] {
    C3DObject* shapes[kSolids];
    for (int i = 0; i < kSolids; ++i) shapes[i] = made.solids[i];
    EraseShapes(pScreenDoc, shapes, kSolids);
  });
  return frame.Run(
      {bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bSpare, bLogoOn, RunSeconds},
      kBlocksOutOfMemory, [&] {
        return RunSolids(frame, made,
                         SolidsArguments{area, bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume,
                                         bLogoOn, RunSeconds});
      });
}
