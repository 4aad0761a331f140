// Double-precision pose helpers and the 2D line intersection.
#include "engine3d/PoseMath.h"

#include <cmath>

namespace {

// The gimbal threshold of RotationToAngles, a little short of pi / 2 on purpose.
constexpr double kPoleAngle = 1.569;

// Line points further out than this are refused: every intermediate term then fits 64 bits.
constexpr int32_t kMaxLineCoordinate = 1 << 30;

Matrix4 Identity4() {
  Matrix4 m = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
  return m;
}

// Identity with rows/columns p and q replaced by the turn [[c, -s], [s, c]].
Matrix4 Turn4(int p, int q, double angle) {
  Matrix4 r = Identity4();
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  r.m[p * 4 + p] = c;
  r.m[p * 4 + q] = -s;
  r.m[q * 4 + p] = s;
  r.m[q * 4 + q] = c;
  return r;
}

}  // namespace

int32_t SaturateToInt32(double value) {
  // A cast of an out-of-range double is undefined.
  if (!(value > -2147483649.0)) return value != value ? 0 : INT32_MIN;
  if (!(value < 2147483648.0)) return INT32_MAX;
  return static_cast<int32_t>(value);
}

Matrix4 FixedToMatrix4(const FixedMatrix& m) {
  Matrix4 out = Identity4();
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) out.m[r * 4 + c] = m.m[r][c] / 65536.0;
  return out;
}

FixedMatrix Matrix4ToFixed(const Matrix4& m) {
  FixedMatrix out;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) out.m[r][c] = SaturateToInt32(m.m[r * 4 + c] * 65536.0 + 0.5);
  return out;
}

void ReadBackPose(const FixedMatrix& m, FixedVector& position, int32_t angles[3]) {
  PoseAngles pose;
  RotationToAngles(FixedToMatrix4(m), pose);
  Fixed* const p[3] = {&position.x, &position.y, &position.z};
  for (int i = 0; i < 3; ++i) {
    *p[i] = SaturateToInt32(pose.offset[i] * 65536.0 + 0.5);
    angles[i] = SaturateToInt32(pose.angle[i] * kTenthsPerRadian);
  }
}

void MultiplyMatrices(const double* a, const double* b, double* out, int rows, int inner,
                      int columns) {
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      double sum = 0.0;
      for (int k = 0; k < inner; ++k) sum += a[r * inner + k] * b[k * columns + c];
      out[r * columns + c] = sum;
    }
  }
}

void InvertRigidTransform(const Matrix4& m, Matrix4& out) {
  const Matrix4 in = m;  // out may be m
  out = Identity4();
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) out.m[i * 4 + j] = in.m[j * 4 + i];
    out.m[i * 4 + 3] = -(in.m[0 * 4 + i] * in.m[0 * 4 + 3] + in.m[1 * 4 + i] * in.m[1 * 4 + 3] +
                         in.m[2 * 4 + i] * in.m[2 * 4 + 3]);
  }
}

void PoseToMatrix(const PoseAngles& pose, Matrix4& out) {
  Matrix4 t = Identity4();
  for (int i = 0; i < 3; ++i) t.m[i * 4 + 3] = pose.offset[i];
  const Matrix4 turns[3] = {Turn4(1, 2, pose.angle[0]), Turn4(2, 0, pose.angle[1]),
                            Turn4(0, 1, pose.angle[2])};
  Matrix4 product = t;
  for (const Matrix4& turn : turns) {
    Matrix4 next;
    MultiplyMatrices(product.m, turn.m, next.m, 4, 4, 4);
    product = next;
  }
  out = product;
}

void RotationToAngles(const Matrix4& m, PoseAngles& out) {
  auto at = [&m](int r, int c) { return m.m[r * 4 + c]; };
  const double theta = std::atan2(-at(2, 0), std::sqrt(at(0, 0) * at(0, 0) + at(1, 0) * at(1, 0)));
  double phi;
  double psi = 0.0;
  if (theta > kPoleAngle) {
    phi = std::atan2(at(0, 1), at(1, 1));
  } else if (theta < -kPoleAngle) {
    phi = -std::atan2(at(0, 1), at(1, 1));
  } else {
    phi = std::atan2(at(2, 1), at(2, 2));
    psi = std::atan2(at(1, 0), at(0, 0));
  }
  out.angle[0] = phi;
  out.angle[1] = theta;
  out.angle[2] = psi;
  for (int i = 0; i < 3; ++i) out.offset[i] = at(i, 3);
}

int IntersectSegments2D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                        int32_t x4, int32_t y4, int32_t& outX, int32_t& outY) {
  const int32_t coords[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
  for (int32_t c : coords) {
    if (c < -kMaxLineCoordinate || c > kMaxLineCoordinate) return 0;
  }
  // 64-bit products: in 32 bits they overflow once the caption bounce mirrors points on screens
  // 1280 pixels and wider. With coordinates held below 2^30 every term below fits.
  const int64_t dx13 = static_cast<int64_t>(x3) - x1;
  const int64_t dx24 = static_cast<int64_t>(x2) - x4;
  const int64_t d = (static_cast<int64_t>(y1) - y3) * dx24 + (static_cast<int64_t>(y2) - y4) * dx13;
  if (d == 0) return 0;
  const int64_t c13 = static_cast<int64_t>(x3) * y1 - static_cast<int64_t>(y3) * x1;
  const int64_t c24 = static_cast<int64_t>(x4) * y2 - static_cast<int64_t>(y4) * x2;
  // The numerator's products can pass 2^63 for far-off points, so they are summed in double
  // (exact for anything of screen size).
  const double x = (static_cast<double>(c24) * static_cast<double>(dx13) +
                    static_cast<double>(c13) * static_cast<double>(dx24)) /
                   static_cast<double>(d);
  double y;
  if (dx13 != 0) {
    y = (static_cast<double>(y3 - static_cast<int64_t>(y1)) * x + static_cast<double>(c13)) /
        static_cast<double>(dx13);
  } else {
    y = (static_cast<double>(y2 - static_cast<int64_t>(y4)) * x - static_cast<double>(c24)) /
        static_cast<double>(dx24);
  }
  outX = SaturateToInt32(x);
  outY = SaturateToInt32(y);
  return 1;
}
