// The sliding tiles and the slide show on the screen document and view of a real window under
// Xvfb, in real time on a composed screen with a picture and the clock: while tiles slide the
// window shows the off-screen surface in greys and the picture's own colours; at the end the
// window read back equals the document, which is the screen as it was. With SAVER_TILES_SHOT_MID
// and SAVER_TILES_SHOT_END set to file names the screen is captured there (BMP) mid-way and at the
// end. Tile-slide steps per second and the processor time of a slide-show wait are printed
// (SAVER_SLIDESHOW_SECONDS sets that wait, 3 s by default).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/DIBSurface.h"
#include "routines/SlideShow.h"
#include "routines/SlidingTiles.h"
#include "seams/Clock.h"
#include "tests/native/transitions/GreyScreen.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/routines/PhotoWindow.h"
#include "tests/wine/support/WindowTesting.h"
#include "transitions/Background.h"
#include "transitions/FrontEnds.h"
#include "transitions/TransParams.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const CRect kPicture(120, 40, 600, 400);  // reaches under the clock's corner

using wintest::Pump;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

double ProcessCpuSeconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto value = [](FILETIME t) {
    return static_cast<double>(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7;
  };
  return value(kernel) + value(user);
}

// The screen document, letting the test act on every flush of the dirty rectangles.
class HookedDoc : public CAnimDoc {
 public:
  void FlushDirtyRects() override {
    if (onFlush) onFlush();
    CAnimDoc::FlushDirtyRects();
  }
  std::function<void()> onFlush;
};

class RoutinesWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    window = wintest::NewRoutedWindow(kWidth, kHeight);
    ASSERT_NE(window, nullptr);
    backdrop = greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), kStyleLogosSmall);
    ASSERT_NO_FATAL_FAILURE(wintest::OpenPhotoScreen(
        window, doc, view,
        greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), kStyleLogosSmall)
            .release(),
        photo.get(), kPicture));
    Pump();
    ASSERT_TRUE(greytest::PhotoOnGrey(Shown(), kWidth, kPicture, *photo));
  }
  void TearDown() override {
    seams::ClearStop();
    wintest::ClosePhotoScreen(window, doc, view);
  }

  wintest::Image Shown() { return wintest::ReadWindow(window, kWidth, kHeight); }

  // The window read back equals the document: its background (no sprite is left) through its
  // colour table, and the screen as it was before the routine.
  void ExpectWindowIsTheDocument(const wintest::Image& before) {
    Pump();
    const wintest::Image shown = Shown();
    EXPECT_EQ(doc.sprites.GetCount(), 0);
    EXPECT_EQ(doc.clockOn, 0);
    EXPECT_EQ(wintest::Differences(shown, wintest::ColoursOf(*doc.background)), 0u);
    EXPECT_EQ(wintest::Differences(shown, before), 0u);
  }

  HWND window = nullptr;
  CAnimView view;
  HookedDoc doc;
  std::unique_ptr<CDIB> logo = greytest::NewPhoto(64, 64, 64);
  std::unique_ptr<CDIB> photo = greytest::NewPhoto(kPicture.Width(), kPicture.Height());
  std::unique_ptr<CDIB> backdrop;
};

// Every colour the window shows is a grey or one of the photo's own.
testing::AssertionResult GreysAndPhotoColours(const wintest::Image& shown, const CDIB& photo) {
  const greytest::Colours own = greytest::ColoursOf(photo);
  std::vector<uint32_t> sorted(own.begin(), own.end());
  std::sort(sorted.begin(), sorted.end());
  size_t foreign = 0;
  for (uint32_t c : shown) {
    if (!greytest::IsGrey(c) && !std::binary_search(sorted.begin(), sorted.end(), c)) ++foreign;
  }
  if (foreign == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << foreign << " pixels neither grey nor the photo's";
}

TEST_F(RoutinesWindowTest, TilesSlideOnTheWindowAndLeaveItAsTheDocument) {
  const wintest::Image before = Shown();
  long steps = 0;
  bool checkedMidway = false;
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  doc.onFlush = [&] {
    ++steps;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (checkedMidway || Seconds(start, now) < 2.5) return;
    checkedMidway = true;
    Pump();
    const wintest::Image shown = Shown();
    EXPECT_EQ(wintest::Differences(shown, wintest::ColoursOf(*view.surface)), 0u);
    EXPECT_GT(wintest::Differences(shown, before), 1000u) << "tiles have moved";
    EXPECT_TRUE(GreysAndPhotoColours(shown, *photo));
    EXPECT_EQ(doc.clockOn, 1);
    if (const char* file = std::getenv("SAVER_TILES_SHOT_MID")) {
      EXPECT_TRUE(ScreenCapture::Take().SaveBmp(file)) << file;
    }
  };
  CString error;
  const RECT area = kPicture;
  ASSERT_EQ(
      RunSlidingBlocks(&doc, backdrop.get(), &area, 0, 1, 0, 50, 50, 0, 0, 0, 0, 8, 0, &error), 1)
      << error;
  QueryPerformanceCounter(&end);
  doc.onFlush = nullptr;
  EXPECT_TRUE(checkedMidway);
  ExpectWindowIsTheDocument(before);
  if (const char* file = std::getenv("SAVER_TILES_SHOT_END")) {
    EXPECT_TRUE(ScreenCapture::Take().SaveBmp(file)) << file;
  }
  std::printf("tile-slide steps: %ld in %.2f s, %.0f steps per second\n", steps,
              Seconds(start, end), steps / Seconds(start, end));
}

TEST_F(RoutinesWindowTest, TheSlideShowKeepsThePictureAndLeavesTheWindowAsTheDocument) {
  const wintest::Image before = Shown();
  const char* setting = std::getenv("SAVER_SLIDESHOW_SECONDS");
  const int seconds = setting ? std::atoi(setting) : 3;
  const double cpu0 = ProcessCpuSeconds();
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  CString error;
  ASSERT_EQ(RunSlideShow(&doc, 1, seconds, 0, &error), 1) << error;
  QueryPerformanceCounter(&end);
  const double cpu = ProcessCpuSeconds() - cpu0;
  EXPECT_GE(Seconds(start, end), seconds - 0.05);
  ExpectWindowIsTheDocument(before);
  std::printf("slide show: %d s waited with the clock on, %.3f CPU seconds, %.3f per minute\n",
              seconds, cpu, cpu * 60.0 / Seconds(start, end));
}

}  // namespace
