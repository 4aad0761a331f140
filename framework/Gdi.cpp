#include "framework/Gdi.h"

#include <algorithm>
#include <new>

#ifndef _WIN32
// Natively the GDI calls that the wrappers make are answered here, with GDI's results, by the
// stand-in objects declared in Gdi.h.
namespace {

BOOL DeleteObject(HGDIOBJ hObject) {
  if (!hObject) return FALSE;
  delete hObject;
  return TRUE;
}

HPALETTE CreatePalette(const LOGPALETTE* lpLogPalette) {
  if (!lpLogPalette) return nullptr;
  auto* palette = new (std::nothrow) HPALETTE__;
  if (!palette) return nullptr;  // as the system's call fails
  try {
    palette->entries.assign(lpLogPalette->palPalEntry,
                            lpLogPalette->palPalEntry + lpLogPalette->palNumEntries);
  } catch (const std::bad_alloc&) {
    delete palette;
    return nullptr;
  }
  return palette;
}

HPALETTE AsPalette(HGDIOBJ hObject) { return dynamic_cast<HPALETTE>(hObject); }

// GetObject on a palette handle: its entry count as a WORD.
int GetObject(HGDIOBJ hObject, int cbBuffer, void* lpvObject) {
  HPALETTE palette = AsPalette(hObject);
  if (!palette || cbBuffer < static_cast<int>(sizeof(WORD)) || !lpvObject) return 0;
  *static_cast<WORD*>(lpvObject) = static_cast<WORD>(palette->entries.size());
  return sizeof(WORD);
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries) {
  if (!palette) return 0;
  const UINT size = static_cast<UINT>(palette->entries.size());
  if (!entries) return size;
  if (start >= size) return 0;
  count = std::min(count, size - start);
  std::copy_n(palette->entries.begin() + start, count, entries);
  return count;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  if (!palette || !entries) return 0;
  const UINT size = static_cast<UINT>(palette->entries.size());
  if (start >= size) return 0;
  count = std::min(count, size - start);
  std::copy_n(entries, count, palette->entries.begin() + start);
  return count;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
  if (!palette) return CLR_INVALID;
  UINT best = 0;
  long bestDistance = -1;
  for (UINT i = 0; i < palette->entries.size(); ++i) {
    const PALETTEENTRY& e = palette->entries[i];
    const long dr = e.peRed - GetRValue(color);
    const long dg = e.peGreen - GetGValue(color);
    const long db = e.peBlue - GetBValue(color);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

BOOL ResizePalette(HPALETTE palette, UINT count) {
  if (!palette) return FALSE;
  palette->entries.resize(count, PALETTEENTRY{0, 0, 0, 0});
  return TRUE;
}

}  // namespace
#endif

// CGdiObject

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject || m_hObject) return FALSE;
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ hObject = m_hObject;
  m_hObject = nullptr;
  return hObject;
}

// CPalette

BOOL CPalette::CreatePalette(const LOGPALETTE* lpLogPalette) {
  HPALETTE palette = ::CreatePalette(lpLogPalette);
  if (!palette) return FALSE;
  if (!Attach(palette)) {
    ::DeleteObject(palette);
    return FALSE;
  }
  return TRUE;
}

int CPalette::GetEntryCount() const {
  WORD count = 0;
  if (!m_hObject || !::GetObject(m_hObject, sizeof(count), &count)) return 0;
  return count;
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries,
                                 LPPALETTEENTRY lpPaletteColors) const {
  if (!m_hObject) return 0;
  return ::GetPaletteEntries(*this, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries,
                                 const PALETTEENTRY* lpPaletteColors) {
  if (!m_hObject) return 0;
  return ::SetPaletteEntries(*this, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const {
  if (!m_hObject) return CLR_INVALID;
  return ::GetNearestPaletteIndex(*this, crColor);
}

BOOL CPalette::ResizePalette(UINT nNumEntries) {
  if (!m_hObject) return FALSE;
  return ::ResizePalette(*this, nNumEntries);
}

#ifdef _WIN32
// CPen and CBrush

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  if (m_hObject) return FALSE;
  return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
  if (m_hObject) return FALSE;
  return Attach(::CreateSolidBrush(crColor));
}
#endif
