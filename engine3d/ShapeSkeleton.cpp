// The shapes' build routine and the steps of their animation skeleton.
#include "engine3d/ShapeSkeleton.h"

#include <algorithm>

#include "engine3d/SceneState.h"
#include "imaging/ScreenHost.h"
#include "seams/Random.h"

Fixed ShapeConstant(double x) { return SaturateToInt32(x * 65536.0 + 0.5); }

FixedVector ShapePoint(double x, double y, double z) {
  return FixedVector{ShapeConstant(x), ShapeConstant(y), ShapeConstant(z)};
}

int BuildShape(C3DPObject& obj, const ShapeTable& table, const FixedVector* points,
               const FixedVector& start, bool bounding) {
  obj.dirty = 1;
  obj.ResetBox();
  obj.oldBox = obj.box;
  obj.matrix = FixedTranslation(start.x, start.y, start.z);
  obj.startPos = obj.endPos = start;
  const FixedVector* used = points != nullptr ? points : table.points.data();
  const int32_t faceCount = static_cast<int32_t>(table.faces.size());
  if (!obj.SetGeometry(used, static_cast<int32_t>(table.points.size()), table.vertexCount,
                       faceCount)) {
    return 0;
  }
  for (int32_t k = 0; k < faceCount; ++k) {
    const std::vector<int32_t>& list = table.faces[static_cast<size_t>(k)];
    if (!obj.SetFace(k, list.data(), static_cast<int32_t>(list.size()) - 1, 0,
                     kFaceAmbient | kFaceSpotLit)) {
      return 0;
    }
  }
  if (bounding) {
    Fixed largest = 0;
    for (int32_t i = 0; i < table.vertexCount; ++i) {
      const FixedVector& p = used[i];
      largest = std::max(
          largest, WrapAdd(WrapAdd(FixedMul(p.x, p.x), FixedMul(p.y, p.y)), FixedMul(p.z, p.z)));
    }
    obj.radiusSq = largest;
  }
  return 1;
}

namespace shape_anim {

bool Odd() { return (seams::Rand() & 1) != 0; }

void Grab(C3DPObject& obj, int32_t face) {
  ScreenHost* host = obj.scene != nullptr ? obj.scene->host : nullptr;
  if (host == nullptr) return;
  obj.CaptureFaceTexture(face, host->GetBackground(), obj.animInts[3], obj.animColour);
}

void Roll(C3DPObject& obj, int32_t face, int32_t a, int32_t b) {
  obj.TurnAboutEdge(face, a, b, obj.animReal);
}

void RollOnto(C3DPObject& obj, int32_t from, int32_t to) {
  if (from < 0 || to < 0 || from >= obj.faceCount || to >= obj.faceCount) return;
  const C3DFace& f = obj.faces[from];
  const C3DFace& g = obj.faces[to];
  int32_t shared[2] = {-1, -1};
  int found = 0;
  for (int32_t i = 1; i <= f.n && found < 2; ++i) {
    for (int32_t j = 1; j <= g.n; ++j) {
      if (f.indices[i] == g.indices[j]) {
        shared[found++] = f.indices[i];
        break;
      }
    }
  }
  if (found == 2) Roll(obj, from, shared[0], shared[1]);
}

namespace {

// Speed magnitude L + rand() % (H - L) whole units, its sign from an earlier draw; just L when
// the range is empty.
Fixed LaunchSpeed(int32_t low, int32_t high) {
  const bool positive = Odd();
  const int64_t range = int64_t{high} - low;
  const int64_t units = range > 0 ? low + seams::Rand() % range : low;
  const int64_t speed = std::clamp<int64_t>(units * 65536, INT32_MIN + 1, INT32_MAX);
  return static_cast<Fixed>(positive ? speed : -speed);
}

}  // namespace

void Launch(C3DPObject& obj, const FlightSettings& flight) {
  FixedVector position;
  int32_t angles[3];
  ReadBackPose(obj.matrix, position, angles);
  FixedVector velocity;
  velocity.x = LaunchSpeed(obj.animInts[1], obj.animInts[2]);
  velocity.y = LaunchSpeed(obj.animInts[1], obj.animInts[2]);
  velocity.z = LaunchSpeed(obj.animInts[1], obj.animInts[2]);
  obj.animInts[0] = -1;
  FixedVector endPosition, nextVelocity;
  int32_t endAngles[3];
  obj.FlyToWall(obj.boundingPlanes, obj.animInts[0], position, angles, velocity, flight,
                endPosition, endAngles, nextVelocity);
}

int32_t Fly(C3DPObject& obj, const FlightSettings& flight) {
  FixedVector endPosition, nextVelocity;
  int32_t endAngles[3];
  return obj.FlyToWall(obj.boundingPlanes, obj.animInts[0], obj.endPos, obj.endAngles,
                       obj.nextVelocity, flight, endPosition, endAngles, nextVelocity);
}

void Home(C3DPObject& obj, const ShapeAnimation& anim, const FlightSettings& flight) {
  const FixedVector p = obj.endPos;
  const int32_t pa[3] = {obj.endAngles[0], obj.endAngles[1], obj.endAngles[2]};
  Fly(obj, flight);
  const FixedVector q = obj.endPos;
  const double mid[3] = {(p.x / 65536.0 + q.x / 65536.0) * 32768.0 + 0.5,
                         (p.y / 65536.0 + q.y / 65536.0) * 32768.0 + 0.5,
                         (p.z / 65536.0 + q.z / 65536.0) * 32768.0 + 0.5};
  const FixedVector end{SaturateToInt32(mid[0]), SaturateToInt32(mid[1]), SaturateToInt32(mid[2])};
  int32_t angles[3] = {obj.endAngles[0], obj.endAngles[1], obj.endAngles[2]};
  if (anim.homingPose != nullptr) {
    // Whole turns of the flight, then the fixed resting pose.
    Matrix4 m;
    PoseToMatrix(*anim.homingPose, m);
    PoseAngles rest;
    RotationToAngles(m, rest);
    for (int i = 0; i < 3; ++i) {
      angles[i] = SaturateToInt32(int64_t{angles[i]} - angles[i] % kFullTurn +
                                  rest.angle[i] * kTenthsPerRadian);
    }
  } else {
    angles[0] =
        SaturateToInt32(static_cast<double>(angles[0]) - angles[0] % kFullTurn + anim.homingTurn);
    angles[1] = SaturateToInt32(static_cast<double>(angles[1]) - angles[1] % kFullTurn + kFullTurn);
  }
  obj.SetMotion(p, pa, end, angles, obj.motionTotal * 0.0005, 0);
}

}  // namespace shape_anim
