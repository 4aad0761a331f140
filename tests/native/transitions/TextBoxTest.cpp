// The caption text block on the screen's colour table: layouts for every content and border
// style, the rounded size, the shadow's and the half see-through background's checkerboards, no
// colour but "Transparent" on the transparent index, and boxes that stay within the screen
// whatever the texts. Pixels are checked by invariants, not glyphs: the platform picks the font.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "tests/native/transitions/CaptionScreen.h"
#include "transitions/BoxFont.h"
#include "transitions/TextBox3D.h"

namespace {

constexpr int kSeeThrough = kCaptionTransparentIndex;

class TextBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    background.reset(captiontest::NewScreenBackground(64, 64));
    ASSERT_TRUE(palette.CreateFromDIB(background.get()));
  }

  // A box on a 640 x 480 screen; shadow colour 1 (the ramp's second grey).
  std::unique_ptr<CDIBSurface> Box(int border, int backgroundStyle, BOOL shadow, int text = 19,
                                   int back = 4, int content = 1, int screenW = 640,
                                   int screenH = 480) {
    std::unique_ptr<CDIBSurface> box(GetImageTextBox3D(&palette, &header, 1, &title, 1, &body, 1,
                                                       border, backgroundStyle, shadow, text, back,
                                                       1, content, screenW, screenH));
    EXPECT_TRUE(box);
    return box;
  }

  static int At(const CDIB& dib, int x, int y) { return *dib.GetPixelAddress(x, y); }

  std::unique_ptr<CDIB> background;
  CColorPalette palette;
  CString header = "Image Set";
  CString title = "Sunrise over the lake";
  CString body = "Morning light on still water, taken from the eastern shore.";
};

TEST(TextBoxLayout, EveryContentAndBorderStylePicksItsLayoutAndTexts) {
  // content style -> layout for border style 1 and for the others, and which texts each shows.
  const int expected[4][2] = {{3, 0}, {2, 1}, {2, 2}, {3, 3}};
  const bool shows[4][3] = {
      {false, true, false}, {false, true, true}, {true, true, true}, {true, true, false}};
  for (int content = 0; content < 4; ++content) {
    for (int border = 0; border < 4; ++border) {
      SCOPED_TRACE("content " + std::to_string(content) + ", border " + std::to_string(border));
      const int layout = ImageTextLayout(content, border);
      EXPECT_EQ(layout, expected[content][border == 1 ? 0 : 1]);
      for (int attempt = 0; attempt < 3; ++attempt) {
        int h[3];
        GetImageTextHeights(layout, attempt, &h[0], &h[1], &h[2]);
        for (int t = 0; t < 3; ++t) EXPECT_EQ(h[t] > 0, shows[layout][t]) << "text " << t;
      }
    }
  }
  int h[3];
  GetImageTextHeights(0, 0, &h[0], &h[1], &h[2]);
  EXPECT_EQ(h[1], 40);
  GetImageTextHeights(0, 2, &h[0], &h[1], &h[2]);
  EXPECT_EQ(h[1], 13);
}

TEST(TextBoxLayout, SizesRoundUpToEightAndTheShadowTakesSixOfThem) {
  const struct {
    int w;
    BOOL shadow;
    int rounded, boxWidth;
  } cases[] = {{400, FALSE, 408, 408}, {400, TRUE, 408, 402}, {401, FALSE, 408, 408},
               {407, FALSE, 408, 408}, {402, TRUE, 416, 410}, {1, FALSE, 8, 8}};
  for (const auto& c : cases) {
    const BoxGeometry g = GetBoxGeometry(c.w, c.w, c.shadow);
    EXPECT_EQ(g.width, c.rounded) << c.w << (c.shadow ? " with shadow" : "");
    EXPECT_EQ(g.height, c.rounded);
    EXPECT_EQ(g.box.Width(), c.boxWidth);
    EXPECT_EQ(g.box.left, 0);
  }
}

TEST_F(TextBoxTest, TheShadowBandsAreACheckerboardAndTheStripAboveThemStaysSeeThrough) {
  auto box = Box(0, 0, TRUE);
  const int w = box->GetWidth(), h = box->GetHeight();
  const CRect inner(0, 0, w - 6, h - 6);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (inner.PtInRect(CPoint(x, y))) continue;
      const bool rightBand = x >= inner.right && y >= 8 && y < inner.bottom;
      const bool bottomBand = y >= inner.bottom && x >= 8;
      int expected = kSeeThrough;
      if (rightBand) expected = ((x - inner.right) + (y - 8)) % 2 ? 1 : kSeeThrough;
      if (bottomBand) expected = ((x - 8) + (y - inner.bottom)) % 2 ? 1 : kSeeThrough;
      ASSERT_EQ(At(*box, x, y), expected) << "at " << x << "," << y;
    }
  }
  EXPECT_EQ(At(*box, w - 1, 0), kSeeThrough);
}

