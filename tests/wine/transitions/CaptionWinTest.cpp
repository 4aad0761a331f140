// Captions on the real screen document and view of a window under Xvfb: a caption parked in the
// centre of a composed screen with a picture shows its box over a screen that keeps its colours,
// both modes leave the window as it was, the error splash bounces its box until a stop, and a
// hundred captions leak no GDI object (counted as the headroom of the process's GDI table, since
// GetGuiResources answers 0 here). With SAVER_CAPTION_SHOT and SAVER_SPLASH_SHOT set to file
// names, the screen is captured there (BMP) while the caption is parked and while the splash
// bounces. The time a text block takes, and the steps per second of the slide and the fly-apart
// in real time, are printed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Wnd.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/SpriteList.h"
#include "saver/SplashError.h"
#include "seams/Clock.h"
#include "settings/SaverInfo.h"
#include "tests/native/transitions/CaptionSteps.h"
#include "tests/native/transitions/GreyScreen.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/support/WindowTesting.h"
#include "transitions/BoxFont.h"
#include "transitions/CaptionRunner.h"
#include "transitions/FrontEnds.h"
#include "transitions/TextBox3D.h"
#include "transitions/TransParams.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const CRect kPicture(160, 120, 480, 360);

using wintest::Pump;

// Virtual time that lets a test act on every idle turn.
class HookedClock : public seams::Clock {
 public:
  uint32_t TickCount() override { return clock_.TickCount(); }
  int64_t WallSeconds() override { return clock_.WallSeconds(); }
  void Idle() override {
    clock_.Idle();
    if (onIdle) onIdle();
  }
  uint32_t Peek() const { return clock_.Peek(); }
  std::function<void()> onIdle;

 private:
  seams::TestClock clock_{1000, 1, 1};
};

// How many more brushes the process can make now: every GDI object made and not freed takes one.
size_t GdiHeadroom() {
  std::vector<HBRUSH> made;
  while (HBRUSH b = CreateSolidBrush(RGB(1, 2, 3))) made.push_back(b);
  for (HBRUSH b : made) DeleteObject(b);
  return made.size();
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

// The screen document, counting the caption's steps on every flush.
class CountingDoc : public CAnimDoc {
 public:
  void FlushDirtyRects() override {
    if (steps) steps->OnFlush(sprites);
    CAnimDoc::FlushDirtyRects();
  }
  captiontest::CaptionSteps* steps = nullptr;
};

class CaptionWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    window = wintest::NewRoutedWindow(kWidth, kHeight);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(view.Attach(window));
    doc.AddView(&view);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.SetBackground(
        greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), kStyleLogosSmall)
            .release()));
    TransOrder o{1, 1, 0, 0, 0};
    TransSlidersToParams(o.transClass, 50, 50, 50, o.par0, o.par1, o.par2);
    CString error;
    ASSERT_TRUE(ManageOnScreenTransition(&doc, o.transClass, o.effect, photo.get(), kPicture.left,
                                         kPicture.top, kPicture.Width(), kPicture.Height(), 0, 0,
                                         o.par0, o.par1, o.par2, 0, &error))
        << error;
    Pump();
    request.header = &header;
    request.title = &title;
    request.body = &body;
    request.textDuration = 10;
    request.textColour = 19;
    request.backgroundColour = 4;
    request.shadow = 1;
    request.contentStyle = 2;
    request.effect = o.effect;
    request.par0 = o.par0;
    request.par1 = o.par1;
    request.par2 = o.par2;
  }
  void TearDown() override {
    seams::ClearStop();
    doc.RemoveView(&view);
    view.Detach();
    DestroyWindow(window);
  }

  wintest::Image Shown() { return wintest::ReadWindow(window, kWidth, kHeight); }

  HookedClock clock;
  seams::ScopedClock scoped{&clock};
  HWND window = nullptr;
  CAnimView view;
  CountingDoc doc;
  std::unique_ptr<CDIB> logo = greytest::NewPhoto(64, 64, 64);
  std::unique_ptr<CDIB> photo = greytest::NewPhoto(kPicture.Width(), kPicture.Height());
  CString header = "Demo Images";
  CString title = "Lake at Sunrise";
  CString body = "Morning light on still water, seen from the eastern shore before the wind.";
  ImageTextFXRequest request;
};

TEST_F(CaptionWinTest, AParkedCaptionShowsItsBoxOverAScreenThatKeepsItsColours) {
  const wintest::Image before = Shown();
  bool checked = false;
  clock.onIdle = [&] {
    if (checked || doc.sprites.GetCount() != 5) return;
    CSprite* main = static_cast<CSprite*>(doc.sprites.GetTail());
    CRect box;
    main->GetRect(&box);
    if (box.CenterPoint().x != kWidth / 2 && box.CenterPoint().x != kWidth / 2 - 1) return;
    if (box.left < 0 || box.top < 0) return;
    checked = true;
    Pump();
    const wintest::Image shown = Shown();
    EXPECT_EQ(wintest::Differences(shown, wintest::ColoursOf(*view.surface)), 0u);
    size_t outsideChanged = 0, blue = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const size_t i = static_cast<size_t>(y) * kWidth + x;
        if (!box.PtInRect(CPoint(x, y))) outsideChanged += shown[i] != before[i];
        blue += shown[i] == 0x000080;  // "Dark Blue", the box's background
      }
    }
    EXPECT_EQ(outsideChanged, 0u) << "outside the box the screen is as it was";
    EXPECT_GT(blue, static_cast<size_t>(box.Width() * box.Height() / 3)) << "the box is shown";
    if (const char* shot = std::getenv("SAVER_CAPTION_SHOT")) {
      EXPECT_TRUE(ScreenCapture::Take().SaveBmp(shot)) << shot;
    }
  };
  ASSERT_TRUE(RunImageTextFXRoutine(&doc, request));
  clock.onIdle = nullptr;
  Pump();
  EXPECT_TRUE(checked) << "the caption was seen parked";
  EXPECT_EQ(wintest::Differences(Shown(), before), 0u) << "the caption left nothing behind";
}

