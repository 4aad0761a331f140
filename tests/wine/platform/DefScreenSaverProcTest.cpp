// DefScreenSaverProc in this process: which messages end a full-screen saver, and that a preview
// ignores all of them. The windows stay hidden so no real input or activation reaches them.
#include "platform/ScreenSaver.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

constexpr char kClassName[] = "PlatformDefProcTest";

LRESULT CALLBACK ModuleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefScreenSaverProc(window, message, wParam, lParam);
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class DefScreenSaverProcTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ModuleProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    // Each suite derived from this fixture registers again.
    if (RegisterClassA(&windowClass) == 0) {
      ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    }
  }

  void TearDown() override {
    if (IsWindow(window_)) {
      DestroyWindow(window_);
    }
    DrainMessages();
    fChildPreview = FALSE;
  }

  // A hidden saver window; the pointer is first seen over it at `anchor`.
  void Open(bool preview, POINT anchor = {100, 100}) {
    fChildPreview = preview ? TRUE : FALSE;
    window_ = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr) << "error " << GetLastError();
    SendMessageA(window_, WM_MOUSEMOVE, 0, At(anchor.x, anchor.y));
    ASSERT_FALSE(DrainMessages());
    ASSERT_TRUE(IsWindow(window_)) << "the first mouse position closed the saver";
  }

  // Dispatches everything queued (a posted WM_CLOSE among it); true when a WM_QUIT came.
  static bool DrainMessages() {
    bool quit = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      quit = quit || message.message == WM_QUIT;
      DispatchMessageA(&message);
    }
    return quit;
  }

  // Sends one message and reports whether the saver ended: window gone and quit posted.
  void ExpectClosed(UINT message, WPARAM wParam, LPARAM lParam, bool closes) {
    SendMessageA(window_, message, wParam, lParam);
    const bool quit = DrainMessages();
    EXPECT_EQ(!IsWindow(window_), closes);
    EXPECT_EQ(quit, closes) << "WM_QUIT posted when, and only when, the window closed";
  }

  HWND window_ = nullptr;
};

struct InputCase {
  const char* name;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool closesFullScreen;
  bool closesPreview;
};

std::ostream& operator<<(std::ostream& out, const InputCase& c) { return out << c.name; }

class DefScreenSaverProcInputTest : public DefScreenSaverProcTest,
                                    public testing::WithParamInterface<InputCase> {};

TEST_P(DefScreenSaverProcInputTest, FullScreen) {
  Open(false);
  ExpectClosed(GetParam().message, GetParam().wParam, GetParam().lParam,
               GetParam().closesFullScreen);
}

TEST_P(DefScreenSaverProcInputTest, Preview) {
  Open(true);
  ExpectClosed(GetParam().message, GetParam().wParam, GetParam().lParam, GetParam().closesPreview);
}

// The pointer was first seen at (100, 100).
const InputCase kInputs[] = {
    {"key down", WM_KEYDOWN, VK_SPACE, 0, true, false},
    {"system key down", WM_SYSKEYDOWN, VK_MENU, 0, true, false},
    {"left button", WM_LBUTTONDOWN, MK_LBUTTON, At(100, 100), true, false},
    {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, At(100, 100), true, false},
    {"right button", WM_RBUTTONDOWN, MK_RBUTTON, At(100, 100), true, false},
    {"extra button", WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), At(100, 100), true, false},
    {"other program activated", WM_ACTIVATEAPP, FALSE, 0, true, false},
    {"window deactivated", WM_ACTIVATE, WA_INACTIVE, 0, true, false},
    {"move right past the slack", WM_MOUSEMOVE, 0, At(104, 100), true, false},
    {"move up past the slack", WM_MOUSEMOVE, 0, At(100, 96), true, false},
    {"close command", WM_SYSCOMMAND, SC_CLOSE, 0, true, true},
    {"close message", WM_CLOSE, 0, 0, true, true},
    // What must leave the saver running.
    {"key up", WM_KEYUP, VK_SPACE, 0, false, false},
    {"left button up", WM_LBUTTONUP, 0, At(100, 100), false, false},
    {"this program activated", WM_ACTIVATEAPP, TRUE, 0, false, false},
    {"window activated", WM_ACTIVATE, WA_ACTIVE, 0, false, false},
    {"one-pixel jitter", WM_MOUSEMOVE, 0, At(101, 99), false, false},
    {"move to the edge of the slack", WM_MOUSEMOVE, 0, At(103, 97), false, false},
    {"start another saver", WM_SYSCOMMAND, SC_SCREENSAVE, 0, false, false},
};
INSTANTIATE_TEST_SUITE_P(Inputs, DefScreenSaverProcInputTest, testing::ValuesIn(kInputs));

TEST_F(DefScreenSaverProcTest, MousePositionsLeftOfAndAboveTheWindowAreSigned) {
  Open(false, {1, 1});
  ExpectClosed(WM_MOUSEMOVE, 0, At(-2, -2), false);
  ExpectClosed(WM_MOUSEMOVE, 0, At(-3, 1), true);
}

TEST_F(DefScreenSaverProcTest, FullScreenHidesTheCursor) {
  Open(false);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(DefScreenSaverProcTest, PreviewKeepsTheClassCursor) {
  Open(true);
  SetCursor(nullptr);
  SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
