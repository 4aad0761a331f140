// The image view under Wine: which pictures it shows and how, the background it shows without
// one, greys on a true-colour display, click notices, and no GDI objects left behind.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "controls/ControlsViews.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "seams/ScreenSize.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace controltest {
namespace {

constexpr COLORREF kRgbLightGrey = RGB(192, 192, 192);

using ImageView = ControlTest;

// An 8-bit picture of w x h using `colours` distinct saturated colours, pixel (x, y) = colour
// (x + y) mod colours.
void MakeColourful(CDIB* dib, int w, int h, int colours) {
  ASSERT_TRUE(dib->Create(w, h, nullptr));
  for (int i = 0; i < 256; ++i)
    dib->header->bmiColors[i] = RGBQUAD{BYTE(i * 7), BYTE(255 - i), BYTE(i < 128 ? 255 : i), 0};
  dib->header->bmiHeader.biClrUsed = colours;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) *dib->GetPixelAddress(x, y) = static_cast<BYTE>((x + y) % colours);
}

COLORREF TableColour(const CDIB& dib, int index) {
  const RGBQUAD& q = dib.header->bmiColors[index];
  return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

TEST_F(ImageView, ShowsEightBitPicturesOfUpTo204ColoursAsTheyAre) {
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  ASSERT_NE(view, nullptr);
  CDIB picture;
  MakeColourful(&picture, 50, 40, 200);
  ASSERT_TRUE(view->SetDIB(&picture));
  ASSERT_NE(view->image, nullptr);
  // Fit off: drawn unscaled from the top-left corner.
  for (POINT p : {POINT{0, 0}, POINT{10, 3}, POINT{49, 39}})
    EXPECT_EQ(PixelOf(view->workSurface, p.x, p.y), TableColour(picture, (p.x + p.y) % 200))
        << "pixel " << p.x << "," << p.y;
  EXPECT_EQ(PixelOf(view->workSurface, 80, 60), RGB(0, 0, 0)) << "the default background is black";
  EXPECT_EQ(*picture.GetPixelAddress(10, 3), 13) << "the caller's picture changed";
}

TEST_F(ImageView, ReducesEightBitPicturesOfMoreThan204Colours) {
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  CDIB picture;
  MakeColourful(&picture, 64, 64, 256);
  ASSERT_TRUE(view->SetDIB(&picture));
  ASSERT_NE(view->imagePalette, nullptr);
  ASSERT_NE(view->image, nullptr);
  bool used[256] = {};
  int distinct = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const BYTE index = *view->image->GetPixelAddress(x, y);
      if (!used[index]) ++distinct;
      used[index] = true;
    }
  EXPECT_LE(distinct, 204);
  EXPECT_GT(distinct, 100) << "reduced far more than asked";
}

TEST_F(ImageView, ShowsTrueColourPicturesInTrueColour) {
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  CDIB picture;
  ASSERT_TRUE(picture.Create24(30, 20));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      BYTE* p = picture.bits + static_cast<size_t>(19 - y) * picture.GetStorageWidth() + 3 * x;
      p[0] = BYTE(x * 8);
      p[1] = BYTE(y * 12);
      p[2] = 77;
    }
  ASSERT_TRUE(view->SetDIB(&picture));
  EXPECT_EQ(view->image->header->bmiHeader.biBitCount, 24);
  EXPECT_EQ(view->imagePalette, nullptr);
  EXPECT_EQ(PixelOf(view->workSurface, 7, 5), RGB(77, 60, 56));
}

TEST_F(ImageView, FourBitAndNullPicturesClearTheImageAndShowTheBackground) {
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  view->SetBackColor(PALETTERGB(192, 192, 192));
  CDIB colourful;
  MakeColourful(&colourful, 50, 40, 100);
  ASSERT_TRUE(view->SetDIB(&colourful));
  CDIB fourBit;
  ASSERT_TRUE(fourBit.Create(16, 16, nullptr));
  fourBit.header->bmiHeader.biBitCount = 4;
  EXPECT_FALSE(view->SetDIB(&fourBit));
  EXPECT_EQ(view->image, nullptr);
  EXPECT_EQ(PixelOf(view->workSurface, 5, 5), kRgbLightGrey);
  ASSERT_TRUE(view->SetDIB(&colourful));
  EXPECT_TRUE(view->SetDIB(nullptr));
  EXPECT_EQ(view->image, nullptr);
  EXPECT_EQ(PixelOf(view->workSurface, 5, 5), kRgbLightGrey);
}

TEST_F(ImageView, NeverBlackBeforeItsFirstPicture) {
  HWND window = CreateWindowExA(0, "RDIBCtl", "", WS_CHILD, 0, 0, 106, 73, parent_, nullptr,
                                nullptr, nullptr);
  auto* view = Wrapper<CRDIBCtl>(window);
  ASSERT_NE(view, nullptr);
  view->SetBackColor(PALETTERGB(192, 192, 192));
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(PixelOf(view->workSurface, 50, 30), kRgbLightGrey);
}

TEST_F(ImageView, FittedPicturesFillTheirRectangle) {
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  view->SetBackColor(PALETTERGB(192, 192, 192));
  view->SetKeepImageSize(TRUE);
  CDIB picture;
  MakeColourful(&picture, 640, 480, 1);  // one colour
  ASSERT_TRUE(view->SetDIB(&picture));
  EXPECT_EQ(view->imageRect.left, 5);
  EXPECT_EQ(view->imageRect.right, 102);
  EXPECT_EQ(PixelOf(view->workSurface, 4, 30), kRgbLightGrey);
  EXPECT_EQ(PixelOf(view->workSurface, 5, 30), TableColour(picture, 0));
  EXPECT_EQ(PixelOf(view->workSurface, 101, 72), TableColour(picture, 0));
  EXPECT_EQ(PixelOf(view->workSurface, 102, 30), kRgbLightGrey);
}

