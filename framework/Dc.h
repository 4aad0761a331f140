// CDC: a device context wrapper, with what the system's drawing needs: memory contexts, palettes
// and blits. CClientDC and CPaintDC borrow a window's context for the length of a scope.
//
// Natively there are no device contexts; a CDC there only ever holds a null handle, and every
// operation on it does nothing and returns 0 (or null), as GDI does for a null handle.
#pragma once

#include "framework/Object.h"
#include "framework/WinTypes.h"

class CWnd;

class CDC : public CObject {
 public:
  CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  // Deletes the device context still attached (Attach hands it over).
  ~CDC() override;

  HDC GetSafeHdc() const { return m_hDC; }
  // Takes ownership of a device context; FALSE (nothing changes) when it is null or one is held.
  BOOL Attach(HDC hDC);
  // Gives up ownership: returns the handle and leaves the wrapper empty.
  HDC Detach();

  // A new memory context compatible with pDC (the screen when null); FALSE when one is held or
  // GDI refuses.
  BOOL CreateCompatibleDC(CDC* pDC);
  // A new context for a device ("DISPLAY" for the screen); FALSE when one is held or GDI refuses.
  BOOL CreateDC(const char* lpszDriverName);
  // Deletes the context held; FALSE when there is none.
  BOOL DeleteDC();

  // Selects a palette (as a background palette when bForceBackground); returns the one it
  // replaced, to be selected back.
  HPALETTE SelectPalette(HPALETTE hPalette, BOOL bForceBackground);
  // Maps the selected palette into the system palette; the number of entries that changed.
  UINT RealizePalette();
  // Selects a bitmap or another GDI object; returns the one it replaced.
  HGDIOBJ SelectObject(HGDIOBJ hObject);
  // Copies a w x h rectangle from (xSrc, ySrc) of pSrcDC to (x, y) here with the raster
  // operation dwRop.
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
  // The smallest rectangle around what may be drawn; the region type, 0 on failure (rect empty).
  int GetClipBox(LPRECT lpRect) const;
  int GetDeviceCaps(int nIndex) const;

  HDC m_hDC = nullptr;
};

// The client-area context of a window, from GetDC, released at the end of the scope. The window
// may belong to another thread: the drawing thread blits to the saver window this way.
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 private:
#ifdef _WIN32
  HWND m_hWnd;
#endif
};

// The context of a WM_PAINT message, from BeginPaint, ended with EndPaint at the end of the scope.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

 private:
#ifdef _WIN32
  HWND m_hWnd;
  PAINTSTRUCT m_ps;
#endif
};

#ifdef _WIN32
// Selects a GDI object (pen, brush, bitmap, font) into a device context for the length of a
// scope and puts the one it replaced back at the end, so that an object is never deleted while
// it is still selected. Declare the object before the selection: the selection ends first.
class CSelection {
 public:
  CSelection(HDC hDC, HGDIOBJ hObject)
      : m_hDC(hObject ? hDC : nullptr), m_hOld(m_hDC ? ::SelectObject(m_hDC, hObject) : nullptr) {}
  ~CSelection() {
    if (m_hOld) ::SelectObject(m_hDC, m_hOld);
  }
  CSelection(const CSelection&) = delete;
  CSelection& operator=(const CSelection&) = delete;
  // FALSE when nothing was selected (no context, no object, or GDI refused).
  BOOL Selected() const { return m_hOld != nullptr; }

 private:
  HDC m_hDC;
  HGDIOBJ m_hOld;
};
#endif
