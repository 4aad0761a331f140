// Double-precision helpers for the routines and shapes that work out orientations in radians,
// and the 2D line intersection used by the caption bounce.
#pragma once

#include <cstdint>

#include "engine3d/FixedMath.h"

// 4 x 4, row-major (row r, column c at r * 4 + c); translation in column 3 of rows 0..2.
struct Matrix4 {
  double m[16];
};

// Turns about x, y and z in radians, then the offsets x, y, z.
struct PoseAngles {
  double angle[3];
  double offset[3];
};

// out (rows x columns) = a (rows x inner) . b (inner x columns), row-major arrays; each element is
// summed from 0.0 over k in ascending order. `out` must not overlap the inputs.
void MultiplyMatrices(const double* a, const double* b, double* out, int rows, int inner,
                      int columns);

// Inverse of a rotation-plus-translation (no scale): transposed rotation, t' = -(R^T t).
void InvertRigidTransform(const Matrix4& m, Matrix4& out);

// T(offsets) . Rx . Ry . Rz.
void PoseToMatrix(const PoseAngles& pose, Matrix4& out);

// Reads the rotation as Rz(psi) . Ry(theta) . Rx(phi). Near the poles (|theta| > 1.569) the turn
// about z is folded into the turn about x and psi is 0.
void RotationToAngles(const Matrix4& m, PoseAngles& out);

// Where the line through (x1, y1) and (x3, y3) crosses the line through (x2, y2) and (x4, y4);
// the lines are unbounded. Returns 1 with the point truncated toward zero (and held to the 32-bit
// range), or 0 with the outputs untouched when the lines are parallel or a coordinate lies
// beyond +/-2^30.
int IntersectSegments2D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                        int32_t x4, int32_t y4, int32_t& outX, int32_t& outY);

// 572.9578049044296: radians to tenths of a degree (1800 / pi).
constexpr double kTenthsPerRadian = 572.9578049044296;

// The Fixed transform as doubles (each entry / 65536), bottom row 0, 0, 0, 1.
Matrix4 FixedToMatrix4(const FixedMatrix& m);
// The double transform as Fixed: each entry * 65536 + 0.5 truncated toward zero, held to the
// 32-bit range.
FixedMatrix Matrix4ToFixed(const Matrix4& m);

// A double truncated toward zero into int32, held to the representable range (NaN gives 0).
int32_t SaturateToInt32(double value);

// Reads a pose back from an object transform, as the shapes and routines restart motions from
// it: the angles of RotationToAngles in tenths of a degree (radians * 1800 / pi, truncated) and
// the offsets as Fixed (* 65536 + 0.5, truncated).
void ReadBackPose(const FixedMatrix& m, FixedVector& position, int32_t angles[3]);
