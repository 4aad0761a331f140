// C3DObject: what every object of a 3D scene carries. The scene keeps its objects in a doubly
// linked list ordered far to near, through the objects' own links; each object has its depth key,
// the screen boxes of this and the previous frame, its motion clock and the parameters of its face
// animation. The drawing itself is the polyhedron's (C3DPObject); here the operations do nothing.
#pragma once

#include <cstdint>

#include "engine3d/FixedMath.h"
#include "framework/Object.h"
#include "framework/WinTypes.h"

struct SceneState;

// The six walls of a routine's box: four rows of six doubles, column i holding plane i's a, b, c
// and d.
struct BoundingPlanes {
  double m[4][6];
};

// Screen box of nothing drawn yet: any corner extends it.
constexpr int32_t kEmptyBoxLow = 32767;

class C3DObject : public CObject {
  DECLARE_DYNCREATE(C3DObject)
 public:
  C3DObject();
  ~C3DObject() override;
  C3DObject(const C3DObject&) = delete;
  C3DObject& operator=(const C3DObject&) = delete;

  // Draws the object's faces into the raster target.
  virtual void Draw() {}
  // Advances the motion to the scene's tick.
  virtual void Move() {}
  // Transforms and projects the object for drawing.
  virtual void Transform() {}
  // One step of the face animation; shapes override it. The result is not used.
  virtual int32_t AnimateStep() { return 0; }
  virtual int32_t Query(int32_t) { return 0; }
  virtual void EnableAnimation() { animEnabled = 1; }
  virtual void DisableAnimation() { animEnabled = 0; }
  // Turning states of the face animation; shapes override it.
  virtual int32_t GetAnimationStateCount() { return 0; }
  virtual int32_t GetStateOffset() { return stateOffset; }
  virtual void SetStateOffset(int32_t n) { stateOffset = n; }
  virtual void SetAnimationState(int32_t n) { animState = n; }

  // Stores what the routines give before they enable a shape's face animation; the planes are
  // copied (none: left as they are).
  void SetAnimationParams(int32_t state, const BoundingPlanes* planes, const int32_t ints[4],
                          uint32_t colour, double real);

  // Resets the box of this frame so that the first corner drawn sets it.
  void ResetBox();

  C3DObject* next = nullptr;
  C3DObject* prev = nullptr;
  // The origin in camera coordinates, refreshed by Transform; origin.z is the depth key.
  FixedVector origin = {0, 0, 0};
  // 1 when the object moved and must be transformed again before drawing.
  int32_t dirty = 0;
  // Faces drawn this frame and the previous one, in raster rows (counted from the bottom).
  RECT box = {0, 0, 0, 0};
  RECT oldBox = {0, 0, 0, 0};
  const SceneState* scene = nullptr;
  // Scene tick at the last Move.
  uint32_t lastTick = 0;
  // Length of the current motion and what is left of it, in milliseconds; a negative motionLeft
  // means the motion has no end.
  int32_t motionTotal = 0;
  int32_t motionLeft = 0;
  int32_t moving = 0;
  // Fixed drawing layer (0 or more), or -1 to be ordered by depth.
  int32_t layer = -1;
  int32_t animState = 0;
  BoundingPlanes boundingPlanes = {};
  int32_t animInts[4] = {0, 0, 0, 0};
  uint32_t animColour = 0;
  double animReal = 0.0;
  // Squared radius of the bounding sphere about the origin.
  Fixed radiusSq = 0;
  int32_t animEnabled = 0;
  int32_t stateOffset = 0;
};