TEST_F(ImageView, GreysOfTheBackgroundStayGreyInTheStretchedView) {
  HWND window = Create("RDIBCtl", 0, 0, 64, 48);
  auto* view = Wrapper<CRDIBCtl>(window);
  view->SetKeepImageSize(TRUE);
  // The background on the grey ramp at 0; the picture's own table holds saturated colours at
  // the same indices, so copying indices would paint the background in colour.
  CColorPalette ramp;
  ASSERT_TRUE(ramp.CreateGreyRamp(0));
  CDIB background;
  ASSERT_TRUE(background.Create(64, 48, &ramp));
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) *background.GetPixelAddress(x, y) = static_cast<BYTE>(x % 32);
  CDIB picture;
  MakeColourful(&picture, 16, 16, 40);
  const COLORREF first = TableColour(picture, 0);
  ASSERT_TRUE(view->SetDIBStretched(&picture, 60, 40, &background, FALSE));  // partly outside
  int coloured = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const COLORREF c = PixelOf(view->workSurface, x, y);
      if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c)) ++coloured;
    }
  EXPECT_EQ(coloured, 0) << "background pixels shown in colour";
  const COLORREF corner = PixelOf(view->workSurface, 60, 40);
  EXPECT_EQ(corner, first) << "the picture's first pixel at its point";
}

TEST_F(ImageView, ClicksNotifyTheParent) {
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  view->SetKeepImageSize(TRUE);
  CDIB picture;
  MakeColourful(&picture, 50, 40, 10);
  ASSERT_TRUE(view->SetDIB(&picture));  // drawn at (28, 16, 78, 56)
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MousePoint(2, 2));
  ASSERT_EQ(Notices().size(), 1u);
  EXPECT_EQ(Notices()[0].message, UINT(WM_RDIBCTL_CLICK));
  EXPECT_EQ(Notices()[0].wParam, 0u);
  EXPECT_EQ(Notices()[0].lParam, reinterpret_cast<LPARAM>(window));
  SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MousePoint(2, 2));
  EXPECT_EQ(Notices().size(), 1u) << "a double click outside the picture";
  SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MousePoint(30, 20));
  EXPECT_EQ(Notices().size(), 2u);
}

TEST_F(ImageView, EightBitDisplaysRemakeTheBuffersOnThePicturePalette) {
  ScopedScreenBitsPerPixel eightBit(8);
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  view->SetBackColor(PALETTERGB(192, 192, 192));
  EXPECT_EQ(view->workSurface.header->bmiHeader.biBitCount, 8);
  CDIB picture;
  ASSERT_TRUE(picture.Create24(20, 20));
  ASSERT_TRUE(view->SetDIB(&picture));  // 24 bits on an 8-bit display: reduced
  EXPECT_EQ(view->image->header->bmiHeader.biBitCount, 8);
  EXPECT_EQ(view->workSurface.GetPalette(), view->imagePalette);
  EXPECT_TRUE(view->SetDIB(nullptr));
  EXPECT_EQ(view->imagePalette, nullptr);
  EXPECT_NE(view->workSurface.GetPalette(), nullptr) << "8-bit buffers on the static colours";
  EXPECT_EQ(PixelOf(view->workSurface, 50, 50), kRgbLightGrey);
}

TEST_F(ImageView, LargePicturesLeaveNoGdiObjectBehind) {
  CDIB eightBit, trueColour;
  MakeColourful(&eightBit, 1024, 768, 256);
  ASSERT_TRUE(trueColour.Create24(1024, 768));
  auto cycle = [&](CDIB* picture) {
    HWND window = Create("RDIBCtl", 0, 0, 106, 73);
    auto* view = Wrapper<CRDIBCtl>(window);
    view->SetKeepImageSize(TRUE);
    view->SetDIB(picture);
    UpdateWindow(window);
    DestroyWindow(window);
  };
  cycle(&trueColour);
  const int before = wintest::FreeGdiHandles();
  double seconds[2] = {};
  for (int i = 0; i < 50; ++i) {
    CDIB* picture = i % 2 ? &eightBit : &trueColour;
    const auto start = std::chrono::steady_clock::now();
    cycle(picture);
    seconds[i % 2] +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  EXPECT_EQ(wintest::FreeGdiHandles(), before) << "GDI objects left behind";
  std::printf(
      "[ figure ] create, SetDIB and destroy with a 1024x768 picture: 24-bit %.1f ms, "
      "8-bit 256 colours %.1f ms\n",
      seconds[0] / 25 * 1000, seconds[1] / 25 * 1000);
}

TEST_F(ImageView, SetDIBCost) {
  HWND window = Create("RDIBCtl", 0, 0, 106, 73);
  auto* view = Wrapper<CRDIBCtl>(window);
  view->SetKeepImageSize(TRUE);
  CDIB eightBit, trueColour;
  MakeColourful(&eightBit, 1024, 768, 256);
  ASSERT_TRUE(trueColour.Create24(1024, 768));
  for (CDIB* picture : {&trueColour, &eightBit}) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(view->SetDIB(picture));
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count() /
        5;
    std::printf("[ figure ] CRDIBCtl::SetDIB of a 1024x768 %s picture: %.1f ms\n",
                picture == &trueColour ? "24-bit" : "8-bit 256-colour", ms);
  }
}

}  // namespace
}  // namespace controltest
