// C3DScene: the frame loop of the 3D engine.
//
// A scene keeps the 3D objects of one animation in a doubly linked list ordered far to near
// (through the objects' own links, between two marker objects), holds the ambient light and the
// spot lights, binds the rasteriser to the screen's off-screen surface and runs frames:
//   erase the objects' last boxes from the background, move every object to the frame's tick,
//   sort, transform what moved, draw far to near, and show only the changed rectangles.
// Display routines create one scene, insert their shapes and call a runner that returns when time
// is up, when objects have stopped or when two objects collide.
//
// The scene draws through the screen host: the screen document (and its first view) in the saver,
// a headless host in native tests. Frame times come from the clock seam, so a scene runs frame by
// frame in virtual time under a test clock.
//
// Constructing a scene binds the process-wide raster target and GreyRampBaseIndex to its host;
// they belong to the last scene constructed. The scene does not own its objects (their creators
// remove and delete them) but owns its lights. Drawing thread only.
#pragma once

#include <cstdint>

#include "engine3d/Object3D.h"
#include "engine3d/SceneState.h"
#include "framework/Geometry.h"
#include "framework/Object.h"

class CSpotLight;
class ScreenHost;

// What the runners return.
constexpr int kSceneInterrupted = 0;     // a stop was requested, or nothing could ever happen
constexpr int kSceneObjectsStopped = 1;  // the stopped objects are in the out array
constexpr int kSceneCollision = 2;       // the colliding pair is in the out array
constexpr int kSceneTimeUp = 3;

// Where a measurement collects how long the parts of the drawn frames take, in seconds.
struct SceneFrameProfile {
  double erase = 0, move = 0, transform = 0, draw = 0, blit = 0;
  long frames = 0;
};

// The shortest time between two frames: about a display refresh on a tick counter that steps
// by 10 to 16 ms.
constexpr uint32_t kMinFramePeriodMs = 10;

class C3DScene : public CObject {
 public:
  // Binds to the host and runs SetUp; `ready` tells whether everything could be made.
  explicit C3DScene(ScreenHost* host);
  // Deletes every light. The objects are not touched: their creators remove and delete them, in
  // either order with the scene.
  ~C3DScene() override;
  C3DScene(const C3DScene&) = delete;
  C3DScene& operator=(const C3DScene&) = delete;

  // Binds the raster target and the grey ramp to the host, resets the view, the lights, the
  // markers (an empty list) and the clock. Returns 1, or 0 when the host has no 8-bit surface
  // (fills then draw nothing) or a light could not be made (the scene has fewer lights).
  int SetUp();

  // Copies the light into a new light of this scene, appended to the list. 0 when memory runs out.
  int AddLight(const CSpotLight& light);

  // Inserts obj before the first object whose depth key is not smaller (ties go before existing
  // ones), claims it for this scene and starts its motion clock at the scene's tick. Returns 0,
  // changing nothing, for a null object or one already in this scene's list.
  int InsertObject(C3DObject* obj);
  // Unlinks obj; 1, or 0 (nothing changed) when obj is not in this scene's list.
  int RemoveObject(C3DObject* obj);
  // One stable insertion-sort pass: objects of layer -1 by depth key, objects of a fixed layer by
  // layer. Depth keys are compared only with depth keys and layers only with layers, whatever the
  // kind of the object passed; the markers stop every walk.
  void DepthSort();

  // tick = the clock's milliseconds; frames += 1. From the second frame on it first waits
  // (through the clock seam) until kMinFramePeriodMs have passed since the previous tick.
  void Tick();
  // tick = the clock's milliseconds; frames = 0; the speed factor of Move.
  void StartClock(int32_t newSpeed);

  // The parts of one frame, in the order a frame runs them.
  // Restores every object's last box from the background.
  void EraseObjects();
  // With a clock on the screen: advances it, and composes its sprites again when an object's box
  // covers part of it (the erase restored only the background there).
  void RedrawClockOverlap();
  // Move every object, mark it for transforming, then sort.
  void MoveObjects();
  // Transform what moved (everything after set-up).
  void TransformObjects();
  // Transform what is still to transform, reset the boxes and draw far to near.
  void DrawObjects();
  // Shows the clock when its last drawing is not on the screen, then each object's old and new
  // box (their union when they overlap).
  void BlitObjects();

  // Runs frames for `seconds`: kSceneTimeUp when the time is up (count untouched; 0 seconds runs
  // no frame), or kSceneObjectsStopped as soon as a frame leaves objects with moving = 0, with
  // them in `out` in list order and their number in *count. Without draw the objects only move.
  int RunForSeconds(double seconds, int draw, C3DObject** out, int32_t* count);
  // Runs frames until no object moves (at least one frame).
  void RunUntilAllStopped(int draw);
  // Runs frames until an object has stopped and returns the first such in list order; null for an
  // empty scene.
  C3DObject* RunUntilOneStops(int draw);
  // Runs drawn frames until objects stop (kSceneObjectsStopped, as RunForSeconds) or two objects'
  // bounding spheres overlap (kSceneCollision, the pair in out[0] and out[1], the nearer-to-head
  // first). With `exact` a pair only counts when a vertex of the first lies inside the second's
  // hull. An empty scene returns kSceneInterrupted at once.
  int RunWithCollisions(int exact, C3DObject** out, int32_t* count);
  // Every runner returns kSceneInterrupted (RunUntilOneStops: null) at a stop request.

  // The box of an object (raster rows, counted from the bottom) as a window rectangle.
  CRect WindowRect(const RECT& box) const;

  // 1 after set-up: the next draw pass transforms every object.
  int32_t fullRedraw = 1;
  // Objects in the list.
  int32_t count = 0;
  // The view matrix, ambient light, lights (owned), tick and speed that objects and lights read.
  SceneState state;
  // List markers: head has the smallest depth key and layer -1, tail the largest and layer 101.
  C3DObject head;
  C3DObject tail;
  // Frames run since the clock was started.
  int32_t frames = 0;
  ScreenHost* doc = nullptr;
  // The result of the last SetUp.
  int ready = 0;
  // When set, every drawn frame of every scene adds the time of its parts here (measurements
  // only; drawing thread only).
  static SceneFrameProfile* frameProfile;

 private:
  // Tick for the next frame, idling until the clock has moved past the last frame's tick.
  void NextFrameTick();
  // One frame after its tick: erase and redraw the clock when drawing, move, draw and show.
  void FrameStep(int draw);
  // Points the raster target at the host's surface; 0 when there is no usable 8-bit surface.
  int BindSurface();
  // Rebinds when the host's surface was rebuilt since the last bind (its pixels moved).
  void KeepSurfaceBound();
  // Puts the objects with moving = 0 into out (when given) in list order; their number.
  int32_t CollectStopped(C3DObject** out) const;
  bool AnyMoving() const;
  // The first pair in list order whose bounding spheres overlap (and, with exact, whose hulls
  // meet); false when there is none.
  bool FindCollision(int exact, C3DObject*& first, C3DObject*& second) const;
  void ShowBoxes(C3DObject& obj);
  void DeleteLights();
  // Whether obj is in the list.
  bool Holds(const C3DObject* obj) const;
  void ResetMarkers();
  // Links obj in just before `before`.
  void LinkBefore(C3DObject* obj, C3DObject* before);
  static void Unlink(C3DObject* obj);

  // Surface height at the last bind: maps raster rows to window rows.
  int32_t height_ = 0;
};
