// Records the progress-bar messages that an operation sends, in place of a real control.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/ProgressStepper.h"

namespace progresstest {

struct Message {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Installs a recording sender for the lifetime of a scope.
class ScopedProgressRecorder {
 public:
  ScopedProgressRecorder() : previous_(ProgressStepper::InstallSender(&Record)) { Log().clear(); }
  ~ScopedProgressRecorder() { ProgressStepper::InstallSender(previous_); }
  ScopedProgressRecorder(const ScopedProgressRecorder&) = delete;
  ScopedProgressRecorder& operator=(const ScopedProgressRecorder&) = delete;

  const std::vector<Message>& Messages() const { return Log(); }
  int Steps() const {
    int n = 0;
    for (const Message& m : Log()) n += m.message == ProgressStepper::kStepIt;
    return n;
  }
  // The set-up that every stepped operation starts with: range 0..10, step 1.
  bool StartedWithRangeAndStep(HWND bar) const {
    const std::vector<Message>& log = Log();
    return log.size() >= 2 && log[0].window == bar &&
           log[0].message == ProgressStepper::kSetRange && log[0].lParam == (LPARAM{10} << 16) &&
           log[1].message == ProgressStepper::kSetStep && log[1].wParam == 1;
  }

 private:
  static std::vector<Message>& Log() {
    static std::vector<Message> log;
    return log;
  }
  static LRESULT Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Log().push_back(Message{window, message, wParam, lParam});
    return 0;
  }
  ProgressStepper::Sender previous_;
};

// Any non-null handle: the recorder never looks behind it.
inline HWND FakeBar() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5A5A)); }

}  // namespace progresstest
