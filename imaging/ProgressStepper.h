// Steps a progress bar ("msctls_progress32") through a long decode or table build.
//
// The bar runs from 0 to 10 with a step of 1; the work counts its units (rows, table rows) and
// every `unitsPerStep` units the bar takes one step. The messages go through one replaceable
// sender: SendMessage on Windows, nothing natively (there is no window), a recorder in tests.
#pragma once

#include "framework/WinTypes.h"

class ProgressStepper {
 public:
  // The progress bar's messages (the common control's values).
  static constexpr UINT kSetRange = 0x0401;  // lParam: low word the minimum, high word the maximum
  static constexpr UINT kSetStep = 0x0404;
  static constexpr UINT kStepIt = 0x0405;

  using Sender = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Replaces the sender for the whole process (nullptr restores the default); returns the old one.
  static Sender InstallSender(Sender sender);

  // Without a window (null) nothing is ever sent. Otherwise sets the range 0..10 and the step 1.
  ProgressStepper(HWND bar, int unitsPerStep);
  // One unit done: steps the bar once the count reaches unitsPerStep (every unit when that is
  // 0 or 1) and starts counting again.
  void Count();

 private:
  HWND bar_;
  int unitsPerStep_;
  int count_ = 0;
};
