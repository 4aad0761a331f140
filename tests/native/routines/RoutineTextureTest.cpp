// The routines' square textures: the picture area shrunk into the square with its proportions,
// centred on the ground (grey-ramp base or a logo), the area cut to the screen, empty areas, and
// logos resized and mapped onto the screen's colours.
#include "routines/RoutineTexture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "imaging/DIB.h"
#include "imaging/HeadlessScreenHost.h"

namespace {

constexpr int kReserved = 10;  // the ramp's darkest grey is index 10
constexpr int kArea = 200;     // area pixels are 200..239, the rest of the screen 100..139

class RoutineTextureTest : public ::testing::Test {
 protected:
  void ShowScreen(int w, int h, const RECT& area) {
    auto* dib = new CDIB;
    ASSERT_TRUE(dib->Create(w, h, nullptr));
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
        *dib->GetPixelAddress(x, y) = static_cast<BYTE>((inside ? kArea : 100) + (x + y) % 40);
      }
    }
    host.SetBackground(dib);
  }
  // Counts of ground, picture and other pixels of a texture, and the picture's bounding box.
  struct Census {
    int ground = 0, picture = 0, other = 0;
    RECT box = {1 << 20, 1 << 20, -1, -1};
  };
  static Census Count(const CDIB& tex, int groundIndex) {
    Census c;
    for (int y = 0; y < tex.GetHeight(); ++y) {
      for (int x = 0; x < tex.GetWidth(); ++x) {
        const BYTE v = *tex.GetPixelAddress(x, y);
        if (v == groundIndex) {
          ++c.ground;
        } else if (v >= kArea && v < kArea + 40) {
          ++c.picture;
          c.box.left = std::min<LONG>(c.box.left, x);
          c.box.top = std::min<LONG>(c.box.top, y);
          c.box.right = std::max<LONG>(c.box.right, x + 1);
          c.box.bottom = std::max<LONG>(c.box.bottom, y + 1);
        } else {
          ++c.other;
        }
      }
    }
    return c;
  }
  HeadlessScreenHost host{kReserved};
};

TEST_F(RoutineTextureTest, TheAreaIsShrunkIntoTheSquareWithItsProportions) {
  struct Case {
    RECT area;
    RECT box;  // where the picture lands in the 200 x 200 texture
  };
  const Case cases[] = {
      {{100, 50, 740, 530}, {0, 25, 200, 175}},  // 640 x 480: ground above and below
      {{300, 10, 780, 650}, {25, 0, 175, 200}},  // 480 x 640: ground left and right
      {{200, 100, 600, 500}, {0, 0, 200, 200}},  // square: no ground at all
  };
  for (const Case& c : cases) {
    ShowScreen(1024, 768, c.area);
    std::unique_ptr<CDIB> tex(BuildRoutineTexture(&host, c.area, 200, nullptr));
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetWidth(), 200);
    EXPECT_EQ(tex->header->bmiHeader.biBitCount, 8);
    const Census census = Count(*tex, kReserved);
    EXPECT_EQ(census.other, 0) << "only the area's pixels and the ground";
    EXPECT_EQ(census.box.left, c.box.left);
    EXPECT_EQ(census.box.top, c.box.top);
    EXPECT_EQ(census.box.right, c.box.right);
    EXPECT_EQ(census.box.bottom, c.box.bottom);
    EXPECT_EQ(census.picture, (c.box.right - c.box.left) * (c.box.bottom - c.box.top));
  }
}

TEST_F(RoutineTextureTest, AreasAreCutToTheScreenAndAnEmptyOneGivesTheGround) {
  ShowScreen(640, 480, RECT{0, 0, 640, 480});
  std::unique_ptr<CDIB> cut(BuildRoutineTexture(&host, RECT{-320, 0, 640, 480}, 100, nullptr));
  ASSERT_NE(cut, nullptr);
  const Census c = Count(*cut, kReserved);
  EXPECT_EQ(c.box.top, 12) << "640 x 480 once cut to the screen: 100 x 75, 12 rows above";
  for (const RECT& empty : {RECT{50, 50, 50, 90}, RECT{700, 0, 900, 100}, RECT{10, 10, 5, 5}}) {
    std::unique_ptr<CDIB> ground(BuildRoutineTexture(&host, empty, 64, nullptr));
    ASSERT_NE(ground, nullptr);
    EXPECT_EQ(Count(*ground, kReserved).ground, 64 * 64);
  }
  HeadlessScreenHost none;
  EXPECT_EQ(BuildRoutineTexture(&none, RECT{0, 0, 10, 10}, 64, nullptr), nullptr);
}

