// The full-screen image viewer and the quarter-size preview loader under Wine's null display
// driver, on a small demo set with its cache. The viewer's owner stands in for a dialog: a
// window with the title list (child 1029, sorted by title) that records WM_FULLSCREEN_CLOSE.
// Every alert is recorded; one that a test does not expect fails it.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/ImageBrowser.h"
#include "controls/ControlsViews.h"
#include "controls/OwnImagesDialog.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "saver/DrawingThread.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/BrowserTesting.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/controls/ViewerOwner.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tests/wine/support/WindowTesting.h"

namespace {

std::vector<viewertest::Close>& closes = viewertest::Closes();

class ImageViewer : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    ASSERT_TRUE(RegisterFullScreenImageWnd());
    browsertest::UseSet(browsertest::CachedSet());
    ImageSettings = ImageSetSettings{};
    closes.clear();
    owner_ = viewertest::NewOwner();
    ASSERT_NE(owner_, nullptr);
    list_ = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOTIFY, 0, 0, 0, 0, owner_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_IMAGETITLELIST)),
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list_, nullptr);
    ASSERT_EQ(FillImageTitleList(&ImageDescArray, list_), 1);
    SortImageTitleList(list_);
  }
  void TearDown() override {
    DestroyWindow(owner_);  // takes the viewer with it
    EXPECT_EQ(Viewer(), nullptr);
    browsertest::ResetImageState();
    browsertest::FailOnAlerts(alerts_);
  }

  // The image number of a line of the title list.
  int NumberAt(int line) const { return browsertest::NumberAt(list_, line); }

  HWND Open(int number) {
    SelectedImageNo = number;
    EXPECT_TRUE(CreateFullScreenImageWnd(owner_));
    return Viewer();
  }
  static HWND Viewer() { return FindWindowA(kFullScreenImageClass, nullptr); }
  static CRDIBCtl* View() {
    return static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(GetDlgItem(Viewer(), kViewerImageId)));
  }
  static void Key(UINT key) { SendMessageA(Viewer(), WM_KEYDOWN, key, 0); }
  std::vector<std::string> TakeAlerts() { return browsertest::TakeAlertTexts(alerts_); }

  seams::ScopedAlertRecorder alerts_;
  HWND owner_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ImageViewer, ShowsThePictureCentredOnTheGreyBackgroundRightWayUp) {
  ImageSettings.IMAGE_SIZE = 1;  // 640 x 480 on the 1024 x 768 screen
  const int number = NumberAt(2);
  HWND viewer = Open(number);
  ASSERT_NE(viewer, nullptr);
  ASSERT_NE(ScreenBackgroundDIB, nullptr) << "built before the picture";
  std::unique_ptr<CDIB> picture(
      CreateFullScreenImage(nullptr, nullptr, &ImageDescArray, number, 1, 0));
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->GetWidth(), 640);
  const ScreenSize screen = GetScreenSize();
  const wintest::Image shown = wintest::ReadWindow(viewer, screen.cx, screen.cy);
  ASSERT_EQ(shown.size(), static_cast<size_t>(screen.cx) * screen.cy);
  EXPECT_EQ(
      wintest::Differences(shown, browsertest::ExpectedScreen(*ScreenBackgroundDIB, *picture)), 0u);
  // Around the picture only the background's greys.
  const int ox = (screen.cx - 640) / 2, oy = (screen.cy - 480) / 2;
  size_t coloured = 0;
  for (int y = 0; y < screen.cy; ++y)
    for (int x = 0; x < screen.cx; ++x)
      if ((x < ox || x >= ox + 640 || y < oy || y >= oy + 480) &&
          !browsertest::IsGrey(shown[static_cast<size_t>(y) * screen.cx + x]))
        ++coloured;
  EXPECT_EQ(coloured, 0u);
  // Right way up against the source: the cached quarter-size picture (made by another path) has
  // its light and dark halves where the screen has them.
  const std::unique_ptr<CDIB> quarter = browsertest::CachedPicture(number);
  ASSERT_NE(quarter, nullptr);
  const wintest::Image small = wintest::ColoursOf(*quarter);
  const auto source = browsertest::HalfMeans(small, quarter->GetWidth(), 0, 0, quarter->GetWidth(),
                                             quarter->GetHeight());
  const auto onScreen = browsertest::HalfMeans(shown, screen.cx, ox, oy, 640, 480);
  ASSERT_GT(std::abs(source.first - source.second), 10.0) << "a picture with a lighter half";
  EXPECT_EQ(source.first > source.second, onScreen.first > onScreen.second);
  EXPECT_EQ(SelectedImageNo, number);
  EXPECT_TRUE(closes.empty());
}

