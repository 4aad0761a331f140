// The test saver started with /s: its window, its picture on the screen, and what ends it.
#include "platform/ScreenSaver.h"
#include "tests/wine/platform/SaverProcess.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/platform/TestSaver.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using Lines = std::vector<std::string>;
const std::optional<DWORD> kExitedOk = 0;

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

bool Covers(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

// Where the pointer is, in the saver window's client coordinates.
POINT PointerIn(HWND window) {
  POINT pointer{};
  GetCursorPos(&pointer);
  ScreenToClient(window, &pointer);
  return pointer;
}

LPARAM At(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

// The system's cursor, as the foreground window's thread sets it; that becomes the saver's
// thread a moment after its window shows.
bool CursorHidden() {
  CURSORINFO cursor{};
  cursor.cbSize = sizeof cursor;
  return GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) == 0;
}

// Ends a saver whose test is done with it, the way a user would.
void PressKey(HWND saverWindow) { PostMessageA(saverWindow, WM_KEYDOWN, VK_SPACE, 1); }

// Pixels of the capture that are not what the test saver paints: its left half in one colour,
// its right half in the other, over the whole screen.
int CountStrayPixels(const ScreenCapture& capture) {
  const int split = capture.Width() / 2;
  int stray = 0;
  for (int y = 0; y < capture.Height(); ++y) {
    for (int x = 0; x < capture.Width(); ++x) {
      const COLORREF expected = x < split ? kTestSaverLeftColour : kTestSaverRightColour;
      stray += capture.At(x, y) != expected ? 1 : 0;
    }
  }
  return stray;
}

TEST(SaverFullScreen, CoversTheScreenOnTopWithoutACursor) {
  SaverProcess saver("/s");
  ASSERT_TRUE(saver.Started()) << "error " << GetLastError();
  const HWND window = saver.WaitForTopWindow(SAVER_WINDOW_CLASS);
  ASSERT_NE(window, nullptr) << "no saver window appeared";

  EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_NE(style & WS_POPUP, 0);
  EXPECT_EQ(style & (WS_CHILD | WS_CAPTION | WS_THICKFRAME), 0);
  RECT placed{};
  GetWindowRect(window, &placed);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_TRUE(Covers(placed, screen))
      << "window " << Describe(placed) << ", screen " << Describe(screen);
  EXPECT_TRUE(PumpUntil(CursorHidden)) << "the cursor shows over the saver";

  PressKey(window);
  EXPECT_EQ(saver.WaitForExit(), kExitedOk);
  EXPECT_EQ(saver.Log(), Lines{kLogCreatedFullScreen});
}

TEST(SaverFullScreen, ScreenShowsWhatTheModulePaints) {
  SaverProcess saver("/s");
  const HWND window = saver.WaitForTopWindow(SAVER_WINDOW_CLASS);
  ASSERT_NE(window, nullptr) << "no saver window appeared";

  ScreenCapture capture;
  const bool painted = PumpUntil([&] {
    capture = ScreenCapture::Take();
    return !capture.Empty() && CountStrayPixels(capture) == 0;
  });
  ASSERT_FALSE(capture.Empty()) << "the screen could not be captured";
  const char* saved = "platform_saver_fullscreen.bmp";
  capture.SaveBmp(saved);
  EXPECT_TRUE(painted) << CountStrayPixels(capture) << " of " << capture.Width() << 'x'
                       << capture.Height() << " pixels differ from the module's picture; see "
                       << saved;

  PressKey(window);
  EXPECT_EQ(saver.WaitForExit(), kExitedOk);
}

TEST(SaverFullScreen, SecondSaverLeavesTheFirstAlone) {
  SaverProcess first("/s");
  const HWND window = first.WaitForTopWindow(SAVER_WINDOW_CLASS);
  ASSERT_NE(window, nullptr) << "no saver window appeared";

  SaverProcess second("/s");
  EXPECT_EQ(second.WaitForExit(), kExitedOk);
  EXPECT_EQ(second.Log(), Lines{}) << "the second saver made a window";
  EXPECT_EQ(CountTopWindows(SAVER_WINDOW_CLASS), 1);
  EXPECT_TRUE(StillOpenAfterPostedMessages(window));

  PressKey(window);
  EXPECT_EQ(first.WaitForExit(), kExitedOk);
}

struct ClosingInput {
  const char* name;
  UINT message;
  WPARAM wParam;
  POINT offset;  // from the pointer, for mouse messages
  bool mouse;
};

std::ostream& operator<<(std::ostream& out, const ClosingInput& input) { return out << input.name; }

class SaverFullScreenClosingTest : public testing::TestWithParam<ClosingInput> {};

TEST_P(SaverFullScreenClosingTest, JitterLeavesItRunningInputEndsIt) {
  SaverProcess saver("/s");
  const HWND window = saver.WaitForTopWindow(SAVER_WINDOW_CLASS);
  ASSERT_NE(window, nullptr) << "no saver window appeared";

  const POINT pointer = PointerIn(window);
  PostMessageA(window, WM_MOUSEMOVE, 0, At(pointer));
  PostMessageA(window, WM_MOUSEMOVE, 0, At({pointer.x + 1, pointer.y - 1}));
  ASSERT_TRUE(StillOpenAfterPostedMessages(window)) << "a one-pixel jitter ended the saver";

  const ClosingInput& input = GetParam();
  const POINT target{pointer.x + input.offset.x, pointer.y + input.offset.y};
  PostMessageA(window, input.message, input.wParam, input.mouse ? At(target) : 1);
  EXPECT_EQ(saver.WaitForExit(), kExitedOk);
}

const ClosingInput kClosingInputs[] = {
    {"key", WM_KEYDOWN, VK_SPACE, {0, 0}, false},
    {"click", WM_LBUTTONDOWN, MK_LBUTTON, {1, -1}, true},
    {"big mouse move", WM_MOUSEMOVE, 0, {40, 30}, true},
};
INSTANTIATE_TEST_SUITE_P(Inputs, SaverFullScreenClosingTest, testing::ValuesIn(kClosingInputs));

}  // namespace
