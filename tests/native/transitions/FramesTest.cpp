// Picture frames on small targets: the plain bands and their shadows pixel for pixel, the other
// styles by what they must keep (the picture, everything outside the frame and its shadow, the
// grey ramp), and the stipple that makes the shadows.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "BackgroundSupport.h"
#include "seams/Random.h"
#include "transitions/Frames.h"

namespace {

using namespace bgtest;

constexpr int kW = 200;
constexpr int kH = 160;
const CRect kPicture(40, 40, 120, 100);

struct Box {
  CRect outer;  // the frame's box
  bool InBand(int x, int y) const {
    return outer.PtInRect(CPoint(x, y)) && !kPicture.PtInRect(CPoint(x, y));
  }
};

Box FrameBox(int t) {
  CRect outer = kPicture;
  outer.InflateRect(t, t);
  return {outer};
}

bool OnOuterRing(const CRect& outer, int x, int y) {
  return outer.PtInRect(CPoint(x, y)) &&
         (x == outer.left || y == outer.top || x == outer.right - 1 || y == outer.bottom - 1);
}

// Black and white bands are exact: the band, the outline ring, and the shadow of the band (or of
// the whole frame) six pixels down and right, under the frame.
TEST(DrawPictureFrameTest, PlainBandsAndTheirShadowsPixelForPixel) {
  const struct {
    int style, t, whole, shadow;
  } cases[] = {
      {kBorderBlack, 4, 0, 0},  {kBorderBlack, 10, 0, 1}, {kBorderWhite, 4, 0, 0},
      {kBorderWhite, 18, 0, 1}, {kBorderWhite, 7, 1, 1},  {kBorderNone, 4, 0, 1},
      {kBorderNone, 4, 1, 1},   {kBorderNone, 9, 0, 0},   {11, 5, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " width " << c.t << " whole "
                                    << c.whole << " shadow " << c.shadow);
    auto target = NewTarget(kW, kH);
    const RECT rect = kPicture;
    EXPECT_TRUE(DrawPictureFrame(target.get(), &rect, c.style, c.t, c.whole, c.shadow,
                                 static_cast<BYTE>(Black())));

    const Box box = FrameBox(c.t);
    auto expected = NewTarget(kW, kH);
    const bool hasBand = c.style == kBorderBlack || c.style == kBorderWhite;
    // The shadow repeats what the frame covers: its band, and with the whole-shadow flag the
    // picture too (only the picture when there is no band).
    PaintShadow(*expected, box.outer, Black(), [&](int x, int y) {
      const bool inPicture = kPicture.PtInRect(CPoint(x, y));
      return (c.shadow || c.whole) && ((hasBand && !inPicture) || (c.whole && inPicture));
    });
    if (hasBand) {
      for (int y = box.outer.top; y < box.outer.bottom; ++y) {
        for (int x = box.outer.left; x < box.outer.right; ++x) {
          if (!box.InBand(x, y)) continue;
          const bool ring = OnOuterRing(box.outer, x, y);
          *expected->GetPixelAddress(x, y) =
              static_cast<BYTE>(c.style == kBorderBlack || ring ? Black() : White());
        }
      }
    }
    ExpectSamePixels(*target, *expected);
  }
}

// What every style keeps: the picture (but for the first row and column, where the sunken bevel
// of style 3 starts), everything outside the frame's box, and the grey ramp for what it draws.
TEST(DrawPictureFrameTest, EveryStyleStaysInItsBandAndInTheGreyRamp) {
  for (int style = 0; style <= 6; ++style) {
    for (int t : {4, 7, 9, 14, 18, 30}) {
      SCOPED_TRACE(testing::Message() << "style " << style << " width " << t);
      seams::Srand(7);
      auto target = NewTarget(kW, kH);
      const RECT rect = kPicture;
      ASSERT_TRUE(
          DrawPictureFrame(target.get(), &rect, style, t, 0, 0, static_cast<BYTE>(Black())));
      const Box box = FrameBox(t);
      std::set<int> drawn;
      EXPECT_TRUE(EveryPixel(*target, Whole(*target), [&](int x, int y, int p) {
        const bool edgeOfPicture =
            style == kBorderRaisedSunk && (x == kPicture.left || y == kPicture.top);
        if (!box.InBand(x, y) && !edgeOfPicture) return p == kUntouched;
        if (p != kUntouched) drawn.insert(p);
        return p == kUntouched || (p >= Black() && p <= White());
      }));
      if (style == kBorderNone) {
        EXPECT_TRUE(drawn.empty());
      } else {
        EXPECT_TRUE(drawn.count(White()) || style == kBorderBlack);
        EXPECT_TRUE(drawn.count(Black())) << "outline, rim or tear pixels";
      }
      if (style == kBorderRaised || style == kBorderRaisedSunk) {
        EXPECT_GE(drawn.size(), t >= 10 ? 4u : 3u) << "bevels in two greys, outline";
      }
    }
  }
}

TEST(DrawPictureFrameTest, RaisedBevelIsLitTopLeftAndShadedBottomRight) {
  auto target = NewTarget(kW, kH);
  const RECT rect = kPicture;
  ASSERT_TRUE(
      DrawPictureFrame(target.get(), &rect, kBorderRaised, 10, 0, 0, static_cast<BYTE>(Black())));
  const Box box = FrameBox(10);
  const int midX = (box.outer.left + box.outer.right) / 2;
  const int midY = (box.outer.top + box.outer.bottom) / 2;
  EXPECT_EQ(At(*target, midX, box.outer.top), Black()) << "outline";
  EXPECT_EQ(At(*target, midX, box.outer.bottom - 1), Black());
  const int lit = At(*target, midX, box.outer.top + 1);
  const int shade = At(*target, midX, box.outer.bottom - 2);
  const int face = At(*target, midX, box.outer.top + 8);
  EXPECT_EQ(lit, White());
  EXPECT_EQ(At(*target, box.outer.left + 1, midY), lit);
  EXPECT_EQ(At(*target, box.outer.right - 2, midY), shade);
  EXPECT_LT(shade, face) << "the shaded side is darker than the band";
  EXPECT_LT(face, lit);
}

// The torn edge: the band's inner two thirds are solid white; the outer third is torn, in a
// shape that follows the random sequence.
TEST(DrawPictureFrameTest, TornEdgeIsSolidInsideAndFollowsTheRandomSequence) {
  const int t = 14;
  const int m = t - (2 * t) / 3;
  const Box box = FrameBox(t);
  auto draw = [&](unsigned seed) {
    seams::Srand(seed);
    auto target = NewTarget(kW, kH);
    const RECT rect = kPicture;
    EXPECT_TRUE(
        DrawPictureFrame(target.get(), &rect, kBorderTorn, t, 0, 0, static_cast<BYTE>(Black())));
    return target;
  };
  auto first = draw(3);
  // The walk marks its points on the band's outermost rows and columns at the top and left.
  CRect solid = box.outer;
  solid.DeflateRect(m + 1, m + 1, m, m);
  int torn = 0, kept = 0;
  for (int y = box.outer.top; y < box.outer.bottom; ++y) {
    for (int x = box.outer.left; x < box.outer.right; ++x) {
      if (!box.InBand(x, y)) continue;
      if (solid.PtInRect(CPoint(x, y))) {
        ASSERT_EQ(At(*first, x, y), White()) << x << "," << y;
      } else {
        torn += At(*first, x, y) == kUntouched;
        kept += At(*first, x, y) != kUntouched;
      }
    }
  }
  EXPECT_GT(torn, 0) << "the outer part is torn away in places";
  EXPECT_GT(kept, 0);
  EXPECT_EQ(Pixels(*draw(3)), Pixels(*first)) << "the same sequence tears the same edge";
  EXPECT_NE(Pixels(*draw(4)), Pixels(*first));
}

TEST(DrawPictureFrameTest, ScallopedEdgeIsBittenAndItsOuterRingShowsThrough) {
  const int t = 14;
  const int a = t - (2 * t) / 3;
  const Box box = FrameBox(t);
  auto target = NewTarget(kW, kH);
  const RECT rect = kPicture;
  ASSERT_TRUE(
      DrawPictureFrame(target.get(), &rect, kBorderScalloped, t, 0, 0, static_cast<BYTE>(Black())));
  int bitten = 0, rim = 0;
  for (int x = box.outer.left; x < box.outer.right; ++x) {
    EXPECT_EQ(At(*target, x, box.outer.top), kUntouched) << "outer ring at " << x;
    EXPECT_EQ(At(*target, x, box.outer.bottom - 1), kUntouched);
    // Along the top, the scallops bite no deeper than a pixels into the band.
    for (int y = box.outer.top + 1; y < box.outer.top + a; ++y) {
      bitten += At(*target, x, y) == kUntouched;
      rim += At(*target, x, y) == Black();
    }
    if (x > box.outer.left + a && x < box.outer.right - a - 1) {
      EXPECT_EQ(At(*target, x, box.outer.top + a + 1), White()) << x;
    }
  }
  EXPECT_GT(bitten, 0);
  EXPECT_GT(rim, 0);
}

TEST(DrawPictureFrameTest, FramesAndShadowsOffTheTargetAreClipped) {
  const RECT cases[] = {
      {-30, -30, 20, 20},
      {180, 140, 260, 220},
      {-500, 50, 700, 60},
      {0, 0, kW, kH},
  };
  for (const RECT& rect : cases) {
    SCOPED_TRACE(testing::Message() << CRect(rect).left << "," << CRect(rect).top);
    for (int style = 0; style <= 6; ++style) {
      auto target = NewTarget(kW, kH);
      EXPECT_TRUE(
          DrawPictureFrame(target.get(), &rect, style, 18, 1, 1, static_cast<BYTE>(Black())));
    }
  }
  // A frame with no area draws nothing; one larger than any bitmap cannot be made.
  auto target = NewTarget(kW, kH);
  const RECT inverted = {100, 100, 10, 10};
  EXPECT_TRUE(DrawPictureFrame(target.get(), &inverted, kBorderBlack, 4, 0, 1, 0));
  EXPECT_EQ(Pixels(*target), Pixels(*NewTarget(kW, kH)));
  const RECT huge = {INT_MIN / 2, 0, INT_MAX / 2, 10};
  EXPECT_FALSE(DrawPictureFrame(target.get(), &huge, kBorderBlack, 4, 0, 1, 0));
}

TEST(StippleDIBShapeTest, ShadowsTheShapeInACheckerboard) {
  // Source: key 9 around a 3 x 2 shape of 1s.
  auto source = NewTarget(5, 4, 9);
  Paint(*source, CRect(1, 1, 4, 3), 1);
  auto destination = NewTarget(8, 6, 0);
  ASSERT_TRUE(StippleDIBShape(source.get(), destination.get(), 2, 1, 5, 4, 0, 0, 9, 7));
  const std::vector<int> expected = {
      0, 0, 0, 0, 0, 0, 0, 0,  //
      0, 0, 0, 0, 0, 0, 0, 0,  // row 0 of the source is all key
      0, 0, 0, 0, 7, 0, 0, 0,  // row 1: column 2 (odd sum)
      0, 0, 0, 7, 0, 7, 0, 0,  // row 2: columns 1 and 3
      0, 0, 0, 0, 0, 0, 0, 0,  // row 3 is key
      0, 0, 0, 0, 0, 0, 0, 0,
  };
  EXPECT_EQ(Pixels(*destination), expected);

  EXPECT_FALSE(StippleDIBShape(nullptr, destination.get(), 0, 0, 5, 4, 0, 0, 9, 7));
  EXPECT_FALSE(StippleDIBShape(source.get(), nullptr, 0, 0, 5, 4, 0, 0, 9, 7));
  EXPECT_FALSE(StippleDIBShape(source.get(), destination.get(), 0, 0, 0, 4, 0, 0, 9, 7));
  EXPECT_FALSE(StippleDIBShape(source.get(), destination.get(), 0, 0, 5, 0, 0, 0, 9, 7));
  // Offsets and sizes far outside both bitmaps touch nothing and end at once.
  const std::vector<int> before = Pixels(*destination);
  EXPECT_TRUE(StippleDIBShape(source.get(), destination.get(), INT_MIN, INT_MAX, INT_MAX, INT_MAX,
                              INT_MAX, INT_MIN, 9, 3));
  EXPECT_TRUE(StippleDIBShape(source.get(), destination.get(), 1, 2, INT_MAX, INT_MAX, 0, 0, 9, 3));
  EXPECT_NE(Pixels(*destination), before);
  for (int v : Pixels(*destination)) EXPECT_TRUE(v == 0 || v == 3 || v == 7);
}

}  // namespace
