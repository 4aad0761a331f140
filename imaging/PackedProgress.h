// Steps the progress-bar control that a caller of the packed image decoder may pass (none: every
// call does nothing). Builds without windows have no control to step.
#pragma once

#include "framework/WinTypes.h"

class CPackedProgress {
 public:
  explicit CPackedProgress(HWND bar) : m_bar(bar) {}
  bool IsShown() const { return m_bar != nullptr; }
  // Range 0..steps, one unit per step.
  void Begin(int steps) const;
  void Step() const;

 private:
  HWND m_bar;
};