TEST_F(ImageViewer, APictureLargerThanTheScreenShowsItsCentre) {
  ImageSettings.IMAGE_SIZE = 6;  // 1600 x 1200 on the 1024 x 768 screen
  HWND viewer = Open(NumberAt(0));
  ASSERT_NE(viewer, nullptr);
  ASSERT_NE(FullScreenViewerPicture(), nullptr);
  ASSERT_EQ(FullScreenViewerPicture()->GetWidth(), 1600);
  const ScreenSize screen = GetScreenSize();
  const wintest::Image shown = wintest::ReadWindow(viewer, screen.cx, screen.cy);
  EXPECT_EQ(wintest::Differences(shown, browsertest::ExpectedScreen(*ScreenBackgroundDIB,
                                                                    *FullScreenViewerPicture())),
            0u);
  const int dx = (1600 - screen.cx) / 2, dy = (1200 - screen.cy) / 2;
  EXPECT_EQ(shown[0],
            browsertest::AsImagePixel(controltest::PixelOf(*FullScreenViewerPicture(), dx, dy)))
      << "the picture's centre, not the background alone";
}

TEST_F(ImageViewer, ArrowsWrapThroughTheListInTitleOrder) {
  const int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
  const int first = NumberAt(0), second = NumberAt(1), last = NumberAt(count - 1);
  ASSERT_NE(Open(last), nullptr);
  // Not a check: a whole round of the list, each key decoding and composing one picture.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) Key(VK_RIGHT);
  const auto took = std::chrono::steady_clock::now() - start;
  std::printf("viewer arrow to picture (%dx%d, mean of %d): %.1f ms\n", GetScreenSize().cx,
              GetScreenSize().cy, count,
              std::chrono::duration<double, std::milli>(took).count() / count);
  EXPECT_EQ(SelectedImageNo, last) << "a round ends where it started";
  Key(VK_RIGHT);
  EXPECT_EQ(SelectedImageNo, first);
  Key(VK_DOWN);
  EXPECT_EQ(SelectedImageNo, second);
  Key(VK_UP);
  Key(VK_LEFT);
  EXPECT_EQ(SelectedImageNo, last);
  ASSERT_NE(View()->image, nullptr);
  EXPECT_EQ(View()->image->GetWidth(), GetScreenSize().cx);
  EXPECT_TRUE(closes.empty()) << "arrows do not close";
}

TEST_F(ImageViewer, AnImageNotInTheListIgnoresTheArrows) {
  const int number = NumberAt(3);
  ASSERT_NE(Open(number), nullptr);
  const CDIB* decoded = FullScreenViewerPicture();
  SendMessageA(list_, LB_DELETESTRING, 3, 0);
  for (UINT key : {VK_RIGHT, VK_LEFT, VK_DOWN, VK_UP}) Key(key);
  EXPECT_EQ(SelectedImageNo, number);
  EXPECT_EQ(FullScreenViewerPicture(), decoded) << "nothing decoded again";
}

TEST_F(ImageViewer, AnyOtherKeyReportsTheImageAndCloses) {
  struct Case {
    UINT message;
    WPARAM key;
  };
  const Case cases[] = {
      {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, 'A'}, {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYUP, VK_F4}};
  for (const Case& c : cases) {
    SCOPED_TRACE("message " + std::to_string(c.message) + " key " + std::to_string(c.key));
    closes.clear();
    HWND viewer = Open(NumberAt(4));
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(CreateFullScreenImageWnd(owner_)) << "one viewer at a time";
    Key(VK_RIGHT);
    const int shown = SelectedImageNo;
    EXPECT_EQ(shown, NumberAt(5));
    ASSERT_NE(FullScreenViewerPicture(), nullptr);
    SendMessageA(viewer, c.message, c.key, 0);
    EXPECT_FALSE(IsWindow(viewer));
    EXPECT_EQ(FullScreenViewerPicture(), nullptr) << "the picture goes with the viewer";
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(static_cast<int>(closes[0].number), shown);
    EXPECT_EQ(closes[0].window, reinterpret_cast<LPARAM>(viewer));
  }
}

TEST_F(ImageViewer, AnEightBitDisplayGetsThePictureReducedTo204Colours) {
  const ScopedScreenBitsPerPixel eightBits(8);
  ImageSettings.IMAGE_SIZE = 1;
  auto colourCount = [](const CDIB& dib) {
    std::set<uint32_t> colours;
    for (uint32_t pixel : wintest::ColoursOf(dib)) colours.insert(pixel);
    return colours.size();
  };
  // The JPEG record decodes at 24 bits: reduced before it is composed.
  HWND viewer = Open(browsertest::kJpegRecord);
  ASSERT_NE(viewer, nullptr);
  ASSERT_NE(FullScreenViewerPicture(), nullptr);
  ASSERT_EQ(FullScreenViewerPicture()->header->bmiHeader.biBitCount, 8);
  EXPECT_LE(colourCount(*FullScreenViewerPicture()), 204u);
  EXPECT_GT(colourCount(*FullScreenViewerPicture()), 16u) << "still a photograph";
  // Whatever the record, the screen shows at most 204 colours.
  for (int number : {browsertest::kJpegRecord, NumberAt(0)}) {
    SCOPED_TRACE("image " + std::to_string(number));
    ASSERT_EQ(SetFullScreenDIB(viewer, number), 1);
    ASSERT_NE(View()->image, nullptr);
    EXPECT_EQ(View()->image->GetWidth(), GetScreenSize().cx);
    EXPECT_LE(colourCount(*View()->image), 204u);
  }
}

