// The tile-size choosers as tables: sizes picked by the percentage, the rectangle shrunk to whole
// tiles, and the inputs that have no tiling.
#include <gtest/gtest.h>

#include <climits>

#include "framework/Geometry.h"
#include "imaging/TileSize.h"

namespace {

TEST(ChooseTileSizeTest, PicksACommonDivisorByPercentage) {
  const struct {
    int a, b, percent, expected;
  } cases[] = {
      // 640 x 480: 8, 10, 16, 20, 32, 40, 80, 160; the three under 20 are never chosen.
      {640, 480, 100, 20},
      {640, 480, 50, 40},
      {640, 480, 1, 160},
      {480, 640, 1, 160},
      // 800 x 600: 20 gives 40 tiles across, so 25 is the smallest choice.
      {800, 600, 1, 200},
      {800, 600, 100, 25},
      {1024, 768, 1, 256},
      {1024, 768, 100, 32},
      // Out-of-range percentages act as the nearest end of the range.
      {640, 480, 0, 160},
      {640, 480, -50, 160},
      {640, 480, INT_MIN, 160},
      {640, 480, 101, 20},
      {640, 480, INT_MAX, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " x " << c.b << " at " << c.percent);
    int sa = -1, sb = -1;
    ASSERT_EQ(ChooseTileSize(c.a, c.b, c.percent, &sa, &sb), 1);
    EXPECT_EQ(sa, c.expected);
    EXPECT_EQ(sb, c.expected);
  }
}

TEST(ChooseTileSizeTest, NoAcceptableDivisorWritesNothing) {
  const struct {
    int a, b;
  } cases[] = {
      {17, 19},      // no common divisor from 8
      {36, 36},      // 9, 12 and 18: all under 20
      {16, 16},      // one candidate only (8)
      {1018, 1018},  // 2 x 509: only 509 is over 8, and it is past half the side
      {0, 480},           {-640, 480},    {640, 0},
      {INT_MAX, INT_MAX}, {65536, 65536},  // no bitmap has such sides
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " x " << c.b);
    int sa = -1, sb = -2;
    EXPECT_EQ(ChooseTileSize(c.a, c.b, 50, &sa, &sb), 0);
    EXPECT_EQ(sa, -1);
    EXPECT_EQ(sb, -2);
  }
}

struct RectCase {
  int w, h, percent, half, by4;
  int size;
  CRect result;  // relative to a rectangle whose top-left corner is (100, 50)
};

TEST(ChooseTileSizeInRectTest, PicksASizeAndShrinksTheRectangleToWholeTiles) {
  const RectCase cases[] = {
      // Divisors 8, 16, 32, 64, 128, 256: the rectangle stays, with either flag pair.
      {1024, 768, 1, 1, 0, 256, {0, 0, 1024, 768}},
      {1024, 768, 50, 1, 0, 128, {0, 0, 1024, 768}},
      {1024, 768, 100, 1, 0, 32, {0, 0, 1024, 768}},
      {1024, 768, 1, 0, 1, 256, {0, 0, 1024, 768}},
      {1024, 768, 50, 0, 1, 128, {0, 0, 1024, 768}},
      {1024, 768, 100, 0, 1, 32, {0, 0, 1024, 768}},
      // 800 x 600: all divisors; only multiples of 4 (8, 20, 40, 100, 200).
      {800, 600, 1, 1, 0, 200, {0, 0, 800, 600}},
      {800, 600, 50, 1, 0, 50, {0, 0, 800, 600}},
      {800, 600, 100, 1, 0, 25, {0, 0, 800, 600}},
      {800, 600, 1, 0, 1, 200, {0, 0, 800, 600}},
      {800, 600, 50, 0, 1, 100, {0, 0, 800, 600}},
      {800, 600, 100, 0, 1, 40, {0, 0, 800, 600}},
      // 1000 x 700: the largest divisor is 100, so the fixed sizes are used. 80 does not divide
      // and 60 covers more; 120 gives way to 100, which covers all; 160 to 140.
      {1000, 700, 50, 1, 0, 60, {20, 20, 980, 680}},
      {1000, 700, 1, 1, 0, 100, {0, 0, 1000, 700}},
      {1000, 700, 1, 0, 1, 140, {10, 0, 990, 700}},
      // 300 x 200 with the half flag: two tiles of 120 do not fit in 200, so sizes from 100 up
      // are out; 80 gives way to 60, which covers more.
      {300, 200, 1, 1, 0, 60, {0, 10, 300, 190}},
      // An odd leftover puts the extra pixel on the right and bottom.
      {1001, 703, 1, 1, 0, 100, {0, 1, 1000, 701}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " at " << c.percent << " half "
                                    << c.half << " by4 " << c.by4);
    RECT r = {100, 50, 100 + c.w, 50 + c.h};
    int size = -1;
    ASSERT_EQ(ChooseTileSizeInRect(&r, c.percent, c.half, c.by4, &size), 1);
    EXPECT_EQ(size, c.size);
    CRect expected = c.result;
    expected.OffsetRect(100, 50);
    EXPECT_EQ(CRect(r), expected);
    EXPECT_EQ((r.right - r.left) % size, 0);
    EXPECT_EQ((r.bottom - r.top) % size, 0);
  }
}

TEST(ChooseTileSizeInRectTest, RectangleWithoutATilingIsLeftAlone) {
  const struct {
    RECT r;
    int half;
  } cases[] = {
      {{0, 0, 10, 10}, 0},              // smaller than the smallest fixed size
      {{0, 0, 1000, 15}, 1},            // not one tile fits in the height
      {{0, 0, 0, 0}, 0},                // empty
      {{50, 50, 10, 80}, 0},            // inverted
      {{INT_MIN, 0, INT_MAX, 100}, 0},  // a width past any bitmap, which would overflow
      {{0, 0, 40000, 30000}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << CRect(c.r).Width() << " x " << CRect(c.r).Height());
    RECT r = c.r;
    int size = -1;
    EXPECT_EQ(ChooseTileSizeInRect(&r, 50, c.half, 0, &size), 0);
    EXPECT_EQ(size, -1);
    EXPECT_EQ(CRect(r), CRect(c.r));
  }
}

// The trace's tile grid: ten-pixel squares only on the four screen sizes it names, eight on all
// others, near misses included (1280 x 1024 is not 1280 x 1080).
TEST(GetTileGridForScreenTest, TenPixelSquaresOnlyOnTheNamedScreens) {
  const struct {
    int w, h, square;
  } cases[] = {
      {640, 480, 10}, {800, 600, 10},  {1280, 1080, 10}, {1600, 1200, 10},
      {1024, 768, 8}, {1280, 1024, 8}, {480, 640, 8},    {600, 800, 8},
      {0, 0, 8},      {-640, -480, 8}, {640, 600, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    int col = -1, row = -1, square = -1, width = -1;
    EXPECT_EQ(GetTileGridForScreen(c.w, c.h, &col, &row, &square, &width), 1);
    EXPECT_EQ(col, 4);
    EXPECT_EQ(row, 4);
    EXPECT_EQ(square, c.square);
    EXPECT_EQ(width, c.square);
  }
}

}  // namespace
