// The transition front ends on the real screen document and view of a window under Xvfb: after
// every call the document's background, the view's off-screen surface and the window read back
// from its device context all show the expected screen - for a sample of effects of every family,
// for the sweeps that stand in on small rectangles and for 3D orders, and for a picture larger
// than the screen. Then the failures and their texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Wnd.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/DIBSurface.h"
#include "seams/Clock.h"
#include "tests/native/transitions/FrontEndScene.h"
#include "tests/native/transitions/FxIds.h"
#include "tests/wine/support/WindowTesting.h"
#include "transitions/FrontEnds.h"

namespace {

using fetest::NewPicture;
using fetest::Placement;

constexpr int kWidth = 322;  // DIB section rows padded to 324 bytes
constexpr int kHeight = 240;

using wintest::Differences;
using wintest::Image;
using wintest::Pump;

HWND NewWindow() { return wintest::NewRoutedWindow(kWidth, kHeight); }
Image ReadWindow(HWND window) { return wintest::ReadWindow(window, kWidth, kHeight); }

enum class Way { kOn, kOff };

const char* Name(Way way) { return way == Way::kOn ? "on screen" : "off screen"; }

using DocFrontEnd = BOOL (*)(CAnimDoc*, int, int, CDIB*, int, int, int, int, int, int, int, int,
                             int, int, CString*);

BOOL Manage(Way way, CAnimDoc* doc, const TransOrder& order, CDIB* image, const Placement& p,
            CString* error) {
  const DocFrontEnd on = ManageOnScreenTransition, off = ManageOffScreenTransition;
  return (way == Way::kOn ? on : off)(doc, order.transClass, order.effect, image, p.x, p.y, p.w,
                                      p.h, p.srcx, p.srcy, order.par0, order.par1, order.par2, 0,
                                      error);
}

TransOrder OrderOf(int id) {
  const fxtest::FxParams params = fxtest::ParamsAt(id, 50);
  return TransOrder{fxtest::ClassOf(id), id, params.par0, params.par1, params.par2};
}

class FrontEndsWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = NewWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(view.Attach(window));
    doc.AddView(&view);
    doc.OnNewDocument();
    ResetScreen();
  }
  void TearDown() override {
    doc.RemoveView(&view);
    view.Detach();
    DestroyWindow(window);
  }

  // The old screen, shown whole.
  void ResetScreen() {
    ASSERT_TRUE(doc.SetBackground(NewPicture(kWidth, kHeight, fetest::kOldBase)));
    Pump();
  }

  // Runs one call on a fresh screen and checks that the document, the view's surface and the
  // window all show `p` of `picture` over the old screen, by colour: the screen moves onto the
  // picture's colour table.
  void ExpectScreenAfter(Way way, const TransOrder& order, CDIB& picture, const Placement& p) {
    ResetScreen();
    const std::string what =
        std::string(Name(way)) + ", class " + std::to_string(order.transClass) + " effect " +
        std::to_string(order.effect) + " on " + std::to_string(p.w) + " x " + std::to_string(p.h);
    std::unique_ptr<CDIB> old(NewPicture(kWidth, kHeight, fetest::kOldBase));
    const Image expected =
        fetest::ColoursThrough(fetest::ExpectedScreen(*old, picture, p), picture);
    CString error("untouched");
    ASSERT_TRUE(Manage(way, &doc, order, &picture, p, &error)) << what << ": " << error;
    EXPECT_EQ(error, "untouched") << what;
    ASSERT_NE(doc.background, nullptr) << what;
    ASSERT_NE(view.surface, nullptr) << what;
    EXPECT_EQ(Differences(fetest::ColoursOf(*doc.background), expected), 0u)
        << what << ": document";
    EXPECT_EQ(Differences(fetest::ColoursOf(*view.surface), expected), 0u) << what << ": surface";
    EXPECT_EQ(Differences(ReadWindow(window), expected), 0u) << what << ": window";
  }

  seams::TestClock clock{1000, 1, 1};  // effects wait in virtual time
  seams::ScopedClock scopedClock{&clock};
  HWND window = nullptr;
  CAnimView view;
  CAnimDoc doc;
};

TEST_F(FrontEndsWinTest, EverySampledEffectLeavesDocumentSurfaceAndWindowInStep) {
  std::unique_ptr<CDIB> picture(NewPicture(200, 150, fetest::kNewBase, 5, 1));
  const Placement p{41, 29, 151, 97, 13, 7};
  for (Way way : {Way::kOn, Way::kOff}) {
    for (int id : fetest::SampleIds()) ExpectScreenAfter(way, OrderOf(id), *picture, p);
  }
}

