// The saver window's procedure: settings at WM_CREATE, the desktop copy, the screen objects and
// the threads at the first WM_ERASEBKGND, the stop and join at WM_DESTROY.
#include "saver/SaverWindow.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "framework/Wnd.h"
#include "imageset/ImageSet.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "saver/DrawingThread.h"
#include "saver/MusicThread.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"

namespace {

constexpr char kProcName[] = "ScreenSaverProc";
constexpr int kPaletteSize = 256;

// The state of the one saver run of the process.
struct SaverRun {
  int running = 0;  // set by the first WM_ERASEBKGND, cleared when the window is gone
  SaverInfo drawing;
  SaverInfo music;
  CDIBSurface* desktop = nullptr;           // the desktop copy, until the first erase takes it
  CColorPalette* desktopPalette = nullptr;  // the desktop copy's palette; lives with the copy
  CAnimView* view = nullptr;                // the screen objects, from the first erase on
  CAnimDoc* doc = nullptr;                  // (the document owns the desktop copy)
};
SaverRun g_run;
void EndProcessNow() { ::TerminateProcess(::GetCurrentProcess(), kExitAfterAbandonedThread); }
SaverThreadProcs g_procs{RunScreenSaver, MusicHandler, EndProcessNow};

// A new object, or null when memory runs out (also when its constructor runs out).
template <class T>
T* NewOrNull() {
  try {
    return new (std::nothrow) T;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// The screen device context, released on every path.
class ScreenDC {
 public:
  ScreenDC() : dc_(::GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// The distinct colours of 32-bit pixels (blue, green, red, unused) into `entries`: their count,
// or -1 when there are more than 256.
int CollectColours(const uint32_t* pixels, size_t count, PALETTEENTRY* entries) {
  std::vector<uint32_t> seen;
  try {
    seen.reserve(kPaletteSize);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  uint32_t last = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t colour = pixels[i] & 0xFFFFFF;
    if (i > 0 && colour == last) continue;  // runs of one colour are the common case
    last = colour;
    if (std::find(seen.begin(), seen.end(), colour) != seen.end()) continue;
    if (seen.size() == kPaletteSize) return -1;
    seen.push_back(colour);
  }
  for (size_t i = 0; i < seen.size(); ++i) {
    entries[i] = PALETTEENTRY{static_cast<BYTE>(seen[i] >> 16), static_cast<BYTE>(seen[i] >> 8),
                              static_cast<BYTE>(seen[i]), 0};
  }
  return static_cast<int>(seen.size());
}

// The system palette's 256 entries. A display without a palette answers with fewer (Wine: none,
// though it writes the static colours); its colours are then the desktop's own when it shows no
// more than 256 of them, so that the copy shows it exactly, else the halftone palette's.
struct LogPalette256 {
  WORD version = 0x300;
  WORD count = kPaletteSize;
  PALETTEENTRY entries[kPaletteSize] = {};
};

bool ReadSystemPalette(HDC screen, LogPalette256& palette) {
  if (::GetSystemPaletteEntries(screen, 0, kPaletteSize, palette.entries) >= kPaletteSize) {
    return true;
  }
  for (PALETTEENTRY& entry : palette.entries) entry = PALETTEENTRY{};
  return false;
}

void ReadHalftonePalette(HDC screen, LogPalette256& palette) {
  for (PALETTEENTRY& entry : palette.entries) entry = PALETTEENTRY{};
  if (HPALETTE halftone = ::CreateHalftonePalette(screen)) {
    ::GetPaletteEntries(halftone, 0, kPaletteSize, palette.entries);
    ::DeleteObject(halftone);
  }
}

CColorPalette* NewPalette(const LogPalette256& block) {
  std::unique_ptr<CColorPalette> palette(NewOrNull<CColorPalette>());
  if (!palette || !palette->CreatePalette(reinterpret_cast<const LOGPALETTE*>(&block))) {
    return nullptr;
  }
  return palette.release();
}

BOOL CreateSurface(CDIBSurface& surface, int width, int height, CColorPalette* palette) {
  try {
    return surface.Create(width, height, palette);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
}

// The screen's pixels as they stand, taken once: fetching the screen is the slow part of the
// copy (under Wine a round trip to the X server for the whole screen), so the colours are
// counted and the copy is made from these same pixels.
class ScreenPixels {
 public:
  ScreenPixels(HDC screen, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dib_ = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    memory_ = dib_ ? ::CreateCompatibleDC(screen) : nullptr;
    if (!memory_) return;
    previous_ = ::SelectObject(memory_, dib_);
    ::BitBlt(memory_, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
  }
  ~ScreenPixels() {
    if (memory_) {
      ::SelectObject(memory_, previous_);
      ::DeleteDC(memory_);
    }
    if (dib_) ::DeleteObject(dib_);
  }
  ScreenPixels(const ScreenPixels&) = delete;
  ScreenPixels& operator=(const ScreenPixels&) = delete;

  HDC Get() const { return memory_; }
  // The colours on the screen, into `entries`, when there are at most 256 of them.
  bool ReadColours(PALETTEENTRY* entries) const {
    return memory_ && CollectColours(static_cast<const uint32_t*>(bits_),
                                     size_t{1} * width_ * height_, entries) >= 0;
  }

 private:
  int width_, height_;
  void* bits_ = nullptr;
  HBITMAP dib_ = nullptr;
  HDC memory_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// The desktop as it stands, in a surface of the screen's size (the preview's too), or null.
// On a palette display the copy comes from the screen through the system palette; on any other
// from one fetch of its pixels, on the desktop's own colours when they fit a palette.
CDIBSurface* CopyDesktop(CColorPalette** paletteOut) {
  ScreenDC screen;
  std::unique_ptr<CDIBSurface> surface(NewOrNull<CDIBSurface>());
  if (!surface) {
    seams::Trace::Printf("ScreenSaverProc - pdsBackground=NULL\n");
    return nullptr;
  }
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  LogPalette256 block;
  std::unique_ptr<ScreenPixels> pixels;
  if (screen.Get() && !ReadSystemPalette(screen.Get(), block)) {
    pixels = std::make_unique<ScreenPixels>(screen.Get(), width, height);
    if (!pixels->ReadColours(block.entries)) ReadHalftonePalette(screen.Get(), block);
  }
  std::unique_ptr<CColorPalette> palette(screen.Get() ? NewPalette(block) : nullptr);
  if (!palette || !CreateSurface(*surface, width, height, palette.get())) {
    seams::Trace::Printf("ScreenSaverProc - Failed to pdsBackground->Create\n");
    surface.reset();  // before the palette it was made on
    return nullptr;
  }
  HDC target = surface->memoryDC.GetSafeHdc();
  if (pixels && pixels->Get()) {
    ::BitBlt(target, 0, 0, width, height, pixels->Get(), 0, 0, SRCCOPY);
  } else {
    HPALETTE previous = ::SelectPalette(screen.Get(), *palette, FALSE);
    ::RealizePalette(screen.Get());
    ::BitBlt(target, 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
    if (previous) ::SelectPalette(screen.Get(), previous, FALSE);
  }
  *paletteOut = palette.release();
  return surface.release();
}

void FillScreenObjects(SaverInfo& record, HWND window, CAnimDoc* doc, CAnimView* view,
                       CDIBSurface* surface) {
  record.hwnd = window;
  record.bRunning = 1;
  record.pScreenDoc = doc;
  record.pScreen = view;
  record.pdsBackground = surface;
}

// Created suspended so that handle, id and priority are in place before the thread runs.
void StartThread(SaverInfo& record, LPTHREAD_START_ROUTINE procedure) {
  record.hThread =
      ::CreateThread(nullptr, 0, procedure, &record, CREATE_SUSPENDED, &record.dwThreadId);
  if (!record.hThread) {
    record.dwThreadId = 0;
    return;
  }
  ::SetThreadPriority(record.hThread, THREAD_PRIORITY_BELOW_NORMAL);
  ::ResumeThread(record.hThread);
}

LRESULT OnCreate(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!g_run.running) {
    CString keyPath;
    BuildRegistryKeyPath(keyPath);
    g_run.drawing.nRunTimeError = GetIniSettings(keyPath);
    if (seams::Trace::IsOn()) TraceSystemInfo();
    bInitInfo(&g_run.drawing);
    bInitInfo(&g_run.music);
    // Copied now, before the window shows: once it is on the screen (Wine paints a new window
    // black before its first erase) the screen no longer shows the desktop.
    if (!g_run.desktop) g_run.desktop = CopyDesktop(&g_run.desktopPalette);
  }
  return DefScreenSaverProc(window, WM_CREATE, wParam, lParam);
}

// The window shows the desktop copy from its first erase on, before any thread runs: the screen
// looks untouched until the drawing thread paints over it. (Wine shows a new window black, not
// what lay under it, until something is drawn.)
// The window then holds what the view's first paint would draw again (the view starts from the
// same copy): the pending paint is dropped rather than spent on a second full-screen blit.
void ShowDesktopCopy(HWND window, HDC eraseDC, CDIBSurface* surface) {
  CDC dc;
  if (!dc.Attach(eraseDC)) return;
  surface->Draw(&dc);
  dc.Detach();
  ::ValidateRect(window, nullptr);
}

// Binds the view to the window and the document to the view, and hands the document the desktop
// copy as its background (the document owns it from here on, whatever comes back). Done on this
// thread before the drawing thread starts: the window routes paint and palette messages to the
// view, which must be whole by then. False, with a trace line, when a step fails.
bool BindScreenObjects(HWND window, CAnimView* view, CAnimDoc* doc, CDIBSurface* surface) {
  if (!view->Attach(window)) {
    seams::Trace::Printf("ScreenSaverProc - Unable to pScreen->Attach(hwnd)\n");
    delete surface;
    return false;
  }
  try {
    doc->AddView(view);
    doc->OnNewDocument();
    if (doc->SetBackgroundNoDraw(surface)) return true;
  } catch (const std::bad_alloc&) {
    if (doc->background != surface) delete surface;
  }
  seams::Trace::Printf("ScreenSaverProc - Unable to pScreenDoc->SetBackground(pdsBackground)\n");
  return false;
}

// The first erase: make the screen objects over the desktop copy, start the threads. When any
// object cannot be made, no thread starts and what was made is deleted; the window then stays
// as it is until the user ends the saver.
void StartSaverRun(HWND window, HDC eraseDC) {
  CDIBSurface* surface = g_run.desktop;
  CColorPalette* palette = g_run.desktopPalette;
  g_run.desktop = nullptr;
  g_run.desktopPalette = nullptr;
  if (!surface) return;
  CAnimView* view = NewOrNull<CAnimView>();
  CAnimDoc* doc = view ? NewOrNull<CAnimDoc>() : nullptr;
  if (!view || !doc) {
    seams::Trace::Printf(view ? "ScreenSaverProc - pScreenDoc=NULL\n"
                              : "ScreenSaverProc - pScreen=NULL\n");
    delete view;
    delete surface;
    delete palette;
    return;
  }
  ShowDesktopCopy(window, eraseDC, surface);
  if (!BindScreenObjects(window, view, doc, surface)) {
    delete view;
    delete doc;  // with the desktop copy, which it owns by now
    delete palette;
    return;
  }
  g_run.desktopPalette = palette;  // kept: the surface refers to it for as long as it lives
  g_run.view = view;
  g_run.doc = doc;
  seams::ClearStop();
  FillScreenObjects(g_run.drawing, window, doc, view, surface);
  StartThread(g_run.drawing, g_procs.drawing);
  if (g_run.music.bSoundOn) {
    FillScreenObjects(g_run.music, window, doc, view, surface);
    StartThread(g_run.music, g_procs.music);
  }
}

// Frees the screen objects once no thread uses them any more.
void DeleteScreenObjects() {
  delete g_run.view;  // detaches it from the window and takes it from the document
  delete g_run.doc;   // with its background
  delete g_run.desktopPalette;
  g_run.view = nullptr;
  g_run.doc = nullptr;
  g_run.desktopPalette = nullptr;
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
  if (g_run.running) return 0;
  g_run.running = 1;
  StartSaverRun(window, dc);
  return 0;
}

bool HasEnded(HANDLE thread) { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

// Waits for the threads while still answering messages sent to this thread, so that a thread
// blocked in a SendMessage to the saver window can still end. True when all ended in time.
bool JoinThreads(HANDLE* threads, DWORD count) {
  const DWORD deadline = ::GetTickCount() + kSaverThreadJoinMs;
  for (;;) {
    HANDLE running[2];
    DWORD waiting = 0;
    for (DWORD i = 0; i < count; ++i) {
      if (!HasEnded(threads[i])) running[waiting++] = threads[i];
    }
    if (waiting == 0) return true;
    const DWORD left = deadline - ::GetTickCount();
    if (static_cast<int32_t>(left) <= 0) return false;
    // Any one thread's end, or a sent message, wakes the wait.
    const DWORD woke = ::MsgWaitForMultipleObjects(waiting, running, FALSE, left, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0 + waiting) {
      MSG message;
      ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } else if (woke >= WAIT_OBJECT_0 + waiting) {
      return false;  // the time is up, or the wait failed
    }
  }
}

// Ends a thread that did not stop; true when it had ended by itself.
bool EndThread(SaverInfo& record, const char* name) {
  if (!record.hThread) return true;
  const bool ended = HasEnded(record.hThread);
  if (!ended) {
    seams::Trace::Printf("ScreenSaverProc - WM_DESTROY - %s thread did not stop: killed\n", name);
    ::TerminateThread(record.hThread, 0);
  }
  ::CloseHandle(record.hThread);
  record.hThread = nullptr;
  record.dwThreadId = 0;
  return ended;
}

// True when both threads ended by themselves (or never ran).
bool StopThreads(bool* drawingEnded) {
  HANDLE threads[2];
  DWORD count = 0;
  for (SaverInfo* record : {&g_run.drawing, &g_run.music}) {
    if (record->hThread) threads[count++] = record->hThread;
  }
  seams::RequestStop();
  if (count > 0) JoinThreads(threads, count);
  *drawingEnded = EndThread(g_run.drawing, "drawing");
  const bool musicEnded = EndThread(g_run.music, "music");  // a killed one's device stays open
  return *drawingEnded && musicEnded;
}

void DeleteSharedImages() {
  delete ScreenBackgroundDIB;
  ScreenBackgroundDIB = nullptr;
  delete g_run.drawing.pCurrentImage;  // the drawing thread's picture, left for the window
  g_run.drawing.pCurrentImage = nullptr;
}

LRESULT OnDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
  bool drawingEnded = true;
  const bool allEnded = StopThreads(&drawingEnded);
  if (drawingEnded) {
    DeleteSharedImages();
    DeleteScreenObjects();
  }
  if (g_run.desktop) {  // copied, but no erase came to take it
    delete g_run.desktop;
    delete g_run.desktopPalette;
    g_run.desktop = nullptr;
    g_run.desktopPalette = nullptr;
  }
  g_run.running = 0;
  if (!allEnded) {
    seams::Trace::Printf("ScreenSaverProc - WM_DESTROY - a thread was abandoned: exit code %d\n",
                         kExitAfterAbandonedThread);
  }
  if (seams::Trace::IsOn()) {
    for (int i = 0; i < 4; ++i) {
      seams::Trace::Printf("ScreenSaverProc - WM_DESTROY - end: Deleted DIBs\n\n");
    }
    seams::Trace::Close();
  }
  if (!allEnded) g_procs.endAfterKill();
  return DefScreenSaverProc(window, WM_DESTROY, wParam, lParam);
}

}  // namespace

SaverThreadProcs InstallSaverThreadProcs(const SaverThreadProcs& procs) {
  const SaverThreadProcs previous = g_procs;
  g_procs = procs;
  return previous;
}

SaverInfo& DrawingRecord() { return g_run.drawing; }
SaverInfo& MusicRecord() { return g_run.music; }

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::TraceMessageScope trace(kProcName, message, wParam, lParam);
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = OnCreate(window, wParam, lParam);
      trace.Ending();
      return result;
    }
    case WM_ERASEBKGND: return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_DESTROY: return OnDestroy(window, wParam, lParam);
    case WM_PAINT:
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED: {
      // The screen view paints the window and realises its palette, once the drawing thread
      // has attached it.
      LRESULT result = 0;
      if (CWnd::RouteMessage(window, message, wParam, lParam, &result)) {
        trace.Ending();
        return result;
      }
      break;
    }
    default: break;
  }
  const LRESULT result = DefScreenSaverProc(window, message, wParam, lParam);
  trace.Ending();
  return result;
}
