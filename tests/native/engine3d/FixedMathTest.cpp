// Fixed-point arithmetic, the cosine table, angle reduction and the affine transforms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "engine3d/FixedMath.h"

namespace {

// Rounds to nearest with halves up, then keeps the low 32 bits: what FixedMul promises, computed
// with a flooring division instead of a shift.
Fixed ReferenceMul(int32_t a, int32_t b) {
  const int64_t v = static_cast<int64_t>(a) * b + 32768;
  int64_t q = v / 65536;
  if (v % 65536 != 0 && v < 0) --q;
  return static_cast<Fixed>(static_cast<uint32_t>(static_cast<uint64_t>(q)));
}

TEST(FixedMul, TableOfCases) {
  struct Case {
    Fixed a, b, expected;
  } cases[] = {
      {65536, 12345, 12345},
      {65536, -12345, -12345},
      {65536, INT32_MIN, INT32_MIN},
      {65536, INT32_MAX, INT32_MAX},
      {-1, 32768, 0},
      {1, 32768, 1},
      {-1, 32769, -1},
      {1, -32768, 0},
      {1, -32769, -1},
      {131072, 98304, 196608},
      {-65536, 65536, -65536},
      {0, INT32_MIN, 0},
      {255, 55706, 217},
      {255, 6554, 26},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FixedMul(c.a, c.b), c.expected) << c.a << " * " << c.b;
  }
}

TEST(FixedMul, MatchesSixtyFourBitReferenceOverRandomOperands) {
  std::mt19937 rng(20240501u);
  for (int i = 0; i < 200000; ++i) {
    // Mix full-range operands with small ones so that both wrapping and rounding are exercised.
    int32_t a = static_cast<int32_t>(rng());
    int32_t b = static_cast<int32_t>(rng());
    if (i % 3 == 1) a >>= 12;
    if (i % 3 == 2) b >>= 15;
    ASSERT_EQ(FixedMul(a, b), ReferenceMul(a, b)) << a << " * " << b;
  }
}

TEST(FixedDiv, TableOfCases) {
  struct Case {
    Fixed a, b, expected;
  } cases[] = {
      {-65536, 196608, -21845},  // minus one third truncated toward zero, not floored
      {65536, 196608, 21845},
      {65536, 65536, 65536},
      {1, 2, 32768},
      {-1, 2, -32768},
      {-65536, -65536, 65536},
      {7 * 65536, 2 * 65536, 3 * 65536 + 32768},
      // A zero divisor and quotients beyond the range saturate instead of faulting.
      {5, 0, INT32_MAX},
      {-5, 0, INT32_MIN},
      {0, 0, 0},
      {INT32_MAX, 1, INT32_MAX},
      {INT32_MIN, 1, INT32_MIN},
      {INT32_MIN, -1, INT32_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FixedDiv(c.a, c.b), c.expected) << c.a << " / " << c.b;
  }
}

TEST(FixedDiv, MatchesTruncatingReferenceWhereInRange) {
  std::mt19937 rng(7u);
  for (int i = 0; i < 100000; ++i) {
    const int32_t a = static_cast<int32_t>(rng()) >> (rng() % 24);
    int32_t b = static_cast<int32_t>(rng()) >> (rng() % 28);
    if (b == 0) b = 1;
    const int64_t q = static_cast<int64_t>(a) * 65536 / b;
    if (q < INT32_MIN || q > INT32_MAX) continue;
    ASSERT_EQ(FixedDiv(a, b), q) << a << " / " << b;
  }
}

TEST(CosineTable, EveryEntryIsTheRoundedCosine) {
  const long double kPi = 3.141592653589793238462643383279502884L;
  for (int i = 0; i <= 900; ++i) {
    const long double exact = 65536.0L * std::cos(kPi * i / 1800.0L);
    EXPECT_EQ(CosineTable[i], static_cast<int32_t>(std::floor(exact + 0.5L))) << "entry " << i;
  }
  EXPECT_EQ(CosineTable[0], 65536);
  EXPECT_EQ(CosineTable[450], 46341);
  EXPECT_EQ(CosineTable[900], 0);
}

TEST(FixedCosSin, QuadrantsAndKnownAngles) {
  struct Case {
    int32_t angle;
    Fixed cos, sin;
  } cases[] = {
      {0, 65536, 0},         {900, 0, 65536},        {1800, -65536, 0},     {2700, 0, -65536},
      {3600, 65536, 0},      {-900, 0, -65536},      {-2700, 0, 65536},     {450, 46341, 46341},
      {1350, -46341, 46341}, {2250, -46341, -46341}, {3150, 46341, -46341},
  };
  for (const Case& c : cases) {
    Fixed co = 1, si = 1;
    FixedCosSin(c.angle, co, si);
    EXPECT_EQ(co, c.cos) << "cos " << c.angle;
    EXPECT_EQ(si, c.sin) << "sin " << c.angle;
  }
}

