#include "controls/ControlsViews.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "controls/ControlGeometry.h"
#include "imaging/CopyClip.h"
#include "imaging/DIB.h"
#include "imaging/ReservedPalette.h"
#include "imaging/ScreenCompose.h"
#include "richtext/RichTextDocument.h"
#include "seams/ScreenSize.h"

namespace {

// Colours that an image view shows through a palette; more are reduced to this many first.
constexpr int kViewColours = 204;

int BitCount(const CDIB* dib) {
  return dib && dib->header && dib->bits ? dib->header->bmiHeader.biBitCount : 0;
}

bool ScreenIsEightBit() { return GetScreenBitsPerPixel() <= 8; }

// A private 8-bit copy of an 8-bit bitmap, colour table included, that may be remapped freely.
std::unique_ptr<CDIB> CopyOf8Bit(CDIB* source) {
  std::unique_ptr<CDIB> copy(new (std::nothrow) CDIB);
  const int w = source->GetWidth(), h = source->GetHeight();
  if (!copy || !copy->Create(w, h, nullptr)) return nullptr;
  const int colours = std::min(source->GetNumColors(), 256);
  std::memcpy(copy->header->bmiColors, source->header->bmiColors, colours * sizeof(RGBQUAD));
  copy->header->bmiHeader.biClrUsed = source->header->bmiHeader.biClrUsed;
  source->CopyBits(copy.get(), 0, 0, w, h, 0, 0, -1);
  return copy;
}

// The 8-bit bitmap that an image goes through a palette as, or null when it is shown in 24
// bits: a copy of a small 8-bit picture, a 204-colour reduction of a larger one, or of a 24-bit
// picture on an 8-bit display. *failed is set when such a bitmap was needed but not made.
std::unique_ptr<CDIB> PaletteSource(CDIB* source, bool* failed) {
  const int bits = BitCount(source);
  std::unique_ptr<CDIB> result;
  if ((bits == 8 && source->GetNumColors() > kViewColours) || (bits == 24 && ScreenIsEightBit())) {
    result.reset(new (std::nothrow) CDIB);
    if (result && !source->Quantize(result.get(), kViewColours, 1)) result.reset();
    *failed = !result;
  } else if (bits == 8) {
    result = CopyOf8Bit(source);
    *failed = !result;
  }
  return result;
}

// An identity palette of the bitmap's colours, with the bitmap remapped onto it.
std::unique_ptr<CColorPalette> PaletteFor(CDIB* dib) {
  std::unique_ptr<CColorPalette> palette(new (std::nothrow) CColorPalette);
  if (!palette || !palette->CreateFromDIB(dib)) return nullptr;
  palette->MakeIdentity();  // only a palette display changes it
  if (!dib->MapColorsToPalette(palette.get())) return nullptr;
  return palette;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CRDIBCtl

IMPLEMENT_DYNCREATE(CRDIBCtl, CRControlFrame)

BEGIN_MESSAGE_MAP(CRDIBCtl, CRControlFrame)
ON_MESSAGE(WM_CREATE, CRDIBCtl::OnCreate)
ON_MESSAGE(WM_SIZE, CRDIBCtl::OnSize)
ON_MESSAGE(WM_SHOWWINDOW, CRDIBCtl::OnShowWindow)
ON_MESSAGE(WM_MOUSEMOVE, CRDIBCtl::OnMouseMove)
ON_MESSAGE(WM_LBUTTONDOWN, CRDIBCtl::OnLButtonDown)
ON_MESSAGE(WM_LBUTTONDBLCLK, CRDIBCtl::OnLButtonDblClk)
END_MESSAGE_MAP()

CRDIBCtl::CRDIBCtl() : backColor(kBlack), arrowCursor(LoadCursor(nullptr, IDC_ARROW)) {}

CRDIBCtl::~CRDIBCtl() {
  delete image;
  delete imagePalette;
}

BOOL CRDIBCtl::Register() {
  return RegisterControlClass("RDIBCtl", WindowProc, CS_DBLCLKS, true, nullptr);
}

LRESULT CALLBACK CRDIBCtl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ClassWindowProc(RUNTIME_CLASS(CRDIBCtl), hWnd, message, wParam, lParam);
}

BOOL CRDIBCtl::SetDIB(CDIB* source) {
  const int bits = BitCount(source);
  if (bits != 8 && bits != 24) {
    Install(nullptr, nullptr, false);  // nothing, or a depth the view does not show
    return source == nullptr;
  }
  const int w = source->GetWidth(), h = source->GetHeight();
  bool failed = false;
  std::unique_ptr<CDIB> eightBit = PaletteSource(source, &failed);
  std::unique_ptr<CDIBSurface> surface(new (std::nothrow) CDIBSurface);
  std::unique_ptr<CColorPalette> newPalette;
  if (!failed && surface && eightBit) {
    newPalette = PaletteFor(eightBit.get());
    failed = !newPalette || !surface->Create(w, h, newPalette.get());
    if (!failed) eightBit->CopyBits(surface.get(), 0, 0, w, h, 0, 0, -1);
  } else if (!failed && surface) {
    failed = !surface->Create24(w, h);
    if (!failed) source->CopyBits(surface.get(), 0, 0, w, h, 0, 0, -1);
  }
  if (failed || !surface) {
    Install(nullptr, nullptr, false);
    return FALSE;
  }
  return Install(surface.release(), newPalette.release(), false);
}

BOOL CRDIBCtl::SetDIBStretched(CDIB* picture, int x, int y, CDIB* background, BOOL corner) {
  if (BitCount(picture) != 8 || BitCount(background) != 8) {
    Install(nullptr, nullptr, false);
    return FALSE;
  }
  const int bw = background->GetWidth(), bh = background->GetHeight();
  const int iw = picture->GetWidth(), ih = picture->GetHeight();
  // The screen's colour table for the picture: the grey ramp and the picture's colours together.
  std::unique_ptr<CColorPalette> newPalette(new (std::nothrow) CColorPalette);
  if (newPalette && (!newPalette->CreateScreenPalette(picture, GetReservedPaletteEntries()) ||
                     !picture->MapColorsToPalette(newPalette.get())))
    newPalette.reset();
  std::unique_ptr<CDIBSurface> surface(new (std::nothrow) CDIBSurface);
  if (!newPalette || !surface || !surface->Create(bw, bh, newPalette.get())) {
    Install(nullptr, nullptr, false);
    return FALSE;
  }
  // The background keeps its colours on the picture's palette: its greys stay grey.
  CopyByColour(*background, surface.get(), 0, 0, bw, bh, 0, 0);
  CopyBlock block{x, y, iw, ih, 0, 0};
  if (ClipCopyBlock(&block, iw, ih, bw, bh))
    picture->CopyBits(surface.get(), block.dx, block.dy, block.w, block.h, block.sx, block.sy, -1);
  if (corner) {
    const int cornerSize = iw / 4;
    const int cx = x + iw - cornerSize, cy = y + ih - cornerSize;
    CopyByColour(*background, surface.get(), cx, cy, cornerSize, cornerSize, cx, cy);
  }
  return Install(surface.release(), newPalette.release(), true);
}

BOOL CRDIBCtl::Install(CDIBSurface* newImage, CColorPalette* newPalette, bool stretched) {
  CDIBSurface* oldImage = image;
  CColorPalette* oldPalette = imagePalette;
  image = newImage;
  imagePalette = newPalette;
  palette = newPalette;
  stretched_ = stretched;
  if (ScreenIsEightBit() && width > 0) {
    if (!CreateBuffers(width, height)) {
      // The buffers still use the old palette: it stays with them, and no image is shown.
      delete newImage;
      delete newPalette;
      delete oldImage;
      image = nullptr;
      imagePalette = palette = oldPalette;
      stretched_ = false;
      Compose();
      Invalidate(TRUE);
      return FALSE;
    }
    RepaintBackground();
  }
  delete oldImage;
  delete oldPalette;
  Compose();
  Invalidate(TRUE);
  return newImage != nullptr;
}

void CRDIBCtl::SetBackColor(COLORREF colour) {
  backColor = colour;
  if (width > 0) RepaintBackground();
}

void CRDIBCtl::SetKeepImageSize(BOOL fit) { fitImage = fit; }

void CRDIBCtl::SetHotCursor(BOOL on, HCURSOR cursor) {
  hotCursorOn = on;
  hotCursor = on ? cursor : nullptr;
}

void CRDIBCtl::RepaintBackground() {
  controlpaint::Fill(backgroundSurface.memoryDC.GetSafeHdc(), RECT{0, 0, width, height}, backColor);
  GdiFlush();
}

void CRDIBCtl::Compose() {
  if (width < 10 || height < 10) return;
  CopyBackgroundToWork();
  if (image) DrawImage();
  GdiFlush();
}

void CRDIBCtl::DrawImage() {
  const int iw = image->GetWidth(), ih = image->GetHeight();
  imageRect =
      stretched_ ? RECT{0, 0, width, height} : ImageViewRect(width, height, iw, ih, fitImage);
  if (!fitImage) {
    CopyBlock block{0,
                    0,
                    std::min(width, iw - imageOffsetX),
                    std::min(height, ih - imageOffsetY),
                    imageOffsetX,
                    imageOffsetY};
    if (ClipCopyBlock(&block, iw, ih, width, height))
      image->CopyBits(&workSurface, block.dx, block.dy, block.w, block.h, block.sx, block.sy, -1);
    return;
  }
  HDC dc = workSurface.memoryDC.GetSafeHdc();
  const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, imageRect.left, imageRect.top, imageRect.right - imageRect.left,
             imageRect.bottom - imageRect.top, image->memoryDC.GetSafeHdc(), 0, 0, iw, ih, SRCCOPY);
  if (previousMode) SetStretchBltMode(dc, previousMode);
}

