// C3DScene: the four runners. Each runs whole frames back to back, timed by the clock seam, and
// returns when its condition is met; a stop request raised by the saver ends every one of them
// between two frames.
#include <chrono>
#include <cmath>
#include <cstdint>

#include "engine3d/PolyObject.h"
#include "engine3d/Scene.h"
#include "seams/Clock.h"

namespace {

// The tick `seconds` after `tick`. Times beyond what the tick counter can order (about 24 days)
// are held there, so the deadline still lies ahead; a negative or undefined time is no time.
uint32_t DeadlineAfter(uint32_t tick, double seconds) {
  const double ms = seconds * 1000.0;
  if (!(ms > 0.0)) return tick;
  const double limit = static_cast<double>(INT32_MAX);
  return tick + static_cast<uint32_t>(ms < limit ? ms : limit);
}

// Whether the bounding spheres overlap: the sum of the squared radii (not the square of the
// summed radii) against the squared distance between the origins, in pixels. Spheres that only
// touch do not count.
bool SpheresOverlap(const C3DObject& a, const C3DObject& b) {
  const double dx = (static_cast<double>(a.origin.x) - b.origin.x) / 65536.0;
  const double dy = (static_cast<double>(a.origin.y) - b.origin.y) / 65536.0;
  const double dz = (static_cast<double>(a.origin.z) - b.origin.z) / 65536.0;
  const double r = (static_cast<double>(a.radiusSq) + b.radiusSq) / 65536.0;
  return r > dx * dx + dy * dy + dz * dz;
}

// Whether a vertex of a lies inside b's hull; objects without geometry never meet.
bool HullsMeet(const C3DObject& a, const C3DObject& b) {
  if (!a.IsKindOf(RUNTIME_CLASS(C3DPObject)) || !b.IsKindOf(RUNTIME_CLASS(C3DPObject)))
    return false;
  return static_cast<const C3DPObject&>(a).Collides(static_cast<const C3DPObject&>(b)) == 1;
}

// Adds the time since the last lap to one part of the profile; does nothing without a profile.
class FramePartTimer {
 public:
  explicit FramePartTimer(SceneFrameProfile* profile) : profile_(profile) {
    if (profile_) last_ = std::chrono::steady_clock::now();
  }
  void Lap(double SceneFrameProfile::*part) {
    if (!profile_) return;
    const auto now = std::chrono::steady_clock::now();
    profile_->*part += std::chrono::duration<double>(now - last_).count();
    last_ = now;
  }

 private:
  SceneFrameProfile* profile_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace

SceneFrameProfile* C3DScene::frameProfile = nullptr;

void C3DScene::FrameStep(int draw) {
  FramePartTimer timer(draw ? frameProfile : nullptr);
  if (draw) {
    EraseObjects();
    RedrawClockOverlap();
    timer.Lap(&SceneFrameProfile::erase);
  }
  MoveObjects();
  if (!draw) return;
  timer.Lap(&SceneFrameProfile::move);
  TransformObjects();
  timer.Lap(&SceneFrameProfile::transform);
  DrawObjects();
  timer.Lap(&SceneFrameProfile::draw);
  BlitObjects();
  timer.Lap(&SceneFrameProfile::blit);
  if (frameProfile) ++frameProfile->frames;
}

void C3DScene::NextFrameTick() {
  // A frame at an unchanged tick would draw every object where it already is: wait for the
  // clock instead (its idle sleeps), so a runner never spins redrawing the same picture.
  const uint32_t last = state.tick;
  Tick();
  while (state.tick == last && !seams::StopRequested()) {
    seams::Idle();
    state.tick = seams::TickCount();
  }
}

int32_t C3DScene::CollectStopped(C3DObject** out) const {
  int32_t n = 0;
  for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) {
    if (obj->moving != 0) continue;
    if (out != nullptr) out[n] = obj;
    ++n;
  }
  return n;
}

bool C3DScene::AnyMoving() const {
  for (const C3DObject* obj = head.next; obj != &tail; obj = obj->next) {
    if (obj->moving != 0) return true;
  }
  return false;
}

bool C3DScene::FindCollision(int exact, C3DObject*& first, C3DObject*& second) const {
  for (C3DObject* a = head.next; a != &tail; a = a->next) {
    for (C3DObject* b = a->next; b != &tail; b = b->next) {
      if (!SpheresOverlap(*a, *b)) continue;
      if (exact && !HullsMeet(*a, *b)) continue;
      first = a;
      second = b;
      return true;
    }
  }
  return false;
}

int C3DScene::RunForSeconds(double seconds, int draw, C3DObject** out, int32_t* outCount) {
  Tick();
  const uint32_t end = DeadlineAfter(state.tick, seconds);
  DepthSort();
  for (;;) {
    if (!seams::TickBefore(state.tick, end)) return kSceneTimeUp;
    if (seams::StopRequested()) return kSceneInterrupted;
    FrameStep(draw);
    const int32_t stopped = CollectStopped(out);
    if (stopped > 0) {
      if (outCount != nullptr) *outCount = stopped;
      return kSceneObjectsStopped;
    }
    NextFrameTick();
  }
}

void C3DScene::RunUntilAllStopped(int draw) {
  do {
    if (seams::StopRequested()) return;
    NextFrameTick();
    FrameStep(draw);
  } while (AnyMoving());
}

C3DObject* C3DScene::RunUntilOneStops(int draw) {
  DepthSort();
  // Nothing in the scene can ever stop.
  if (count == 0) return nullptr;
  for (;;) {
    if (seams::StopRequested()) return nullptr;
    NextFrameTick();
    FrameStep(draw);
    for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) {
      if (obj->moving == 0) return obj;
    }
  }
}

int C3DScene::RunWithCollisions(int exact, C3DObject** out, int32_t* outCount) {
  // Nothing in the scene can ever stop or collide.
  if (count == 0) return kSceneInterrupted;
  for (;;) {
    if (seams::StopRequested()) return kSceneInterrupted;
    NextFrameTick();
    EraseObjects();
    RedrawClockOverlap();
    MoveObjects();
    DepthSort();
    DrawObjects();
    BlitObjects();
    const int32_t stopped = CollectStopped(out);
    if (stopped > 0) {
      if (outCount != nullptr) *outCount = stopped;
      return kSceneObjectsStopped;
    }
    C3DObject* first = nullptr;
    C3DObject* second = nullptr;
    if (FindCollision(exact, first, second)) {
      if (out != nullptr) {
        out[0] = first;
        out[1] = second;
      }
      return kSceneCollision;
    }
  }
}
