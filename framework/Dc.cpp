#include "framework/Dc.h"

#include "framework/Wnd.h"

CDC::~CDC() { DeleteDC(); }

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

#ifdef _WIN32

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  if (m_hDC) return FALSE;
  return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::CreateDC(const char* lpszDriverName) {
  if (m_hDC) return FALSE;
  return Attach(::CreateDCA(lpszDriverName, nullptr, nullptr, nullptr));
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

HPALETTE CDC::SelectPalette(HPALETTE hPalette, BOOL bForceBackground) {
  if (!m_hDC || !hPalette) return nullptr;
  return ::SelectPalette(m_hDC, hPalette, bForceBackground);
}

UINT CDC::RealizePalette() { return m_hDC ? ::RealizePalette(m_hDC) : 0; }

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
  if (!m_hDC || !hObject) return nullptr;
  return ::SelectObject(m_hDC, hObject);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
  if (!m_hDC) return FALSE;
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc,
                  dwRop);
}

int CDC::GetClipBox(LPRECT lpRect) const {
  if (!m_hDC) {
    ::SetRectEmpty(lpRect);
    return 0;
  }
  return ::GetClipBox(m_hDC, lpRect);
}

int CDC::GetDeviceCaps(int nIndex) const { return m_hDC ? ::GetDeviceCaps(m_hDC, nIndex) : 0; }

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr) {
  // No window, no context: GetDC(null) would hand out the whole screen.
  if (m_hWnd) Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr), m_ps() {
  if (m_hWnd) Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
  if (m_hDC) {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
  }
}

#else

BOOL CDC::CreateCompatibleDC(CDC*) { return FALSE; }

BOOL CDC::CreateDC(const char*) { return FALSE; }

BOOL CDC::DeleteDC() { return Detach() != nullptr; }

HPALETTE CDC::SelectPalette(HPALETTE, BOOL) { return nullptr; }

UINT CDC::RealizePalette() { return 0; }

HGDIOBJ CDC::SelectObject(HGDIOBJ) { return nullptr; }

BOOL CDC::BitBlt(int, int, int, int, CDC*, int, int, DWORD) { return FALSE; }

int CDC::GetClipBox(LPRECT lpRect) const {
  if (lpRect) *lpRect = RECT{0, 0, 0, 0};
  return 0;
}

int CDC::GetDeviceCaps(int) const { return 0; }

CClientDC::CClientDC(CWnd*) {}

CClientDC::~CClientDC() = default;

CPaintDC::CPaintDC(CWnd*) {}

CPaintDC::~CPaintDC() = default;

#endif
