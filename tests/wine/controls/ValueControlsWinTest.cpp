// The sliders and the switch under Wine, driven by mouse messages, with a parent that records
// their notices; their pixels; and the GDI objects they leave behind (none).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "controls/ControlsSliders.h"
#include "controls/ControlsViews.h"
#include "seams/ScreenSize.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace controltest {
namespace {

constexpr COLORREF kRgbBlack = RGB(0, 0, 0);
constexpr COLORREF kRgbDarkGrey = RGB(128, 128, 128);
constexpr COLORREF kRgbLightGrey = RGB(192, 192, 192);
constexpr COLORREF kRgbWhite = RGB(255, 255, 255);
constexpr COLORREF kRgbGreen = RGB(0, 255, 0);

using ValueControls = ControlTest;

void Press(HWND control, int x, int y) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MousePoint(x, y));
}
void Move(HWND control, int x, int y) {
  SendMessageA(control, WM_MOUSEMOVE, MK_LBUTTON, MousePoint(x, y));
}
void Release(HWND control, int x, int y) {
  SendMessageA(control, WM_LBUTTONUP, 0, MousePoint(x, y));
}

TEST_F(ValueControls, VerticalPressAndReleaseAtTheTopGiveTheMinimum) {
  HWND slider = Create("RVSlider", 10, 10, 30, 200);
  ASSERT_NE(slider, nullptr);
  auto* control = Wrapper<CRVSliderCtl>(slider);
  ASSERT_NE(control, nullptr);
  EXPECT_STREQ(control->GetRuntimeClass()->m_lpszClassName, "CRVSliderCtl");
  control->SetRange(1, 100);
  Press(slider, 15, 0);
  Release(slider, 15, 0);
  ASSERT_EQ(Notices().size(), 2u);
  EXPECT_EQ(Notices()[0].message, UINT(WM_HSCROLL));
  EXPECT_EQ(Notices()[0].Code(), SB_THUMBTRACK);
  EXPECT_EQ(Notices()[0].Position(), 1);
  EXPECT_EQ(Notices()[0].lParam, reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(Notices()[1].Code(), SB_THUMBPOSITION);
  EXPECT_EQ(Notices()[1].Position(), 1);
  EXPECT_EQ(GetCapture(), nullptr) << "the mouse stays captured after the release";
}

TEST_F(ValueControls, DragsPastEitherEndGiveMinimumAndMaximum) {
  struct Case {
    const char* className;
    int w, h;
    POINT before, after;  // above or left, below or right
  };
  const Case cases[] = {{"RVSlider", 30, 200, {15, -20}, {15, 500}},
                        {"RMSlider", 220, 30, {-20, 15}, {900, 15}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    ClearNotices();
    HWND slider = Create(c.className, 10, 10, c.w, c.h);
    ASSERT_NE(slider, nullptr);
    Press(slider, c.w / 2, c.h / 2);
    Move(slider, c.before.x, c.before.y);  // arrives as 65516 while captured: read signed
    Move(slider, c.after.x, c.after.y);
    Release(slider, c.after.x, c.after.y);
    ASSERT_EQ(Notices().size(), 4u);
    EXPECT_EQ(Notices()[0].Position(), 50);
    EXPECT_EQ(Notices()[1].Position(), 0);
    EXPECT_EQ(Notices()[2].Position(), 100);
    EXPECT_EQ(Notices()[3].Code(), SB_THUMBPOSITION);
    EXPECT_EQ(Notices()[3].Position(), 100);
    DestroyWindow(slider);
  }
}

TEST_F(ValueControls, PositionOutsideTheRangeIsKeptUntilTheRangeIsSet) {
  HWND slider = Create("RVSlider", 10, 10, 30, 200);
  auto* control = Wrapper<CRVSliderCtl>(slider);
  ASSERT_NE(control, nullptr);
  control->SetRange(1, 100);
  control->SetPos(150);
  EXPECT_EQ(control->position, 150);
  // The thumb lies past the track's end: the track's last pixels show no thumb.
  EXPECT_EQ(PixelOf(control->workSurface, 15, 9 * 200 / 10 - 1), kRgbBlack);
  control->SetRange(1, 100);
  EXPECT_EQ(control->position, 100);
  EXPECT_TRUE(Notices().empty()) << "SetPos and SetRange notify nobody";
}

TEST_F(ValueControls, HorizontalSetPosDuringADragChangesNothing) {
  HWND slider = Create("RMSlider", 10, 10, 220, 30);
  auto* control = Wrapper<CRMSliderCtl>(slider);
  ASSERT_NE(control, nullptr);
  Press(slider, 10, 15);
  control->SetPos(80);
  EXPECT_EQ(control->position, 0);
  Release(slider, 10, 15);
  control->SetPos(80);
  EXPECT_EQ(control->position, 80);
}

TEST_F(ValueControls, DegenerateSlidersDoNotCrashAndGiveTheMinimum) {
  struct Case {
    const char* className;
    int w, h, minimum, maximum;
  };
  const Case cases[] = {
      {"RVSlider", 30, 200, 5, 5},   // empty range
      {"RVSlider", 30, 200, 9, 2},   // reversed range
      {"RMSlider", 20, 30, 3, 100},  // no wider than its thumb
      {"RMSlider", 8, 8, 3, 100},    // too small for buffers: no size is ever taken
      {"RVSlider", 8, 8, 3, 100},   {"RGrnBtn", 8, 8, 0, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.className << " " << c.w << "x" << c.h);
    ClearNotices();
    HWND slider = Create(c.className, 10, 10, c.w, c.h);
    ASSERT_NE(slider, nullptr);
    if (auto* v = dynamic_cast<CRVSliderCtl*>(Wrapper<CWnd>(slider))) {
      v->SetRange(c.minimum, c.maximum);
    } else if (auto* m = dynamic_cast<CRMSliderCtl*>(Wrapper<CWnd>(slider))) {
      m->SetRange(c.minimum, c.maximum);
    }
    Press(slider, 5, 5);
    Move(slider, 400, 400);
    Release(slider, 400, 400);
    UpdateWindow(slider);
    ASSERT_EQ(Notices().size(), 3u);
    if (std::string(c.className) != "RGrnBtn") {
      EXPECT_EQ(Notices()[1].Position(), c.minimum);
    }
    DestroyWindow(slider);
  }
}

TEST_F(ValueControls, LosingTheMouseMidDragEndsItOnce) {
  for (const char* className : {"RVSlider", "RMSlider", "RGrnBtn"}) {
    SCOPED_TRACE(className);
    ClearNotices();
    HWND control = Create(className, 10, 10, 60, 60);
    Press(control, 30, 30);
    ASSERT_EQ(GetCapture(), control);
    ReleaseCapture();  // another window took the mouse
    const size_t afterLoss = Notices().size();
    ASSERT_GE(afterLoss, 2u);
    EXPECT_EQ(Notices().back().Code(), SB_THUMBPOSITION) << "the press ends as on button-up";
    Move(control, 40, 40);
    Release(control, 40, 40);
    EXPECT_EQ(Notices().size(), afterLoss) << "notices after the mouse was lost";
    DestroyWindow(control);
  }
}

TEST_F(ValueControls, SwitchFlipsOnEveryPressAndNotNowhereElse) {
  HWND button = Create("RGrnBtn", 10, 10, 30, 20);
  auto* control = Wrapper<CRGrnBtnCtl>(button);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(PixelOf(control->workSurface, 15, 10), kRgbLightGrey);
  Press(button, 5, 5);
  EXPECT_EQ(control->state, 1);
  EXPECT_EQ(PixelOf(control->workSurface, 15, 10), kRgbGreen);
  Move(button, 6, 6);
  Release(button, 6, 6);
  ASSERT_EQ(Notices().size(), 3u);
  EXPECT_EQ(Notices()[0].Code(), SB_THUMBTRACK);
  EXPECT_EQ(Notices()[1].Code(), SB_THUMBTRACK);
  EXPECT_EQ(Notices()[2].Code(), SB_THUMBPOSITION);
  EXPECT_EQ(Notices()[2].Position(), 50);
  Press(button, 5, 5);
  ReleaseCapture();
  EXPECT_EQ(control->state, 0) << "losing the mouse must not flip it again";
  EXPECT_EQ(PixelOf(control->workSurface, 0, 0), kRgbBlack);  // the outline
}

TEST_F(ValueControls, DisablingTurnsTheVerticalTrackGreyAndItsThumbFlat) {
  HWND slider = Create("RVSlider", 10, 10, 30, 200);
  auto* control = Wrapper<CRVSliderCtl>(slider);
  ASSERT_NE(control, nullptr);
  control->SetPos(0);
  const int trackY = 150, thumbTop = 20 - 20;
  EXPECT_EQ(PixelOf(control->workSurface, 15, trackY), kRgbBlack);
  EXPECT_EQ(PixelOf(control->workSurface, 0, thumbTop), kRgbWhite);  // raised edge
  EXPECT_EQ(PixelOf(control->workSurface, 29, thumbTop + 30), kRgbDarkGrey);
  EnableWindow(slider, FALSE);
  EXPECT_EQ(PixelOf(control->workSurface, 15, trackY), kRgbDarkGrey);
  EXPECT_EQ(PixelOf(control->workSurface, 0, thumbTop), kRgbLightGrey);
  EXPECT_EQ(PixelOf(control->workSurface, 29, thumbTop + 30), kRgbLightGrey);

  HWND horizontal = Create("RMSlider", 10, 250, 220, 30);
  auto* other = Wrapper<CRMSliderCtl>(horizontal);
  const COLORREF before = PixelOf(other->workSurface, 110, 15);
  EnableWindow(horizontal, FALSE);
  EXPECT_EQ(PixelOf(other->workSurface, 110, 15), before) << "the horizontal slider keeps its look";
}

TEST_F(ValueControls, EightBitDisplaysDrawOnTheStaticColours) {
  ScopedScreenBitsPerPixel eightBit(8);
  HWND slider = Create("RVSlider", 10, 10, 30, 200);
  auto* control = Wrapper<CRVSliderCtl>(slider);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->workSurface.header->bmiHeader.biBitCount, 8);
  EXPECT_EQ(PixelOf(control->workSurface, 2, 150), kRgbLightGrey);
  EXPECT_EQ(PixelOf(control->workSurface, 15, 150), kRgbBlack);
  EXPECT_EQ(PixelOf(control->workSurface, 0, 80), kRgbWhite);
}

TEST_F(ValueControls, CreatingAndDraggingLeavesNoGdiObjectBehind) {
  auto cycle = [this] {
    HWND v = Create("RVSlider", 10, 10, 30, 200);
    HWND m = Create("RMSlider", 50, 10, 220, 30);
    HWND b = Create("RGrnBtn", 50, 50, 30, 20);
    HWND d = Create("RDIBCtl", 50, 80, 106, 73);
    HWND r = Create("RRTFCtl", 200, 80, 200, 100);
    UpdateWindow(parent_);
    for (HWND h : {v, m, b, d, r}) DestroyWindow(h);
  };
  cycle();  // the first run loads what stays loaded
  const int before = wintest::FreeGdiHandles();
  for (int i = 0; i < 50; ++i) cycle();
  HWND slider = Create("RVSlider", 10, 10, 30, 200);
  HWND button = Create("RGrnBtn", 50, 50, 30, 20);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 500; ++i) {
    Press(slider, 15, 20 + i % 160);
    Move(slider, 15, 180 - i % 160);
    Release(slider, 15, 100);
  }
  const double perMove =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
      1000;
  for (int i = 0; i < 100; ++i) {
    Press(button, 5, 5);
    Release(button, 5, 5);
  }
  DestroyWindow(slider);
  DestroyWindow(button);
  EXPECT_EQ(wintest::FreeGdiHandles(), before) << "GDI objects left behind";
  std::printf("[ figure ] vertical slider 30x200: %.1f us per mouse message (render and redraw)\n",
              perMove);
  std::printf(
      "[ figure ] object bytes: RVSlider %u, RMSlider %u, RGrnBtn %u, RDIBCtl %u, "
      "RRTFCtl %u\n",
      unsigned(sizeof(CRVSliderCtl)), unsigned(sizeof(CRMSliderCtl)), unsigned(sizeof(CRGrnBtnCtl)),
      unsigned(sizeof(CRDIBCtl)), unsigned(sizeof(CRRTFCtl)));
}

}  // namespace
}  // namespace controltest
