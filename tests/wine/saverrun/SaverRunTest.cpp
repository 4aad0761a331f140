// The screen-saver module end to end: the virtual-time variant started with /s on a demo image
// set under Xvfb. The test holds the saver at marks in virtual time, captures the screen and
// reads the trace there, then ends it with a key as a user would.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ScreenSaver.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/platform/SaverProcess.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/saverrun/VirtualTime.h"
#include "tools/demo/DemoImageSet.h"
#include "tools/setup/SettingsInstaller.h"

namespace {

namespace fs = std::filesystem;

constexpr char kKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";
constexpr DWORD kMarkWaitMs = 30000;  // real time for the saver to reach a mark
constexpr DWORD kExitLimitMs = 2000;  // a key ends the process within this
constexpr DWORD kSettleMs = 300;      // for a held saver's last drawing to reach the screen

// The demo set with pictures of its own, made once for the whole program.
const std::string& DemoDataFolder() {
  static testsupport::TempFolder parent("saverrun");
  static const std::string folder = [] {
    demoset::Options options;  // 640 x 480
    EXPECT_EQ(demoset::BuildDemoImageSet(parent.str(), options), "");
    return (parent / demoset::kDataFolderName).string();
  }();
  return folder;
}

void SetValue(const char* name, const char* value) {
  seams::RegistryKey key;
  ASSERT_EQ(key.Open(kKey, seams::RegAccess::SetValue), 0);
  ASSERT_EQ(key.SetString(name, value), 0);
}

std::string GetValue(const char* name) {
  seams::RegistryKey key;
  char value[64] = "";
  if (key.Open(kKey, seams::RegAccess::Read) != 0) return "";
  key.QueryString(name, value, sizeof value);
  return value;
}

// The halftone palette's colour nearest to `wanted`. The saver copies the desktop into a picture
// of that palette on a display without one, so only such colours survive the copy exactly.
COLORREF HalftoneColour(COLORREF wanted) {
  HDC screen = GetDC(nullptr);
  HPALETTE halftone = CreateHalftonePalette(screen);
  ReleaseDC(nullptr, screen);
  PALETTEENTRY entries[256] = {};
  const UINT count = GetPaletteEntries(halftone, 0, 256, entries);
  DeleteObject(halftone);
  COLORREF best = wanted;
  long bestDistance = -1;
  for (UINT i = 0; i < count; ++i) {
    const long dr = entries[i].peRed - GetRValue(wanted), dg = entries[i].peGreen - GetGValue(wanted),
               db = entries[i].peBlue - GetBValue(wanted);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
    }
  }
  return best;
}

// Four colours in the quarters of the screen: what lies under the saver when it starts.
class Underlay {
 public:
  Underlay() {
    WNDCLASSA underClass{};
    underClass.lpfnWndProc = Proc;
    underClass.hInstance = GetModuleHandleA(nullptr);
    underClass.lpszClassName = "SaverRunUnderlay";
    RegisterClassA(&underClass);
    window_ = CreateWindowExA(0, underClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                              nullptr, nullptr, underClass.hInstance, nullptr);
    UpdateWindow(window_);
    PumpUntil([] { return false; }, 200);
  }
  ~Underlay() { DestroyWindow(window_); }
  Underlay(const Underlay&) = delete;
  Underlay& operator=(const Underlay&) = delete;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT all;
    GetClientRect(window, &all);
    static const COLORREF colours[4] = {
        HalftoneColour(RGB(200, 40, 40)), HalftoneColour(RGB(40, 160, 60)),
        HalftoneColour(RGB(40, 60, 200)), HalftoneColour(RGB(230, 200, 40))};
    for (int quarter = 0; quarter < 4; ++quarter) {
      RECT part{(quarter % 2) * all.right / 2, (quarter / 2) * all.bottom / 2, 0, 0};
      part.right = part.left + all.right / 2;
      part.bottom = part.top + all.bottom / 2;
      HBRUSH brush = CreateSolidBrush(colours[quarter]);
      FillRect(dc, &part, brush);
      DeleteObject(brush);
    }
    EndPaint(window, &paint);
    return 0;
  }
  HWND window_;
};

// One run of the variant with its marks; each mark is waited for and released in turn.
class GatedRun {
 public:
  explicit GatedRun(const std::vector<unsigned>& marks) {
    static int serial = 0;
    name_ = "saverrun-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    std::string list;
    for (size_t i = 0; i < marks.size(); ++i) {
      list += (i ? "," : "") + std::to_string(marks[i]);
      reached_.push_back(CreateEventA(nullptr, TRUE, FALSE, vtime::ReachedEvent(name_, i).c_str()));
      release_.push_back(CreateEventA(nullptr, TRUE, FALSE, vtime::ReleaseEvent(name_, i).c_str()));
    }
    SetEnvironmentVariableA(vtime::kMarksVariable, list.c_str());
    SetEnvironmentVariableA(vtime::kNameVariable, name_.c_str());
    process_ = std::make_unique<SaverProcess>("/s");
    SetEnvironmentVariableA(vtime::kMarksVariable, nullptr);
    SetEnvironmentVariableA(vtime::kNameVariable, nullptr);
  }
  ~GatedRun() {
    process_.reset();
    for (HANDLE event : reached_) CloseHandle(event);
    for (HANDLE event : release_) CloseHandle(event);
  }

  SaverProcess& Process() { return *process_; }

  // Waits until the saver is held at mark `index`, then a moment more for what it drew to reach
  // the X server.
  bool Reach(size_t index) {
    const bool reached = PumpUntil(
        [&] { return WaitForSingleObject(reached_[index], 0) == WAIT_OBJECT_0; }, kMarkWaitMs);
    PumpUntil([] { return false; }, kSettleMs);
    return reached;
  }
  void Release(size_t index) { SetEvent(release_[index]); }

