// The screen view on a real window: what the window shows is read back (BitBlt from its device
// context into a 32-bit DIB section) and compared with what the off-screen surface holds. Also
// the surface's DIB section and memory context, and the window wrappers, under real GDI.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/Dc.h"
#include "framework/Wnd.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/ReservedPalette.h"
#include "imaging/Sprite.h"
#include "tests/wine/support/WindowTesting.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr uint32_t kWhite = 0x00FFFFFF;

using wintest::ColoursOf;
using wintest::Differences;
using wintest::Image;
using wintest::Pump;
using wintest::ReadDC;

Image ReadWindow(HWND window) { return wintest::ReadWindow(window, kWidth, kHeight); }

// A visible white popup of kWidth x kHeight at the screen's top-left corner.
class TestWindow : public wintest::RoutedWindow {
 public:
  TestWindow() : RoutedWindow(kWidth, kHeight) {}
};

// A picture of the window's size, 64 colours in bands that depend on the seed.
CDIB* NewBackground(int seed) {
  auto* dib = new CDIB;
  dib->Create(kWidth, kHeight, nullptr);
  dib->header->bmiHeader.biClrUsed = 64;
  for (int i = 0; i < 64; ++i) {
    dib->header->bmiColors[i] = RGBQUAD{static_cast<BYTE>(i * 4), static_cast<BYTE>(255 - i * 3),
                                        static_cast<BYTE>((i * 37 + seed * 50) & 0xFF), 0};
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>((x / 7 + y / 5 + seed) % 64);
    }
  }
  return dib;
}

// A sprite in the background's colours: a frame of index `colour` around transparent 0.
CSprite* NewSprite(const CDIB& colours, int w, int h, int colour, int x, int y, int z) {
  auto* sprite = new CSprite;
  sprite->Create(w, h, nullptr);
  std::copy(colours.header->bmiColors, colours.header->bmiColors + 256, sprite->header->bmiColors);
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      const bool edge = px == 1 || py == 1 || px == w - 1 || py == h - 1;
      *sprite->GetPixelAddress(px, py) = static_cast<BYTE>(edge ? colour : 0);
    }
  }
  sprite->TakeTransparentIndex();
  sprite->SetPosition(x, y);
  sprite->SetZ(z);
  return sprite;
}

// A screen document and its view on a test window, connected as the drawing thread connects them.
class ScreenWindowTest : public ::testing::Test {
 protected:
  void Connect() {
    ASSERT_TRUE(view.Attach(window.Handle()));
    doc.AddView(&view);
    doc.OnNewDocument();
  }
  void TearDown() override {
    doc.RemoveView(&view);
    view.Detach();
  }
  void ExpectWindowShowsSurface(const char* when) {
    SCOPED_TRACE(when);
    ASSERT_NE(view.surface, nullptr);
    const Image shown = ReadWindow(window.Handle());
    ASSERT_FALSE(shown.empty()) << "the window could not be read";
    EXPECT_EQ(Differences(shown, ColoursOf(*view.surface)), 0u);
  }

  TestWindow window;
  CAnimView view;
  CAnimDoc doc;
};

TEST_F(ScreenWindowTest, WindowShowsTheSurfaceAfterEveryFlush) {
  Connect();
  ASSERT_TRUE(doc.SetBackground(NewBackground(0)));
  ExpectWindowShowsSurface("after the background");
  CSprite* a = NewSprite(*doc.background, 40, 30, 5, 10, 10, 50);
  CSprite* b = NewSprite(*doc.background, 25, 60, 33, 100, 50, 20);
  for (CSprite* s : {a, b}) {
    doc.sprites.Insert(s);
    view.DrawNewSprite(s);
  }
  ExpectWindowShowsSurface("after the sprites");
  for (int step = 0; step < 12; ++step) {
    a->SetPosition(10 + step * 23, 10 + step * 17);
    b->SetPosition(300 - step * 29, 200 - step * 13);  // partly off the window at times
    if (step == 6) a->SetZ(5);
    doc.FlushDirtyRects();
    ExpectWindowShowsSurface(("after flush " + std::to_string(step)).c_str());
    if (HasFatalFailure()) return;
  }
}

