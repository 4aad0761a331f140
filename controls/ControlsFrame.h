// The frame that the five custom controls of the settings dialogs share ("RVSlider", "RMSlider",
// "RGrnBtn", "RRTFCtl", "RDIBCtl"): class registration, a class window procedure that gives each
// window its own control object (deleted with the window), double-buffered drawing into two
// client-sized surfaces, and the painting helpers the controls draw with.
//
// The buffers are 24-bit on displays deeper than 8 bits. On an 8-bit display they are 8-bit on a
// palette: the control's own (the image view's picture palette) or else one of the 20 static
// colours, so that the greys, white, black and green of the controls always have entries.
#pragma once

#include <windows.h>

#include "framework/Gdi.h"
#include "framework/Wnd.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"

// The colours the controls draw with, palette-relative.
constexpr COLORREF kLightGrey = PALETTERGB(192, 192, 192);
constexpr COLORREF kDarkGrey = PALETTERGB(128, 128, 128);
constexpr COLORREF kWhite = PALETTERGB(255, 255, 255);
constexpr COLORREF kBlack = PALETTERGB(0, 0, 0);
constexpr COLORREF kGreen = PALETTERGB(0, 255, 0);

// Scroll notices the value controls send their parent in WM_HSCROLL.
constexpr int kNoticeTrack = 5;     // SB_THUMBTRACK: the button is down
constexpr int kNoticePosition = 4;  // SB_THUMBPOSITION: the button was released

class CRControlFrame : public CWnd {
  DECLARE_DYNAMIC(CRControlFrame)
  DECLARE_MESSAGE_MAP()
 public:
  CDIBSurface workSurface;        // background plus the moving part; what WM_PAINT shows
  CDIBSurface backgroundSurface;  // what does not move
  int32_t width = 0;              // client size at the last accepted size step
  int32_t height = 0;
  CColorPalette* palette = nullptr;  // the buffers' palette on an 8-bit display; null here

  // Registers a class of the frame: CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW plus extraStyle, no
  // extra bytes, the arrow cursor unless noCursor, the window colour as background. traceName
  // non-null writes "<traceName>::Register - start" and "- end" or "- fail". A class this
  // process registered before counts as registered.
  static BOOL RegisterControlClass(const char* className, WNDPROC procedure, UINT extraStyle,
                                   bool noCursor, const char* traceName);

 protected:
  CRControlFrame() = default;

  // The size step's common part (WM_SIZE): the default handling, then, only for a client size
  // of at least minWidth x 10, the buffers made at that size and the size recorded. TRUE when
  // the size was taken; a smaller size, or buffers that cannot be made, keep the old ones.
  BOOL TakeSize(WPARAM wParam, LPARAM lParam, int minWidth = 10);
  // Makes both buffers cx x cy for the screen's depth; FALSE (old buffers kept) on failure.
  BOOL CreateBuffers(int cx, int cy);
  // The palette 8-bit buffers are made on: the control's own, else the static colours.
  CColorPalette* BufferPalette();
  // Copies the background buffer into the work buffer.
  void CopyBackgroundToWork();
  // Repaints the window at once (RedrawWindow with invalidate, erase and update now).
  void RedrawNow();
  // WM_HSCROLL to the parent: (position << 16 | code), the control's window.
  void Notify(int code, int32_t position);
  // The mouse point of a mouse message, signed (a captured point may lie above or left of us).
  static POINT MousePoint(LPARAM lParam);

  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnNcDestroy(WPARAM, LPARAM);

 private:
  CColorPalette staticColours_;  // made on the first 8-bit buffer without a palette of its own
};

// Drawing helpers on a device context, each deselecting and deleting what it made.
namespace controlpaint {
void Fill(HDC dc, const RECT& rect, COLORREF colour);
// A line from (x0, y0) to (x1, y1), the end point excluded, as LineTo draws it.
void Line(HDC dc, COLORREF colour, int x0, int y0, int x1, int y1);
// A one-pixel sunken border just outside the rectangle: dark grey above and left, white below
// and right.
void SunkenEdge(HDC dc, const RECT& rect);
// A raised border of `depth` pixels inside the rectangle: white top and left, dark grey bottom
// and right.
void RaisedEdge(HDC dc, const RECT& rect, int depth);
// The rectangle filled with `fill` and outlined in `outline` (GDI's Rectangle).
void OutlinedBox(HDC dc, const RECT& rect, COLORREF outline, COLORREF fill);
}  // namespace controlpaint
