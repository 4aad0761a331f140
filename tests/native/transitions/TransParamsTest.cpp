// Slider conversions and captions of the transition classes.
#include "transitions/TransParams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Params {
  int par0, par1, par2;
  bool operator==(const Params& o) const {
    return par0 == o.par0 && par1 == o.par1 && par2 == o.par2;
  }
};

std::ostream& operator<<(std::ostream& os, const Params& p) {
  return os << "(" << p.par0 << ", " << p.par1 << ", " << p.par2 << ")";
}

Params Convert(int transClass, int s1, int s2, int s3, BOOL expected = TRUE) {
  Params p{-9, -9, -9};
  EXPECT_EQ(TransSlidersToParams(transClass, s1, s2, s3, p.par0, p.par1, p.par2), expected);
  return p;
}

TEST(TransParams, EveryClassAtBothEndsOfTheSliders) {
  struct Case {
    int transClass;
    Params atMin;  // sliders 1, 1, 1
    Params atMax;  // sliders 100, 100, 100
  };
  std::vector<Case> cases = {
      {0, {0, 19, 0}, {40, 1, 0}},      {1, {0, 1, 0}, {40, 20, 0}},
      {2, {0, 1, 0}, {10, 40, 0}},      {3, {0, 1, 0}, {10, 40, 0}},
      {4, {0, 19, 0}, {40, 1, 0}},      {5, {0, 39, 0}, {40, 10, 0}},
      {6, {0, 40, 0}, {40, 2, 0}},      {7, {0, 40, 0}, {40, 2, 0}},
      {8, {1, 99, 1}, {100, 20, 20}},   {9, {1, 100, 1}, {100, 20, 20}},
      {10, {1, 104, 1}, {100, 24, 12}}, {11, {1, 104, 1}, {100, 24, 12}},
      {12, {1, 104, 1}, {100, 24, 12}}, {13, {1, 104, 1}, {100, 24, 12}},
      {14, {1, 104, 1}, {100, 24, 12}}, {15, {1, 104, 1}, {100, 24, 12}},
      {16, {1, 104, 1}, {100, 24, 12}}, {17, {1, 104, 1}, {100, 24, 12}},
      {18, {1, 104, 1}, {100, 24, 12}}, {19, {1, 104, 1}, {100, 24, 12}},
      {20, {0, 1, 0}, {10, 20, 0}},     {21, {0, 1, 0}, {10, 50, 0}},
      {22, {0, 2, 0}, {10, 10, 0}},     {23, {0, 29, 0}, {40, 1, 0}},
      {24, {0, 29, 39}, {10, 4, 1}},    {25, {0, 29, 39}, {10, 4, 1}},
      {26, {0, 29, 0}, {10, 4, 0}},     {27, {0, 1, 0}, {40, 50, 0}},
      {28, {0, 29, 39}, {10, 4, 1}},    {29, {0, 1, 0}, {10, 50, 0}},
      {30, {1, 104, 1}, {100, 24, 12}},
  };
  ASSERT_EQ(cases.size(), 31u);
  for (const Case& c : cases) {
    SCOPED_TRACE("class " + std::to_string(c.transClass));
    EXPECT_EQ(Convert(c.transClass, 1, 1, 1), c.atMin);
    EXPECT_EQ(Convert(c.transClass, 100, 100, 100), c.atMax);
    // Out-of-range sliders are held to the nearest end instead of reaching the effects.
    EXPECT_EQ(Convert(c.transClass, 0, -3, -100000), c.atMin);
    EXPECT_EQ(Convert(c.transClass, 500, 101, 2147483647), c.atMax);
  }
}

TEST(TransParams, MiddleSlidersAndTheRoundingRules) {
  EXPECT_EQ(Convert(0, 50, 50, 50), (Params{20, 10, 0}));
  EXPECT_EQ(Convert(20, 50, 50, 50), (Params{5, 10, 0})) << "the front ends' fallback";
  EXPECT_EQ(Convert(6, 50, 50, 50).par1, 20) << "even: kept";
  EXPECT_EQ(Convert(6, 50, 1, 50).par1, 40) << "39 is odd: made even";
  EXPECT_EQ(Convert(6, 50, 100, 50).par1, 2);
  EXPECT_EQ(Convert(10, 50, 100, 50), (Params{50, 24, 4})) << "divisor index 7 * 50 / 99 = 3";
  EXPECT_EQ(Convert(10, 50, 100, 100).par2, 12);
  EXPECT_EQ(Convert(10, 50, 100, 1).par2, 1);
  EXPECT_EQ(Convert(30, 50, 1, 50).par1, 104) << "99 rounded up to a multiple of 8";
  EXPECT_EQ(Convert(24, 50, 50, 1).par2, 39);
}

TEST(TransParams, OnlyThe2DClassesConvert) {
  for (int transClass : {31, 100, 101, -1, -2147483647 - 1}) {
    SCOPED_TRACE(transClass);
    EXPECT_FALSE(IsValid2DTransClass(transClass));
    EXPECT_EQ(Convert(transClass, 50, 50, 50, FALSE), (Params{0, 0, 0}));
  }
  EXPECT_TRUE(IsValid2DTransClass(0));
  EXPECT_TRUE(IsValid2DTransClass(30));
}