TEST_F(RoutineTextureTest, ALogoIsTheGroundInTheMargins) {
  const RECT area = {100, 50, 740, 530};
  ShowScreen(1024, 768, area);
  CDIB logo;
  ASSERT_TRUE(logo.Create(200, 200, nullptr));
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) *logo.GetPixelAddress(x, y) = 77;
  std::unique_ptr<CDIB> tex(BuildRoutineTexture(&host, area, 200, &logo));
  ASSERT_NE(tex, nullptr);
  const Census c = Count(*tex, 77);
  EXPECT_EQ(c.ground, 200 * 50);
  EXPECT_EQ(c.other, 0);
}

TEST_F(RoutineTextureTest, LogosAreResizedOntoTheScreensColours) {
  ShowScreen(320, 240, RECT{0, 0, 0, 0});
  // A logo on a table of its own: index 3 is the screen's grey ramp entry at index 10 + 16.
  CDIB logo;
  ASSERT_TRUE(logo.Create(37, 23, nullptr));
  const RGBQUAD grey = host.GetBackground()->header->bmiColors[kReserved + 16];
  logo.header->bmiColors[3] = grey;
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) *logo.GetPixelAddress(x, y) = 3;
  std::unique_ptr<CDIB> tex(LoadLogoTexture(&host, &logo, 50));
  ASSERT_NE(tex, nullptr);
  EXPECT_EQ(tex->GetWidth(), 50);
  EXPECT_EQ(tex->GetHeight(), 50);
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 50; ++x) {
      const RGBQUAD& c = tex->header->bmiColors[*tex->GetPixelAddress(x, y)];
      ASSERT_TRUE(c.rgbRed == grey.rgbRed && c.rgbGreen == grey.rgbGreen &&
                  c.rgbBlue == grey.rgbBlue)
          << x << "," << y;
    }
  }
  CDIB deep;
  ASSERT_TRUE(deep.Create24(20, 20));
  EXPECT_EQ(LoadLogoTexture(&host, &deep, 50), nullptr);
  EXPECT_EQ(LoadLogoTexture(&host, nullptr, 50), nullptr);
}

// A logo's colour table is seldom a ramp: here blue and yellow at two distant entries and magenta
// everywhere else. Resized, the seam between its halves must blend blue into yellow (red equal to
// green, on a screen whose table holds a colour cube); a blend of the pixel values would pass
// through the magenta entries in between, as a speckled emblem did.
TEST_F(RoutineTextureTest, ALogoIsResizedInItsColoursNotItsValues) {
  auto* screen = new CDIB;
  ASSERT_TRUE(screen->Create(320, 240, nullptr));
  for (int i = 0; i < 216; ++i) {
    screen->header->bmiColors[i] =
        RGBQUAD{static_cast<BYTE>(i % 6 * 51), static_cast<BYTE>(i / 6 % 6 * 51),
                static_cast<BYTE>(i / 36 * 51), 0};
  }
  host.SetBackground(screen);
  CDIB logo;
  ASSERT_TRUE(logo.Create(40, 40, nullptr));
  for (int i = 0; i < 256; ++i) logo.header->bmiColors[i] = RGBQUAD{255, 0, 255, 0};
  logo.header->bmiColors[10] = RGBQUAD{255, 0, 0, 0};     // blue
  logo.header->bmiColors[250] = RGBQUAD{0, 255, 255, 0};  // yellow
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) *logo.GetPixelAddress(x, y) = x < 20 ? 10 : 250;
  std::unique_ptr<CDIB> tex(LoadLogoTexture(&host, &logo, 100));
  ASSERT_NE(tex, nullptr);
  int blended = 0;
  for (int x = 0; x < 100; ++x) {
    const RGBQUAD& c = tex->header->bmiColors[*tex->GetPixelAddress(x, 50)];
    ASSERT_LE(std::abs(c.rgbRed - c.rgbGreen), 51) << "column " << x << ": " << int{c.rgbRed} << ","
                                                   << int{c.rgbGreen} << "," << int{c.rgbBlue};
    blended += c.rgbRed > 0 && c.rgbRed < 255;
  }
  EXPECT_GT(blended, 0) << "the seam blends";
}

}  // namespace