TEST_F(CaptionWinTest, ModeOneLeavesTheWindowAsItWas) {
  const wintest::Image before = Shown();
  request.mode = 1;
  bool drawn = false;
  clock.onIdle = [&] {
    if (drawn) return;
    Pump();
    drawn = wintest::Differences(Shown(), before) > 10000;
  };
  ASSERT_TRUE(RunImageTextFXRoutine(&doc, request));
  clock.onIdle = nullptr;
  Pump();
  EXPECT_TRUE(drawn) << "the block was drawn into the window";
  EXPECT_EQ(wintest::Differences(Shown(), before), 0u);
  EXPECT_EQ(wintest::Differences(wintest::ColoursOf(*view.surface), before), 0u);
}

TEST_F(CaptionWinTest, TheSplashBouncesItsMessageUntilAStop) {
  SaverInfo info;
  info.pScreenDoc = &doc;
  info.nRunTimeError = 25;
  const uint32_t start = clock.Peek();
  bool shot = false;
  clock.onIdle = [&] {
    if (!shot && clock.Peek() - start > 4000 && doc.sprites.GetCount() == 5) {
      shot = true;
      Pump();
      if (const char* file = std::getenv("SAVER_SPLASH_SHOT")) {
        EXPECT_TRUE(ScreenCapture::Take().SaveBmp(file)) << file;
      }
    }
    if (clock.Peek() - start > 60000) seams::RequestStop();
  };
  ShowSplashErrorText(&info, nullptr);
  clock.onIdle = nullptr;
  EXPECT_TRUE(shot);
  EXPECT_EQ(doc.sprites.GetCount(), 0);
}

TEST_F(CaptionWinTest, AHundredCaptionsLeakNoGdiObject) {
  request.textDuration = 0;
  const size_t before = GdiHeadroom();
  ASSERT_GT(before, 1000u);
  for (int i = 0; i < 100; ++i) {
    request.mode = i % 2;
    request.borderStyle = i % 4;
    request.backgroundStyle = i % 3;
    ASSERT_TRUE(RunImageTextFXRoutine(&doc, request)) << i;
  }
  EXPECT_EQ(GdiHeadroom(), before) << "GDI objects leaked by 100 captions";
}

TEST_F(CaptionWinTest, Figures) {
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateFromDIB(doc.background));
  LARGE_INTEGER t0, t1;
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < 50; ++i) {
    delete GetImageTextBox3D(&palette, &header, 1, &title, 1, &body, 1, 0, 0, 1, 19, 4, 1, 2,
                             kWidth, kHeight);
  }
  QueryPerformanceCounter(&t1);
  std::printf("GetImageTextBox3D: %.2f ms per block\n", Seconds(t0, t1) * 1000 / 50);

  // The slide and the fly-apart in real time: steps are the flushes while the block, then the
  // quarters, are on the move.
  seams::ScopedClock real(nullptr);
  request.textDuration = 0;
  request.transSpeed = 1;  // 595 pixels a second; the quarters at 1785
  captiontest::CaptionSteps steps;
  doc.steps = &steps;
  ASSERT_TRUE(RunImageTextFXRoutine(&doc, request));
  doc.steps = nullptr;
  steps.Print("Windows window");
}

// Each style word the captions and the splash use (1 bold, 5 bold and shadowed, 15 bold, italic,
// shadowed and underlined; 0 plain) at every character height of the layout table, as Wine
// gives them: a line as tall as the height asked (the face's leading added, no smaller face put
// in), and the bold styles heavier, so wider, than the plain one.
TEST(CaptionFonts, EachStyleDrawsAtTheTablesHeightInItsWeight) {
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateGreyRamp(256));
  CDIBSurface surface;
  ASSERT_TRUE(surface.Create(600, 100, &palette));
  const CString text = "KELVANE Screen Saver Error Message";
  const auto measure = [&](int height, int style) {
    CBoxFont font;
    EXPECT_TRUE(font.Create(height, style));
    RECT r{0, 0, 0, 0};
    EXPECT_TRUE(font.Measure(&surface, text, kBoxTextSingleLine, &r));
    return r;
  };
  for (int height : {7, 9, 10, 12, 13, 15, 20, 40}) {
    const RECT plain = measure(height, 0);
    for (int style : {1, 5, 15}) {
      const RECT r = measure(height, style);
      const int line = r.bottom - r.top;
      EXPECT_GE(line, height) << "style " << style << " at " << height;
      EXPECT_LE(line, height + height / 4 + 2) << "style " << style << " at " << height;
      EXPECT_GT(r.right - r.left, plain.right - plain.left)
          << "style " << style << " at " << height << " draws bold";
    }
  }
}

}  // namespace
