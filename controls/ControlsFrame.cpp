#include "controls/ControlsFrame.h"

#include <windowsx.h>

#include "seams/ScreenSize.h"
#include "seams/Trace.h"

IMPLEMENT_DYNAMIC(CRControlFrame, CWnd)

BEGIN_MESSAGE_MAP(CRControlFrame, CWnd)
ON_MESSAGE(WM_ERASEBKGND, CRControlFrame::OnEraseBkgnd)
ON_MESSAGE(WM_PAINT, CRControlFrame::OnPaint)
ON_MESSAGE(WM_NCDESTROY, CRControlFrame::OnNcDestroy)
END_MESSAGE_MAP()

BOOL CRControlFrame::RegisterControlClass(const char* className, WNDPROC procedure, UINT extraStyle,
                                          bool noCursor, const char* traceName) {
  if (traceName) seams::Trace::Printf("%s::Register - start\n", traceName);
  WNDCLASSA windowClass = {};
  windowClass.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW | extraStyle;
  windowClass.lpfnWndProc = procedure;
  windowClass.hCursor = noCursor ? nullptr : LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = className;
  // A class already registered in this process (a second settings dialog) is registered.
  const BOOL registered =
      RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  if (traceName)
    seams::Trace::Printf("%s::Register - %s\n", traceName, registered ? "end" : "fail");
  return registered;
}

CColorPalette* CRControlFrame::BufferPalette() {
  if (palette) return palette;
  if (!staticColours_.GetSafeHandle()) {
    struct {
      WORD version, count;
      PALETTEENTRY entries[20];
    } block = {0x300, 20, {}};
    for (int i = 0; i < 20; ++i) {
      const CColorPalette::NamedColor& c = CColorPalette::StaticColors[i];
      block.entries[i] = PALETTEENTRY{BYTE(c.red), BYTE(c.green), BYTE(c.blue), 0};
    }
    staticColours_.CreatePalette(reinterpret_cast<const LOGPALETTE*>(&block));
  }
  return &staticColours_;
}

BOOL CRControlFrame::TakeSize(WPARAM wParam, LPARAM lParam, int minWidth) {
  DefWindowProc(WM_SIZE, wParam, lParam);
  const int cx = LOWORD(lParam), cy = HIWORD(lParam);
  if (cx < minWidth || cy < 10 || !CreateBuffers(cx, cy)) return FALSE;
  width = cx;
  height = cy;
  return TRUE;
}

BOOL CRControlFrame::CreateBuffers(int cx, int cy) {
  if (GetScreenBitsPerPixel() > 8)
    return workSurface.Create24(cx, cy) && backgroundSurface.Create24(cx, cy);
  CColorPalette* bufferPalette = BufferPalette();
  return workSurface.Create(cx, cy, bufferPalette) &&
         backgroundSurface.Create(cx, cy, bufferPalette);
}

void CRControlFrame::CopyBackgroundToWork() {
  backgroundSurface.CopyBits(&workSurface, 0, 0, width, height, 0, 0, -1);
}

void CRControlFrame::RedrawNow() {
  if (m_hWnd) RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CRControlFrame::Notify(int code, int32_t position) {
  if (!m_hWnd) return;
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position));
  SendMessageA(GetParent(m_hWnd), WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(m_hWnd));
}

POINT CRControlFrame::MousePoint(LPARAM lParam) {
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

LRESULT CRControlFrame::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

LRESULT CRControlFrame::OnPaint(WPARAM, LPARAM) {
  CPaintDC dc(this);
  if (width > 0 && height > 0) workSurface.Draw(&dc);
  return 0;
}

LRESULT CRControlFrame::OnNcDestroy(WPARAM, LPARAM) { return 0; }

namespace controlpaint {

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  CBrush brush(colour);
  if (brush.GetSafeHandle()) FillRect(dc, &rect, brush);
}

void Line(HDC dc, COLORREF colour, int x0, int y0, int x1, int y1) {
  CPen pen(PS_SOLID, 1, colour);
  CSelection selection(dc, pen.GetSafeHandle());
  if (!selection.Selected()) return;
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void SunkenEdge(HDC dc, const RECT& rect) {
  const int l = rect.left - 1, t = rect.top - 1, r = rect.right, b = rect.bottom;
  Line(dc, kDarkGrey, l, b, l, t);
  Line(dc, kDarkGrey, l, t, r + 1, t);
  Line(dc, kWhite, r, t + 1, r, b);
  Line(dc, kWhite, l, b, r + 1, b);
}

void RaisedEdge(HDC dc, const RECT& rect, int depth) {
  for (int i = 0; i < depth; ++i) {
    const int l = rect.left + i, t = rect.top + i, r = rect.right - 1 - i, b = rect.bottom - 1 - i;
    Line(dc, kWhite, l, b, l, t);
    Line(dc, kWhite, l, t, r, t);
    Line(dc, kDarkGrey, r, t, r, b);
    Line(dc, kDarkGrey, r, b, l - 1, b);
  }
}

void OutlinedBox(HDC dc, const RECT& rect, COLORREF outline, COLORREF fill) {
  CPen pen(PS_SOLID, 1, outline);
  CBrush brush(fill);
  CSelection penSelection(dc, pen.GetSafeHandle());
  CSelection brushSelection(dc, brush.GetSafeHandle());
  if (!penSelection.Selected() || !brushSelection.Selected()) return;
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace controlpaint
