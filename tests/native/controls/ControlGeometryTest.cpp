// The custom controls' arithmetic: where a slider's thumb sits, what a mouse point means, and the
// image view's picture rectangle.
#include "controls/ControlGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct VCase {
  int y, h, minimum, maximum, expected;
};

TEST(SliderPosition, VerticalPointsMapOntoTheRangeAndClamp) {
  // Height 100: the track runs from 10 to 90 (80 pixels).
  const VCase cases[] = {
      {10, 100, 1, 100, 1},       // the track's top is the minimum
      {90, 100, 1, 100, 100},     // its bottom the maximum
      {50, 100, 0, 100, 50},      // the middle
      {-20, 100, 1, 100, 1},      // above the control (a captured point): the minimum
      {65516, 100, 1, 100, 100},  // a coordinate read unsigned would be far below: maximum
      {500, 100, 1, 100, 100},    // below: the maximum
      {50, 100, 5, 5, 5},         // empty range: the minimum
      {50, 100, 9, 3, 9},         // reversed range: the minimum
      {50, 0, 1, 100, 1},         // no size yet: the minimum
      {50, 7, 1, 100, 100},       // a 5-pixel track (8 * 7 / 10) still maps: below it
      {INT_MAX, 100, INT_MIN, INT_MAX, INT_MAX},  // 64-bit arithmetic: no overflow
  };
  for (const VCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "y " << c.y << " h " << c.h << " range " << c.minimum << ".." << c.maximum);
    EXPECT_EQ(VSliderPositionAt(c.y, c.h, c.minimum, c.maximum), c.expected);
  }
}

TEST(SliderPosition, HorizontalPointsMapOntoTheTrackBetweenHalfThumbs) {
  // Width 220, thumb 20: the track runs from 10 to 210.
  EXPECT_EQ(HSliderPositionAt(10, 220, 20, 0, 100), 0);
  EXPECT_EQ(HSliderPositionAt(210, 220, 20, 0, 100), 100);
  EXPECT_EQ(HSliderPositionAt(110, 220, 20, 0, 100), 50);
  EXPECT_EQ(HSliderPositionAt(-30, 220, 20, 0, 100), 0);
  EXPECT_EQ(HSliderPositionAt(900, 220, 20, 0, 100), 100);
  // A track no longer than the thumb, an empty range, no size: the minimum.
  EXPECT_EQ(HSliderPositionAt(15, 20, 20, 3, 100), 3);
  EXPECT_EQ(HSliderPositionAt(15, 12, 20, 3, 100), 3);
  EXPECT_EQ(HSliderPositionAt(150, 220, 20, 7, 7), 7);
  EXPECT_EQ(HSliderPositionAt(150, 0, 20, 7, 70), 7);
}

TEST(SliderThumb, CentresFollowThePositionAndStartOnEmptyRanges) {
  EXPECT_EQ(VSliderThumbCentre(100, 1, 1, 100), 10);
  EXPECT_EQ(VSliderThumbCentre(100, 100, 1, 100), 90);
  // A position past the range (SetPos(150) on 1..100) is drawn past the track's end.
  EXPECT_EQ(VSliderThumbCentre(100, 150, 1, 100), 10 + 149 * 80 / 99);
  EXPECT_EQ(VSliderThumbCentre(100, 50, 4, 4), 10);
  EXPECT_EQ(VSliderThumbCentre(0, 50, 0, 100), 0);
  EXPECT_EQ(HSliderThumbCentre(220, 20, 0, 0, 100), 10);
  EXPECT_EQ(HSliderThumbCentre(220, 20, 100, 0, 100), 210);
  EXPECT_EQ(HSliderThumbCentre(20, 20, 60, 0, 100), 10);
  EXPECT_EQ(HSliderThumbCentre(220, 20, 60, 9, 2), 10);
  // Extreme positions stay drawable coordinates.
  EXPECT_LT(VSliderThumbCentre(1000, INT_MAX, INT_MIN, INT_MIN + 1), 1 << 29);
}

TEST(SliderRange, PositionMovesIntoTheRange) {
  EXPECT_EQ(ClampToRange(150, 1, 100), 100);
  EXPECT_EQ(ClampToRange(-4, 1, 100), 1);
  EXPECT_EQ(ClampToRange(40, 1, 100), 40);
  EXPECT_EQ(ClampToRange(40, 100, 1), 100);  // reversed: the minimum
}

struct FitCase {
  int iw, ih;
  bool fit;
  RECT expected;
};

TEST(ImageViewRect, PicturesFitA106By73Control) {
  const FitCase cases[] = {
      {640, 480, true, {5, 0, 102, 73}},    // w' = 97, taller than the control: 97 x 73
      {50, 40, true, {28, 16, 78, 56}},     // smaller: its own size, centred
      {50, 40, false, {0, 0, 106, 73}},     // fit off: the whole control
      {100, 400, true, {44, 0, 62, 73}},    // tall: w' = 18
      {1000, 100, true, {0, 31, 106, 41}},  // wide: 106 x 10
      {0, 0, true, {53, 36, 53, 36}},       // no picture: empty, at the centre
      {0, 50, true, {53, 36, 53, 36}},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.iw << " x " << c.ih << (c.fit ? " fit" : " unscaled"));
    const RECT r = ImageViewRect(106, 73, c.iw, c.ih, c.fit);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

TEST(ImageViewRect, PointTestExcludesRightAndBottomEdges) {
  const RECT r{5, 0, 102, 73};
  EXPECT_TRUE(PointInRect(r, 5, 0));
  EXPECT_TRUE(PointInRect(r, 101, 72));
  EXPECT_FALSE(PointInRect(r, 102, 10));
  EXPECT_FALSE(PointInRect(r, 4, 10));
  EXPECT_FALSE(PointInRect(r, 10, 73));
}

}  // namespace
