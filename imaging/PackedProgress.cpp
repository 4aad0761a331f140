#include "imaging/PackedProgress.h"

#ifdef _WIN32
#include <commctrl.h>
#endif

void CPackedProgress::Begin(int steps) const {
#ifdef _WIN32
  if (m_bar == nullptr) return;
  ::SendMessage(m_bar, PBM_SETRANGE, 0, MAKELPARAM(0, steps));
  ::SendMessage(m_bar, PBM_SETSTEP, 1, 0);
#else
  (void)steps;
#endif
}

void CPackedProgress::Step() const {
#ifdef _WIN32
  if (m_bar != nullptr) ::SendMessage(m_bar, PBM_STEPIT, 0, 0);
#endif
}