TEST_F(ScreenWindowTest, SetBackgroundNoDrawLeavesTheWindowUntilShown) {
  Connect();
  ASSERT_TRUE(doc.SetBackground(NewBackground(1)));
  const Image before = ReadWindow(window.Handle());
  ASSERT_TRUE(doc.SetBackgroundNoDraw(NewBackground(2)));
  EXPECT_EQ(Differences(ReadWindow(window.Handle()), before), 0u);
  EXPECT_NE(Differences(ColoursOf(*view.surface), before), 0u);
  doc.ShowRect(nullptr);
  ExpectWindowShowsSurface("after showing it");
}

TEST_F(ScreenWindowTest, PaintingRedrawsFromTheSurfaceWithoutErasing) {
  Connect();
  ASSERT_TRUE(doc.SetBackground(NewBackground(3)));
  HDC dc = GetDC(window.Handle());
  RECT damage{20, 20, 200, 150};
  FillRect(dc, &damage, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window.Handle(), dc);
  InvalidateRect(window.Handle(), nullptr, TRUE);
  UpdateWindow(window.Handle());  // WM_ERASEBKGND (nothing erased) and WM_PAINT, routed to the view
  Pump();
  ExpectWindowShowsSurface("after WM_PAINT");
}

TEST_F(ScreenWindowTest, WithoutASurfaceNothingIsDrawnAndPaletteMessagesDoNothing) {
  Connect();
  view.Draw(nullptr);
  doc.ShowRect(nullptr);
  EXPECT_EQ(ReadWindow(window.Handle()), Image(kWidth * kHeight, kWhite));
  EXPECT_EQ(SendMessageA(window.Handle(), WM_QUERYNEWPALETTE, 0, 0), 0);
  EXPECT_EQ(SendMessageA(window.Handle(), WM_PALETTECHANGED, 0, 0), 0);
  EXPECT_EQ(SendMessageA(window.Handle(), WM_ERASEBKGND, 0, 0), 1);
}

// The drawing thread attaches the view to a window made by another thread and draws from there,
// while the window's thread goes on handling the window's messages through the view.
TEST_F(ScreenWindowTest, DrawingThreadDrawsIntoAWindowOfAnotherThread) {
  std::atomic<bool> done{false};
  bool attached = false;
  BOOL composed = FALSE;
  std::thread drawing([&] {
    attached = view.Attach(window.Handle());
    doc.AddView(&view);
    doc.OnNewDocument();
    composed = doc.SetBackground(NewBackground(4));
    CSprite* s = NewSprite(*doc.background, 50, 50, 9, 0, 0, 50);
    doc.sprites.Insert(s);
    for (int step = 0; step < 8; ++step) {
      s->SetPosition(step * 30, step * 20);
      doc.FlushDirtyRects();
    }
    done = true;
  });
  while (!done) {
    Pump();
    Sleep(1);
  }
  drawing.join();
  ASSERT_TRUE(attached);
  ASSERT_TRUE(composed);
  EXPECT_EQ(CWnd::FromHandlePermanent(window.Handle()), &view);
  // The palette messages reach the view from this thread; on a display without a palette no
  // entry changes, so nothing is repainted.
  EXPECT_EQ(SendMessageA(window.Handle(), WM_PALETTECHANGED,
                         reinterpret_cast<WPARAM>(window.Handle()), 0),
            0);
  EXPECT_EQ(SendMessageA(window.Handle(), WM_QUERYNEWPALETTE, 0, 0), 0);
  ExpectWindowShowsSurface("after the drawing thread");
}