LRESULT CRDIBCtl::OnCreate(WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(WM_CREATE, wParam, lParam) == -1 ? -1 : 0;
}

LRESULT CRDIBCtl::OnSize(WPARAM wParam, LPARAM lParam) {
  DefWindowProc(WM_SIZE, wParam, lParam);
  const int cx = LOWORD(lParam), cy = HIWORD(lParam);
  if (cx == 0 && cy == 0) {
    if (CreateBuffers(1, 1)) width = height = 1;
    return 0;
  }
  if (cx < 10 || cy < 10 || !CreateBuffers(cx, cy)) return 0;
  width = cx;
  height = cy;
  RepaintBackground();
  Compose();
  Invalidate(TRUE);
  return 0;
}

LRESULT CRDIBCtl::OnShowWindow(WPARAM wParam, LPARAM lParam) {
  DefWindowProc(WM_SHOWWINDOW, wParam, lParam);
  if (wParam && width >= 10 && height >= 10) {
    Compose();
    Invalidate(TRUE);
  }
  return 0;
}

LRESULT CRDIBCtl::OnMouseMove(WPARAM, LPARAM lParam) {
  const POINT p = MousePoint(lParam);
  const bool hot = hotCursorOn && hotCursor && PointInRect(imageRect, p.x, p.y);
  SetCursor(hot ? hotCursor : arrowCursor);
  return 0;
}

