// The clock overlay on a screen document with its view: the dial and hands drawn for known wall
// times (read through the clock seam), what reaches the off-screen surface and the window, and
// the tear-down that gives the screen its picture back.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "imaging/ClockOverlay.h"
#include "imaging/ColorPalette.h"
#include "imaging/HeadlessScreenHost.h"
#include "imaging/Sprite.h"
#include "seams/Clock.h"
#include "tests/native/imaging/ScreenDocFixture.h"

namespace {

using namespace routinetest;

constexpr int kClear = CClockOverlay::kTransparentIndex;
constexpr int kBright = kRamp + 31;

using Pixel = std::pair<int, int>;

class ClockOverlayTest : public ScreenDocFixture {
 protected:
  void TearDown() override {
    RemoveClockOverlay(&doc);
    ScreenDocFixture::TearDown();
  }

  // Starts a clock at the local time hh:mm:ss.
  CClockOverlay* StartAt(int hh, int mm, int ss) {
    scoped.reset();  // the previous test clock goes out first, restoring the system clock
    testClock = std::make_unique<seams::TestClock>(1000, 1, 1, LocalSeconds(hh, mm, ss));
    scoped = std::make_unique<seams::ScopedClock>(testClock.get());
    return CreateClockOverlay(&doc);
  }

  // The pixels of the hands sprite that are not transparent.
  static std::set<Pixel> Drawn(const CSprite& sprite) {
    std::set<Pixel> out;
    for (int y = 0; y < sprite.GetHeight(); ++y) {
      for (int x = 0; x < sprite.GetWidth(); ++x) {
        if (At(sprite, x, y) != kClear) out.insert({x, y});
      }
    }
    return out;
  }

  std::unique_ptr<seams::TestClock> testClock;
  std::unique_ptr<seams::ScopedClock> scoped;
};

// A broad hand straight along an axis: the centre line and one line either side, all solid.
std::set<Pixel> AxisHand(int x0, int y0, int x1, int y1) {
  std::set<Pixel> out;
  const bool horizontal = y0 == y1;
  for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) {
      for (int side = -1; side <= 1; ++side)
        out.insert(horizontal ? Pixel{x, y + side} : Pixel{x + side, y});
    }
  }
  return out;
}

std::set<Pixel> Union(std::set<Pixel> a, const std::set<Pixel>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST_F(ClockOverlayTest, ConstructionRegistersTwoTransparentSpritesInTheTopRightCorner) {
  CClockOverlay* clock = StartAt(10, 10, 0);
  EXPECT_EQ(doc.clockOn, 1);
  EXPECT_EQ(doc.clock, clock);
  EXPECT_EQ(GetClockOverlay(&doc), clock);
  EXPECT_EQ(clock->shown, 0) << "drawn into the buffer but not yet on the window";
  EXPECT_TRUE(doc.shown.empty());
  EXPECT_EQ(clock->GetRect(), CRect(kWidth - 100, 0, kWidth, 100));

  ASSERT_EQ(doc.sprites.GetCount(), 2);
  EXPECT_EQ(doc.sprites.GetHead(), clock->hands) << "the hands lie in front of the dial";
  EXPECT_EQ(doc.sprites.GetTail(), clock->face);
  for (CSprite* sprite : {clock->face, clock->hands}) {
    EXPECT_EQ(sprite->GetWidth(), 100);
    EXPECT_EQ(sprite->GetHeight(), 100);
    EXPECT_EQ(sprite->GetX(), kWidth - 100);
    EXPECT_EQ(sprite->GetY(), 0);
    EXPECT_TRUE(sprite->IsTransparent());
    EXPECT_EQ(sprite->GetTransparentIndex(), kClear);
    EXPECT_EQ(sprite->header->bmiColors[kRamp + 5].rgbRed, CColorPalette::GreyLevels[5] * 4)
        << "the sprites use the screen's palette";
  }
  EXPECT_EQ(clock->face->GetZ(), 30);
  EXPECT_EQ(clock->hands->GetZ(), 29);
  ExpectSurfaceComposed();
}

TEST_F(ClockOverlayTest, DialIsARingOfGreyRampPixelsWithMarksAndNumerals) {
  CClockOverlay* clock = StartAt(10, 10, 0);
  const CSprite& face = *clock->face;
  int ring = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const int d2 = (x - 50) * (x - 50) + (y - 50) * (y - 50);
      const int p = At(face, x, y);
      if (d2 < 21 * 21 || d2 > 47 * 47) {
        ASSERT_EQ(p, kClear) << "outside the ring at " << x << "," << y;
      } else if (d2 <= 46 * 46) {
        ASSERT_GE(p, kRamp) << x << "," << y;
        ASSERT_LE(p, kBright) << x << "," << y;
        ring += p == kRamp + 1;
      }
    }
  }
  EXPECT_GT(ring, 3000) << "most of the ring is the dark dial colour";
  // The minute marks at 3, 6, 9 and 12 o'clock run from radius 41 to 44, solid.
  for (int r = 41; r <= 44; ++r) {
    EXPECT_EQ(At(face, 50 + r, 50), kBright) << r;
    EXPECT_EQ(At(face, 50, 50 + r), kBright) << r;
    EXPECT_EQ(At(face, 50 - r, 50), kBright) << r;
    EXPECT_EQ(At(face, 50, 50 - r), kBright) << r;
  }
  EXPECT_EQ(At(face, 50 + 37, 50), kRamp + 1) << "between the marks and the circle of radius 40";
  // The two circles.
  EXPECT_EQ(At(face, 95, 50), kBright);
  EXPECT_EQ(At(face, 90, 50), kBright);
  // The numerals sit in 10 x 10 boxes at radius 30: the "3" has its right stroke at x = 82.
  int numeral = 0;
  for (int y = 45; y < 55; ++y) numeral += At(face, 82, y) == kBright;
  EXPECT_EQ(numeral, 10);
}

