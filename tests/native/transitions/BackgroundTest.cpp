// The background composer: its failures and their texts, the solid and tiled styles, frames and
// shadows round the picture area on screen-size targets, and its trace lines.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "BackgroundSupport.h"
#include "framework/Lists.h"
#include "framework/String.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "tests/native/framework/TempPath.h"
#include "transitions/Background.h"
#include "transitions/Frames.h"
#include "transitions/LayoutRects.h"

namespace {

using namespace bgtest;

// A rectangle list that frees its rectangles.
struct Rects {
  Rects() = default;
  explicit Rects(std::initializer_list<RECT> rects) {
    for (const RECT& r : rects) list.AddTail(new RECT(r));
  }
  ~Rects() { DeleteAllPtrListElements(&list); }
  CPtrList list;
};

// A 40 x 30 logo with a four-level grey palette and a diagonal pattern.
std::unique_ptr<CDIB> NewLogo() {
  auto logo = std::make_unique<CDIB>();
  logo->Create(40, 30, nullptr);
  logo->header->bmiHeader.biClrUsed = 4;
  for (int i = 0; i < 4; ++i) {
    const BYTE v = static_cast<BYTE>(40 + 60 * i);
    logo->header->bmiColors[i] = RGBQUAD{v, v, v, 0};
  }
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x)
      *logo->GetPixelAddress(x, y) = static_cast<BYTE>((x / 5 + y / 5) % 4);
  }
  return logo;
}

struct Styles {
  int back, screen, border, thickness, shadow;
};

BOOL Compose(CDIB* target, Rects& rects, CDIB* logo, Styles s, CString* error) {
  return SetSSBackground(target, &rects.list, logo, s.back, s.screen, s.border, s.thickness,
                         s.shadow, 0, error);
}

TEST(SetSSBackgroundTest, FailuresGiveTheirTextsAndLeaveTheTargetAlone) {
  auto logo = NewLogo();
  auto colourLogo = std::make_unique<CDIB>();
  colourLogo->Create24(30, 30);
  const char* const small =
      "Set Logo Background Error Message: Unable to generate suitable size for 3D tiles";
  const struct {
    int w, h;
    bool noRects;
    CDIB* logo;
    Styles styles;
    const char* text;
  } cases[] = {
      {639, 480, false, logo.get(), {2, 2, 0, 0, 0}, small},
      {640, 479, false, logo.get(), {2, 2, 0, 0, 0}, small},
      {0, 0, false, logo.get(), {2, 2, 0, 0, 0}, small},
      {800,
       600,
       true,
       logo.get(),
       {2, 2, 0, 0, 0},
       "Set Logo Background Error Message: Image size is not recognised"},
      {800,
       600,
       false,
       nullptr,
       {4, 0, 0, 0, 0},
       "Set Logo Background Error Message: Unable to select logo"},
      {800,
       600,
       false,
       nullptr,
       {1, 3, 0, 0, 0},
       "Set Logo Background Error Message: Unable to select logo"},
      {800,
       600,
       false,
       colourLogo.get(),
       {4, 1, 0, 0, 0},
       "Get Indexed Logo Error Message: Unable to generate logo palette"},
      // 810 x 610 has no tile size that divides both sides.
      {810, 610, false, logo.get(), {4, 0, 0, 0, 0}, small},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto target = NewTarget(c.w > 0 ? c.w : 16, c.h > 0 ? c.h : 16);
    if (c.w == 0) target->Create(0, 0, nullptr);  // an empty bitmap
    Rects rects{{0, 0, 320, 240}};
    if (c.noRects) DeleteAllPtrListElements(&rects.list);
    const std::vector<int> before = Pixels(*target);
    CString error;
    EXPECT_FALSE(Compose(target.get(), rects, c.logo, c.styles, &error));
    EXPECT_STREQ(error, c.text);
    EXPECT_EQ(Pixels(*target), before);
  }
  CString error;
  Rects rects{{0, 0, 320, 240}};
  EXPECT_FALSE(SetSSBackground(nullptr, &rects.list, logo.get(), 2, 2, 0, 0, 0, 0, &error));
  EXPECT_STREQ(error, small);
}

