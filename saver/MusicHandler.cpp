// The music thread on Windows: the media object played with a completion notice to a
// message-only window of the thread's own, so that the thread can wait for the end of a play
// and still see a stop request, then stop and close the device itself.
#include <windows.h>

#include "saver/MusicThread.h"
#include "seams/Clock.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "sound/MCIObject.h"

namespace {

class MCIMusicPlayer : public MusicPlayer {
 public:
  explicit MCIMusicPlayer(CMCIObject& mci) : mci_(mci) {
    notify_ = ::CreateWindowExA(0, "STATIC", "Music Notify", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  }
  ~MCIMusicPlayer() override {
    if (notify_) ::DestroyWindow(notify_);
  }
  MCIMusicPlayer(const MCIMusicPlayer&) = delete;
  MCIMusicPlayer& operator=(const MCIMusicPlayer&) = delete;

  BOOL Open(const char* pszFileName) override { return mci_.Open(pszFileName); }

  BOOL StartPlay() override {
    if (!notify_) return FALSE;
    mci_.Seek(0);  // like a waiting play, whatever the seek answers
    DrainNotices();
    return mci_.Play(notify_);
  }

  // A stop request wakes the wait at once.
  Wait WaitForEnd(uint32_t ms) override {
    uint32_t deadline = seams::TickCount() + ms;
    HANDLE stop = seams::StopEvent();
    for (;;) {
      Wait wait = TakeNotice();
      if (wait != Wait::Playing) return wait;
      uint32_t now = seams::TickCount();
      if (!seams::TickBefore(now, deadline) || seams::StopRequested()) return Wait::Playing;
      ::MsgWaitForMultipleObjects(stop ? 1 : 0, &stop, FALSE, deadline - now, QS_ALLINPUT);
    }
  }

  // Paused first: Wine's wave device otherwise plays out the buffers it queued before it stops,
  // a second or more, while the saver waits to end.
  void Stop() override {
    mci_.Pause();
    mci_.Stop();
  }
  void Close() override { mci_.Close(); }

 private:
  // The notice of this device's play, when one has come; other messages are dispatched.
  Wait TakeNotice() {
    MSG msg;
    Wait wait = Wait::Playing;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.hwnd == notify_ && msg.message == MM_MCINOTIFY &&
          static_cast<MCIDEVICEID>(msg.lParam) == mci_.GetDeviceID()) {
        wait = msg.wParam == MCI_NOTIFY_SUCCESSFUL ? Wait::Ended : Wait::Failed;
        continue;
      }
      ::DispatchMessageA(&msg);
    }
    return wait;
  }
  // Notices of an earlier play must not end the next one.
  void DrainNotices() {
    MSG msg;
    while (::PeekMessageA(&msg, notify_, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
    }
  }

  CMCIObject& mci_;
  HWND notify_ = nullptr;
};

}  // namespace

DWORD WINAPI MusicHandler(LPVOID pInfo) {
  SaverInfo& info = *static_cast<SaverInfo*>(pInfo);
  // Nothing leaves the thread as an exception: RunMusicThread catches its own; this is for the
  // key path and the player around it, which have opened no device yet.
  try {
    CString keyPath;
    BuildRegistryKeyPath(keyPath);
    MCIMusicPlayer player(MusicMCIObject);
    RunMusicThread(info, keyPath, player);
    return 0;
  } catch (...) {
    RecordMusicThreadFailure(info);
  }
  seams::WaitForStop();
  return 0;
}
