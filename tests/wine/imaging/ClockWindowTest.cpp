// The clock overlay on a real window: what the window shows is read back and compared with the
// off-screen surface and the background, as the clock is made, ticks and is taken down.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "framework/Geometry.h"
#include "framework/Time.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ClockOverlay.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/Raster8.h"
#include "imaging/ReservedPalette.h"
#include "seams/Clock.h"
#include "tests/wine/support/WindowTesting.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

using wintest::ColoursOf;
using wintest::Image;

// A background on the screen's grey-ramp palette: a pattern of placeholder and ramp entries.
CDIB* NewBackground(int reserved) {
  CColorPalette ramp;
  ramp.CreateGreyRamp(reserved);
  auto* dib = new CDIB;
  dib->Create(kWidth, kHeight, &ramp);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>((x / 9 + y / 11) % 2 ? 100 : reserved + 12);
    }
  }
  return dib;
}

// Only the pixels of the rectangle.
Image Cut(const Image& image, const CRect& r) {
  Image out;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) out.push_back(image[y * kWidth + x]);
  }
  return out;
}

class ClockWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(view.Attach(window.Handle()));
    doc.AddView(&view);
    doc.OnNewDocument();
    doc.reservedEntries = GetReservedPaletteEntries();
    GreyRampBaseIndex = doc.reservedEntries;
    ASSERT_TRUE(doc.SetBackground(NewBackground(doc.reservedEntries)));
    backgroundColours = ColoursOf(*doc.background);
  }
  void TearDown() override {
    RemoveClockOverlay(&doc);
    doc.RemoveView(&view);
    view.Detach();
  }
  Image Shown() { return wintest::ReadWindow(window.Handle(), kWidth, kHeight); }

  const CRect clockRect{kWidth - 100, 0, kWidth, 100};
  seams::TestClock clock{1000, 1, 1, CTime(1996, 6, 3, 3, 0, 0).GetTime()};
  seams::ScopedClock scoped{&clock};
  wintest::RoutedWindow window{kWidth, kHeight};
  CAnimView view;
  CAnimDoc doc;
  Image backgroundColours;
};

TEST_F(ClockWindowTest, ClockReachesTheWindowOnUpdateTicksAndGoesAway) {
  CreateClockOverlay(&doc);
  EXPECT_EQ(wintest::Differences(Shown(), backgroundColours), 0u) << "made, but not yet shown";

  UpdateClockOverlay(&doc);
  Image shown = Shown();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(wintest::Differences(shown, ColoursOf(*view.surface)), 0u);
  EXPECT_GT(wintest::Differences(Cut(shown, clockRect), Cut(backgroundColours, clockRect)), 2000u)
      << "the dial covers much of its square";
  // At 3 o'clock the hour hand runs right from the centre, in the ramp's lightest grey.
  const uint32_t hand = shown[50 * kWidth + clockRect.left + 65];
  EXPECT_EQ(hand, 0x00FCFCFCu);
  const uint32_t beyondHand = shown[50 * kWidth + clockRect.left + 80];

  clock.Advance(15000);  // the second hand now lies over the hour hand and beyond it
  UpdateClockOverlay(&doc);
  shown = Shown();
  EXPECT_EQ(wintest::Differences(shown, ColoursOf(*view.surface)), 0u);
  EXPECT_NE(shown[50 * kWidth + clockRect.left + 80], beyondHand);
  EXPECT_EQ(shown[50 * kWidth + clockRect.left + 80], 0x00FCFCFCu);

  RemoveClockOverlay(&doc);
  EXPECT_EQ(wintest::Differences(Shown(), backgroundColours), 0u) << "the picture is whole again";
}

}  // namespace