TEST(SetSSBackgroundTest, ErrorTextsByCode) {
  const struct {
    int code;
    const char* background;
    const char* logo;
  } cases[] = {
      {1, "System has run out of memory", "System has run out of memory"},
      {2, "Unable to run as screen width and height not divisible by 8",
       "Unable to run as screen width and height not divisible by 8"},
      {6, "Unable to select logo", "Unable to select logo"},
      {11, "Unable to map logo to background palette", "Unable to map logo to background palette"},
      {12, "Too many tiles have been generated", "Too many tiles have been generated"},
      {13, "DIB is not background size", "Unrecognized error"},
      {15, "Image size is not recognised", "Unrecognized error"},
      {16, "Unrecognized error", "Unrecognized error"},
      {0, "Unrecognized error", "Unrecognized error"},
      {-1, "Unrecognized error", "Unrecognized error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    CString text;
    GetLogoBackgroundErrorText(c.code, &text);
    EXPECT_EQ(std::string(text), std::string("Set Logo Background Error Message: ") + c.background);
    GetIndexedLogoErrorText(c.code, &text);
    EXPECT_EQ(std::string(text), std::string("Get Indexed Logo Error Message: ") + c.logo);
  }
}

// A picture area the size of the target has no frame, whatever the border style asks.
TEST(SetSSBackgroundTest, SolidScreenStylesFillEveryPixel) {
  const struct { int screen, index; } cases[] = {{2, Black()}, {3, White()}, {7, 0}, {-1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.screen);
    auto target = NewTarget(800, 600);
    Rects rects{{0, 0, 800, 600}};
    CString error;
    ASSERT_TRUE(Compose(target.get(), rects, nullptr, {4, c.screen, kBorderBlack, 1, 1}, &error))
        << error;
    EXPECT_TRUE(EveryPixel(*target, Whole(*target), [&](int, int, int v) { return v == c.index; }));
  }
}

// The own-image case: a small picture area with no band and a shadow gets only a stippled
// shadow of the picture, six pixels down and right; back style 4 leaves the area as painted.
TEST(SetSSBackgroundTest, ShadowOnlyFrameRoundASmallPicture) {
  auto target = NewTarget(1024, 768);
  const CRect picture(352, 264, 672, 504);
  Rects rects{picture};
  CString error;
  ASSERT_TRUE(Compose(target.get(), rects, nullptr, {4, 3, kBorderNone, 0, 1}, &error)) << error;
  auto expected = NewTarget(1024, 768, White());
  CRect box = picture;
  box.InflateRect(4, 4);
  PaintShadow(*expected, box, Black(),
              [&](int x, int y) { return picture.PtInRect(CPoint(x, y)); });
  ExpectSamePixels(*target, *expected);

  // With the border style's shadow flag clear, nothing at all is drawn.
  ASSERT_TRUE(Compose(target.get(), rects, nullptr, {4, 3, kBorderNone, 0, 0}, &error)) << error;
  EXPECT_TRUE(EveryPixel(*target, Whole(*target), [](int, int, int v) { return v == White(); }));
}

// A black band round each rectangle of the list, as wide as the thickness flag and the picture
// area say; the back style then paints the centred picture area.
TEST(SetSSBackgroundTest, FrameWidthFollowsThicknessAndAreaSize) {
  const struct {
    int areaWidth, areaHeight, thickness, width;
  } cases[] = {
      {320, 240, 0, 4}, {320, 240, 1, 18}, {640, 480, 1, 10}, {800, 600, 1, 10}, {800, 600, 0, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.areaWidth << " x " << c.areaHeight << " thick " << c.thickness);
    auto target = NewTarget(1024, 768);
    const int left = (1024 - c.areaWidth) / 2;
    const int top = (768 - c.areaHeight) / 2;
    Rects rects{{left, top, left + c.areaWidth, top + c.areaHeight}, {100, 20, 150, 60}};
    CString error;
    ASSERT_TRUE(Compose(target.get(), rects, nullptr, {3, 2, kBorderBlack, c.thickness, 0}, &error))
        << error;
    // The area is light grey (back style 3) on black, framed in black: measure the band on a
    // light grey screen instead.
    ASSERT_TRUE(Compose(target.get(), rects, nullptr, {2, 3, kBorderBlack, c.thickness, 0}, &error))
        << error;
    const int midY = top + c.areaHeight / 2;
    int band = 0;
    while (At(*target, left - 1 - band, midY) == Black()) ++band;
    EXPECT_EQ(band, c.width);
    EXPECT_EQ(At(*target, left, midY), Black()) << "back style 2 paints the area black";
    EXPECT_EQ(At(*target, 100 - c.width, 40), Black()) << "the second rectangle is framed too";
    EXPECT_EQ(At(*target, 100 - c.width - 1, 40), White());
    EXPECT_EQ(At(*target, 125, 40), White()) << "only the first rectangle's area is painted";
  }
}

TEST(SetSSBackgroundTest, FrameWidthTable) {
  const struct {
    int style, thickness;
    bool large;
    int width;
  } cases[] = {
      {kBorderBlack, 0, true, 4},
      {kBorderWhite, 0, false, 4},
      {kBorderRaised, 0, true, 7},
      {kBorderRaisedSunk, 0, true, 9},
      {kBorderTorn, 0, false, 14},
      {kBorderScalloped, 0, true, 14},
      {kBorderNone, 0, true, 4},
      {kBorderTorn, 1, true, 10},
      {kBorderTorn, 1, false, 18},
      {kBorderRaised, 5, false, 18},
      {9, 0, false, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PictureFrameWidth(c.style, c.thickness, c.large), c.width)
        << c.style << " " << c.thickness << " " << c.large;
  }
}

// Under back style 4 the picture area keeps what the screen style painted, but for the shadow
// of the frame's top and left bands, which reaches 6 pixels in (the picture that the caller
// draws there covers it), and the first row and column where style 3's sunken bevel starts.
// Everything drawn is in the grey ramp.
TEST(SetSSBackgroundTest, BackStyleFourLeavesThePictureAreaAsPainted) {
  auto logo = NewLogo();
  for (int border = 0; border <= 6; ++border) {
    for (int shadow : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "border " << border << " shadow " << shadow);
      auto target = NewTarget(1024, 768);
      Rects rects{{192, 144, 832, 624}};
      CString error;
      ASSERT_TRUE(Compose(target.get(), rects, logo.get(), {4, 1, border, 1, shadow}, &error))
          << error;
      // Screen style 1 tiles 64 x 64 logos over the screen; the area shows them untouched.
      const int from = shadow ? 7 : 1;  // style 3: the shadow of its bevel on the first row
      EXPECT_TRUE(
          EveryPixel(*target, CRect(192 + from, 144 + from, 832, 624),
                     [&](int x, int y, int v) { return v == At(*target, x % 64, y % 64); }));
      EXPECT_TRUE(EveryPixel(*target, Whole(*target),
                             [](int, int, int v) { return v >= Black() && v <= White(); }));
    }
  }
}

