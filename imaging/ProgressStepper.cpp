#include "imaging/ProgressStepper.h"

#include <atomic>

#ifdef _WIN32
#include <commctrl.h>
static_assert(ProgressStepper::kSetRange == PBM_SETRANGE, "progress bar message");
static_assert(ProgressStepper::kSetStep == PBM_SETSTEP, "progress bar message");
static_assert(ProgressStepper::kStepIt == PBM_STEPIT, "progress bar message");
#endif

namespace {

LRESULT DefaultSender(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
#ifdef _WIN32
  return ::SendMessageA(window, message, wParam, lParam);
#else
  (void)window, (void)message, (void)wParam, (void)lParam;
  return 0;
#endif
}

std::atomic<ProgressStepper::Sender> currentSender{&DefaultSender};

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  currentSender.load()(window, message, wParam, lParam);
}

}  // namespace

ProgressStepper::Sender ProgressStepper::InstallSender(Sender sender) {
  return currentSender.exchange(sender ? sender : &DefaultSender);
}

ProgressStepper::ProgressStepper(HWND bar, int unitsPerStep)
    : bar_(bar), unitsPerStep_(unitsPerStep) {
  if (!bar_) return;
  Send(bar_, kSetRange, 0, static_cast<LPARAM>(10) << 16);
  Send(bar_, kSetStep, 1, 0);
}

void ProgressStepper::Count() {
  if (!bar_ || ++count_ < unitsPerStep_) return;
  Send(bar_, kStepIt, 0, 0);
  count_ = 0;
}
