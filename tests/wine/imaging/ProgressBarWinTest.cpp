// Long decodes step a real progress bar control: LoadJPEG and InterpolateToScreen leave the bar
// at the position their steps add up to.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "imaging/DIB.h"
#include "imaging/Resample.h"
#include "tests/support/JpegEncode.h"

namespace {

// A progress bar in a hidden pop-up window, destroyed with the object.
class ProgressBar {
 public:
  ProgressBar() {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&init);
    hwnd_ = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
  }
  ~ProgressBar() {
    if (hwnd_) ::DestroyWindow(hwnd_);
  }
  HWND Handle() const { return hwnd_; }
  int Position() const { return static_cast<int>(::SendMessageA(hwnd_, PBM_GETPOS, 0, 0)); }
  int High() const { return static_cast<int>(::SendMessageA(hwnd_, PBM_GETRANGE, FALSE, 0)); }

 private:
  HWND hwnd_ = nullptr;
};

TEST(ProgressBarWinTest, LoadJpegStepsTheBarOncePerTenthOfTheRows) {
  const struct { int rows, position; } cases[] = {{7, 7}, {100, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    ProgressBar bar;
    ASSERT_NE(bar.Handle(), nullptr) << "no progress bar window: error " << ::GetLastError();
    FILE* file =
        testsupport::TempFileWith(testsupport::EncodeJpeg(testsupport::SyntheticPhoto(8, c.rows)));
    ASSERT_NE(file, nullptr);
    CDIB dib;
    EXPECT_TRUE(dib.LoadJPEG(file, bar.Handle()));
    std::fclose(file);
    EXPECT_EQ(bar.High(), 10);
    EXPECT_EQ(bar.Position(), c.position);
  }
}

TEST(ProgressBarWinTest, InterpolationStepsTheBarWhileBuildingItsTables) {
  ProgressBar bar;
  ASSERT_NE(bar.Handle(), nullptr);
  CDIB source;
  ASSERT_TRUE(source.Create(64, 48, nullptr));
  source.header->bmiHeader.biClrUsed = 16;
  CDIB* result = nullptr;
  ASSERT_TRUE(InterpolateToScreen(&source, 800, 600, &result, RGBQUAD{0, 0, 0, 0}, bar.Handle()));
  delete result;
  EXPECT_EQ(bar.High(), 10);
  EXPECT_EQ(bar.Position(), 10);
}

}  // namespace
