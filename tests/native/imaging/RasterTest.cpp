// Raster drawing into 8-bit bitmaps: exact pixels of a few lines and of a circle's extreme points,
// and invariants over many lines (levels within the ramp, no pixel far from the line, clipping).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/Raster8.h"
#include "seams/Random.h"

namespace {

using Pixels = std::map<std::pair<int, int>, int>;  // (x, y) -> index, pixels other than the fill

constexpr BYTE kFill = 128;

class RasterTest : public ::testing::Test {
 protected:
  void SetUp() override { GreyRampBaseIndex = 10; }
  void TearDown() override { GreyRampBaseIndex = 0; }

  static void Blank(CDIB& dib, int w, int h) {
    ASSERT_TRUE(dib.Create(w, h, nullptr));
    std::memset(dib.bits, kFill, static_cast<size_t>(dib.GetStorageWidth()) * h);
  }
  static Pixels Drawn(const CDIB& dib) {
    Pixels out;
    for (int y = 0; y < dib.GetHeight(); ++y) {
      for (int x = 0; x < dib.GetWidth(); ++x) {
        const BYTE v = *dib.GetPixelAddress(x, y);
        if (v != kFill) out[{x, y}] = v;
      }
    }
    return out;
  }
  // A random end point, often outside a 40 x 30 bitmap.
  static int Coord(int range) { return seams::Rand() % (range + 20) - 10; }
};

TEST_F(RasterTest, BresenhamLinesPlotExactPixels) {
  struct Case {
    int x0, y0, x1, y1;
    std::vector<std::pair<int, int>> pixels;
  };
  const std::vector<Case> cases = {
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},          // diagonal: y-major
      {3, 0, 0, 1, {{3, 0}, {2, 0}, {1, 1}, {0, 1}}},          // x-major, stepping left
      {0, 3, 4, 1, {{4, 1}, {3, 2}, {2, 2}, {1, 3}, {0, 3}}},  // drawn downwards from (4, 1)
      {0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},          // y-major
      {2, 2, 2, 2, {{2, 2}}},                                  // a point
  };
  for (auto draw : {DrawLine8, DrawLine8B}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1);
      CDIB dib;
      Blank(dib, 8, 6);
      draw(&dib, c.x0, c.y0, c.x1, c.y1, 9);
      Pixels expected;
      for (const auto& p : c.pixels) expected[p] = 9;
      EXPECT_EQ(Drawn(dib), expected);
    }
  }
}

