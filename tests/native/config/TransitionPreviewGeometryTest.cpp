// The transition dialog's mini screen: its 4:3 rectangle in the group box, the picture's place on
// the screen and on the mini screen, and the sweep a small picture previews with.
#include <gtest/gtest.h>

#include <string>

#include "config/TransitionPreviewGeometry.h"

namespace {

RECT R(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

struct MiniCase {
  RECT box;
  RECT mini;
};

TEST(TransitionPreviewGeometry, MiniScreenIsTheLargestCentredFourByThreeInTheBoxLessTheMargin) {
  const MiniCase cases[] = {
      // 200 x 150 less 30: 170 x 120; 120 < 170*3/4 = 127, so the width becomes 160.
      {R(0, 0, 200, 150), R(20, 15, 180, 135)},
      // tall box: 130 x 230 less 30: 100 x 200, the height becomes 75.
      {R(10, 20, 140, 250), R(25, 97, 125, 172)},
      // exactly 4:3 inside: 190 x 150 -> 160 x 120, centred at the margin's half.
      {R(5, 5, 195, 155), R(20, 20, 180, 140)},
      // integer division on both steps: 101 x 101 -> 71 x 71 -> 71 x 53.
      {R(0, 0, 101, 101), R(15, 24, 86, 77)},
      // a box no larger than the margin leaves nothing.
      {R(0, 0, 30, 200), R(0, 0, 0, 0)},
      {R(0, 0, 200, 30), R(0, 0, 0, 0)},
      {R(50, 50, 10, 10), R(0, 0, 0, 0)},  // inverted
      // a sliver: 31 x 400 -> 1 x 370 -> height 1*3/4 = 0: nothing.
      {R(0, 0, 31, 400), R(0, 0, 0, 0)},
  };
  for (const MiniCase& c : cases) {
    const RECT got = MiniScreenRect(c.box);
    EXPECT_TRUE(Same(got, c.mini)) << Text(c.box) << " gave " << Text(got);
  }
}

TEST(TransitionPreviewGeometry, EveryMiniScreenIsFourByThreeAndInsideItsBox) {
  for (int w = 31; w < 400; w += 7)
    for (int h = 31; h < 400; h += 11) {
      const RECT box = R(3, 4, 3 + w, 4 + h);
      const RECT m = MiniScreenRect(box);
      const int mw = m.right - m.left, mh = m.bottom - m.top;
      if (mw == 0) continue;
      EXPECT_TRUE(mw * 3 / 4 == mh || mh * 4 / 3 == mw) << w << "x" << h;
      EXPECT_LE(mw, w - 30);
      EXPECT_LE(mh, h - 30);
      EXPECT_GE(m.left, box.left + 15);
      EXPECT_GE(m.top, box.top + 15);
    }
}

struct PlaceCase {
  int sw, sh, w, h;
  RECT on;
};

TEST(TransitionPreviewGeometry, APictureIsCentredOnTheScreenAndALargerOneCutToItsCentre) {
  const PlaceCase cases[] = {
      {1024, 768, 640, 480, R(192, 144, 832, 624)}, {1024, 768, 1024, 768, R(0, 0, 1024, 768)},
      {1024, 768, 101, 51, R(462, 359, 563, 410)},   // each half rounded down
      {1024, 768, 2000, 300, R(0, 234, 1024, 534)},  // wider than the screen
      {1024, 768, 1600, 1200, R(0, 0, 1024, 768)},   // larger both ways
      {1024, 768, 0, 480, R(0, 0, 0, 0)},           {0, 768, 640, 480, R(0, 0, 0, 0)},
  };
  for (const PlaceCase& c : cases) {
    const RECT got = CentredImageRect(c.sw, c.sh, c.w, c.h);
    EXPECT_TRUE(Same(got, c.on)) << c.w << "x" << c.h << " on " << c.sw << "x" << c.sh << " gave "
                                 << Text(got);
  }
}

struct ScaleCase {
  RECT mini;
  int sw, sh;
  RECT image, on;
};

TEST(TransitionPreviewGeometry, TheScreenRectangleScalesOntoTheMiniScreenAroundItsCentre) {
  const ScaleCase cases[] = {
      // the whole screen fills the mini screen
      {R(20, 15, 180, 135), 1024, 768, R(0, 0, 1024, 768), R(20, 15, 180, 135)},
      // 640 x 480 of 1024 x 768 on 160 x 120: 100 x 75 around (100, 75)
      {R(20, 15, 180, 135), 1024, 768, R(192, 144, 832, 624), R(50, 38, 150, 113)},
      // an own picture's layout rectangle is scaled the same way: only its size counts
      {R(0, 0, 200, 150), 1920, 1080, R(30, 30, 1890, 1050), R(4, 5, 197, 146)},
      // a tiny picture vanishes on the mini screen
      {R(0, 0, 160, 120), 1024, 768, R(500, 380, 505, 385), R(80, 60, 80, 60)},
      {R(0, 0, 160, 120), 0, 768, R(0, 0, 10, 10), R(0, 0, 0, 0)},
  };
  for (const ScaleCase& c : cases) {
    const RECT got = MiniImageRect(c.mini, c.sw, c.sh, c.image);
    EXPECT_TRUE(Same(got, c.on)) << Text(c.image) << " gave " << Text(got);
  }
}

struct EffectCase {
  int effect, w, h;
  PreviewEffect expected;
};

TEST(TransitionPreviewGeometry, APictureUnderTwentyPixelsPreviewsWithASweepOfItsShape) {
  const EffectCase cases[] = {
      {42, 20, 20, {42, false}},                               // at the limit: the chosen effect
      {42, 640, 480, {42, false}}, {42, 19, 19, {118, true}},  // square-ish
      {42, 19, 30, {118, true}},                               // ratio 0.63
      {42, 10, 20, {112, true}},  // ratio exactly 0.5: not between, tall
      {42, 40, 20, {42, false}},  // wide, but 20 high is not small
      {42, 40, 19, {110, true}},  // ratio 2.1: wide
      {42, 38, 19, {110, true}},  // ratio exactly 2.0: wide
      {42, 5, 400, {112, true}},  // tall
      {42, 400, 5, {110, true}},
  };
  for (const EffectCase& c : cases) {
    const PreviewEffect got = ChoosePreviewEffect(c.effect, c.w, c.h);
    EXPECT_EQ(got.effectId, c.expected.effectId) << c.w << "x" << c.h;
    EXPECT_EQ(got.sweepClass, c.expected.sweepClass) << c.w << "x" << c.h;
  }
}

}  // namespace
