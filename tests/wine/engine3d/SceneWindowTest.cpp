// The 3D scene on the real screen document and view: after every frame, what the window shows
// (read back from its device context) equals the off-screen surface, with cubes of every kind of
// face flying across the screen, over the clock in its corner and out of the window.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine3d/Scene.h"
#include "framework/Wnd.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ClockOverlay.h"
#include "imaging/DIBSurface.h"
#include "imaging/Raster8.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/wine/support/WindowTesting.h"

using scenetest::FlyingCube;

namespace {

constexpr int kWidth = 322;  // DIB section rows padded to 324 bytes
constexpr int kHeight = 240;

using wintest::ColoursOf;
using wintest::Differences;
using wintest::Image;
using wintest::Pump;

HWND NewWindow() { return wintest::NewRoutedWindow(kWidth, kHeight); }
Image ReadWindow(HWND window) { return wintest::ReadWindow(window, kWidth, kHeight); }

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
  CreateClockOverlay(&doc);  // registered in the document, which tears it down
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
