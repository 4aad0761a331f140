// Greys stay grey on a true-colour display: on the real screen document and view of a window
// under Xvfb, a photograph placed through the front ends on a composed background (logo tiles,
// a raised frame with its shadow, the back style) shows its own colours while everything else
// the window shows is grey - also the clock and the lit faces of a 3D object drawn over it, and
// the screen after the picture is taken off again. With SAVER_GREYS_SHOT set to a file name the
// screen is captured there (a BMP) once the clock and the object are on it; with
// SAVER_TILEPEEL_SHOT the screen is captured half-way through a tile peel that takes the picture
// off. The tile peel keeps greys grey and the picture's colours its own in both directions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine3d/Scene.h"
#include "framework/Wnd.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ClockOverlay.h"
#include "imaging/DIBSurface.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/native/transitions/GreyScreen.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/support/WindowTesting.h"
#include "transitions/FrontEnds.h"
#include "transitions/TransParams.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const CRect kPicture(160, 120, 480, 360);  // the picture area SetSSBackground centres

using greytest::ColoursOf;
using wintest::Pump;

wintest::Image ReadWindow(HWND window) { return wintest::ReadWindow(window, kWidth, kHeight); }

class ScreenGreysWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = wintest::NewRoutedWindow(kWidth, kHeight);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(view.Attach(window));
    doc.AddView(&view);
    doc.OnNewDocument();
    ASSERT_EQ(doc.GetReservedEntries(), 0) << "a true-colour display reserves nothing";
  }
  void TearDown() override {
    RemoveClockOverlay(&doc);
    doc.RemoveView(&view);
    view.Detach();
    DestroyWindow(window);
  }

  // The composed background with `backStyle`, shown whole.
  void ShowBackground(int backStyle) {
    ASSERT_TRUE(doc.SetBackground(
        greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), backStyle).release()));
    Pump();
  }

  // Brings the picture onto its rectangle (on) or the next background over the whole screen,
  // with curtains or with the given order.
  void Transition(bool on, CDIB* picture, const CRect& r,
                  TransOrder o = TransOrder{1, 1, 0, 0, 0}) {
    if (o.transClass == 1) TransSlidersToParams(o.transClass, 50, 50, 50, o.par0, o.par1, o.par2);
    using DocFrontEnd = BOOL (*)(CAnimDoc*, int, int, CDIB*, int, int, int, int, int, int, int, int,
                                 int, int, CString*);
    const DocFrontEnd onScreen = ManageOnScreenTransition, offScreen = ManageOffScreenTransition;
    const DocFrontEnd frontEnd = on ? onScreen : offScreen;
    CString error;
    EXPECT_TRUE(frontEnd(&doc, o.transClass, o.effect, picture, r.left, r.top, r.Width(),
                         r.Height(), 0, 0, o.par0, o.par1, o.par2, 0, &error))
        << error;
    Pump();
  }

  scenetest::FrameClock clock;  // effects and frames run in virtual time
  seams::ScopedClock scopedClock{&clock};
  HWND window = nullptr;
  CAnimView view;
  CAnimDoc doc;
  std::unique_ptr<CDIB> logo = greytest::NewPhoto(64, 64, 64);
  std::unique_ptr<CDIB> photo = greytest::NewPhoto(kPicture.Width(), kPicture.Height());
};

TEST_F(ScreenGreysWinTest, ThePictureShowsItsColoursAndEverythingElseStaysGreyInBothPhases) {
  for (int backStyle : {kStyleLogosSmall, kStyleBlack, kStyleLightGrey}) {
    SCOPED_TRACE("back style " + std::to_string(backStyle));
    ShowBackground(backStyle);
    Transition(true, photo.get(), kPicture);
    EXPECT_TRUE(greytest::PhotoOnGrey(ReadWindow(window), kWidth, kPicture, *photo))
        << "window with the picture";
    EXPECT_TRUE(greytest::PhotoOnGrey(ColoursOf(*view.surface), kWidth, kPicture, *photo))
        << "surface with the picture";
    std::unique_ptr<CDIB> next =
        greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), backStyle);
    Transition(false, next.get(), CRect(0, 0, kWidth, kHeight));
    const wintest::Image shown = ReadWindow(window);
    EXPECT_EQ(std::count_if(shown.begin(), shown.end(), greytest::IsGrey),
              static_cast<long>(shown.size()))
        << "pixels left in colour after the picture was taken off";
  }
}

