// The flying tiles and the puzzle cube on the screen document and view of a real window under
// Xvfb, in virtual time (a clock that jumps to each frame's deadline), on a composed screen with
// a photo and the clock: at fixed virtual times, between two frames, the window read back equals
// the off-screen surface and shows only greys and the photo's own colours, and a screenshot is
// kept (BMP, in SAVER_3D_SHOTS or the current folder). At the end the window equals the document,
// which is the screen as it was. SAVER_3D_SIZE sets the window ("1366x768"; 1024 x 768 by
// default; the display must be as large).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "routines/FlyingTiles.h"
#include "routines/PuzzleCube.h"
#include "seams/Clock.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/native/transitions/GreyScreen.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/routines/PhotoWindow.h"
#include "tests/wine/support/WindowTesting.h"
#include "transitions/Background.h"
#include "transitions/FrontEnds.h"
#include "transitions/TransParams.h"

namespace {

using wintest::Pump;

CSize WindowSize() {
  int w = 1024, h = 768;
  if (const char* size = std::getenv("SAVER_3D_SIZE")) std::sscanf(size, "%dx%d", &w, &h);
  return CSize(w, h);
}

// The jumping clock, which runs a check whenever a routine waits between two frames.
class SamplingClock : public routinetest::JumpClock {
 public:
  void Idle() override {
    JumpClock::Idle();
    if (betweenFrames) betweenFrames();
  }
  void IdleUntil(uint32_t deadline) override {
    JumpClock::IdleUntil(deadline);
    if (betweenFrames) betweenFrames();
  }
  std::function<void()> betweenFrames;
};

class Routines3DWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    window = wintest::NewRoutedWindow(size.cx, size.cy);
    ASSERT_NE(window, nullptr);
    backdrop = NewBackdrop();
    ASSERT_NO_FATAL_FAILURE(
        wintest::OpenPhotoScreen(window, doc, view, NewBackdrop().release(), photo.get(), picture));
    Pump();
    before = Shown();
    ASSERT_TRUE(greytest::PhotoOnGrey(before, size.cx, picture, *photo));
  }
  void TearDown() override {
    seams::ClearStop();
    wintest::ClosePhotoScreen(window, doc, view);
  }

  // The screen background as the saver composes it with logo tiles; the composer finds no tile
  // size for a screen 1366 wide, which gets a plain mid grey of the ramp instead.
  std::unique_ptr<CDIB> NewBackdrop() const {
    if (size.cx == 1024) {
      return greytest::ComposeBackground(size.cx, size.cy, picture, logo.get(), kStyleLogosSmall);
    }
    CColorPalette ramp;
    auto dib = std::make_unique<CDIB>();
    EXPECT_TRUE(ramp.CreateGreyRamp(GetReservedPaletteEntries()) &&
                dib->Create(size.cx, size.cy, &ramp));
    for (int y = 0; y < size.cy; ++y) {
      std::fill_n(dib->GetPixelAddress(0, y), size.cx,
                  static_cast<BYTE>(GetReservedPaletteEntries() + 16));
    }
    return dib;
  }

  wintest::Image Shown() { return wintest::ReadWindow(window, size.cx, size.cy); }

  // Every colour shown is a grey or one of the photo's own.
  size_t ForeignColours(const wintest::Image& shown) const {
    const greytest::Colours own = greytest::ColoursOf(*photo);
    std::vector<uint32_t> sorted(own.begin(), own.end());
    std::sort(sorted.begin(), sorted.end());
    return static_cast<size_t>(std::count_if(shown.begin(), shown.end(), [&](uint32_t c) {
      return !greytest::IsGrey(c) && !std::binary_search(sorted.begin(), sorted.end(), c);
    }));
  }

  // Checks the window at each of the virtual times (ms from now) between two frames, and keeps
  // a screenshot of each.
  void SampleAt(const char* routine, std::vector<uint32_t> times) {
    const uint32_t start = clock.Peek();
    clock.betweenFrames = [this, routine, start, times]() mutable {
      if (times.empty() || clock.Peek() - start < times.front()) return;
      const uint32_t at = times.front();
      times.erase(times.begin());
      Pump();
      const wintest::Image shown = Shown();
      EXPECT_EQ(wintest::Differences(shown, wintest::ColoursOf(*view.surface)), 0u)
          << routine << " at " << at << " ms";
      EXPECT_EQ(ForeignColours(shown), 0u) << routine << " at " << at << " ms";
      EXPECT_GT(wintest::Differences(shown, before), 100u) << routine << " shows nothing at " << at;
      const char* folder = std::getenv("SAVER_3D_SHOTS");
      const std::string file = std::string(folder ? folder : ".") + "/" + routine + "-" +
                               std::to_string(size.cx) + "x" + std::to_string(size.cy) + "-" +
                               std::to_string(at) + "ms.bmp";
      EXPECT_TRUE(ScreenCapture::Take().SaveBmp(file.c_str())) << file;
      ++samples;
    };
  }

  // The window read back equals the document, which is the screen as it was.
  void ExpectWindowIsTheDocument() {
    clock.betweenFrames = nullptr;
    Pump();
    const wintest::Image shown = Shown();
    EXPECT_EQ(doc.sprites.GetCount(), 0);
    EXPECT_EQ(doc.clockOn, 0);
    EXPECT_EQ(wintest::Differences(shown, wintest::ColoursOf(*doc.background)), 0u);
    EXPECT_EQ(wintest::Differences(shown, before), 0u);
  }

  const CSize size = WindowSize();
  const CRect picture{(size.cx - 800) / 2, (size.cy - 600) / 2, (size.cx + 800) / 2,
                      (size.cy + 600) / 2};
  HWND window = nullptr;
  CAnimView view;
  CAnimDoc doc;
  std::unique_ptr<CDIB> logo = greytest::NewPhoto(64, 64, 64);
  std::unique_ptr<CDIB> photo = greytest::NewPhoto(800, 600);
  std::unique_ptr<CDIB> backdrop;
  wintest::Image before;
  SamplingClock clock;
  int samples = 0;
};

TEST_F(Routines3DWindowTest, FlyingTilesBreakThePictureIntoSquaresAndPutItBack) {
  seams::ScopedClock scoped{&clock};
  SampleAt("flying-tiles", {1200, 2600, 6000});
  CString error;
  const RECT area = picture;
  ASSERT_EQ(RunFlyingTiles(&doc, backdrop.get(), &area, 0, 1, 0, 20, 60, 0, 0, 0, 12, 0, &error), 1)
      << error;
  EXPECT_EQ(samples, 3);
  ExpectWindowIsTheDocument();
}

TEST_F(Routines3DWindowTest, ThePuzzleCubeFliesInTurnsAndFliesOut) {
  seams::ScopedClock scoped{&clock};
  SampleAt("puzzle-cube", {1500, 5000, 9000, 14000});
  CString error;
  const RECT area = picture;
  ASSERT_EQ(RunPuzzleCube(&doc, &area, 0, 1, 0, 50, 50, 0, 0, 0, 15, 0, &error), 1) << error;
  EXPECT_EQ(samples, 4);
  ExpectWindowIsTheDocument();
}

}  // namespace
