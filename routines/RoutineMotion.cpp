#include "routines/RoutineMotion.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "engine3d/PolyObject.h"
#include "engine3d/PoseMath.h"
#include "imaging/AnimDoc.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/HostServices.h"
#include "imaging/ScreenHost.h"
#include "routines/RoutineFrame.h"
#include "seams/Random.h"
#include "seams/Trace.h"

namespace {

// 1/99 as the settings' scale has always used it.
constexpr double kOneNinetyNinth = 0.010101010101010102;

CDIB* OpenLogo(ScreenHost* host, double ratio) {
  HostServices* services = ServicesOf(host);
  if (services == nullptr) return nullptr;
  std::unique_ptr<CDIB> logo(new (std::nothrow) CDIB);
  if (!logo) return nullptr;
  try {
    if (!services->OpenRandomLogoFile(ratio, logo.get())) return nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return logo.release();
}

}  // namespace

double RoutineShapeSize(int width, int height, double lo, double hi, int res) {
  const double size = lo + (hi - lo) * (100 - ClampRoutinePercent(res)) * kOneNinetyNinth;
  const double most = std::max(2, std::min(width, height) / 2 - 2);
  return std::clamp(size, 2.0, most);
}

RoutineTravel RoutineTravelFor(double x, double r, int width, int height) {
  RoutineTravel t;
  t.x = x;
  t.y = x * (height / 2 - r) / (width / 2 - r);
  t.d = 0.04 * std::sqrt((x + 10) * (x + 10) + t.y * t.y + x * x);
  return t;
}

RoutineTravel RoutineTravelOf(const C3DObject& shape, double size, bool halfDiagonal, int width,
                              int height) {
  const double r = size / 2;
  const double rho = std::sqrt(shape.radiusSq / 65536.0);
  const double q = halfDiagonal ? std::sqrt(3 * r * r) : r;
  return RoutineTravelFor(2 * rho * (width / 2 - r) / q, r, width, height);
}

CDIB* StartBouncingRoutine(CRoutineFrame& frame, int clockOn, const RECT* area) {
  ScreenHost* host = frame.host();
  CDIB* background = host != nullptr ? host->GetBackground() : nullptr;
  if (!frame.StartSceneAndClock(1, clockOn) || background == nullptr || area == nullptr)
    return nullptr;
  return background;
}

int32_t RoutinePace(double d, int speed) {
  // A stored Speed past 100 would give a pace of 0 or less: shapes that never reach a wall.
  return SaturateToInt32(d + (25 * d - d) * (100 - ClampRoutinePercent(speed)) * kOneNinetyNinth);
}

RoutineTrack RoutineTrackOf(const C3DObject& shape, double size, bool halfDiagonal, int width,
                            int height, int speed) {
  const RoutineTravel travel = RoutineTravelOf(shape, size, halfDiagonal, width, height);
  RoutineTrack t;
  t.x = travel.x;
  t.y = travel.y;
  t.xi = SaturateToInt32(t.x);
  t.pace = RoutinePace(travel.d, speed);
  return t;
}

BoundingPlanes RoutineWallPlanes(double x, double y, int32_t z) {
  const double rows[6][4] = {{-1, 0, 0, x / 2}, {1, 0, 0, x / 2},      {0, -1, 0, y / 2},
                             {0, 1, 0, y / 2},  {0, 0, 1, x + 10 - z}, {0, 0, -1, z + 10.0}};
  BoundingPlanes planes = {};
  for (int i = 0; i < 6; ++i)
    for (int r = 0; r < 4; ++r) planes.m[r][i] = rows[i][r];
  return planes;
}

uint32_t RoutineAnimationColour() { return static_cast<uint32_t>(seams::Rand() % 255 / 4); }

void RoutineAnimationInts(int32_t pace, int32_t captureMode, int32_t out[4]) {
  out[0] = -1;
  out[1] = pace;
  out[2] = pace + 10;
  out[3] = captureMode;
}

void FlyFromPoseTo(C3DPObject& shape, const FixedVector& position, double seconds) {
  FixedVector from;
  int32_t angles[3];
  ReadBackPose(shape.matrix, from, angles);
  int32_t to[3];
  for (int i = 0; i < 3; ++i) to[i] = angles[i] + 3600;
  shape.SetMotion(from, angles, position, to, seconds, 0);
}

FixedVector RoutinePoint(int32_t x, int32_t y, int32_t z) {
  auto fixed = [](int32_t v) { return SaturateToInt32(v * 65536.0); };
  return FixedVector{fixed(x), fixed(y), fixed(z)};
}

void EraseShapes(ScreenHost* host, C3DObject* const* shapes, int count) {
  CDIBSurface* surface = host != nullptr ? host->GetSurface() : nullptr;
  if (surface == nullptr) return;
  const LONG height = surface->GetHeight();
  for (int i = 0; i < count; ++i) {
    if (shapes[i] == nullptr) continue;
    // Boxes count raster rows from the bottom; the screen's rows count from the top.
    const RECT& box = shapes[i]->box;
    const CRect drawn(box.left, height - box.bottom, box.right, height - box.top);
    const CRect screen(0, 0, surface->GetWidth(), height);
    CRect rect;
    if (!rect.IntersectRect(&drawn, &screen)) continue;
    host->RenderRect(&rect);
    host->ShowRect(&rect);
  }
}

CDIB* OpenRoutineLogo(ScreenHost* host, double ratio, const char* instead) {
  CDIB* logo = OpenLogo(host, ratio);
  if (logo == nullptr) {
    seams::Trace::Printf("No logo of aspect ratio %.2f in the image set: %s\n", ratio, instead);
  }
  return logo;
}

void PlaceShape(C3DPObject& shape, const FixedVector& position) {
  shape.matrix.m[0][3] = position.x;
  shape.matrix.m[1][3] = position.y;
  shape.matrix.m[2][3] = position.z;
  shape.dirty = 1;
}

bool CollisionGate::Answer(const C3DObject* a, const C3DObject* b) {
  const bool lastPair = (a == last_[0] && b == last_[1]) || (a == last_[1] && b == last_[0]);
  if (!fresh_ && (!otherPairsPass_ || lastPair)) return false;
  fresh_ = false;
  last_[0] = a;
  last_[1] = b;
  return true;
}
