// What every shape class of the 3D engine shares: the build from a point and face table, and the
// skeleton of the face animations (turning states, launch, flight, homing).
//
// A shape's point table holds its V vertices, then one normal tip per face (the face's first
// corner plus its outward unit normal); each face lists its tip, then its corners clockwise as
// seen from outside. Faces are built lit (ambient and spot lights) in white.
#pragma once

#include <cstdint>
#include <vector>

#include "engine3d/Animation.h"
#include "engine3d/PolyObject.h"

// A shape's geometry, shared by every object of the class (a few classes copy the points).
struct ShapeTable {
  std::vector<FixedVector> points;
  // Per face: the tip index, then the corners.
  std::vector<std::vector<int32_t>> faces;
  // Leading points that are drawn and that the bounding value is taken over.
  int32_t vertexCount = 0;
};

// x * 65536 + 0.5 truncated toward zero, the engine's rule for its constants (-30 is -1966079).
Fixed ShapeConstant(double x);
FixedVector ShapePoint(double x, double y, double z);

// The build routine: marks the object dirty with empty boxes, puts it at `start`, takes the
// table's points (`points`, when given, instead of the table's own: a copy the object keeps) and
// faces, and with `bounding` sets the bounding value over the first V points. Returns 0 when an
// allocation failed (the object then has no geometry).
int BuildShape(C3DPObject& obj, const ShapeTable& table, const FixedVector* points,
               const FixedVector& start, bool bounding);

// The constants of a shape's face animation.
struct ShapeAnimation {
  int32_t turningStates;  // N while animation is enabled
  int32_t homingTurn;     // added to the whole turns about x when homing
  // Steps 1 and 2 of the skeleton: a disabled shape in a turning state launches at once, and at
  // the homing state keeps flying. Cylinders decide that in their own turns.
  bool disabledSkipsTurning = true;
  // The homing step's end angles come from this pose instead of the homing turns (balls).
  const PoseAngles* homingPose = nullptr;
};

// One step of the skeleton. `turn` performs turning state s and returns the next state; the
// flight steps pass `flight` to FlyToWall. Returns the flight's time in flight steps, else 0.
template <typename Turn>
int32_t RunShapeAnimation(C3DPObject& obj, const ShapeAnimation& anim, const FlightSettings& flight,
                          Turn turn);

namespace shape_anim {
// One rand() draw: true when odd.
bool Odd();
// Captures the picture under the face from the scene's background (capture mode and fill colour
// from the animation parameters); nothing without a scene.
void Grab(C3DPObject& obj, int32_t face);
// Rolls over the edge a-b of the face in the animation's turn time.
void Roll(C3DPObject& obj, int32_t face, int32_t a, int32_t b);
// Rolls from face `from` onto the neighbouring face `to` over the edge they share.
void RollOnto(C3DPObject& obj, int32_t from, int32_t to);
void Launch(C3DPObject& obj, const FlightSettings& flight);
int32_t Fly(C3DPObject& obj, const FlightSettings& flight);
void Home(C3DPObject& obj, const ShapeAnimation& anim, const FlightSettings& flight);
}  // namespace shape_anim

template <typename Turn>
int32_t RunShapeAnimation(C3DPObject& obj, const ShapeAnimation& anim, const FlightSettings& flight,
                          Turn turn) {
  const int32_t n = anim.turningStates;
  const int64_t homing = int64_t{obj.stateOffset} + n;
  if (anim.disabledSkipsTurning && obj.animEnabled == 0) {
    if (obj.animState >= 0 && obj.animState < n) obj.animState = n;
    if (obj.animState == homing) obj.animState = n + 1;
  }
  const int32_t s = obj.animState;
  if (s < 0) return 0;
  if (s < n) {
    obj.animState = turn(s);
    return 0;
  }
  if (s == n) {
    shape_anim::Launch(obj, flight);
    obj.animState = n + 1;
    return obj.motionTotal;
  }
  if (s < homing) {
    const int32_t ms = shape_anim::Fly(obj, flight);
    obj.animState = s + 1;
    return ms;
  }
  shape_anim::Home(obj, anim, flight);
  obj.animState = 0;
  return obj.motionTotal;
}