// Hands at times where each lies along an axis, so that every pixel is known: the hour hand is 23
// pixels long, the minute and second hands 45, and the broad hands are three pixels wide.
TEST_F(ClockOverlayTest, HandsShowTheLocalTimeOfTheClockSeam) {
  const std::set<Pixel> hourRight = AxisHand(50, 50, 73, 50);
  const std::set<Pixel> hourDown = AxisHand(50, 50, 50, 73);
  const std::set<Pixel> hourLeft = AxisHand(50, 50, 27, 50);
  const std::set<Pixel> hourUp = AxisHand(50, 50, 50, 27);
  const std::set<Pixel> minuteUp = AxisHand(50, 50, 50, 5);  // the second hand lies inside it
  const struct {
    int hh;
    std::set<Pixel> hour;
  } cases[] = {{3, hourRight}, {15, hourRight}, {6, hourDown}, {18, hourDown},
               {9, hourLeft},  {21, hourLeft},  {0, hourUp},   {12, hourUp}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hh);
    CClockOverlay* clock = StartAt(c.hh, 0, 0);
    EXPECT_EQ(Drawn(*clock->hands), Union(c.hour, minuteUp));
    for (const Pixel& p : Drawn(*clock->hands))
      ASSERT_EQ(At(*clock->hands, p.first, p.second), kBright);
    RemoveClockOverlay(&doc);
  }
}

// The dial over black, white and a picture, on the screen's colour table with the ramp at 0 (a
// display without a palette, where the ramp holds index 6) and at 10 (an 8-bit display): the
// ring that carries marks and numerals is opaque, so each of its pixels is a grey of the ramp,
// the same over every background, and never the background's own entry where that is no grey
// of the ramp (the document maps a black background onto the ramp's black, which the dial's
// antialiasing draws with too).
TEST(ClockDialTest, TheDialHasNoHolesOnAnyBackground) {
  constexpr int kW = 200, kH = 120;
  seams::TestClock clock(1000, 1, 1, LocalSeconds(10, 10, 0));
  seams::ScopedClock scoped(&clock);
  for (const int reserved : {0, 10}) {
    SCOPED_TRACE(reserved);
    PALETTEENTRY picture[64], entries[256];
    for (int i = 0; i < 64; ++i) {
      picture[i] = {static_cast<BYTE>(200 - i), static_cast<BYTE>(40 + i * 3), 90, 0};
    }
    CColorPalette::BuildScreenEntries(picture, 64, reserved, entries);
    auto find = [&](BYTE r, BYTE g, BYTE b) {
      for (int i = 0; i < 256; ++i) {
        const bool ramp = i >= reserved && i < reserved + 32;
        if (!ramp && entries[i].peRed == r && entries[i].peGreen == g && entries[i].peBlue == b)
          return i;
      }
      return -1;
    };
    const int black = find(0, 0, 0), white = find(255, 255, 255), first = find(200, 40, 90);
    ASSERT_GE(black, 0);
    ASSERT_GE(white, 0);
    ASSERT_GE(first, 0);
    const struct {
      const char* name;
      std::function<int(int, int)> index;
    } grounds[] = {{"black", [&](int, int) { return black; }},
                   {"white", [&](int, int) { return white; }},
                   {"picture", [&](int x, int y) { return first + (x * 7 + y * 3) % 64; }}};
    std::vector<int> firstRing;
    for (const auto& ground : grounds) {
      SCOPED_TRACE(ground.name);
      CAnimView view;
      CAnimDoc doc;
      doc.reservedEntries = reserved;
      GreyRampBaseIndex = reserved;
      doc.AddView(&view);
      doc.OnNewDocument();
      auto* background = new CDIB;
      ASSERT_TRUE(background->Create(kW, kH, nullptr));
      for (int i = 0; i < 256; ++i) {
        background->header->bmiColors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed,
                                            0};
      }
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
          *background->GetPixelAddress(x, y) = static_cast<BYTE>(ground.index(x, y));
      ASSERT_TRUE(doc.SetBackgroundNoDraw(background));
      ASSERT_NE(CreateClockOverlay(&doc), nullptr);
      std::vector<int> ring;
      int holes = 0, outsideRamp = 0;
      for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
          const int d2 = (x - 50) * (x - 50) + (y - 50) * (y - 50);
          if (d2 < 21 * 21 || d2 > 46 * 46) continue;
          const int shown = At(*view.surface, kW - 100 + x, y);
          ring.push_back(shown);
          const int under = At(*doc.background, kW - 100 + x, y);
          const bool grey = under >= reserved && under <= reserved + 31;
          holes += !grey && shown == under;
          outsideRamp += shown < reserved || shown > reserved + 31;
        }
      }
      EXPECT_EQ(holes, 0) << "dial pixels that show the background";
      EXPECT_EQ(outsideRamp, 0) << "dial pixels that are no grey of the ramp";
      if (firstRing.empty()) {
        firstRing = ring;
      } else {
        EXPECT_EQ(ring, firstRing) << "the dial looks different on this background";
      }
      RemoveClockOverlay(&doc);
      doc.RemoveView(&view);
    }
  }
}

