// The rolling cylinder, the colliding solids and the bouncing balls on the screen document and
// view of a real window as large as the screen (Xvfb at 1024x768, or SAVER_TEST_SCREEN), in
// virtual time, with a photo brought onto a composed screen and the clock on: at sampled frames
// the window shows the off-screen surface, in greys and the photo's own colours; at the end the
// window shows the document with nothing on it. Screenshots at fixed virtual times go to the
// folder SAVER_ROUTINE_SHOTS names (BMP), to be looked at.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/ReservedPalette.h"
#include "routines/BlocksWorld.h"
#include "routines/BouncingBalls.h"
#include "routines/WipeOut.h"
#include "seams/Clock.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/BouncingFixture.h"
#include "tests/native/transitions/GreyScreen.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/routines/PhotoWindow.h"
#include "tests/wine/support/WindowTesting.h"
#include "transitions/Background.h"
#include "transitions/FrontEnds.h"
#include "transitions/TransParams.h"

namespace {

using RoutineFn = int (*)(ScreenHost*, const RECT*, int, int, int, int, int, int, int, int, int,
                          int, CString*);

// Virtual times after the routine's start at which the screen is captured.
constexpr uint32_t kShotTimes[] = {4500, 6000, 7500};
// Naps between two looks at the window.
constexpr long kSampleEvery = 41;

// The screen as the saver composes it round the picture: logo tiles where the screen's size
// allows them (1024 x 768), a mid grey of the ramp otherwise (1366 x 768 has no tile size).
std::unique_ptr<CDIB> Backdrop(int w, int h) {
  if (w == 1024) {
    std::unique_ptr<CDIB> logo = greytest::NewPhoto(64, 64, 64);
    const CRect picture(w * 3 / 16, h / 12, w * 15 / 16, h * 5 / 6);
    return greytest::ComposeBackground(w, h, picture, logo.get(), kStyleLogosSmall);
  }
  CColorPalette ramp;
  auto dib = std::make_unique<CDIB>();
  EXPECT_TRUE(ramp.CreateGreyRamp(GetReservedPaletteEntries()) && dib->Create(w, h, &ramp));
  for (int y = 0; y < h; ++y) {
    BYTE* row = dib->GetPixelAddress(0, y);
    std::fill(row, row + w, static_cast<BYTE>(GetReservedPaletteEntries() + 18));
  }
  return dib;
}

// The screen document, noting that something was shown since the test last looked.
class LookedAtDoc : public CAnimDoc {
 public:
  void ShowRect(const CRect* rect) override {
    shownSinceLook = true;
    CAnimDoc::ShowRect(rect);
  }
  bool shownSinceLook = false;
};

class BouncingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    picture = CRect(width * 3 / 16, height / 12, width * 15 / 16, height * 5 / 6);
    photo = greytest::NewPhoto(picture.Width(), picture.Height());
    window = wintest::NewRoutedWindow(width, height);
    ASSERT_NE(window, nullptr);
    ASSERT_NO_FATAL_FAILURE(wintest::OpenPhotoScreen(
        window, doc, view, Backdrop(width, height).release(), photo.get(), picture));
    wintest::Pump();
    ownColours = greytest::ColoursOf(*photo);
    std::sort(ownColours.begin(), ownColours.end());
  }
  void TearDown() override {
    seams::ClearStop();
    wintest::ClosePhotoScreen(window, doc, view);
  }

  wintest::Image Shown() { return wintest::ReadWindow(window, width, height); }

  size_t ForeignColours(const wintest::Image& shown) const {
    size_t n = 0;
    for (uint32_t c : shown) {
      n += !greytest::IsGrey(c) && !std::binary_search(ownColours.begin(), ownColours.end(), c);
    }
    return n;
  }

  static void Shoot(const char* routine, int w, int h, uint32_t ms) {
    const char* folder = std::getenv("SAVER_ROUTINE_SHOTS");
    if (folder == nullptr || *folder == '\0') return;
    // A Unix folder is reached through Wine's drive of the root.
    const std::string base = folder[0] == '/' ? std::string("Z:") + folder : std::string(folder);
    char name[256];
    std::snprintf(name, sizeof name, "/%s-%dx%d-%05u.bmp", routine, w, h, ms);
    EXPECT_TRUE(ScreenCapture::Take().SaveBmp((base + name).c_str())) << base + name;
  }

  // Runs the routine on the picture in virtual time, looking at the window now and then.
  void RunAndWatch(RoutineFn run, const char* name) {
    bouncetest::NapClock clock(routinetest::LocalSeconds(10, 0, 0));
    seams::ScopedClock scoped(&clock);
    const uint32_t start = clock.Peek();
    size_t shot = 0;
    long samples = 0;
    doc.shownSinceLook = false;
    clock.onNap = [&] {
      const uint32_t now = clock.Peek() - start;
      if (shot < std::size(kShotTimes) && now >= kShotTimes[shot]) {
        wintest::Pump();
        Shoot(name, width, height, kShotTimes[shot++]);
      }
      // A look after frames that were drawn (the undrawn rehearsal shows nothing, not even the
      // clock, which appears with the first drawn frame).
      if (clock.naps % kSampleEvery != 0 || !doc.shownSinceLook) return;
      doc.shownSinceLook = false;
      ++samples;
      wintest::Pump();
      const wintest::Image shown = Shown();
      EXPECT_EQ(wintest::Differences(shown, wintest::ColoursOf(*view.surface)), 0u)
          << "at " << now << " ms";
      EXPECT_EQ(ForeignColours(shown), 0u) << "at " << now << " ms";
    };
    CString error;
    const RECT area = picture;
    ASSERT_EQ(run(&doc, &area, 0, 1, 0, 50, 40, 0, 0, 0, 3, 0, &error), 1) << error;
    clock.onNap = nullptr;
    EXPECT_GT(samples, 10);
    EXPECT_EQ(shot, std::size(kShotTimes));
    wintest::Pump();
    EXPECT_EQ(doc.sprites.GetCount(), 0);
    EXPECT_EQ(doc.clockOn, 0);
    EXPECT_EQ(wintest::Differences(Shown(), wintest::ColoursOf(*doc.background)), 0u);
  }

  int width = 0, height = 0;
  CRect picture;
  HWND window = nullptr;
  CAnimView view;
  LookedAtDoc doc;
  std::unique_ptr<CDIB> photo;
  std::vector<uint32_t> ownColours;
};

TEST_F(BouncingWindowTest, TheCylinderRollsAndPrintsOnTheWindow) {
  RunAndWatch(RunWipeOut, "wipeout");
}

TEST_F(BouncingWindowTest, TheSolidsBounceOnTheWindow) { RunAndWatch(RunBlocksWorld, "blocks"); }

TEST_F(BouncingWindowTest, TheBallsBounceOnTheWindow) { RunAndWatch(RunBouncingBalls, "balls"); }

}  // namespace
