#include "framework/Dc.h"

CDC::~CDC() {
#ifdef _WIN32
  if (m_hDC) ::DeleteDC(m_hDC);
#endif
}

BOOL CDC::Attach(HDC hDC) {
  if (!hDC || m_hDC) return FALSE;
  m_hDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  m_hDC = nullptr;
  return hDC;
}