 private:
  std::string name_;
  std::vector<HANDLE> reached_, release_;
  std::unique_ptr<SaverProcess> process_;
};

std::string ReadTrace() {
  std::ifstream in(
      static_cast<const char*>(TraceFilePath(DemoDataFolder().c_str(), kTraceFileName)));
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Pixels that differ between two captures of the same size, inside `area`.
int Differences(const ScreenCapture& a, const ScreenCapture& b, const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += a.At(x, y) != b.At(x, y);
  }
  return count;
}

RECT WholeScreen(const ScreenCapture& capture) { return RECT{0, 0, capture.Width(), capture.Height()}; }

// Ends the saver with a key and says how long the process took to go.
DWORD EndWithKey(SaverProcess& process, std::optional<DWORD>* exitCode) {
  HWND saver = FindTopWindow(process.Id(), SAVER_WINDOW_CLASS);
  const DWORD start = GetTickCount();
  PostMessageA(saver, WM_KEYDOWN, VK_SPACE, 1);
  *exitCode = process.WaitForExit(10000);
  return GetTickCount() - start;
}

class SaverRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallSettings(DemoDataFolder(), true).ok);
    const std::pair<const char*, const char*> settings[] = {
        {"TRACEON", "1"}, {"CLOCKON", "1"}, {"SOUND_ON", "0"}, {"IMAGE_SIZE", "0"},
        {"TEXTFX_TEXTON", "1"}, {"TEXTFX_TRANSSELECTION", "0"}, {"SSFN", "7"}, {"TIME", "2"},
        {"LASTIMAGENO", "0"},
    };
    for (const auto& setting : settings) SetValue(setting.first, setting.second);
  }
};

// The saver starts from what was on the screen, and a key ends the process at once even while
// its threads are held in virtual time.
TEST_F(SaverRunTest, StartsFromTheScreenAndAKeyEndsIt) {
  Underlay underlay;
  const ScreenCapture before = ScreenCapture::Take();
  GatedRun run({0});
  ASSERT_TRUE(run.Process().Started());
  ASSERT_TRUE(run.Reach(0)) << "the saver never read its clock";
  ASSERT_NE(run.Process().WaitForTopWindow(SAVER_WINDOW_CLASS), nullptr);
  const ScreenCapture atStart = ScreenCapture::Take();
  before.SaveBmp("saverrun-before.bmp");
  atStart.SaveBmp("saverrun-start.bmp");
  EXPECT_EQ(Differences(before, atStart, WholeScreen(before)), 0)
      << "the saver shows what was under it first";
  std::optional<DWORD> exitCode;
  const DWORD took = EndWithKey(run.Process(), &exitCode);
  EXPECT_EQ(exitCode, std::optional<DWORD>(0));
  EXPECT_LT(took, kExitLimitMs);
  std::printf("[ figure ] key to process exit: %lu ms\n", static_cast<unsigned long>(took));
  const std::string trace = ReadTrace();
  EXPECT_EQ(trace.find("killed"), std::string::npos) << "the threads stopped by themselves";
}

// The demo set with captions in mode 0, the clock on and the slide show at 120 s per picture:
// the desktop first, picture 1 with its caption, then picture 1 alone in its rectangle with the
// frame and logo tiles around it and the clock at the top right, a second later only the clock
// changed, later picture 2; a key ends it and the last picture's number is stored.
TEST_F(SaverRunTest, ShowsTheDemoPicturesWithCaptionsAndTheClock) {
  Underlay underlay;
  const ScreenCapture before = ScreenCapture::Take();
  enum { kStart, kCaption, kAlone, kSecondLater, kNext };
  GatedRun run({0, 12000, 40000, 41000, 170000});
  ASSERT_TRUE(run.Process().Started());

  ASSERT_TRUE(run.Reach(kStart));
  const ScreenCapture start = ScreenCapture::Take();
  start.SaveBmp("saverrun-start2.bmp");
  EXPECT_EQ(Differences(before, start, WholeScreen(before)), 0);
  run.Release(kStart);

  ASSERT_TRUE(run.Reach(kCaption));
  const ScreenCapture caption = ScreenCapture::Take();
  caption.SaveBmp("saverrun-caption.bmp");
  EXPECT_NE(ReadTrace().find("Selected image = 1"), std::string::npos);
  run.Release(kCaption);

  ASSERT_TRUE(run.Reach(kAlone));
  const ScreenCapture alone = ScreenCapture::Take();
  alone.SaveBmp("saverrun-alone.bmp");
  run.Release(kAlone);

  ASSERT_TRUE(run.Reach(kSecondLater));
  const ScreenCapture later = ScreenCapture::Take();
  const RECT all = WholeScreen(later);
  const RECT clockArea{all.right * 3 / 4, 0, all.right, all.bottom / 6};
  const RECT belowClock{0, clockArea.bottom, all.right, all.bottom};
  EXPECT_GT(Differences(alone, later, clockArea), 0) << "the clock shows the next second";
  EXPECT_EQ(Differences(alone, later, belowClock), 0) << "nothing but the clock changed";
  run.Release(kSecondLater);

  ASSERT_TRUE(run.Reach(kNext));
  ScreenCapture::Take().SaveBmp("saverrun-next.bmp");
  EXPECT_NE(ReadTrace().find("Selected image = 2"), std::string::npos);

  std::optional<DWORD> exitCode;
  EXPECT_LT(EndWithKey(run.Process(), &exitCode), kExitLimitMs);
  EXPECT_EQ(exitCode, std::optional<DWORD>(0));
  EXPECT_EQ(GetValue("LASTIMAGENO"), "2");
}

}  // namespace
