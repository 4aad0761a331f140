// C3DPObject: timed motions from a start pose to an end pose, and their frame-by-frame run.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine3d/PolyObject.h"
#include "engine3d/SceneState.h"

namespace {

// 4.9 in Fixed, truncated: the fall of gravity per second squared, halved.
constexpr Fixed kHalfGravity = -321125;

// A double truncated toward zero into int32, held to the representable range.
int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= -2147483648.0) return INT32_MIN;
  if (value >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(value);
}

// Identity with translation p, then turned about x, y and z by the non-zero angles.
FixedMatrix PoseMatrix(const FixedVector& p, const int32_t angles[3]) {
  FixedMatrix m = FixedTranslation(p.x, p.y, p.z);
  if (angles[0] != 0) RotateMatrixX(m, angles[0]);
  if (angles[1] != 0) RotateMatrixY(m, angles[1]);
  if (angles[2] != 0) RotateMatrixZ(m, angles[2]);
  return m;
}

// The turn reached after t seconds (Fixed) at `spin` tenths of a degree per second: t * spin
// rounded down to whole tenths (64 bits: no overflow at any spin).
int64_t TurnedBy(Fixed t, int32_t spin) {
  const int64_t turned = static_cast<int64_t>(t) * spin;
  return turned >= 0 ? turned / 65536 : -((-turned + 65535) / 65536);
}

// An angle as it is, or reduced to one turn when it does not fit 32 bits (the same rotation).
int32_t AngleToInt32(int64_t angle) {
  if (angle >= INT32_MIN && angle <= INT32_MAX) return static_cast<int32_t>(angle);
  return static_cast<int32_t>(angle % kFullTurn);
}

}  // namespace

void C3DPObject::SetMotion(const FixedVector& startPosition, const int32_t newStartAngles[3],
                           const FixedVector& endPosition, const int32_t newEndAngles[3],
                           double seconds, int32_t gravityOn) {
  // Copied first: callers pass this object's own fields (the end of the last motion).
  const FixedVector from = startPosition, to = endPosition;
  const int32_t angles0[3] = {newStartAngles[0], newStartAngles[1], newStartAngles[2]};
  const int32_t angles1[3] = {newEndAngles[0], newEndAngles[1], newEndAngles[2]};
  startPos = from;
  endPos = to;
  for (int i = 0; i < 3; ++i) {
    startAngles[i] = angles0[i];
    endAngles[i] = angles1[i];
  }
  gravity = gravityOn;
  moving = 1;
  pivotMode = 0;
  dirty = 1;
  matrix = startMatrix = PoseMatrix(startPos, startAngles);
  endMatrix = PoseMatrix(endPos, endAngles);

  const double T = seconds;
  if (!(T > 0.0)) {
    // No time to travel: stand still and land on the end pose at the first frame that passes.
    velocity = FixedVector{0, 0, 0};
    spin[0] = spin[1] = spin[2] = 0;
    motionTotal = motionLeft = 0;
    return;
  }
  const Fixed start[3] = {startPos.x, startPos.y, startPos.z};
  const Fixed end[3] = {endPos.x, endPos.y, endPos.z};
  Fixed* const v[3] = {&velocity.x, &velocity.y, &velocity.z};
  for (int i = 0; i < 3; ++i) {
    double distance = (static_cast<double>(end[i]) - start[i]) / 65536.0;
    // Under gravity the z velocity also carries the fall back, so the end position is reached.
    if (i == 2 && gravity != 0) distance += 4.9 * T * T;
    *v[i] = TruncateToInt32(distance / T * 65536.0 + 0.5);
    spin[i] = TruncateToInt32((static_cast<double>(endAngles[i]) - startAngles[i]) / T);
  }
  motionTotal = motionLeft = TruncateToInt32(T * 1000.0);
}

void C3DPObject::Move() {
  const uint32_t tick = scene != nullptr ? scene->tick : lastTick;
  const int32_t speed = scene != nullptr ? scene->speed : 1;
  // Elapsed time in 64 bits: in 32 bits the Fixed seconds overflow after 32.767 s.
  const int64_t dt = static_cast<int64_t>(static_cast<uint32_t>(tick - lastTick)) * speed;
  lastTick = tick;
  const int64_t elapsedMs = static_cast<int64_t>(motionTotal) - motionLeft;
  const int64_t tWide = elapsedMs * 65536 / 1000;
  const Fixed t =
      static_cast<Fixed>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(tWide, INT32_MAX)));
  if (!moving) return;

  if (motionLeft >= 0) {
    const int64_t left = motionLeft - dt;
    motionLeft = static_cast<int32_t>(std::max<int64_t>(left, INT32_MIN));
    // A motion of no time ends at the first step, whether or not the tick has moved: a coarse
    // tick would otherwise hold it (and a routine waiting for it) for a whole tick period.
    if (left < 0 || motionTotal == 0) {
      // The motion is over: land exactly on the end pose.
      moving = pivotMode = gravity = 0;
      motionTotal = motionLeft = 0;
      spin[0] = spin[1] = spin[2] = 0;
      velocity = FixedVector{0, 0, 0};
      matrix = endMatrix;
      dirty = 1;
      return;
    }
  }

  Fixed z = WrapAdd(FixedMul(velocity.z, t), startPos.z);
  if (gravity != 0) z = WrapAdd(z, FixedMul(kHalfGravity, FixedMul(t, t)));
  const FixedVector position{WrapAdd(FixedMul(velocity.x, t), startPos.x),
                             WrapAdd(FixedMul(velocity.y, t), startPos.y), z};
  if (pivotMode == 0) {
    int32_t angles[3];
    for (int i = 0; i < 3; ++i) angles[i] = AngleToInt32(TurnedBy(t, spin[i]) + startAngles[i]);
    matrix = PoseMatrix(position, angles);
  } else {
    FixedMatrix turn = FixedIdentity();
    void (*const rotate[3])(FixedMatrix&, int32_t) = {RotateMatrixX, RotateMatrixY, RotateMatrixZ};
    for (int i = 0; i < 3; ++i) {
      if (spin[i] == 0) continue;
      pivotAngles[i] = AngleToInt32(TurnedBy(t, spin[i]));
      rotate[i](turn, pivotAngles[i]);
    }
    FixedMatrix start = startMatrix;
    start.m[0][3] = position.x;
    start.m[1][3] = position.y;
    start.m[2][3] = position.z;
    FixedMatrix inTurned, pivot;
    ComposeTransforms(pivotIn, turn, inTurned);
    ComposeTransforms(inTurned, pivotOut, pivot);
    ComposeTransforms(start, pivot, matrix);
  }
  dirty = 1;
}