TEST_F(RasterTest, WuLinesPlotExactLevels) {
  // Base 10, 32 levels: the line's colour is 41; a pair's levels add up to 31.
  struct Case {
    int x0, y0, x1, y1;
    Pixels expected;
  };
  const std::vector<Case> cases = {
      // x-major: the fraction grows by a quarter per column, the pair is (x, y) and (x, y + 1).
      {0,
       0,
       4,
       1,
       {{{0, 0}, 41},
        {{1, 0}, 33},
        {{1, 1}, 18},
        {{2, 0}, 25},
        {{2, 1}, 26},
        {{3, 0}, 17},
        {{3, 1}, 34},
        {{4, 1}, 41}}},
      // y-major with the accumulator wrapping twice: x steps on rows 2 and 4.
      {3,
       5,
       0,
       0,
       {{{0, 0}, 41},
        {{0, 1}, 22},
        {{1, 1}, 29},
        {{1, 2}, 35},
        {{2, 2}, 16},
        {{1, 3}, 16},
        {{2, 3}, 35},
        {{2, 4}, 29},
        {{3, 4}, 22},
        {{3, 5}, 41}}},
      // Horizontal, vertical and diagonal lines are solid, with no partners.
      {5, 2, 1, 2, {{{1, 2}, 41}, {{2, 2}, 41}, {{3, 2}, 41}, {{4, 2}, 41}, {{5, 2}, 41}}},
      {1, 1, 1, 3, {{{1, 1}, 41}, {{1, 2}, 41}, {{1, 3}, 41}}},
      {3, 0, 0, 3, {{{3, 0}, 41}, {{2, 1}, 41}, {{1, 2}, 41}, {{0, 3}, 41}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1);
    CDIB dib;
    Blank(dib, 8, 8);
    DrawWuLine8(&dib, c.x0, c.y0, c.x1, c.y1, 1);
    EXPECT_EQ(Drawn(dib), c.expected);
  }
}

TEST_F(RasterTest, CircleHasSolidExtremePointsAndIsSymmetric) {
  for (int flag : {0, 1}) {
    SCOPED_TRACE(flag);
    CDIB dib;
    Blank(dib, 32, 32);
    DrawWuEllipse8(&dib, 15, 16, 9, 9, flag);
    const Pixels drawn = Drawn(dib);
    const int solid = 10 + (flag ? 31 : 7);
    for (auto p : {std::make_pair(15, 25), std::make_pair(15, 7), std::make_pair(24, 16),
                   std::make_pair(6, 16)}) {
      ASSERT_TRUE(drawn.count(p)) << p.first << "," << p.second;
      EXPECT_EQ(drawn.at(p), solid) << p.first << "," << p.second;
    }
    for (const auto& [p, v] : drawn) {
      const int dx = p.first - 15;
      const int dy = p.second - 16;
      EXPECT_LE(std::max(std::abs(dx), std::abs(dy)), 10) << "far from the circle";
      for (auto mirror : {std::make_pair(15 - dx, 16 + dy), std::make_pair(15 + dx, 16 - dy)}) {
        auto it = drawn.find(mirror);
        ASSERT_NE(it, drawn.end()) << "no mirror of " << dx << "," << dy;
        EXPECT_EQ(it->second, v) << "mirror of " << dx << "," << dy;
      }
    }
  }
}

TEST_F(RasterTest, EightLevelModeStaysOnTheRamp) {
  // Only the base's low 8 bits count, and the sums wrap within the palette.
  for (int32_t base : {10, 0x1F8}) {
    SCOPED_TRACE(base);
    GreyRampBaseIndex = base;
    std::vector<int> allowed;
    for (int level = 0; level < 8; ++level) allowed.push_back((base + level) & 0xFF);
    seams::Srand(7);
    CDIB dib;
    Blank(dib, 40, 30);
    for (int i = 0; i < 200; ++i) {
      DrawWuLine8(&dib, Coord(40), Coord(30), Coord(40), Coord(30), 0);
      DrawWuLineClipped8(&dib, Coord(40), Coord(30), Coord(40), Coord(30), 5, 5, 30, 20, 0);
    }
    DrawWuEllipse8(&dib, 20, 15, 12, 7, 0);
    DrawWuEllipse8(&dib, 20, 15, 5, 14, 0);
    for (const auto& [p, v] : Drawn(dib)) {
      ASSERT_NE(std::find(allowed.begin(), allowed.end(), v), allowed.end())
          << "index " << v << " at " << p.first << "," << p.second;
    }
  }
}

// Every pixel of a line lies within its end points' box grown by one (the antialiasing partner).
TEST_F(RasterTest, NoPixelOutsideTheEndPointsBoxPlusOne) {
  seams::Srand(11);
  for (int i = 0; i < 300; ++i) {
    const int x0 = Coord(40), y0 = Coord(30), x1 = Coord(40), y1 = Coord(30);
    SCOPED_TRACE(::testing::Message() << x0 << "," << y0 << " - " << x1 << "," << y1);
    for (int kind = 0; kind < 3; ++kind) {
      CDIB dib;
      Blank(dib, 40, 30);
      if (kind == 0) DrawLine8(&dib, x0, y0, x1, y1, 3);
      if (kind == 1) DrawWuLine8(&dib, x0, y0, x1, y1, 1);
      if (kind == 2) DrawWuLine8(&dib, x0, y0, x1, y1, 0);
      for (const auto& entry : Drawn(dib)) {
        const auto& p = entry.first;
        ASSERT_GE(p.first, std::min(x0, x1) - 1);
        ASSERT_LE(p.first, std::max(x0, x1) + 1);
        ASSERT_GE(p.second, std::min(y0, y1) - 1);
        ASSERT_LE(p.second, std::max(y0, y1) + 1);
      }
    }
  }
}

// The clipped line is exactly the unclipped line inside the clip rectangle, whatever the order of
// the clip's corners.
TEST_F(RasterTest, ClippedLineIsTheLineMaskedByTheClip) {
  seams::Srand(23);
  for (int i = 0; i < 300; ++i) {
    const int x0 = Coord(40), y0 = Coord(30), x1 = Coord(40), y1 = Coord(30);
    const int cl = Coord(40), ct = Coord(30), cr = Coord(40), cb = Coord(30);
    SCOPED_TRACE(::testing::Message() << x0 << "," << y0 << " - " << x1 << "," << y1 << " clip "
                                      << cl << "," << ct << "," << cr << "," << cb);
    CDIB whole, clipped, reversed;
    Blank(whole, 40, 30);
    Blank(clipped, 40, 30);
    Blank(reversed, 40, 30);
    DrawWuLine8(&whole, x0, y0, x1, y1, 1);
    DrawWuLineClipped8(&clipped, x0, y0, x1, y1, cl, ct, cr, cb, 1);
    DrawWuLineClipped8(&reversed, x0, y0, x1, y1, cr, cb, cl, ct, 1);
    Pixels expected;
    for (const auto& [p, v] : Drawn(whole)) {
      if (p.first >= std::min(cl, cr) && p.first <= std::max(cl, cr) &&
          p.second >= std::min(ct, cb) && p.second <= std::max(ct, cb)) {
        expected[p] = v;
      }
    }
    ASSERT_EQ(Drawn(clipped), expected);
    ASSERT_EQ(Drawn(reversed), expected);
  }
}

// Shapes that leave the bitmap are cut at its edges, and degenerate ellipses end.
TEST_F(RasterTest, DrawingStaysInsideTheBitmap) {
  CDIB dib;
  Blank(dib, 10, 10);
  DrawLine8(&dib, -50, -50, 100, 100, 1);
  Pixels expected;
  for (int i = 0; i < 10; ++i) expected[{i, i}] = 1;
  EXPECT_EQ(Drawn(dib), expected);

  Blank(dib, 10, 10);
  DrawWuEllipse8(&dib, 5, 5, 30, 3, 1);
  DrawWuEllipse8(&dib, 0, 0, 4, 40, 1);
  DrawWuLine8(&dib, -1000, 3, 1000, 4, 1);
  EXPECT_FALSE(Drawn(dib).empty());

  // A radius of 0: the solid line between the extreme points.
  Blank(dib, 10, 10);
  DrawWuEllipse8(&dib, 4, 5, 0, 3, 1);
  Pixels line;
  for (int y = 2; y <= 8; ++y) line[{4, y}] = 41;
  EXPECT_EQ(Drawn(dib), line);

  // Only 8-bit bitmaps are drawn into.
  CDIB deep;
  ASSERT_TRUE(deep.Create24(6, 6));
  DrawLine8(&deep, 0, 0, 5, 5, 7);
  DrawWuEllipse8(&deep, 3, 3, 2, 2, 1);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(*deep.GetPixelAddress(y, y), 0);
}

}  // namespace