TEST_F(ImageViewer, TheBackgroundIsBuiltFirstAndAFailedDecodeLeavesNoStalePicture) {
  delete ScreenBackgroundDIB;
  ScreenBackgroundDIB = nullptr;
  HWND viewer = Open(NumberAt(0));
  ASSERT_NE(viewer, nullptr);
  EXPECT_NE(ScreenBackgroundDIB, nullptr);
  ASSERT_NE(View()->image, nullptr);
  // An image the set does not have: the decoder says so, the old picture is gone and not
  // dangling, and the view keeps showing what it showed.
  EXPECT_EQ(SetFullScreenDIB(viewer, 99), 0);
  EXPECT_EQ(FullScreenViewerPicture(), nullptr);
  EXPECT_NE(View()->image, nullptr);
  const std::vector<std::string> alerts = TakeAlerts();
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(alerts.back(), "Unable to load image");
  // A viewer without its picture control.
  DestroyWindow(GetDlgItem(viewer, kViewerImageId));
  EXPECT_EQ(SetFullScreenDIB(viewer, NumberAt(0)), 0);
  EXPECT_EQ(TakeAlerts(), std::vector<std::string>{"Unable to find DIB control"});
}

TEST_F(ImageViewer, QuarterPreviewLoadsTheCachedPictureAndRefusesOutsideTheCache) {
  HWND view = CreateWindowExA(0, "RDIBCtl", "", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120, owner_,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(view, nullptr);
  QuarterImageCount = 0;  // loaded on first need
  EXPECT_EQ(ShowQuarterImagePreview(view, 5), 1);
  EXPECT_EQ(SelectedImageNo, 5);
  auto* control = static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(view));
  ASSERT_NE(control->image, nullptr);
  const std::unique_ptr<CDIB> cached = browsertest::CachedPicture(5);
  ASSERT_NE(cached, nullptr);
  EXPECT_EQ(control->image->GetWidth(), cached->GetWidth());
  for (int index : {-1, QuarterImageCount, 1000}) {
    EXPECT_EQ(ShowQuarterImagePreview(view, index), 0) << index;
    EXPECT_EQ(SelectedImageNo, 5);
  }
  // A set whose cache file went away after its index was read.
  testsupport::TempFolder folder("nocache");
  browsertest::UseSet(browsertest::CopyOfSet(folder));
  LoadQuarterImageIndex();
  ASSERT_GT(QuarterImageCount, 0);
  ASSERT_TRUE(DeleteFileA(ImageSetFilePath(kQuarterCacheFileName)));
  EXPECT_EQ(ShowQuarterImagePreview(view, 1), 0);
  EXPECT_EQ(TakeAlerts(), std::vector<std::string>{"Unable to open date image file"});
}

// A loader handed a control of the other kind (its wrapper is no view of that kind) refuses it
// and touches neither the control nor the selection.
TEST_F(ImageViewer, TheLoadersRefuseAControlOfTheOtherKind) {
  HWND picture = CreateWindowExA(0, "RDIBCtl", "", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120, owner_,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND text = CreateWindowExA(0, "RRTFCtl", "", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120, owner_,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(text, nullptr);
  SelectedImageNo = 3;
  EXPECT_EQ(ShowQuarterImagePreview(text, 5), 0);
  EXPECT_EQ(SelectedImageNo, 3);
  EXPECT_EQ(ShowImageDescription(picture, 2), 0);
  EXPECT_EQ(static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(picture))->image, nullptr);
  // The right kinds load.
  EXPECT_EQ(ShowQuarterImagePreview(picture, 5), 1);
  EXPECT_EQ(ShowImageDescription(text, 2), 1);
}

TEST_F(ImageViewer, FiftyOpenAndCloseCyclesLeaveNoGdiObject) {
  ImageSettings.IMAGE_SIZE = 1;
  BuildScreenBackground();
  // One round first, so that what stays for the process's life (fonts, caches) is made.
  ASSERT_NE(Open(NumberAt(0)), nullptr);
  Key(VK_ESCAPE);
  const int before = wintest::FreeGdiHandles();
  for (int i = 0; i < 50; ++i) {
    HWND viewer = Open(NumberAt(i % 3));
    ASSERT_NE(viewer, nullptr);
    Key(VK_RIGHT);
    Key(VK_ESCAPE);
    ASSERT_FALSE(IsWindow(viewer));
  }
  EXPECT_EQ(wintest::FreeGdiHandles(), before);
}

}  // namespace
