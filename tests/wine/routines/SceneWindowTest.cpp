// The 3D scene on the real screen document and view: after every frame, what the window shows
// (read back from its device context) equals the off-screen surface, with cubes of every kind of
// face flying across the screen, over the clock in its corner and out of the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Wnd.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/DIBSurface.h"
#include "imaging/Raster8.h"
#include "routines/ClockOverlay.h"
#include "routines/Scene.h"
#include "tests/native/routines/scene_fixture.h"

using scenetest::FlyingCube;

namespace {

constexpr int kWidth = 322;  // DIB section rows padded to 324 bytes
constexpr int kHeight = 240;

using Image = std::vector<uint32_t>;  // 0x00RRGGBB, top row first

LRESULT CALLBACK RoutingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (CWnd::RouteMessage(window, message, wParam, lParam, &result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// A visible popup of kWidth x kHeight at the screen's top-left corner.
HWND NewWindow() {
  static const ATOM windowClass = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RoutingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "SceneWindowTestWindow";
    return RegisterClassA(&wc);
  }();
  (void)windowClass;
  HWND window =
      CreateWindowExA(WS_EX_TOPMOST, "SceneWindowTestWindow", "", WS_POPUP | WS_VISIBLE, 0, 0,
                      kWidth, kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(window);
  Pump();
  return window;
}

// What the window shows, read into a top-down 32-bit DIB section.
Image ReadWindow(HWND window) {
  GdiFlush();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  Image out;
  if (section) {
    HGDIOBJ old = SelectObject(memory, section);
    if (BitBlt(memory, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY)) {
      GdiFlush();
      const auto* first = static_cast<const uint32_t*>(bits);
      out.assign(first, first + static_cast<size_t>(kWidth) * kHeight);
      for (uint32_t& p : out) p &= 0x00FFFFFF;
    }
    SelectObject(memory, old);
    DeleteObject(section);
  }
  DeleteDC(memory);
  ReleaseDC(window, source);
  return out;
}

// What an 8-bit picture holds, through its colour table.
Image ColoursOf(const CDIB& dib) {
  Image out;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    for (int x = 0; x < dib.GetWidth(); ++x) {
      const RGBQUAD& c = dib.header->bmiColors[row[x]];
      out.push_back(static_cast<uint32_t>(c.rgbRed) << 16 | c.rgbGreen << 8 | c.rgbBlue);
    }
  }
  return out;
}

size_t Differences(const Image& a, const Image& b) {
  if (a.size() != b.size()) return a.size() + b.size();
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

// The fixture's background pattern on a colour table of 256 distinct colours.
CDIB* NewBackground() {
  CDIB* dib = scenetest::NewBackground(kWidth, kHeight);
  dib->header->bmiHeader.biClrUsed = 256;
  for (int i = 0; i < 256; ++i) {
    dib->header->bmiColors[i] = RGBQUAD{static_cast<BYTE>((i * 37) & 0xFF),
                                        static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0};
  }
  return dib;
}

class SceneWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = NewWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(view.Attach(window));
    doc.AddView(&view);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.SetBackground(NewBackground()));
  }
  void TearDown() override {
    RemoveClockOverlay(&doc);
    doc.RemoveView(&view);
    view.Detach();
    DestroyWindow(window);
  }

  scenetest::FrameClock clock;
  seams::ScopedClock scopedClock{&clock};
  HWND window = nullptr;
  CAnimView view;
  CAnimDoc doc;
};

TEST_F(SceneWindowTest, TheWindowShowsTheSurfaceAfterEveryFrame) {
  C3DScene scene(&doc);
  ASSERT_EQ(scene.ready, 1);
  new CClockOverlay(&doc);  // registered in the document, which tears it down
  struct Flight {
    int32_t flags;
    bool textured;
    int from[3], to[3];
    double seconds;
  } flights[] = {
      {0, false, {-260, -60, -400}, {260, 40, -420}, 1.5},
      {kFaceAmbient | kFaceSpotLit, false, {-200, -85, -400}, {300, -85, -400}, 2.0},  // the clock
      {0, true, {0, -140, -300}, {20, 140, -320}, 1.8},
      {kFaceAmbient | kFaceSpotLit, true, {-120, 0, -800}, {140, 10, -200}, 1.2},
  };
  std::vector<std::unique_ptr<FlyingCube>> cubes;
  const int32_t turn[3] = {450, 900, 0};
  for (const Flight& f : flights) {
    cubes.push_back(std::make_unique<FlyingCube>(24, f.flags, f.textured));
    cubes.back()->Fly(f.from[0], f.from[1], f.from[2], f.to[0], f.to[1], f.to[2], f.seconds, turn);
    scene.InsertObject(cubes.back()->Object());
  }
  const Image background = ColoursOf(*view.surface);
  int checked = 0, changed = 0;
  clock.betweenFrames = [&] {
    if (scene.frames == 0) return;  // the new clock is shown by the first frame
    const Image surface = ColoursOf(*view.surface);
    const Image shown = ReadWindow(window);
    ASSERT_FALSE(shown.empty()) << "the window could not be read";
    EXPECT_EQ(Differences(shown, surface), 0u) << "frame " << scene.frames;
    ++checked;
    changed += Differences(surface, background) > 0;
  };
  scene.RunUntilAllStopped(1);
  clock.betweenFrames = nullptr;
  EXPECT_GT(checked, 60);
  EXPECT_GT(changed, 60) << "the cubes were drawn";
  for (auto& cube : cubes) scene.RemoveObject(cube->Object());
}

}  // namespace