TEST_F(ClockOverlayTest, HandsAreRedrawnOnlyWhenTheSecondChanges) {
  CClockOverlay* clock = StartAt(3, 0, 0);
  const std::set<Pixel> atThree = Drawn(*clock->hands);
  *clock->hands->GetPixelAddress(0, 0) = 99;  // a mark that a redraw would clear
  clock->DrawTime();
  EXPECT_EQ(At(*clock->hands, 0, 0), 99) << "same second: nothing drawn";

  testClock->Advance(15000);  // 03:00:15: the second hand now points to 3 o'clock
  clock->DrawTime();
  EXPECT_EQ(At(*clock->hands, 0, 0), kClear);
  const std::set<Pixel> later = Drawn(*clock->hands);
  for (int x = 74; x <= 95; ++x) {
    EXPECT_TRUE(later.count({x, 50})) << "second hand at " << x;
    EXPECT_FALSE(atThree.count({x, 50})) << x;
  }
  EXPECT_EQ(clock->shown, 0);
  ExpectSurfaceComposed();
}

TEST_F(ClockOverlayTest, UpdateShowsTheClockOncePerDrawing) {
  CClockOverlay* clock = StartAt(3, 0, 0);
  const CRect clockRect(kWidth - 100, 0, kWidth, 100);
  UpdateClockOverlay(&doc);
  ASSERT_EQ(doc.shown.size(), 1u);
  EXPECT_EQ(doc.shown[0], clockRect);
  EXPECT_EQ(clock->shown, 1);

  for (int i = 0; i < 50; ++i) UpdateClockOverlay(&doc);
  EXPECT_EQ(doc.shown.size(), 1u) << "nothing new within the same second";

  testClock->Advance(1000);
  UpdateClockOverlay(&doc);
  ASSERT_EQ(doc.shown.size(), 2u);
  EXPECT_EQ(doc.shown[1], clockRect);
  ExpectSurfaceComposed();
}

TEST_F(ClockOverlayTest, UpdateWithoutARegisteredClockDoesNothing) {
  seams::TestClock clock(1000, 1, 1, LocalSeconds(3, 0, 0));
  seams::ScopedClock scope(&clock);
  UpdateClockOverlay(&doc);
  UpdateClockOverlay(nullptr);
  EXPECT_TRUE(doc.shown.empty());

  HeadlessScreenHost host(kRamp);  // a host that is no screen document has no clock
  EXPECT_EQ(GetClockOverlay(&host), nullptr);
  UpdateClockOverlay(&host);
  EXPECT_TRUE(host.GetShownRects().empty());
}