// The drawing thread replaces the background (surface and palette) again and again while this
// thread paints the window and answers palette messages through the same view: the swap and every
// reader hold the view's buffer lock, so no paint reads a surface or palette being deleted, and
// the window ends showing the last surface.
TEST_F(ScreenWindowTest, WindowThreadPaintsWhileTheDrawingThreadReplacesTheBackground) {
  Connect();
  ASSERT_TRUE(doc.SetBackground(NewBackground(0)));
  constexpr int kReplacements = 200;
  std::atomic<bool> done{false};
  int replaced = 0;
  std::thread drawing([&] {
    for (int i = 0; i < kReplacements; ++i) {
      CDIB* next = NewBackground(i % 7);
      replaced += i % 2 ? doc.SetBackground(next) : doc.SetBackgroundNoDraw(next);
    }
    doc.ShowRect(nullptr);
    done = true;
  });
  int paints = 0;
  while (!done) {
    InvalidateRect(window.Handle(), nullptr, FALSE);
    UpdateWindow(window.Handle());  // WM_PAINT at once, through the view
    SendMessageA(window.Handle(), WM_QUERYNEWPALETTE, 0, 0);
    ++paints;
  }
  drawing.join();
  Pump();
  EXPECT_EQ(replaced, kReplacements);
  EXPECT_GT(paints, 0);
  ExpectWindowShowsSurface("after the last replacement");
  const std::unique_ptr<CDIB> last(NewBackground((kReplacements - 1) % 7));
  EXPECT_EQ(Differences(ColoursOf(*view.surface), ColoursOf(*last)), 0u)
      << "the surface holds the last picture, in its own colours";
}

// ---- the surface under GDI ----------------------------------------------------------------------

// A 32-bit memory context of w x h filled with white, read back with ReadDC.
class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc.CreateCompatibleDC(nullptr);
    section_ = CreateDIBSection(dc.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = dc.SelectObject(section_);
    PatBlt(dc.GetSafeHdc(), 0, 0, w, h, WHITENESS);
  }
  ~Canvas() {
    dc.SelectObject(old_);
    DeleteObject(section_);
  }
  Image Read() { return ReadDC(dc.GetSafeHdc(), w_, h_); }

  CDC dc;

 private:
  int w_, h_;
  HBITMAP section_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST(DIBSurfaceWinTest, DrawAndBitBltCopyTheSurfacesPixels) {
  std::unique_ptr<CDIB> source(NewBackground(5));
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateFromDIB(source.get()));
  CDIBSurface surface;
  ASSERT_TRUE(surface.Create(kWidth, kHeight, &palette));
  source->CopyBits(&surface, 0, 0, kWidth, kHeight, 0, 0, -1);
  Canvas canvas(kWidth + 10, kHeight + 5);
  surface.Draw(&canvas.dc);
  const Image drawn = canvas.Read();
  const Image expected = ColoursOf(surface);
  size_t wrong = 0;
  for (int y = 0; y < kHeight + 5; ++y) {
    for (int x = 0; x < kWidth + 10; ++x) {
      const uint32_t want = x < kWidth && y < kHeight ? expected[y * kWidth + x] : kWhite;
      wrong += drawn[y * (kWidth + 10) + x] != want;
    }
  }
  EXPECT_EQ(wrong, 0u) << "Draw copies the whole surface to the origin and nothing else";

  // A 24-bit surface blits a part without any palette.
  ASSERT_TRUE(surface.Create24(8, 6));
  EXPECT_EQ(surface.GetPalette(), nullptr);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      BYTE* p = surface.GetPixelAddress(x, y);
      p[0] = static_cast<BYTE>(x * 30);  // blue
      p[1] = static_cast<BYTE>(y * 40);  // green
      p[2] = 200;                        // red
    }
  }
  Canvas small(20, 20);
  surface.BitBlt(&small.dc, 5, 7, 3, 2, 4, 1);
  const Image part = small.Read();
  EXPECT_EQ(part[7 * 20 + 5], (200u << 16) | (1 * 40) << 8 | (4 * 30));
  EXPECT_EQ(part[8 * 20 + 7], (200u << 16) | (2 * 40) << 8 | (6 * 30));
  EXPECT_EQ(part[7 * 20 + 4], kWhite);
  EXPECT_EQ(part[9 * 20 + 5], kWhite);
}