LRESULT CRDIBCtl::OnLButtonDown(WPARAM, LPARAM) {
  ClickParent();
  return 0;
}

LRESULT CRDIBCtl::OnLButtonDblClk(WPARAM, LPARAM lParam) {
  const POINT p = MousePoint(lParam);
  if (PointInRect(imageRect, p.x, p.y)) ClickParent();
  return 0;
}

void CRDIBCtl::ClickParent() {
  SendMessageA(GetParent(m_hWnd), WM_RDIBCTL_CLICK, 0, reinterpret_cast<LPARAM>(m_hWnd));
}

// ---------------------------------------------------------------------------------------------
// CRRTFCtl

IMPLEMENT_DYNCREATE(CRRTFCtl, CRControlFrame)

BEGIN_MESSAGE_MAP(CRRTFCtl, CRControlFrame)
ON_MESSAGE(WM_CREATE, CRRTFCtl::OnCreate)
ON_MESSAGE(WM_SIZE, CRRTFCtl::OnSize)
ON_MESSAGE(WM_SHOWWINDOW, CRRTFCtl::OnShowWindow)
ON_MESSAGE(WM_LBUTTONDOWN, CRRTFCtl::OnLButtonDown)
ON_MESSAGE(WM_LBUTTONUP, CRRTFCtl::OnLButtonUp)
ON_MESSAGE(WM_NOTIFY, CRRTFCtl::OnNotify)
ON_MESSAGE(WM_COMMAND, CRRTFCtl::OnCommand)
ON_MESSAGE(WM_NCDESTROY, CRRTFCtl::OnNcDestroyDocument)
END_MESSAGE_MAP()

BOOL CRRTFCtl::Register() {
  return RegisterControlClass("RRTFCtl", WindowProc, 0, false, "CRRTFCtl");
}

LRESULT CALLBACK CRRTFCtl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ClassWindowProc(RUNTIME_CLASS(CRRTFCtl), hWnd, message, wParam, lParam);
}

LRESULT CRRTFCtl::OnCreate(WPARAM wParam, LPARAM lParam) {
  if (DefWindowProc(WM_CREATE, wParam, lParam) == -1) return -1;
  const RECT empty{0, 0, 0, 0};
  document = CreateRichTextDocument(m_hWnd, &empty, kRichTextChildId, nullptr);
  return 0;
}

LRESULT CRRTFCtl::OnSize(WPARAM wParam, LPARAM lParam) {
  if (!TakeSize(wParam, lParam, 100)) return 0;
  if (document) MoveWindow(document->editWindow, 0, 0, width, height, TRUE);
  Invalidate(TRUE);
  return 0;
}

LRESULT CRRTFCtl::OnShowWindow(WPARAM wParam, LPARAM lParam) {
  DefWindowProc(WM_SHOWWINDOW, wParam, lParam);
  if (wParam && width >= 10 && height >= 10) Invalidate(TRUE);
  return 0;
}

LRESULT CRRTFCtl::OnLButtonDown(WPARAM, LPARAM) {
  SetCapture(m_hWnd);
  captured = TRUE;
  return 0;
}

LRESULT CRRTFCtl::OnLButtonUp(WPARAM, LPARAM) {
  captured = FALSE;
  if (GetCapture() == m_hWnd) ReleaseCapture();
  return 0;
}

LRESULT CRRTFCtl::OnNotify(WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && header->idFrom == kRichTextChildId && header->code == EN_SELCHANGE && document &&
      document->formatBar)
    SyncFormatBar(document);
  return 0;
}

LRESULT CRRTFCtl::OnCommand(WPARAM wParam, LPARAM lParam) {
  const bool focus = HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS;
  if (LOWORD(wParam) == kRichTextChildId && focus) return 0;
  return DefWindowProc(WM_COMMAND, wParam, lParam);
}

LRESULT CRRTFCtl::OnNcDestroyDocument(WPARAM, LPARAM) {
  DeleteRichTextDocument(document);
  document = nullptr;
  return 0;
}
