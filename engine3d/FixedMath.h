// 16.16 fixed-point numbers, tenth-of-a-degree angles and the affine transforms of the 3D engine.
//
// Everything the engine moves, turns, lights and projects per frame is held here: integer only,
// with 64-bit intermediate products and a cosine table instead of run-time trigonometry.
//
// Coordinates: the camera sits at the origin looking along negative z (visible points have
// negative z, z grows toward the viewer); camera x grows to the right, camera y toward the bottom
// of the shown picture (raster rows are stored bottom-up). A positive turn about z takes x toward
// y.
#pragma once

#include <cstdint>

// A signed number with 16 fraction bits: 65536 is 1.0.
typedef int32_t Fixed;

constexpr Fixed kFixedOne = 65536;

// Angles are whole tenths of a degree; any value is accepted and reduced into 0..3599.
constexpr int32_t kFullTurn = 3600;

struct FixedVector {
  Fixed x;
  Fixed y;
  Fixed z;
};

// An affine transform: three rows of (rotation/scale x3, translation). Applying it to p gives
// row . (p, 1) for each row; there is no fourth row.
struct FixedMatrix {
  Fixed m[3][4];
};

// round(65536 * cos(i / 10 degrees)) for i = 0..900: a quarter turn.
extern const int32_t CosineTable[901];

// (a * b + 0.5) in 64 bits, floored: halves round up (toward positive). Wraps silently when the
// result does not fit 32 bits.
inline Fixed FixedMul(Fixed a, Fixed b) {
  const int64_t product = static_cast<int64_t>(a) * b + 32768;
  return static_cast<Fixed>(product >> 16);
}

// a / b, truncated toward zero. A zero divisor or a quotient outside the 32-bit range gives the
// nearest representable value (a zero divisor: the sign of a, 0 for 0) instead of a divide fault.
inline Fixed FixedDiv(Fixed a, Fixed b) {
  const int64_t dividend = static_cast<int64_t>(a) * 65536;
  if (b == 0) {
    return a > 0 ? INT32_MAX : (a < 0 ? INT32_MIN : 0);
  }
  const int64_t quotient = dividend / b;
  if (quotient > INT32_MAX) return INT32_MAX;
  if (quotient < INT32_MIN) return INT32_MIN;
  return static_cast<Fixed>(quotient);
}

// Sums and differences of Fixed values wrap like the products they add up, instead of being
// undefined; scenes of screen size never come near the limits.
inline Fixed WrapAdd(Fixed a, Fixed b) {
  return static_cast<Fixed>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline Fixed WrapSub(Fixed a, Fixed b) {
  return static_cast<Fixed>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// The angle reduced into 0..3599 (negative values too; 64-bit so INT32_MIN reduces correctly).
int32_t ReduceAngle(int32_t angle);

// Cosine and sine of an angle in tenths of a degree. Quadrant angles are exact.
void FixedCosSin(int32_t angle, Fixed& cosOut, Fixed& sinOut);

// The identity rotation with the given translation.
FixedMatrix FixedTranslation(Fixed x, Fixed y, Fixed z);
inline FixedMatrix FixedIdentity() { return FixedTranslation(0, 0, 0); }

// Turn the rotation part about one axis in place (multiplied from the left); the translation
// column is left alone.
void RotateMatrixX(FixedMatrix& matrix, int32_t angle);
void RotateMatrixY(FixedMatrix& matrix, int32_t angle);
void RotateMatrixZ(FixedMatrix& matrix, int32_t angle);

// out = matrix applied to the point. `out` may be the same object as `in`.
inline void TransformPoint(const FixedMatrix& matrix, const FixedVector& in, FixedVector& out) {
  const FixedVector p = in;
  Fixed* const result[3] = {&out.x, &out.y, &out.z};
  for (int i = 0; i < 3; ++i) {
    const Fixed* row = matrix.m[i];
    *result[i] = WrapAdd(WrapAdd(FixedMul(row[0], p.x), FixedMul(row[1], p.y)),
                         WrapAdd(FixedMul(row[2], p.z), row[3]));
  }
}

// out = a . b: apply b first, then a. `out` must not be either input.
void ComposeTransforms(const FixedMatrix& a, const FixedMatrix& b, FixedMatrix& out);
