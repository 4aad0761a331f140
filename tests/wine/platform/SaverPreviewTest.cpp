// The test saver started with /p: a child filling our window, deaf to the full-screen closing
// inputs, ending with its parent. Under Wine a child made by another process in our window shows
// nothing, so its picture is not checked here.
#include "platform/ScreenSaver.h"
#include "tests/wine/platform/HostWindow.h"
#include "tests/wine/platform/SaverProcess.h"
#include "tests/wine/platform/TestSaver.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// The saver's visible child inside `parent`, once it is there; null on timeout.
HWND WaitForPreview(HWND parent) {
  HWND child = nullptr;
  const bool shown = PumpUntil([&] {
    child = FindWindowExA(parent, nullptr, SAVER_WINDOW_CLASS, nullptr);
    return child != nullptr && IsWindowVisible(child);
  });
  return shown ? child : nullptr;
}

// The child's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND child, HWND parent) {
  RECT place{};
  GetWindowRect(child, &place);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

void PostFullScreenClosingInputs(HWND window) {
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150));
  PostMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
}

TEST(SaverPreview, FillsTheParentIgnoresInputAndEndsWithIt) {
  HostWindow parent;
  ASSERT_NE(parent.Handle(), nullptr);
  SaverProcess saver("/p " + parent.Decimal());
  ASSERT_TRUE(saver.Started()) << "error " << GetLastError();
  const HWND child = WaitForPreview(parent.Handle());
  ASSERT_NE(child, nullptr) << "no visible preview window appeared inside ours";

  DWORD owner = 0;
  GetWindowThreadProcessId(child, &owner);
  EXPECT_EQ(owner, saver.Id());
  EXPECT_NE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD, 0);
  RECT client{};
  GetClientRect(parent.Handle(), &client);
  const RECT place = PlaceInParent(child, parent.Handle());
  EXPECT_TRUE(EqualRect(&client, &place));

  PostFullScreenClosingInputs(child);
  EXPECT_TRUE(StillOpenAfterPostedMessages(child)) << "an input ended the preview";

  DestroyWindow(parent.Handle());
  EXPECT_EQ(saver.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(saver.Log(), Lines{kLogCreatedPreview});
}

TEST(SaverPreview, WithoutAValidParentStartsNothing) {
  const HWND stale = HostWindow::StaleHandle();
  ASSERT_NE(stale, nullptr);
  for (const std::string& arguments :
       {std::string("/p"), std::string("/p 0"), std::string("/p:12x"),
        "/p " + HostWindow::DecimalOf(stale)}) {
    SCOPED_TRACE(arguments);
    SaverProcess saver(arguments);
    EXPECT_EQ(saver.WaitForExit(), std::optional<DWORD>(1));
    EXPECT_EQ(saver.Log(), Lines{});
  }
}

}  // namespace