TEST(TransParams, The3DClassesPassTheirSlidersThrough) {
  Params p{};
  EXPECT_TRUE(Trans3DSlidersToParams(100, 10, 20, 40, p.par0, p.par1, p.par2));
  EXPECT_EQ(p, (Params{10, 20, 40}));
  EXPECT_TRUE(Trans3DSlidersToParams(101, 10, 20, 40, p.par0, p.par1, p.par2));
  EXPECT_EQ(p, (Params{10, 20, 30}));
  EXPECT_TRUE(Trans3DSlidersToParams(100, 0, 500, -3, p.par0, p.par1, p.par2));
  EXPECT_EQ(p, (Params{1, 100, 1}));
  EXPECT_FALSE(Trans3DSlidersToParams(20, 10, 20, 40, p.par0, p.par1, p.par2));
  EXPECT_EQ(p, (Params{30, 30, 30}));
}

TEST(TransParams, CaptionsOfEveryClass) {
  struct Case {
    std::vector<int> classes;
    const char* captions[3];  // null: left as it was
    int count;
  };
  std::vector<Case> cases = {
      {{0, 2, 4, 7}, {"Speed", "Width", nullptr}, 2},
      {{1, 3, 20}, {"Speed", "Smoothness", nullptr}, 2},
      {{5, 6}, {"Speed", "Size", nullptr}, 2},
      {{8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 30}, {"Speed", "Size", "Smoothness"}, 3},
      {{21, 22, 27, 29}, {"Speed", "Smoothness", "-"}, 2},
      {{23}, {"Speed", "Arc Inc.", "-"}, 2},
      {{24, 25}, {"Speed", "Square", "Smear"}, 3},
      {{26}, {"Speed", "Size", "-"}, 2},
      {{28}, {"Speed", "Size", "Strength"}, 3},
  };
  int covered = 0;
  for (const Case& c : cases) {
    for (int transClass : c.classes) {
      SCOPED_TRACE("class " + std::to_string(transClass));
      CString caption[3] = {"old", "old", "old"};
      int count = -1;
      ASSERT_TRUE(
          GetTransClassSliderCaptions(transClass, caption[0], caption[1], caption[2], count));
      for (int i = 0; i < 3; ++i) EXPECT_EQ(caption[i], c.captions[i] ? c.captions[i] : "old") << i;
      EXPECT_EQ(count, c.count);
      ++covered;
    }
  }
  EXPECT_EQ(covered, 31);

  CString a = "old", b = "old", d = "old";
  int count = -1;
  EXPECT_FALSE(GetTransClassSliderCaptions(100, a, b, d, count));
  EXPECT_EQ(a, "old");
  EXPECT_EQ(count, -1);
  ASSERT_TRUE(Get3DTransClassSliderCaptions(100, a, b, d, count));
  EXPECT_EQ(d, "Peel Rate");
  EXPECT_EQ(count, 3);
  d = "old";
  ASSERT_TRUE(Get3DTransClassSliderCaptions(101, a, b, d, count));
  EXPECT_EQ(b, "Size");
  EXPECT_EQ(d, "old");
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(Get3DTransClassSliderCaptions(20, a, b, d, count));
}

TEST(TransParams, DivisorPicks) {
  struct Case {
    int n, hi, lo, s;
    BOOL found;
    int out;
  };
  std::vector<Case> cases = {
      {24, 20, 1, 50, TRUE, 4},   {24, 20, 1, 99, TRUE, 12},  {24, 20, 1, 100, TRUE, 12},
      {24, 20, 1, 1, TRUE, 1},    {24, 20, 1, -50, TRUE, 1},   // never an index below 0
      {7, 20, 2, 50, TRUE, 7},    {29, 20, 2, 50, FALSE, -5},  // no divisor in range
      {24, 1, 20, 50, FALSE, -5}, {24, 20, 0, 100, TRUE, 12},  // lo 0: no division by zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.n) + " in " + std::to_string(c.lo) + ".." + std::to_string(c.hi) +
                 " by " + std::to_string(c.s));
    int out = -5;
    EXPECT_EQ(PickDivisorBySlider(c.n, c.hi, c.lo, c.s, out), c.found);
    EXPECT_EQ(out, c.out);
  }
}

TEST(TransParams, SpeedSliderDelays) {
  struct Case {
    int slider;
    BOOL ok;
    int delay;
  };
  for (const Case& c : std::vector<Case>{{1, TRUE, 0},
                                         {10, TRUE, 5},
                                         {50, TRUE, 25},
                                         {99, TRUE, 50},
                                         {100, TRUE, 50},
                                         {0, FALSE, 10},
                                         {101, FALSE, 10},
                                         {-7, FALSE, 10}}) {
    int delay = -1;
    EXPECT_EQ(SpeedSliderToDelay(c.slider, delay), c.ok) << c.slider;
    EXPECT_EQ(delay, c.delay) << c.slider;
  }
}

}  // namespace