TEST(SetSSBackgroundTest, TiledStylesRepeatOneGreyLogoTile) {
  auto logo = NewLogo();
  const struct {
    Styles styles;
    CRect area;
    int tile;
  } cases[] = {
      {{4, 0, 0, 0, 0}, {0, 0, 1024, 768}, 256},     // screen style 0: the largest tiles
      {{4, 1, 0, 0, 0}, {0, 0, 1024, 768}, 64},      // screen style 1
      {{1, 2, 0, 0, 0}, {0, 0, 1024, 768}, 128},     // back style 1 over a full-screen area
      {{0, 2, 0, 0, 0}, {192, 144, 832, 624}, 160},  // back style 0 on 640 x 480
      {{1, 2, 0, 0, 0}, {192, 144, 832, 624}, 80},   // back style 1 on 640 x 480
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "back " << c.styles.back << " screen " << c.styles.screen);
    auto target = NewTarget(1024, 768);
    Rects rects{c.area};
    CString error;
    ASSERT_TRUE(Compose(target.get(), rects, logo.get(), c.styles, &error)) << error;
    EXPECT_TRUE(EveryPixel(*target, c.area, [&](int x, int y, int v) {
      const int tx = c.area.left + (x - c.area.left) % c.tile;
      const int ty = c.area.top + (y - c.area.top) % c.tile;
      return v == At(*target, tx, ty);
    }));
    std::set<int> greys;
    EXPECT_TRUE(
        EveryPixel(*target, CRect(c.area.TopLeft(), CSize(c.tile, c.tile)), [&](int, int, int v) {
          greys.insert(v);
          return true;
        }));
    EXPECT_GE(greys.size(), 4u) << "the logo's four greys, and blends of them";
    for (int v : greys) {
      EXPECT_GE(v, Black());
      EXPECT_LE(v, White());
    }
  }
}

