// The rules of the scaling/border and wallpaper dialogs: the sizes a screen offers, which groups a
// choice enables, the wallpaper layout a dialog opens with and the mini preview's geometry.
#include "config/MiniScreenRules.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Name(PixelSize s) { return std::to_string(s.cx) + "x" + std::to_string(s.cy); }

TEST(MiniScreenRules, TheSizeListOffersTheSizesThatFitInOrder) {
  struct Case {
    PixelSize screen;
    int lines;
  };
  const Case cases[] = {
      {{640, 480}, 2},   {{800, 600}, 3},   {{1024, 768}, 4},  {{1280, 1024}, 6},
      {{1600, 1200}, 7}, {{2560, 1440}, 7}, {{3840, 2160}, 7}, {{1920, 1080}, 6},
      {{639, 480}, 1},   {{1024, 600}, 3},  {{0, 0}, 1},       {{1152, 864}, 5},
  };
  for (const Case& c : cases) EXPECT_EQ(OfferedSizeLines(c.screen), c.lines) << Name(c.screen);
}

TEST(MiniScreenRules, OnlyTheSixTableSizesAreLookedUp) {
  const PixelSize screen{1024, 768};
  PixelSize size;
  ASSERT_TRUE(SizeOfCode(0, screen, &size));
  EXPECT_EQ(Name(size), "1024x768");
  ASSERT_TRUE(SizeOfCode(1, screen, &size));
  EXPECT_EQ(Name(size), "640x480");
  ASSERT_TRUE(SizeOfCode(6, screen, &size));
  EXPECT_EQ(Name(size), "1600x1200");
  for (int code : {-1, 7, 9, 1 << 30}) {
    EXPECT_FALSE(SizeOfCode(code, screen, &size)) << code;
    EXPECT_FALSE(SizeFillsScreen(code, screen)) << code;
  }
}

TEST(MiniScreenRules, ScalingBorderEnabling) {
  struct Case {
    int size;
    bool own;
    PixelSize screen;
    ScalingBorderEnables on;
  };
  // imageBorder, screenBorder, scalingMethod, imageBackground, imageSize
  const Case cases[] = {
      {0, false, {1024, 768}, {false, false, true, true, true}},  // fit to screen fills it
      {3, false, {1024, 768}, {false, false, true, true, true}},  // the screen's own size too
      {2, false, {1024, 768}, {true, true, true, true, true}},
      {1, false, {1024, 768}, {true, true, false, true, true}},   // 640x480 is never scaled
      {0, false, {640, 480}, {false, false, false, true, true}},  // nor is a 640x480 screen
      {1, false, {640, 480}, {false, false, false, true, true}},
      {9, false, {1024, 768}, {true, true, true, true, true}},  // a stored 9 fills nothing
      {0, true, {1024, 768}, {false, true, true, false, false}},
      {2, true, {1024, 768}, {false, true, true, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("size " + std::to_string(c.size) + (c.own ? " own " : " set ") + Name(c.screen));
    const ScalingBorderEnables on = ScalingBorderEnabling(c.size, c.own, c.screen);
    EXPECT_EQ(on.imageBorder, c.on.imageBorder);
    EXPECT_EQ(on.screenBorder, c.on.screenBorder);
    EXPECT_EQ(on.scalingMethod, c.on.scalingMethod);
    EXPECT_EQ(on.imageBackground, c.on.imageBackground);
    EXPECT_EQ(on.imageSize, c.on.imageSize);
  }
}

TEST(MiniScreenRules, WallpaperEnabling) {
  struct Case {
    bool fullScale;
    int size;
    bool own;
    PixelSize screen;
    int bits;
    WallpaperEnables on;
  };
  // thumbnails, border, imageSize, scaling
  const Case cases[] = {
      {true, 0, false, {1024, 768}, 32, {true, false, true, true}},
      {true, 3, false, {1024, 768}, 32, {true, false, true, true}},
      {true, 2, false, {1024, 768}, 32, {true, true, true, true}},
      {true, 1, false, {1024, 768}, 32, {true, true, true, false}},
      {true, 0, false, {640, 480}, 32, {true, false, true, false}},
      {false, 0, false, {1024, 768}, 32, {true, true, false, false}},  // the grid has frames
      {true, 0, true, {1024, 768}, 32, {true, true, true, true}},      // own pictures are framed
      {true, 0, false, {1024, 768}, 8, {false, false, true, true}},    // no grid at 8 bits
      {true, 0, false, {1024, 768}, 16, {true, false, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fullScale ? "full " : "grid ") + std::to_string(c.size) +
                 (c.own ? " own " : " set ") + Name(c.screen) + " " + std::to_string(c.bits));
    const WallpaperEnables on = WallpaperEnabling(c.fullScale, c.size, c.own, c.screen, c.bits);
    EXPECT_EQ(on.thumbnails, c.on.thumbnails);
    EXPECT_EQ(on.border, c.on.border);
    EXPECT_EQ(on.imageSize, c.on.imageSize);
    EXPECT_EQ(on.scaling, c.on.scaling);
  }
}

TEST(MiniScreenRules, TheLayoutADialogOpensWith) {
  struct Case {
    int stored;
    bool own;
    int offered;
  };
  const Case cases[] = {{0, false, 0}, {1, false, 1}, {3, false, 3}, {4, false, 1}, {-1, false, 1},
                        {9, false, 1}, {0, true, 0},  {2, true, 4},  {4, true, 4},  {-5, true, 4}};
  for (const Case& c : cases)
    EXPECT_EQ(OfferedWallpaperLayout(c.stored, c.own), c.offered)
        << c.stored << (c.own ? " own" : " set");
}

TEST(MiniScreenRules, TheMiniPictureIsScaledAsTheScreenAndCentred) {
  struct Case {
    PixelSize picture, background, mini, offset;
  };
  const Case cases[] = {
      {{1024, 768}, {1024, 768}, {160, 120}, {0, 0}},
      {{640, 480}, {1024, 768}, {100, 75}, {30, 23}},
      {{800, 600}, {1024, 768}, {125, 93}, {18, 14}},
      {{640, 480}, {1920, 1080}, {53, 53}, {54, 34}},
      {{1600, 1200}, {1024, 768}, {250, 187}, {-45, -33}},  // larger than the screen: no shrink
      {{640, 480}, {0, 0}, {0, 0}, {80, 60}},
      {{2000000000, 2000000000}, {1, 1}, {-1, -1}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Name(c.picture) + " on " + Name(c.background));
    const PixelSize mini = MiniPictureSize(c.picture, c.background);
    if (c.mini.cx >= 0) {
      EXPECT_EQ(Name(mini), Name(c.mini));
      EXPECT_EQ(Name(CentredOffset({kMiniScreenWidth, kMiniScreenHeight}, mini)), Name(c.offset));
    } else {
      EXPECT_GT(static_cast<long long>(mini.cx), 160) << "no overflow";
    }
  }
}

}  // namespace
