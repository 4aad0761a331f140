// Double-precision pose helpers and the 2D line intersection.
#include <gtest/gtest.h>

#include <cmath>

#include "engine3d/PoseMath.h"

namespace {

const double kPi = 3.14159265358979323846;

TEST(MultiplyMatrices, RectangularProduct) {
  const double a[6] = {1, 2, 3, 4, 5, 6};     // 2 x 3
  const double b[6] = {7, 8, 9, 10, 11, 12};  // 3 x 2
  double out[4] = {-1, -1, -1, -1};
  MultiplyMatrices(a, b, out, 2, 3, 2);
  const double expected[4] = {58, 64, 139, 154};
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(out[i], expected[i]) << i;
}

TEST(PoseToMatrix, TranslationAndTurnOrder) {
  // T . Rx . Ry . Rz: the point is turned about z first. (1,0,0) turned 90 degrees about z
  // gives (0,1,0); then 90 degrees about x takes y to z.
  PoseAngles pose = {{kPi / 2, 0, kPi / 2}, {10, 20, 30}};
  Matrix4 m;
  PoseToMatrix(pose, m);
  const double p[4] = {1, 0, 0, 1};
  double q[4];
  MultiplyMatrices(m.m, p, q, 4, 4, 1);
  EXPECT_NEAR(q[0], 10, 1e-12);
  EXPECT_NEAR(q[1], 20, 1e-12);
  EXPECT_NEAR(q[2], 31, 1e-12);
  EXPECT_DOUBLE_EQ(q[3], 1);
}

TEST(RotationToAngles, RoundTripsATurnAboutXAlone) {
  for (double angle : {-3.0, -1.2, -0.3, 0.0, 0.7, 1.5, 3.1}) {
    PoseAngles pose = {{angle, 0, 0}, {1.5, -2.5, 4}};
    Matrix4 m;
    PoseToMatrix(pose, m);
    PoseAngles back;
    RotationToAngles(m, back);
    EXPECT_NEAR(back.angle[0], angle, 1e-12);
    EXPECT_NEAR(back.angle[1], 0, 1e-12);
    EXPECT_NEAR(back.angle[2], 0, 1e-12);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(back.offset[i], pose.offset[i]);
  }
}

TEST(RotationToAngles, AtThePoleTheTurnAboutZFoldsIntoX) {
  // theta = +90 degrees (m[2][0] = -1): Ry(90) . Rx(0.4) read back gives psi 0, phi 0.4.
  Matrix4 m = {{0, std::sin(0.4), std::cos(0.4), 0,   //
                0, std::cos(0.4), -std::sin(0.4), 0,  //
                -1, 0, 0, 0,                          //
                0, 0, 0, 1}};
  PoseAngles back;
  RotationToAngles(m, back);
  EXPECT_NEAR(back.angle[1], kPi / 2, 1e-12);
  EXPECT_DOUBLE_EQ(back.angle[2], 0.0);
  EXPECT_NEAR(back.angle[0], 0.4, 1e-12);
  // The mirrored pole negates the turn.
  m.m[8] = 1;
  RotationToAngles(m, back);
  EXPECT_NEAR(back.angle[1], -kPi / 2, 1e-12);
  EXPECT_NEAR(back.angle[0], -0.4, 1e-12);
}

TEST(InvertRigidTransform, ProductWithTheOriginalIsTheIdentity) {
  PoseAngles pose = {{0.3, -1.1, 2.0}, {5, -7, 11}};
  Matrix4 m, inv, product;
  PoseToMatrix(pose, m);
  InvertRigidTransform(m, inv);
  MultiplyMatrices(inv.m, m.m, product.m, 4, 4, 4);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(product.m[r * 4 + c], r == c ? 1.0 : 0.0, 1e-12) << r << "," << c;
}

TEST(IntersectSegments2D, TableOfLines) {
  // Arguments interleave the lines: line A through (x1,y1)-(x3,y3), line B through (x2,y2)-(x4,y4).
  struct Case {
    int32_t x1, y1, x2, y2, x3, y3, x4, y4;
    int result, x, y;
  } cases[] = {
      {0, 0, 0, 10, 10, 10, 10, 0, 1, 5, 5},      // the two diagonals of a square
      {0, 0, 0, 5, 10, 0, 10, 5, 0, -1, -1},      // parallel horizontals
      {3, 0, 7, 0, 3, 9, 7, 9, 0, -1, -1},        // both vertical: caught before dividing
      {4, -2, 0, 3, 4, 8, 10, 3, 1, 4, 3},        // line A vertical: y from line B
      {0, 0, -20, 0, 10, 1, -10, 2, 1, -40, -4},  // meets outside both segments (unbounded)
      // Mirrored points of a wide screen: 32-bit products of these overflow.
      {-2560, -1440, 5120, -1440, 5120, 2880, -2560, 2880, 1, 1280, 720},
  };
  for (const Case& c : cases) {
    int32_t x = -1, y = -1;
    EXPECT_EQ(IntersectSegments2D(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4, x, y), c.result)
        << c.x1 << "," << c.y1;
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
  }
}

TEST(IntersectSegments2D, WideScreenPointsMatchADoubleReference) {
  for (int32_t w = 1280; w <= 7680; w += 640) {
    const int32_t x1 = -w, y1 = 17, x3 = 2 * w, y3 = w / 2 + 3, x2 = 5, y2 = 2 * w, x4 = w + 11,
                  y4 = -w;
    int32_t x = 0, y = 0;
    ASSERT_EQ(IntersectSegments2D(x1, y1, x2, y2, x3, y3, x4, y4, x, y), 1);
    // Solve with doubles: A(t) = P1 + t (P3 - P1), B(s) = P2 + s (P4 - P2).
    const double ax = x3 - x1, ay = y3 - y1, bx = x4 - x2, by = y4 - y2;
    const double det = ax * -by - ay * -bx;
    const double t = ((x2 - x1) * -by - (y2 - y1) * -bx) / det;
    EXPECT_EQ(x, static_cast<int32_t>(x1 + t * ax)) << w;
    EXPECT_NEAR(y, y1 + t * ay, 1.0) << w;
  }
}

TEST(IntersectSegments2D, RefusesCoordinatesBeyondTheSafeRange) {
  int32_t x = 42, y = 43;
  EXPECT_EQ(IntersectSegments2D(INT32_MIN, 0, 0, INT32_MAX, INT32_MAX, 5, 7, INT32_MIN, x, y), 0);
  EXPECT_EQ(x, 42);
  EXPECT_EQ(y, 43);
}

}  // namespace
