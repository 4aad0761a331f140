// What the sound tests under Wine share: tone files on disk, a message-only window that receives
// MCI completion notices, and a music thread run over the in-memory registry.
#pragma once

#include <windows.h>

#include <string>

#include "saver/MusicThread.h"
#include "seams/Clock.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace soundtest {

// The settings key of the product code in ProductCode.rc.
constexpr char kKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";

inline std::string WriteTone(const testsupport::TempFolder& folder, const char* name, DWORD ms) {
  std::string path = (folder / name).string();
  testsupport::WriteBytes(path, testsupport::ToneWave(ms));
  return path;
}

// A window of this thread that only receives messages.
class NoticeWindow {
 public:
  NoticeWindow()
      : hwnd_(::CreateWindowExA(0, "STATIC", "notices", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr)) {}
  ~NoticeWindow() { ::DestroyWindow(hwnd_); }
  NoticeWindow(const NoticeWindow&) = delete;
  NoticeWindow& operator=(const NoticeWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

  // The code of the next MM_MCINOTIFY (0 when none comes within ms), other messages dispatched.
  WPARAM Wait(DWORD ms) {
    DWORD start = ::GetTickCount();
    for (;;) {
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == hwnd_ && msg.message == MM_MCINOTIFY) return msg.wParam;
        ::DispatchMessageA(&msg);
      }
      DWORD elapsed = ::GetTickCount() - start;
      if (elapsed >= ms) return 0;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
  }

 private:
  HWND hwnd_;
};

// Dispatches this thread's messages for ms milliseconds (the wave player's notices).
inline void PumpFor(DWORD ms) {
  DWORD start = ::GetTickCount();
  for (DWORD elapsed = 0; elapsed < ms; elapsed = ::GetTickCount() - start) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
  }
}

// The music thread over a play list of files, as the saver window starts it.
class MusicRun {
 public:
  MusicRun() {
    seams::ClearStop();
    ClearSettingBuffers();
    registry.Put(kKey, kLastSoundNoValue, "0");
  }
  ~MusicRun() {
    if (thread_) {
      seams::RequestStop();
      ::WaitForSingleObject(thread_, 10000);
      ::CloseHandle(thread_);
    }
    seams::ClearStop();
    ClearSettingBuffers();
  }
  MusicRun(const MusicRun&) = delete;
  MusicRun& operator=(const MusicRun&) = delete;

  void SetSound(int entry, const std::string& path) {
    std::snprintf(IniSettings.SOUND_SOUND[entry], kTextBufferSize, "%s", path.c_str());
  }
  bool Start() {
    thread_ = ::CreateThread(nullptr, 0, MusicHandler, &info, CREATE_SUSPENDED, &info.dwThreadId);
    if (!thread_) return false;
    info.hThread = thread_;
    ::SetThreadPriority(thread_, THREAD_PRIORITY_BELOW_NORMAL);
    ::ResumeThread(thread_);
    return true;
  }
  // True when the thread ended within ms.
  bool Join(DWORD ms) { return ::WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0; }

  seams::MemoryRegistry registry;
  seams::ScopedRegistry useRegistry{&registry};
  SaverInfo info;

 private:
  HANDLE thread_ = nullptr;
};

}  // namespace soundtest
