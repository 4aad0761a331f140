// GDI object wrappers: CGdiObject (one handle, deleted with the wrapper), CPalette, and on Windows
// CPen and CBrush.
//
// Under Windows these call GDI. Natively there is no GDI, so a palette handle points at a small
// in-memory palette kept by Gdi.cpp that answers the same calls with the same results: the palette
// and bitmap code then runs the same tests natively and under Wine.
#pragma once

#include "framework/Object.h"
#include "framework/WinTypes.h"

#ifndef _WIN32
#include <vector>

// Natively every GDI handle points at a stand-in derived from HGDIOBJ__ (so that deleting through
// HGDIOBJ frees the right object), and a palette handle at one holding its entries.
struct HGDIOBJ__ {
  virtual ~HGDIOBJ__() = default;
};
struct HPALETTE__ : HGDIOBJ__ {
  std::vector<PALETTEENTRY> entries;
};
#endif

class CGdiObject : public CObject {
 public:
  CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  // Deletes the handle still attached.
  ~CGdiObject() override;

  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  // Deletes the attached handle (if any) and detaches it; TRUE when a handle was deleted.
  BOOL DeleteObject();
  // Takes ownership of a handle; FALSE (nothing changes) when the handle is null or one is held.
  BOOL Attach(HGDIOBJ hObject);
  // Gives up ownership: returns the handle and leaves the wrapper empty.
  HGDIOBJ Detach();

  HGDIOBJ m_hObject = nullptr;
};

class CPalette : public CGdiObject {
 public:
  CPalette() = default;

  // Creates a palette from the entries of lpLogPalette and attaches it; FALSE when GDI refuses.
  BOOL CreatePalette(const LOGPALETTE* lpLogPalette);

  operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }

  // The number of entries, 0 when there is no palette or it cannot be read.
  int GetEntryCount() const;
  // Copies up to nEntries entries from nStartIndex; returns how many were copied (clamped to the
  // palette's size, 0 when nStartIndex is past the end).
  UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const;
  // Overwrites up to nNumEntries entries from nStartIndex; returns how many were set.
  UINT SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, const PALETTEENTRY* lpPaletteColors);
  // The entry nearest to crColor (smallest squared RGB distance, the first on ties), CLR_INVALID
  // without a palette.
  UINT GetNearestPaletteIndex(COLORREF crColor) const;
  // Grows or shrinks the palette to nNumEntries, keeping the leading entries; new entries are 0.
  BOOL ResizePalette(UINT nNumEntries);
};

#ifdef _WIN32
// A pen that is deleted with its wrapper. Select it through a CSelection (Dc.h), so that it is
// no longer selected anywhere when the wrapper deletes it.
class CPen : public CGdiObject {
 public:
  CPen() = default;
  // A pen of the style, width and colour; GetSafeHandle() is null when GDI refuses.
  CPen(int nPenStyle, int nWidth, COLORREF crColor);
  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

// A solid brush that is deleted with its wrapper.
class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor);
  BOOL CreateSolidBrush(COLORREF crColor);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};
#endif