TEST_F(ScreenGreysWinTest, TheClockAndLitFacesOverThePictureAreGrey) {
  ShowBackground(kStyleLogosSmall);
  Transition(true, photo.get(), kPicture);
  const wintest::Image before = ReadWindow(window);
  ASSERT_TRUE(greytest::PhotoOnGrey(before, kWidth, kPicture, *photo));

  C3DScene scene(&doc);
  ASSERT_EQ(scene.ready, 1);
  ASSERT_NE(CreateClockOverlay(&doc), nullptr);  // the document owns and tears it down
  scenetest::FlyingCube cube(40, kFaceAmbient | kFaceSpotLit, false);
  const int32_t turn[3] = {450, 900, 0};
  cube.Fly(-300, 60, -500, -60, 60, -500, 1.0, turn);  // across the frame into the picture
  scene.InsertObject(cube.Object());
  scene.RunUntilAllStopped(1);
  Pump();
  const wintest::Image after = ReadWindow(window);
  EXPECT_EQ(wintest::Differences(after, ColoursOf(*view.surface)), 0u) << "window and surface";
  size_t changed = 0;
  EXPECT_TRUE(greytest::ChangesAreGrey(before, after, &changed));
  EXPECT_GT(changed, 3000u) << "the clock and the cube were drawn";
  if (const char* shot = std::getenv("SAVER_GREYS_SHOT")) {
    EXPECT_TRUE(ScreenCapture::Take().SaveBmp(shot)) << shot;
  }
  scene.RemoveObject(cube.Object());
}

TEST_F(ScreenGreysWinTest, TheTilePeelBringsThePictureOnAndTakesItOffInItsOwnColours) {
  const TransOrder peel{100, 4, 1, 40, 10};  // diagonal peel from the bottom left
  ShowBackground(kStyleLogosSmall);
  Transition(true, photo.get(), kPicture, peel);
  EXPECT_TRUE(greytest::PhotoOnGrey(ReadWindow(window), kWidth, kPicture, *photo))
      << "window with the picture";
  EXPECT_EQ(wintest::Differences(ReadWindow(window), ColoursOf(*view.surface)), 0u);
  std::unique_ptr<CDIB> next =
      greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), kStyleLogosSmall);
  // Once through to count the clock's reads, then again with a look half-way.
  const int start = clock.reads;
  Transition(false, next.get(), CRect(0, 0, kWidth, kHeight), peel);
  const wintest::Image shown = ReadWindow(window);
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(), greytest::IsGrey),
            static_cast<long>(shown.size()))
      << "pixels left in colour after the picture was peeled off";
  const int half = start + (clock.reads - start) / 2;
  ShowBackground(kStyleLogosSmall);
  Transition(true, photo.get(), kPicture, peel);
  const int offset = clock.reads - start;
  wintest::Image middle;
  clock.betweenFrames = [&] {
    if (clock.reads != half + offset) return;
    middle = ReadWindow(window);
    if (const char* shot = std::getenv("SAVER_TILEPEEL_SHOT")) {
      EXPECT_TRUE(ScreenCapture::Take().SaveBmp(shot)) << shot;
    }
  };
  Transition(false, next.get(), CRect(0, 0, kWidth, kHeight), peel);
  clock.betweenFrames = nullptr;
  ASSERT_FALSE(middle.empty()) << "the look half-way happened";
  size_t coloured = static_cast<size_t>(
      std::count_if(middle.begin(), middle.end(), [](uint32_t c) { return !greytest::IsGrey(c); }));
  EXPECT_GT(coloured, 0u) << "half-way some of the picture is still there";
  EXPECT_LT(coloured, static_cast<size_t>(kPicture.Width() * kPicture.Height()))
      << "half-way part of the picture has gone";
}

}  // namespace