TEST(FixedCosSin, AnglesOutsideOneTurnReduce) {
  struct Case {
    int32_t angle, same;
  } cases[] = {
      {-1, 3599},
      {7200, 0},
      {-3600, 0},
      {3601, 1},
      {-7201, 3599},
      // The most negative angle reduces in 64 bits: -2147483648 mod 3600 = 2752.
      {INT32_MIN, 2752},
      {INT32_MAX, 2147483647 % 3600},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReduceAngle(c.angle), c.same) << c.angle;
    Fixed c1, s1, c2, s2;
    FixedCosSin(c.angle, c1, s1);
    FixedCosSin(c.same, c2, s2);
    EXPECT_EQ(c1, c2) << c.angle;
    EXPECT_EQ(s1, s2) << c.angle;
  }
}

TEST(FixedCosSin, EveryAngleLiesOnTheUnitCircleAndMatchesTheLibrary) {
  for (int32_t a = 0; a < 3600; ++a) {
    Fixed c, s;
    FixedCosSin(a, c, s);
    const double cc = c / 65536.0, ss = s / 65536.0;
    EXPECT_NEAR(cc * cc + ss * ss, 1.0, 4.0 / 65536) << a;
    const double rad = a * 3.14159265358979323846 / 1800.0;
    EXPECT_LE(std::fabs(c - 65536.0 * std::cos(rad)), 0.5 + 1e-9) << a;
    EXPECT_LE(std::fabs(s - 65536.0 * std::sin(rad)), 0.5 + 1e-9) << a;
  }
}

void ExpectMatrix(const FixedMatrix& m, const Fixed (&expected)[3][4], const char* what) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_EQ(m.m[i][j], expected[i][j]) << what << " [" << i << "][" << j << "]";
}

TEST(RotateMatrix, QuarterTurnsOfTheIdentityKeepTheTranslation) {
  const Fixed one = 65536;
  FixedMatrix z = FixedTranslation(1, 2, 3);
  RotateMatrixZ(z, 900);
  const Fixed expectZ[3][4] = {{0, -one, 0, 1}, {one, 0, 0, 2}, {0, 0, one, 3}};
  ExpectMatrix(z, expectZ, "about z");

  FixedMatrix x = FixedTranslation(4, 5, 6);
  RotateMatrixX(x, 900);
  const Fixed expectX[3][4] = {{one, 0, 0, 4}, {0, 0, -one, 5}, {0, one, 0, 6}};
  ExpectMatrix(x, expectX, "about x");

  FixedMatrix y = FixedTranslation(7, 8, 9);
  RotateMatrixY(y, 900);
  const Fixed expectY[3][4] = {{0, 0, one, 7}, {0, one, 0, 8}, {-one, 0, 0, 9}};
  ExpectMatrix(y, expectY, "about y");
}

TEST(RotateMatrix, PositiveTurnAboutZTakesXTowardY) {
  FixedMatrix m = FixedIdentity();
  RotateMatrixZ(m, 300);  // 30 degrees
  FixedVector p{65536 * 10, 0, 0};
  TransformPoint(m, p, p);
  EXPECT_EQ(p.x, 567560) << "10 cos 30 = 8.66025";
  EXPECT_EQ(p.y, 327680) << "10 sin 30 = 5";
  EXPECT_EQ(p.z, 0);
}

TEST(RotateMatrix, TurnsComposeLeftToRightInOrderOfCalls) {
  // Turning by x then z must equal the rotation Rz . Rx applied to the point.
  FixedMatrix m = FixedIdentity();
  RotateMatrixX(m, 900);
  RotateMatrixZ(m, 900);
  FixedVector p{0, 65536, 0};  // Rx takes y to z; Rz leaves z alone
  TransformPoint(m, p, p);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(p.z, 65536);
}

TEST(TransformPoint, AppliesRowsAndTranslation) {
  FixedMatrix m = {{{65536, 0, 0, 10 << 16}, {0, 2 * 65536, 0, -(3 << 16)}, {32768, 0, 65536, 0}}};
  FixedVector out;
  TransformPoint(m, FixedVector{4 << 16, 5 << 16, 6 << 16}, out);
  EXPECT_EQ(out.x, 14 << 16);
  EXPECT_EQ(out.y, 7 << 16);
  EXPECT_EQ(out.z, 8 << 16);
}

TEST(ComposeTransforms, EqualsApplyingSecondThenFirst) {
  std::mt19937 rng(99u);
  auto small = [&rng]() { return static_cast<Fixed>(static_cast<int32_t>(rng() % 7) - 3) * 65536; };
  for (int round = 0; round < 200; ++round) {
    FixedMatrix a, b, ab;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 4; ++j) {
        a.m[i][j] = small();
        b.m[i][j] = small();
      }
    ComposeTransforms(a, b, ab);
    const FixedVector p{small(), small(), small()};
    FixedVector viaB, viaBoth, direct;
    TransformPoint(b, p, viaB);
    TransformPoint(a, viaB, viaBoth);
    TransformPoint(ab, p, direct);
    ASSERT_EQ(direct.x, viaBoth.x);
    ASSERT_EQ(direct.y, viaBoth.y);
    ASSERT_EQ(direct.z, viaBoth.z);
  }
}

}  // namespace