TEST(GetIndexedLogoTest, ResizesOntoTheGreyRamp) {
  auto logo = NewLogo();
  CDIB tile;
  CString error;
  ASSERT_TRUE(GetIndexedLogo(logo.get(), 64, 48, &tile, 0, &error)) << error;
  EXPECT_EQ(tile.GetWidth(), 64);
  EXPECT_EQ(tile.GetHeight(), 48);
  const RGBQUAD darkest = tile.header->bmiColors[Black()];
  const RGBQUAD lightest = tile.header->bmiColors[White()];
  EXPECT_EQ(darkest.rgbRed + darkest.rgbGreen + darkest.rgbBlue, 0);
  EXPECT_EQ(lightest.rgbRed, 252);
  // The logo's darkest grey (40) is nearest the ramp's 14 x 4 = 56 ... its top-left pixel.
  EXPECT_EQ(At(tile, 0, 0), Black() + 1);

  const struct {
    CDIB* logo;
    int w, h;
    const char* text;
  } failures[] = {
      {nullptr, 10, 10, "Get Indexed Logo Error Message: Unable to select logo"},
      {logo.get(), 0, 10, "Get Indexed Logo Error Message: Unable to generate logo image"},
      {logo.get(), 10, -5, "Get Indexed Logo Error Message: Unable to generate logo image"},
  };
  for (const auto& f : failures) {
    EXPECT_FALSE(GetIndexedLogo(f.logo, f.w, f.h, &tile, 0, &error));
    EXPECT_STREQ(error, f.text);
  }
}

// A logo's table is seldom a ramp. This one is white all over, its halves on entries 10 and 12
// with black at 11 between them: resized, it stays white; a blend of the pixel values would draw
// a black seam down its middle.
TEST(GetIndexedLogoTest, ResizesInTheLogosColoursNotItsValues) {
  CDIB logo;
  ASSERT_TRUE(logo.Create(20, 10, nullptr));
  logo.header->bmiColors[10] = logo.header->bmiColors[12] = RGBQUAD{255, 255, 255, 0};
  logo.header->bmiColors[11] = RGBQUAD{0, 0, 0, 0};
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) *logo.GetPixelAddress(x, y) = x < 10 ? 10 : 12;
  CDIB tile;
  CString error;
  ASSERT_TRUE(GetIndexedLogo(&logo, 64, 32, &tile, 0, &error)) << error;
  EXPECT_TRUE(EveryPixel(tile, CRect(0, 0, 64, 32), [](int, int, int v) { return v == White(); }));
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);  // text mode: the trace file has the platform's line ends
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SetSSBackgroundTest, TraceLinesOnlyWithTheTraceFlag) {
  TempPath path(".txt");
  ASSERT_TRUE(seams::Trace::Open(path.c_str(), "banner"));
  auto logo = NewLogo();
  auto target = NewTarget(1024, 768);
  Rects rects{{0, 0, 1024, 768}};
  CString error;
  ASSERT_TRUE(SetSSBackground(target.get(), &rects.list, logo.get(), 4, 0, 0, 0, 0, 0, &error));
  const size_t quiet = ReadAll(path.str()).size();
  ASSERT_TRUE(SetSSBackground(target.get(), &rects.list, logo.get(), 4, 0, 3, 1, 0, 1, &error));
  seams::Trace::Close();
  const std::string text = ReadAll(path.str()).substr(quiet);
  const size_t logoLine = text.find("pLogoIn=");
  ASSERT_NE(logoLine, std::string::npos) << text;
  EXPECT_EQ(text.substr(0, logoLine), "SetSSBackground - start - \n");
  const std::string rest = text.substr(text.find(',', logoLine));
  EXPECT_EQ(rest,
            ",nBackStyle=4,nBorderStyle=3,nBorderThickness=1\n"
            "ScreenSquareWidth=256,ScreenSquareHeight=256\n"
            "GetIndexedLogo - start - \n"
            "LogoWidth=256,LogoHeight=256\n"
            "GetIndexedLogo - end - \n\n"
            "SetSSBackground - end - \n\n");
}

}  // namespace
