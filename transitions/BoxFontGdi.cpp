// The caption box's fonts on Windows: GDI fonts drawn with DrawText on the surface's memory
// device context.
#include <windows.h>

#include "imaging/DIBSurface.h"
#include "transitions/BoxFont.h"

static_assert(kBoxTextCentre == DT_CENTER && kBoxTextWordBreak == DT_WORDBREAK &&
                  kBoxTextSingleLine == DT_SINGLELINE && kBoxTextCalcRect == DT_CALCRECT,
              "the box's text flags are DrawText's");

namespace {

// A colour that names an entry of a DIB section's own colour table (MinGW's headers lack the
// macro).
constexpr COLORREF DibIndex(int n) { return 0x10FF0000u | static_cast<COLORREF>(n & 0xFF); }

// Selects a font into a device context for a scope.
class ScopedFont {
 public:
  ScopedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
  ~ScopedFont() { SelectObject(dc_, previous_); }
  ScopedFont(const ScopedFont&) = delete;
  ScopedFont& operator=(const ScopedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

CBoxFont::~CBoxFont() { Delete(); }

BOOL CBoxFont::Create(int height, int style) {
  Delete();
  LOGFONTA lf = {};
  lf.lfHeight = -height;  // a character height, not a cell height
  lf.lfWeight = (style & kTextStyleBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style & kTextStyleItalic) ? 1 : 0;
  lf.lfUnderline = (style & kTextStyleUnderlined) ? 1 : 0;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_LH_ANGLES | CLIP_STROKE_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;  // no face name: the platform's sans-serif
  font_ = CreateFontIndirectA(&lf);
  return font_ != nullptr;
}

void CBoxFont::Delete() {
  if (font_) DeleteObject(font_);
  font_ = nullptr;
}

BOOL CBoxFont::IsCreated() const { return font_ != nullptr; }

BOOL CBoxFont::Measure(CDIBSurface* surface, const CString& text, UINT flags, RECT* rect) const {
  HDC dc = surface ? surface->memoryDC.GetSafeHdc() : nullptr;
  if (!dc || !font_ || !rect) return FALSE;
  ScopedFont selected(dc, font_);
  DrawTextA(dc, text, -1, rect, flags | DT_CALCRECT);
  return TRUE;
}

void CBoxFont::Draw(CDIBSurface* surface, const CString& text, UINT flags, const RECT& rect,
                    int colourIndex) const {
  HDC dc = surface ? surface->memoryDC.GetSafeHdc() : nullptr;
  if (!dc || !font_) return;
  ScopedFont selected(dc, font_);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, DibIndex(colourIndex));
  RECT r = rect;
  DrawTextA(dc, text, -1, &r, flags);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  GdiFlush();  // the caller reads and copies these pixels next
}