TEST_F(TextBoxTest, HalfSeeThroughBackgroundStartsSeeThroughAtTheTopLeft) {
  auto box = Box(2, 1, FALSE, 19, 4);
  const int back = TextFXColorIndex(*box, 4);
  EXPECT_EQ(At(*box, 0, 0), kSeeThrough);
  EXPECT_EQ(At(*box, 1, 0), back);
  EXPECT_EQ(At(*box, 0, 1), back);
  EXPECT_EQ(At(*box, 1, 1), kSeeThrough);
}

TEST_F(TextBoxTest, NoColourButTransparentLandsOnTheTransparentIndex) {
  for (int colour = 0; colour < kTextFXColorCount; ++colour) {
    const int index = TextFXColorIndex(*background, colour);
    if (colour == kTextFXTransparentColor) {
      EXPECT_EQ(index, kSeeThrough);
      continue;
    }
    EXPECT_NE(index, kSeeThrough) << TextFXColorTable[colour].name;
    const RGBQUAD& got = background->header->bmiColors[index];
    const TextFXColor& want = TextFXColorTable[colour];
    // Every colour of the table is one of the static colours or close to a ramp grey.
    EXPECT_LE(std::abs(got.rgbRed - want.red) + std::abs(got.rgbGreen - want.green) +
                  std::abs(got.rgbBlue - want.blue),
              30)
        << TextFXColorTable[colour].name;
  }
  // Solid boxes of every border, in every colour but 6: nothing inside the box is see-through.
  for (int border = 0; border < 4; ++border) {
    for (int colour : {0, 7, 11, 12, 19}) {
      auto box = Box(border, 0, FALSE, colour == 19 ? 0 : 19, colour);
      for (int y = 0; y < box->GetHeight(); ++y) {
        for (int x = 0; x < box->GetWidth(); ++x) {
          ASSERT_NE(At(*box, x, y), kSeeThrough)
              << "border " << border << ", colour " << colour << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(TextBoxTest, ATransparentBackgroundLeavesTheBoxSeeThroughInsideTheBorder) {
  auto box = Box(3, 2, FALSE);
  EXPECT_EQ(At(*box, box->GetWidth() / 2, 8), kSeeThrough) << "inside the 6-line bevel";
  EXPECT_NE(At(*box, 0, box->GetHeight() / 2), kSeeThrough) << "the bevel";
}

TEST_F(TextBoxTest, ATitleTooWideForEveryAttemptLeavesTheBodyOutAndTheBoxOnTheScreen) {
  title = CString(std::string(600, 'W').c_str());
  CDIBSurface surface;
  CString* texts[3] = {nullptr, &title, &body};
  const int styles[3] = {1, 1, 1};
  int heights[3];
  GetImageTextHeights(1, 2, &heights[0], &heights[1], &heights[2]);
  CBoxFont fonts[3];
  ASSERT_TRUE(CreateImageTextFonts(heights, styles, fonts));
  CRect rects[3];
  EXPECT_FALSE(MeasureImageText(&surface, texts, heights, fonts, rects));
  EXPECT_TRUE(rects[kBoxBody].IsRectEmpty());
  EXPECT_GT(rects[kBoxTitle].Width(), 550);

  auto box = Box(0, 0, TRUE);
  EXPECT_LE(box->GetWidth(), 640);
  EXPECT_LE(box->GetHeight(), 480);
}

TEST_F(TextBoxTest, ALongBodyIsCutSoTheBoxFitsTheScreen) {
  std::string words;
  while (words.size() < 3000) words += "water light ";
  body = CString(words.c_str());
  for (BOOL shadow : {FALSE, TRUE}) {
    for (int screenH : {480, 300}) {
      auto box = Box(0, 0, shadow, 19, 4, 1, 640, screenH);
      EXPECT_LE(box->GetHeight(), screenH) << "shadow " << shadow;
      EXPECT_LE(box->GetWidth(), 640);
      EXPECT_EQ(box->GetWidth() % 8, 0);
      EXPECT_EQ(box->GetHeight() % 8, 0);
    }
  }
}

TEST_F(TextBoxTest, NoTextsGiveNoBox) {
  EXPECT_EQ(GetImageTextBox3D(&palette, nullptr, 1, nullptr, 1, nullptr, 1, 0, 0, FALSE, 19, 4, 1,
                              1, 640, 480),
            nullptr);
}

TEST_F(TextBoxTest, TextIsDrawnInItsColourInsideTheBox) {
  auto box = Box(2, 0, FALSE, 13, 19);  // red on white
  const int red = TextFXColorIndex(*box, 13);
  int reds = 0;
  for (int y = 0; y < box->GetHeight(); ++y) {
    for (int x = 0; x < box->GetWidth(); ++x) reds += At(*box, x, y) == red;
  }
  EXPECT_GT(reds, 50) << "the texts are drawn";
}

// The shade of a pixel by its colour: white, grey (128), light grey (192), black, or other.
char ShadeAt(const CDIB& dib, int x, int y) {
  const RGBQUAD c = dib.header->bmiColors[*dib.GetPixelAddress(x, y)];
  auto close = [&c](int v) {
    return std::abs(c.rgbRed - v) <= 24 && std::abs(c.rgbGreen - v) <= 24 &&
           std::abs(c.rgbBlue - v) <= 24;
  };
  if (close(255)) return 'W';
  if (close(192)) return 'L';
  if (close(128)) return 'G';
  if (close(0)) return 'K';
  return '?';
}

// The borders light from the top left: white up the left and along the top, grey down the right
// and along the bottom (Windows 95's inner edge the other way round, sunken); the outlines are
// black along the top, the right and the bottom, and leave the left side to what is under them.
TEST_F(TextBoxTest, EachBorderIsLitFromTheTopLeft) {
  struct Probe {
    int x, y;  // from the left or top when >= 0, from the right or bottom when < 0 (-1 the last)
    char shade;
  };
  struct Case {
    int border;
    std::vector<Probe> probes;
  };
  const int kMid = 10000;  // stands for the middle of the side
  const Case cases[] = {
      {0,
       {{0, kMid, 'W'},
        {1, kMid, 'W'},
        {kMid, 0, 'W'},
        {kMid, 1, 'W'},  // raised outside
        {-1, kMid, 'G'},
        {-2, kMid, 'G'},
        {kMid, -1, 'G'},
        {kMid, -2, 'G'},
        {3, kMid, 'L'},
        {kMid, 3, 'L'},
        {-3, kMid, 'L'},  // the band
        {5, kMid, 'G'},
        {6, kMid, 'G'},
        {kMid, 5, 'G'},
        {kMid, 6, 'G'},  // sunken inside
        {-4, kMid, 'W'},
        {-5, kMid, 'W'},
        {kMid, -4, 'W'},
        {kMid, -5, 'W'}}},
      {1,
       {{0, kMid, 'L'},
        {kMid, 0, 'K'},
        {-1, kMid, 'K'},
        {kMid, -1, 'K'},
        {2, kMid, 'L'},
        {-3, kMid, 'L'},
        {kMid, -3, 'L'}}},
      {3,
       {{0, kMid, 'W'},
        {kMid, 0, 'K'},
        {-1, kMid, 'K'},
        {kMid, -1, 'K'},
        {1, kMid, 'W'},
        {5, kMid, 'W'},
        {kMid, 1, 'W'},
        {kMid, 5, 'W'},
        {-2, kMid, 'G'},
        {-6, kMid, 'G'},
        {kMid, -2, 'G'},
        {kMid, -6, 'G'}}},
  };
  for (const Case& c : cases) {
    auto box = Box(c.border, 0, FALSE, 0, 4);  // black text on a dark-red background
    ASSERT_TRUE(box);
    const int w = box->GetWidth(), h = box->GetHeight();
    for (const Probe& p : c.probes) {
      const int x = p.x == kMid ? w / 2 : p.x >= 0 ? p.x : w + p.x;
      const int y = p.y == kMid ? h / 2 : p.y >= 0 ? p.y : h + p.y;
      EXPECT_EQ(ShadeAt(*box, x, y), p.shade) << "border " << c.border << " at " << x << "," << y;
    }
  }
}

// Text colour 6 is the transparent index: the letters let the screen through, and their
// shadows (style bit 4) are black; without shadows nothing in a flat box is black.
TEST_F(TextBoxTest, SeeThroughLettersKeepTheirBlackShadows) {
  for (const int style : {1, 5}) {
    SCOPED_TRACE(testing::Message() << "style " << style);
    std::unique_ptr<CDIBSurface> box(
        GetImageTextBox3D(&palette, &header, style, &title, style, &body, style, 2, 0, FALSE,
                          kTextFXTransparentColor, 19, 1, 1, 640, 480));
    ASSERT_TRUE(box);
    long seeThrough = 0, black = 0;
    for (int y = 0; y < box->GetHeight(); ++y) {
      for (int x = 0; x < box->GetWidth(); ++x) {
        seeThrough += At(*box, x, y) == kSeeThrough;
        black += ShadeAt(*box, x, y) == 'K';
      }
    }
    EXPECT_GT(seeThrough, 100) << "the letters are see-through";
    if (style & 4) {
      EXPECT_GT(black, 100) << "the shadows are black";
    } else {
      EXPECT_EQ(black, 0);
    }
  }
}

}  // namespace
