// The saver window's messages in this process, with stand-in thread procedures that record how
// they were started and whether they ended by themselves: one start per run, no music thread
// without sound, a join within the time limit, a kill only for a thread that does not stop (and
// then nothing freed), the trace's order, the desktop copy's palette, and the module's resources.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "controls/ProductTitle.h"
#include "framework/Wnd.h"
#include "imageset/ImageSet.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "platform/ScreenSaver.h"
#include "res/DialogIds.h"
#include "saver/DrawingThread.h"
#include "saver/SaverWindow.h"
#include "seams/Clock.h"
#include "seams/Registry.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "tests/support/FailingAllocation.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tools/setup/SettingsInstaller.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";
constexpr DWORD kCooperativeExit = 7;
// A join is over in milliseconds, or after kSaverThreadJoinMs with a kill; a destroy that takes
// this long hangs. Whether a thread ended by itself is what each test checks.
constexpr DWORD kJoinHangMs = 10 * kSaverThreadJoinMs;

// What the stand-in threads saw.
struct ThreadLog {
  std::atomic<int> starts{0};
  std::atomic<int> returned{0};
  std::atomic<int> priority{THREAD_PRIORITY_ERROR_RETURN};
  std::atomic<bool> recordReady{false};  // handle and id were stored before the thread ran
  std::atomic<bool> viewBound{false};    // the view was attached and whole before the thread ran
};
ThreadLog g_drawing, g_music;

DWORD Record(ThreadLog& log, LPVOID param) {
  const SaverInfo& record = *static_cast<const SaverInfo*>(param);
  log.recordReady = record.hThread != nullptr && record.dwThreadId == GetCurrentThreadId();
  log.viewBound = CWnd::FromHandlePermanent(record.hwnd) == record.pScreen &&
                  record.pScreen->GetSafeHwnd() == record.hwnd &&
                  record.pScreen->GetDocument() == record.pScreenDoc &&
                  record.pScreenDoc->GetBackground() != nullptr;
  log.priority = GetThreadPriority(GetCurrentThread());
  ++log.starts;
  return 0;
}

// Runs until a stop is requested, like the real threads.
DWORD StopOnRequest(ThreadLog& log, LPVOID param, const char* name) {
  Record(log, param);
  while (seams::WaitMilliseconds(50)) {
  }
  seams::Trace::Printf("%s thread - end\n", name);
  ++log.returned;
  return kCooperativeExit;
}

DWORD WINAPI CooperativeDrawing(LPVOID param) { return StopOnRequest(g_drawing, param, "drawing"); }
DWORD WINAPI CooperativeMusic(LPVOID param) { return StopOnRequest(g_music, param, "music"); }
std::atomic<int> g_endsAfterKill{0};
void CountEndAfterKill() { ++g_endsAfterKill; }

// Never looks at the stop request.
DWORD WINAPI StuckDrawing(LPVOID param) {
  Record(g_drawing, param);
  Sleep(INFINITE);
  return 0;
}

class SaverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dataFolder_);
    ASSERT_TRUE(InstallSettings(dataFolder_.string(), true).ok);
    for (ThreadLog* log : {&g_drawing, &g_music}) {
      log->starts = 0;
      log->returned = 0;
      log->priority = THREAD_PRIORITY_ERROR_RETURN;
      log->recordReady = false;
      log->viewBound = false;
    }
    g_endsAfterKill = 0;
    previous_ = InstallSaverThreadProcs({CooperativeDrawing, CooperativeMusic, CountEndAfterKill});
  }
  void TearDown() override {
    if (window_) DestroyAndMeasure();
    InstallSaverThreadProcs(previous_);
    seams::ClearStop();
  }

  void Set(const char* name, const char* value) {
    seams::RegistryKey key;
    ASSERT_EQ(key.Open(kKey, seams::RegAccess::SetValue), 0);
    ASSERT_EQ(key.SetString(name, value), 0);
  }

  // A hidden saver window (no erase comes by itself); WM_CREATE has run.
  void Create() {
    WNDCLASSA saverClass{};
    saverClass.lpfnWndProc = ScreenSaverProc;
    saverClass.hInstance = GetModuleHandleA(nullptr);
    saverClass.lpszClassName = "SaverWindowTestClass";
    RegisterClassA(&saverClass);
    window_ = CreateWindowExA(0, saverClass.lpszClassName, "", WS_POPUP, 0, 0, 64, 48, nullptr,
                              nullptr, saverClass.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
  }

  LRESULT Erase() {
    HDC dc = GetDC(window_);
    const LRESULT result = SendMessageA(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(window_, dc);
    return result;
  }

  // Waits (pumping) until the stand-ins have started, so a test never races their start.
  void AwaitStarts(int drawing, int music) {
    const DWORD deadline = GetTickCount() + 5000;
    while ((g_drawing.starts < drawing || g_music.starts < music) &&
           static_cast<int32_t>(deadline - GetTickCount()) > 0) {
      Sleep(5);
    }
  }

  // Destroys the window; returns how long WM_DESTROY took. The quit message it posts is taken
  // off the queue, so the next test's messages run.
  DWORD DestroyAndMeasure() {
    const DWORD start = GetTickCount();
    DestroyWindow(window_);
    const DWORD took = GetTickCount() - start;
    window_ = nullptr;
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return took;
  }

  std::string TraceText() const {
    std::ifstream in(
        static_cast<const char*>(TraceFilePath(dataFolder_.string().c_str(), kTraceFileName)));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  seams::MemoryRegistry registry_;
  seams::ScopedRegistry scopedRegistry_{&registry_};
  testsupport::TempFolder parent_{"saverwindow"};
  std::filesystem::path dataFolder_ = parent_ / "demoset";
  SaverThreadProcs previous_{};
  HWND window_ = nullptr;
};

TEST_F(SaverWindowTest, FirstEraseStartsBothThreadsOnceAtBelowNormalPriority) {
  Set("SOUND_ON", "1");
  Create();
  EXPECT_EQ(Erase(), 0);
  AwaitStarts(1, 1);
  EXPECT_EQ(Erase(), 0) << "a later erase does nothing";
  Sleep(50);
  EXPECT_EQ(g_drawing.starts, 1);
  EXPECT_EQ(g_music.starts, 1);
  for (ThreadLog* log : {&g_drawing, &g_music}) {
    EXPECT_TRUE(log->recordReady) << "handle and id are stored before the thread runs";
    EXPECT_TRUE(log->viewBound) << "the window's thread binds the view before the thread runs";
    EXPECT_EQ(log->priority, THREAD_PRIORITY_BELOW_NORMAL);
  }
  for (const SaverInfo* record : {&DrawingRecord(), &MusicRecord()}) {
    EXPECT_EQ(record->hwnd, window_);
    EXPECT_EQ(record->bRunning, 1);
    EXPECT_NE(record->pScreenDoc, nullptr);
    EXPECT_NE(record->pScreen, nullptr);
    ASSERT_NE(record->pdsBackground, nullptr);
    EXPECT_EQ(record->pdsBackground->GetWidth(), GetSystemMetrics(SM_CXSCREEN))
        << "the desktop copy has the screen's size, whatever the window's";
    EXPECT_EQ(record->pdsBackground->GetHeight(), GetSystemMetrics(SM_CYSCREEN));
  }
}

TEST_F(SaverWindowTest, SoundOffStartsNoMusicThread) {
  Set("SOUND_ON", "0");
  Create();
  Erase();
  AwaitStarts(1, 0);
  Sleep(50);
  EXPECT_EQ(g_drawing.starts, 1);
  EXPECT_EQ(g_music.starts, 0);
  EXPECT_EQ(MusicRecord().hThread, nullptr);
  EXPECT_LT(DestroyAndMeasure(), kJoinHangMs);
  EXPECT_EQ(g_drawing.returned, 1) << "the drawing thread ended by itself, not killed";
}

TEST_F(SaverWindowTest, DestroyJoinsBothThreadsAndFreesTheImages) {
  Set("SOUND_ON", "1");
  Create();
  Erase();
  AwaitStarts(1, 1);
  DrawingRecord().pCurrentImage = new CDIB;
  ScreenBackgroundDIB = new CDIB;
  EXPECT_LT(DestroyAndMeasure(), kJoinHangMs);
  EXPECT_EQ(g_drawing.returned, 1) << "the drawing thread ended by itself, not killed";
  EXPECT_EQ(g_music.returned, 1) << "the music thread ended by itself, not killed";
  EXPECT_EQ(DrawingRecord().pCurrentImage, nullptr);
  EXPECT_EQ(ScreenBackgroundDIB, nullptr);
  EXPECT_EQ(DrawingRecord().hThread, nullptr);
  EXPECT_EQ(MusicRecord().hThread, nullptr);
  EXPECT_EQ(g_endsAfterKill, 0) << "the normal way out when no thread was killed";
}

TEST_F(SaverWindowTest, ThreadThatDoesNotStopIsKilledAndItsImagesKept) {
  InstallSaverThreadProcs({StuckDrawing, CooperativeMusic, CountEndAfterKill});
  Set("SOUND_ON", "0");
  Create();
  Erase();
  AwaitStarts(1, 0);
  CDIB* const image = new CDIB;
  DrawingRecord().pCurrentImage = image;
  const DWORD took = DestroyAndMeasure();
  EXPECT_GE(took, kSaverThreadJoinMs - 50) << "the window waits the whole time before a kill";
  EXPECT_LT(took, kJoinHangMs);
  EXPECT_EQ(DrawingRecord().pCurrentImage, image) << "a killed thread's image must not be freed";
  EXPECT_EQ(g_endsAfterKill, 1) << "the process ends at once after a kill";
  delete image;
  DrawingRecord().pCurrentImage = nullptr;
}

TEST_F(SaverWindowTest, TraceRunsFromTheSettingsToTheJoinAndClosesAfterIt) {
  Set("TRACEON", "1");
  Set("SOUND_ON", "1");
  Create();
  Erase();
  AwaitStarts(1, 1);
  DestroyAndMeasure();
  EXPECT_FALSE(seams::Trace::IsOn());
  const std::string trace = TraceText();
  // In this order; each found after the one before.
  const char* const expected[] = {
      "KELVANE - TRACE OUTPUT",
      "This text file logs all the routines",
      "GetIniSettings - end",
      "\nSystem Information...\n",
      "Pixel screen resolution: Horz=",
      "Actual color resolution of the device in bits per pixel=",
      "ScreenSaverProc - Ending Message=1,",
      "ScreenSaverProc - Starting Message=14,",
      "ScreenSaverProc - Starting Message=2,",
  };
  size_t at = 0;
  for (const char* line : expected) {
    const size_t found = trace.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing after offset " << at << ": " << line;
    at = found;
  }
  const size_t drawingEnd = trace.find("drawing thread - end", at);
  const size_t musicEnd = trace.find("music thread - end", at);
  const size_t destroyEnd = trace.find("ScreenSaverProc - WM_DESTROY - end: Deleted DIBs", at);
  ASSERT_NE(destroyEnd, std::string::npos);
  EXPECT_LT(drawingEnd, destroyEnd) << "the threads' last lines come before the trace closes";
  EXPECT_LT(musicEnd, destroyEnd);
  const std::string last = "ScreenSaverProc - WM_DESTROY - end: Deleted DIBs\n\n";
  EXPECT_EQ(trace.substr(trace.size() - last.size()), last) << "nothing after the closing lines";
  EXPECT_EQ(trace.find("killed"), std::string::npos);
}

// Wine's display has no palette: the system palette query answers 0 though it fills 20 entries.
// The desktop copy then takes the desktop's own colours (here it shows no more than 256), not a
// table of mostly black nor a fixed palette that would change them: every pixel of the copy has
// the colour of the screen's pixel.
TEST_F(SaverWindowTest, DesktopCopyOnAPaletteLessDisplayKeepsTheDesktopsColours) {
  Create();
  Erase();
  AwaitStarts(1, 0);
  CDIBSurface* copy = DrawingRecord().pdsBackground;
  ASSERT_NE(copy->palette, nullptr);
  PALETTEENTRY table[256] = {};
  ASSERT_EQ(copy->palette->GetPaletteEntries(0, 256, table), 256u);
  HDC screen = GetDC(nullptr);
  PALETTEENTRY system[256] = {};
  const UINT systemCount = GetSystemPaletteEntries(screen, 0, 256, system);
  ASSERT_LT(systemCount, 256u) << "this display has a palette; the case cannot be shown here";
  // The screen as 32-bit pixels, top row first.
  const int w = copy->GetWidth(), h = copy->GetHeight();
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(shot, nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(memory, shot);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  int differences = 0;
  for (int y = 0; y < h; y += 7) {
    for (int x = 0; x < w; x += 7) {
      const PALETTEENTRY& c = table[*copy->GetPixelAddress(x, y)];
      const uint32_t pixel = static_cast<const uint32_t*>(bits)[static_cast<size_t>(y) * w + x];
      differences += (pixel & 0xFFFFFFu) !=
                     ((uint32_t{c.peRed} << 16) | (uint32_t{c.peGreen} << 8) | c.peBlue);
    }
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(shot);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(differences, 0);
}

// Out of memory while the view and the document are made at the first erase: no thread starts
// and nothing made is left behind, whichever allocation fails.
TEST_F(SaverWindowTest, FailedScreenObjectStartsNoThreadAndLeavesNothingBehind) {
  const int headroom = wintest::FreeGdiHandles();
  int failures = 0;
  int beforeSuccess = headroom;  // the run that succeeds keeps its objects for the process's life
  for (long n = 0;; ++n) {
    beforeSuccess = wintest::FreeGdiHandles();
    Create();
    bool refused = false;
    {
      alloctest::RefuseAllocationsAfter refuse(n);
      Erase();
      refused = refuse.Refused();
    }
    if (!refused) break;  // everything was made: the threads run
    ++failures;
    Sleep(20);
    EXPECT_EQ(g_drawing.starts, 0) << "allocation " << n;
    EXPECT_EQ(DrawingRecord().hThread, nullptr);
    DestroyAndMeasure();
  }
  AwaitStarts(1, 0);
  DestroyAndMeasure();
  EXPECT_GT(failures, 1);
  EXPECT_GE(beforeSuccess, headroom - 2) << "GDI objects left behind by the failed starts";
}

// The strings, icon and dialog the system and the settings dialogs look for in the module.
TEST(SaverModuleResources, AreThere) {
  struct {
    UINT id;
    const char* text;
  } const strings[] = {
      {IDS_DESCRIPTION, "Tarvosa Screen Saver"},
      {IDS_PRODUCTCODE, "TRVSS12"},
      {IDS_PRODUCTTITLE, "Tarvosa"},
      {1100, "2D Sliding Tiles"},
      {1101, "3D Flying Tiles"},
      {1102, "Flying Puzzle Cube"},
      {1103, "Collisions: Blocks' World"},
      {1104, "Wipe Out"},
      {1105, "Ricochet: Bouncing Balls"},
      {1106, "Combo"},
      {1107, "Slide Show"},
  };
  HINSTANCE module = GetModuleHandleA(nullptr);
  for (const auto& string : strings) {
    char text[64] = "";
    LoadStringA(module, string.id, text, sizeof text);
    EXPECT_STREQ(text, string.text) << "string " << string.id;
  }
  EXPECT_EQ(GetProductTitle(), "Tarvosa");
  EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(ID_APP)), nullptr);
  EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(DLG_SCRNSAVECONFIGURE), RT_DIALOG), nullptr);
}

}  // namespace
