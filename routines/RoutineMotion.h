// What the bouncing 3D routines (the rolling cylinder, the colliding solids, the two balls) share:
// the size of their shapes from the Res setting, the box of six walls they bounce in, the pace
// of their flights from the Speed setting, the flights back to where a shape came from, the
// colour of their face animations, and the clean-up that leaves the screen showing the picture.
#pragma once

#include <cstdint>

#include "engine3d/Object3D.h"

class C3DPObject;
class CDIB;
class ScreenHost;

// Which of the scene's collision reports a bouncing routine answers. Two shapes just sent apart
// still overlap for some frames, and answering those reports again would turn them back into
// each other, over and over. So once a collision is answered, reports wait until a shape stops
// (it reached a wall); with `otherPairsPass`, a pair other than the last answered one is answered
// at once (the colliding solids), without it every pair waits (the two balls).
class CollisionGate {
 public:
  explicit CollisionGate(bool otherPairsPass) : otherPairsPass_(otherPairsPass) {}
  // A shape stopped: the next report is answered, whatever pair it names.
  void ShapeStopped() { fresh_ = true; }
  // Whether to answer the report of a meeting b (in either order); an answered pair becomes the
  // last pair.
  bool Answer(const C3DObject* a, const C3DObject* b);

 private:
  bool otherPairsPass_;
  bool fresh_ = true;
  const C3DObject* last_[2] = {nullptr, nullptr};
};

// The shape's size in pixels: lo + (hi - lo) (100 - res) / 99, held to at most
// min(width, height) / 2 - 2 (and at least 2). A larger shape would put the walls of the box
// inside out (the top wall below the bottom one), and a size of 0 divides by zero.
double RoutineShapeSize(int width, int height, double lo, double hi, int res);

// The box a shape of radius r (pixels) travels in on a width x height screen, from the travel
// distance x: y = x (height/2 - r) / (width/2 - r) (halves as whole numbers), and the time scale
// d = 0.04 sqrt((x + 10)^2 + y^2 + x^2).
struct RoutineTravel {
  double x;
  double y;
  double d;
};
RoutineTravel RoutineTravelFor(double x, double r, int width, int height);

// The travel of a shape `size` pixels across: its distance x = 2 rho (width/2 - r) / q, with
// rho the root of its bounding value, r = size / 2 and q = r, or the half diagonal sqrt(3 r^2)
// of a cube of that size.
RoutineTravel RoutineTravelOf(const C3DObject& shape, double size, bool halfDiagonal, int width,
                              int height);

// The flight pace from the Speed setting: d at 100 up to 25 d at 1, truncated toward zero.
int32_t RoutinePace(double d, int speed);

// Where a bouncing shape travels: its box (x across, y down, from RoutineTravelOf), x in whole
// pixels (its start beyond the screen's edge), its pace at the Speed setting, and the depth z,
// which each routine measures from its shape's drawing (0 until it does).
struct RoutineTrack {
  double x = 0, y = 0;
  int32_t xi = 0, z = 0, pace = 0;
};
RoutineTrack RoutineTrackOf(const C3DObject& shape, double size, bool halfDiagonal, int width,
                            int height, int speed);

// The six walls: x within +/- x/2, y within +/- y/2, depth from z - x - 10 to z + 10.
BoundingPlanes RoutineWallPlanes(double x, double y, int32_t z);

// The colour of the face animations: the first byte rand() % 255 / 4, the others 0.
uint32_t RoutineAnimationColour();

// The four integers of a shape's animation parameters: no wall yet, the pace, pace + 10 and the
// capture mode.
void RoutineAnimationInts(int32_t pace, int32_t captureMode, int32_t out[4]);

// Starts a motion from where the shape now is (its pose read back from its transform) to
// `position`, each angle turned one whole turn further, in `seconds`, without gravity.
void FlyFromPoseTo(C3DPObject& shape, const FixedVector& position, double seconds);

// A point of a routine's box in whole pixels.
FixedVector RoutinePoint(int32_t x, int32_t y, int32_t z);

// The arguments of a run of the rolling cylinder or the colliding solids.
struct SolidsArguments {
  const RECT* area;
  int bInfiniteOn, bClockOn, bSoundOn, Speed, Res, Volume, bLogoOn, RunSeconds;
};

// What every bouncing routine does first: the scene and (with clockOn) the clock. Returns the
// screen's background, or null when something could not be made or there is no background or
// area (the routine's "out of memory" error).
class CRoutineFrame;
CDIB* StartBouncingRoutine(CRoutineFrame& frame, int clockOn, const RECT* area);

// Composes and shows again the screen under each shape's last drawing, so that the screen shows
// the picture (and its sprites) once the shapes are gone. Null shapes are skipped.
void EraseShapes(ScreenHost* host, C3DObject* const* shapes, int count);

// A logo of the screen's services for a face of width / height `ratio` (HostServices.h), or null
// when the screen has no services, no logo of that shape or memory runs out. A missing
// logo never ends a routine: the trace then says so and what the routine shows instead
// (`instead`, as "the cylinder carries the picture").
CDIB* OpenRoutineLogo(ScreenHost* host, double ratio, const char* instead);

// Puts the shape at the position (its transform's translation).
void PlaceShape(C3DPObject& shape, const FixedVector& position);
