#include "tests/wine/saverrun/SaverRunFixture.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/ScreenSaver.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/saverrun/VirtualTime.h"
#include "tools/demo/DemoImageSet.h"
#include "tools/setup/SettingsInstaller.h"

namespace saverrun {
namespace {

constexpr char kKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";
// Real-time limits only catch a hang: each wait ends as soon as what it waits for is there.
constexpr DWORD kMarkWaitMs = 120000;    // for the saver to reach a mark
constexpr DWORD kSettleMs = 150;         // between captures while the screen settles
constexpr DWORD kSettleLimitMs = 30000;  // for a settled screen

LRESULT CALLBACK UnderlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  // The classic desktop blue and three colours of no standard palette: the saver's copy must
  // keep each exactly.
  static const COLORREF colours[4] = {RGB(0x3A, 0x6E, 0xA5), RGB(201, 43, 37), RGB(37, 157, 61),
                                      RGB(229, 203, 41)};
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT all;
  GetClientRect(window, &all);
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

}  // namespace

const std::string& DemoDataFolder() {
  static testsupport::TempFolder parent("saverrun");
  static const std::string folder = [] {
    demoset::Options options;  // 640 x 480
    EXPECT_EQ(demoset::BuildDemoImageSet(parent.str(), options), "");
    return (parent / demoset::kDataFolderName).string();
  }();
  return folder;
}

void InstallDemoSettings(const std::vector<std::pair<const char*, const char*>>& values) {
  ASSERT_TRUE(InstallSettings(DemoDataFolder(), true).ok);
  for (const auto& value : values) SetValue(value.first, value.second);
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

std::string ReadTrace() {
  std::ifstream in(
      static_cast<const char*>(TraceFilePath(DemoDataFolder().c_str(), kTraceFileName)));
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

Underlay::Underlay() {
  WNDCLASSA underClass{};
  underClass.lpfnWndProc = UnderlayProc;
  underClass.hInstance = GetModuleHandleA(nullptr);
  underClass.lpszClassName = "SaverRunUnderlay";
  RegisterClassA(&underClass);
  window_ = CreateWindowExA(0, underClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                            nullptr, underClass.hInstance, nullptr);
  UpdateWindow(window_);
  PumpUntil([] { return false; }, 200);
}

Underlay::~Underlay() { DestroyWindow(window_); }

GatedRun::GatedRun(const std::vector<unsigned>& marks, const std::string& log,
                   const std::vector<std::string>& holds) {
  static int serial = 0;
  name_ = "saverrun-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  std::string list;
  for (size_t i = 0; i < marks.size(); ++i) {
    list += (i ? "," : "") + std::to_string(marks[i]);
    const int mark = static_cast<int>(i);
    reached_.push_back(
        CreateEventA(nullptr, TRUE, FALSE, vtime::ReachedEvent(name_, mark).c_str()));
    release_.push_back(
        CreateEventA(nullptr, TRUE, FALSE, vtime::ReleaseEvent(name_, mark).c_str()));
  }
  std::string texts;
  for (size_t i = 0; i < holds.size(); ++i) {
    texts += (i ? "|" : "") + holds[i];
    const int hold = static_cast<int>(i);
    holdReached_.push_back(
        CreateEventA(nullptr, TRUE, FALSE, vtime::HoldReachedEvent(name_, hold).c_str()));
    holdRelease_.push_back(
        CreateEventA(nullptr, TRUE, FALSE, vtime::HoldReleaseEvent(name_, hold).c_str()));
  }
  SetEnvironmentVariableA(vtime::kHoldsVariable, texts.empty() ? nullptr : texts.c_str());
  SetEnvironmentVariableA(vtime::kMarksVariable, list.c_str());
  SetEnvironmentVariableA(vtime::kNameVariable, name_.c_str());
  SetEnvironmentVariableA(vtime::kLogVariable, log.empty() ? nullptr : log.c_str());
  process_ = std::make_unique<SaverProcess>("/s");
  for (const char* variable :
       {vtime::kMarksVariable, vtime::kNameVariable, vtime::kLogVariable, vtime::kHoldsVariable}) {
    SetEnvironmentVariableA(variable, nullptr);
  }
}

GatedRun::~GatedRun() {
  process_.reset();
  for (HANDLE event : reached_) CloseHandle(event);
  for (HANDLE event : release_) CloseHandle(event);
  for (HANDLE event : holdReached_) CloseHandle(event);
  for (HANDLE event : holdRelease_) CloseHandle(event);
}

bool GatedRun::Reach(size_t index) {
  const bool reached = WaitFor(reached_[index]);
  // What the held saver drew last reaches the X server when Wine flushes the window's surface,
  // which the window's own thread does when it wakes for a message: the drawing thread draws
  // from a thread that pumps none, so without a message its last frames can stay unflushed for
  // as long as the hold lasts. Wake the window's thread, then wait until two captures agree.
  Settle(true);
  return reached;
}

void GatedRun::Release(size_t index) { SetEvent(release_[index]); }

bool GatedRun::ReachHold(size_t index) {
  const bool reached = WaitFor(holdReached_[index]);
  Settle(false);
  return reached;
}

void GatedRun::ReleaseHold(size_t index) { SetEvent(holdRelease_[index]); }

int GatedRun::UnshownPixels() {
  const ScreenCapture shown = ScreenCapture::Take();
  return Differences(shown, Settle(true), WholeScreen(shown));
}

bool GatedRun::WaitFor(HANDLE event) {
  return PumpUntil([&] { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }, kMarkWaitMs);
}

ScreenCapture GatedRun::Settle(bool wake) {
  HWND saver = wake ? FindTopWindow(process_->Id(), SAVER_WINDOW_CLASS) : nullptr;
  ScreenCapture previous = ScreenCapture::Take();
  PumpUntil(
      [&] {
        if (saver) PostMessageA(saver, WM_NULL, 0, 0);
        PumpUntil([] { return false; }, kSettleMs);
        ScreenCapture now = ScreenCapture::Take();
        const bool same = Differences(previous, now, WholeScreen(now)) == 0;
        previous = std::move(now);
        return same;
      },
      kSettleLimitMs);
  return previous;
}

DWORD GatedRun::EndWithKey(std::optional<DWORD>* exitCode) {
  HWND saver = FindTopWindow(process_->Id(), SAVER_WINDOW_CLASS);
  const DWORD start = GetTickCount();
  PostMessageA(saver, WM_KEYDOWN, VK_SPACE, 1);
  *exitCode = process_->WaitForExit(kExitHangMs);
  return GetTickCount() - start;
}

int Differences(const ScreenCapture& a, const ScreenCapture& b, const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += a.At(x, y) != b.At(x, y);
  }
  return count;
}

RECT WholeScreen(const ScreenCapture& capture) {
  return RECT{0, 0, capture.Width(), capture.Height()};
}

}  // namespace saverrun