TEST_F(ClockOverlayTest, RemovalRestoresThePictureAndKeepsOtherSprites) {
  // A caption-like sprite behind the clock, partly under it.
  auto* caption = new CSprite;
  ASSERT_TRUE(caption->Create(120, 20, nullptr));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 120; ++x)
      *caption->GetPixelAddress(x, y) = static_cast<BYTE>(x % 5 ? 77 : 0);
  }
  caption->SetTransparent(1);
  caption->SetPosition(kWidth - 150, 40);
  doc.sprites.Insert(caption);
  doc.RenderRect(nullptr);

  StartAt(9, 41, 7);
  UpdateClockOverlay(&doc);
  doc.shown.clear();
  RemoveClockOverlay(&doc);
  EXPECT_EQ(doc.clockOn, 0);
  EXPECT_EQ(doc.clock, nullptr);
  ASSERT_EQ(doc.sprites.GetCount(), 1);
  EXPECT_EQ(doc.sprites.GetHead(), caption);
  ASSERT_EQ(doc.shown.size(), 1u);
  EXPECT_EQ(doc.shown[0], CRect(kWidth - 100, 0, kWidth, 100));
  ExpectSurfaceComposed();
  EXPECT_EQ(At(*view.surface, kWidth - 1, 0), At(*doc.background, kWidth - 1, 0));

  RemoveClockOverlay(&doc);  // nothing registered any more: nothing happens
  EXPECT_EQ(doc.shown.size(), 1u);
}

// The document owns the clock: every way its sprites are deleted deletes the clock first, so a
// tick afterwards finds no clock instead of drawing into freed sprites (AddressSanitizer).
TEST_F(ClockOverlayTest, DeletingTheSpritesDeletesTheClock) {
  const struct {
    const char* path;
    std::function<void(CAnimDoc&)> deleteSprites;
  } cases[] = {
      {"background replaced", [](CAnimDoc& d) { d.SetBackground(NewBackground(kWidth, kHeight)); }},
      {"background replaced without drawing",
       [](CAnimDoc& d) { d.SetBackgroundNoDraw(NewBackground(kWidth, kHeight)); }},
      {"sprite list emptied", [](CAnimDoc& d) { d.sprites.DeleteAll(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    StartAt(9, 41, 7);
    UpdateClockOverlay(&doc);
    c.deleteSprites(doc);
    EXPECT_EQ(doc.clockOn, 0);
    EXPECT_EQ(doc.clock, nullptr);
    EXPECT_EQ(doc.sprites.GetCount(), 0);
    testClock->Advance(1000);  // a new second: a live clock would draw and show now
    doc.shown.clear();
    UpdateClockOverlay(&doc);
    EXPECT_TRUE(doc.shown.empty());
    RemoveClockOverlay(&doc);  // the routine's tear-down finds nothing left to do
    EXPECT_TRUE(doc.shown.empty());
  }
}

TEST_F(ClockOverlayTest, DestroyingTheDocumentDeletesTheClockWithItsSprites) {
  StartAt(9, 41, 7);  // the fixture's clock seam
  auto other = std::make_unique<CAnimDoc>();
  other->SetBackgroundNoDraw(NewBackground(kWidth, kHeight));  // no view: kept, not shown
  ASSERT_NE(CreateClockOverlay(other.get()), nullptr);
  ASSERT_EQ(other->sprites.GetCount(), 2);
  other.reset();  // LeakSanitizer reports the clock or a sprite left behind

  CAnimDoc fresh;  // a document made afterwards starts without a clock
  testClock->Advance(1000);
  UpdateClockOverlay(&fresh);
  EXPECT_EQ(GetClockOverlay(&fresh), nullptr);
  EXPECT_EQ(fresh.sprites.GetCount(), 0);
}

TEST_F(ClockOverlayTest, ASecondClockReplacesTheFirst) {
  StartAt(9, 41, 7);
  CClockOverlay* second = CreateClockOverlay(&doc);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(doc.clock, second);
  EXPECT_EQ(doc.sprites.GetCount(), 2) << "the first clock went with its sprites";
}

TEST_F(ClockOverlayTest, AFlagWithoutAClockIsCleared) {
  doc.clockOn = 1;
  EXPECT_EQ(GetClockOverlay(&doc), nullptr);
  RemoveClockOverlay(&doc);
  EXPECT_EQ(doc.clockOn, 0);
  EXPECT_TRUE(doc.shown.empty());
}

TEST_F(ClockOverlayTest, ScreenNarrowerThanTheClockClipsIt) {
  ASSERT_TRUE(doc.SetBackgroundNoDraw(NewBackground(60, 40)));
  CClockOverlay* clock = StartAt(3, 0, 0);
  EXPECT_EQ(clock->x, -40);
  UpdateClockOverlay(&doc);
  // The part of the dial inside the screen is composed; nothing is written outside the surface.
  for (int y = 6; y <= 9; ++y) EXPECT_EQ(At(*view.surface, 10, y), kBright) << "12 o'clock mark";
}

}  // namespace