TEST_F(FrontEndsWinTest, SweepsStandInOnSmallRectanglesAndTheTilePeelRunsOnLargeOnes) {
  struct Case {
    int transClass, effect;
    Placement p;
  };
  const Case cases[] = {
      {0, 0, {30, 20, 19, 180, 0, 0}},     // too narrow: top to bottom
      {0, 0, {30, 20, 200, 19, 0, 0}},     // too low: left to right
      {100, 3, {30, 20, 30, 30, 0, 0}},    // 3D on a small square: diagonal
      {100, 3, {30, 20, 99, 180, 0, 0}},   // 3D under 100 wide
      {100, 3, {30, 20, 250, 150, 5, 0}},  // 3D on tiles that leave a strip, then a sweep
      {100, 8, {30, 20, 240, 160, 5, 0}},  // the tile peel covers the whole rectangle
      {100, 5, {41, 21, 280, 200, 0, 0}},
  };
  std::unique_ptr<CDIB> picture(NewPicture(300, 200, fetest::kNewBase, 5, 1));
  for (Way way : {Way::kOn, Way::kOff}) {
    for (const Case& c : cases) {
      // The 3D class on Speed 1, Size 50 and Peel Rate 1; the sweeps choose their own sliders.
      const int par = c.transClass == 100 ? 1 : 0;
      ExpectScreenAfter(way, TransOrder{c.transClass, c.effect, par, 50 * par, par}, *picture, c.p);
    }
  }
}

TEST_F(FrontEndsWinTest, APictureLargerThanTheScreenShowsItsMiddle) {
  std::unique_ptr<CDIB> picture(NewPicture(400, 300, fetest::kNewBase, 5, 1));
  const Placement centred{(kWidth - 400) / 2, (kHeight - 300) / 2, 400, 300, 0, 0};
  for (Way way : {Way::kOn, Way::kOff}) {
    for (int id : {1, 28, 115, 127, 143}) ExpectScreenAfter(way, OrderOf(id), *picture, centred);
  }
}

TEST_F(FrontEndsWinTest, FailuresReturnFalseWithTheirTexts) {
  constexpr char kBack[] = "ManageScreenTransition - Unable to create Back DIBSurface";
  constexpr char kEffect[] = "ManageScreenTransition - Unable to run 2D image transition effects";
  constexpr char kNewImage[] = "ManageOnScreenTransition - Unable to create New Image DIB";
  std::unique_ptr<CDIB> picture(NewPicture(100, 80, fetest::kNewBase));
  CAnimDoc withoutView;
  withoutView.SetBackground(NewPicture(kWidth, kHeight, fetest::kOldBase));
  struct Case {
    const char* what;
    Way way;
    CAnimDoc* doc;
    CDIB* image;
    TransOrder order;
    Placement p;
    const char* text;
  };
  const Placement fine{10, 10, 80, 60, 0, 0};
  const TransOrder bars{0, 0, 0, 0, 0};
  const Case cases[] = {
      {"empty", Way::kOn, &doc, picture.get(), bars, {10, 10, 80, 0, 0, 0}, "untouched"},
      {"empty", Way::kOff, &doc, picture.get(), bars, {10, 10, -1, 60, 0, 0}, "untouched"},
      {"no effect 19", Way::kOn, &doc, picture.get(), {7, 19, 0, 0, 0}, fine, kEffect},
      {"no effect 16", Way::kOff, &doc, picture.get(), {7, 16, 0, 0, 0}, fine, kEffect},
      {"no document", Way::kOn, nullptr, picture.get(), {0, 0, 0, 0, 0}, fine, kBack},
      {"no document", Way::kOff, nullptr, picture.get(), {0, 0, 0, 0, 0}, fine, kBack},
      {"document without a view", Way::kOn, &withoutView, picture.get(), bars, fine, kBack},
      {"no picture", Way::kOn, &doc, nullptr, {0, 0, 0, 0, 0}, fine, kNewImage},
      {"no picture", Way::kOff, &doc, nullptr, {0, 0, 0, 0, 0}, fine, kBack},
  };
  for (const Case& c : cases) {
    ResetScreen();
    CString error("untouched");
    EXPECT_FALSE(Manage(c.way, c.doc, c.order, c.image, c.p, &error))
        << Name(c.way) << ", " << c.what;
    EXPECT_EQ(error, c.text) << Name(c.way) << ", " << c.what;
  }
}

}  // namespace