TEST(DIBSurfaceWinTest, GdiDrawingAndDirectWritesShareThePixels) {
  std::unique_ptr<CDIB> source(NewBackground(6));
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateFromDIB(source.get()));
  CDIBSurface surface;
  ASSERT_TRUE(surface.Create(30, 20, &palette));
  ASSERT_TRUE(surface.Create(50, 40, &palette));  // re-created: the new bitmap is selected

  BITMAP selected{};
  HGDIOBJ current = GetCurrentObject(surface.memoryDC.GetSafeHdc(), OBJ_BITMAP);
  ASSERT_TRUE(GetObjectA(current, sizeof selected, &selected));
  EXPECT_EQ(selected.bmWidth, 50);
  EXPECT_EQ(selected.bmHeight, 40);

  const RGBQUAD& c = surface.header->bmiColors[7];
  SetPixelV(surface.memoryDC.GetSafeHdc(), 3, 2, RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
  GdiFlush();
  EXPECT_EQ(*surface.GetPixelAddress(3, 2), 7) << "GDI drew into the CDIB's bits";

  *surface.GetPixelAddress(10, 11) = 12;
  const COLORREF read = GetPixel(surface.memoryDC.GetSafeHdc(), 10, 11);
  const RGBQUAD& d = surface.header->bmiColors[12];
  EXPECT_EQ(read, RGB(d.rgbRed, d.rgbGreen, d.rgbBlue)) << "GDI sees a direct write";
}

// ---- window wrappers
// -----------------------------------------------------------------------------

TEST(WndTest, AWindowHasOneWrapperFoundFromAnyThread) {
  TestWindow window, other;
  auto wrapper = std::make_unique<CWnd>();
  EXPECT_FALSE(wrapper->Attach(nullptr));
  ASSERT_TRUE(wrapper->Attach(window.Handle()));
  EXPECT_FALSE(wrapper->Attach(other.Handle())) << "one window per wrapper";
  CWnd second;
  EXPECT_FALSE(second.Attach(window.Handle())) << "one wrapper per window";

  CWnd* found = nullptr;
  std::thread([&] { found = CWnd::FromHandlePermanent(window.Handle()); }).join();
  EXPECT_EQ(found, wrapper.get());

  CTempWnd temp;
  EXPECT_EQ(CWnd::FromHandle(window.Handle(), temp), wrapper.get());
  CWnd* wrapped = CWnd::FromHandle(other.Handle(), temp);
  EXPECT_EQ(wrapped, &temp);
  EXPECT_EQ(wrapped->GetSafeHwnd(), other.Handle());
  EXPECT_EQ(CWnd::FromHandlePermanent(other.Handle()), nullptr) << "a temporary is not attached";

  RECT client;
  wrapper->GetClientRect(&client);
  EXPECT_EQ(CRect(client), CRect(0, 0, kWidth, kHeight));
  wrapper.reset();  // destroying the wrapper detaches it and leaves the window
  EXPECT_TRUE(IsWindow(window.Handle()));
  EXPECT_EQ(CWnd::FromHandlePermanent(window.Handle()), nullptr);
  EXPECT_TRUE(second.Attach(window.Handle()));
  EXPECT_EQ(second.Detach(), window.Handle());
}

TEST(ReservedPaletteTest, DocumentAndComposerShareOneCount) {
  HDC screen = GetDC(nullptr);
  const bool paletteDisplay = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  ReleaseDC(nullptr, screen);
  if (!paletteDisplay) {
    EXPECT_EQ(GetReservedPaletteEntries(), 0) << "a true-colour display reserves none";
  }
  CAnimDoc doc;
  EXPECT_EQ(doc.reservedEntries, GetReservedPaletteEntries());
  EXPECT_EQ(doc.GetReservedEntries(), doc.reservedEntries);
}

}  // namespace
