#include "imaging/OSBView.h"

#include <memory>
#include <new>

#ifdef _WIN32
#include <windows.h>
#endif

#include "framework/Dc.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "seams/Clock.h"

IMPLEMENT_DYNCREATE(COSBView, CScrollView)

BEGIN_MESSAGE_MAP(COSBView, CScrollView)
ON_MESSAGE(WM_ERASEBKGND, COSBView::OnEraseBkgnd)
ON_MESSAGE(WM_QUERYNEWPALETTE, COSBView::OnQueryNewPalette)
ON_MESSAGE(WM_PALETTECHANGED, COSBView::OnPaletteChanged)
END_MESSAGE_MAP()

namespace {

constexpr int kHorzRes = 8;   // HORZRES
constexpr int kVertRes = 10;  // VERTRES

}  // namespace

COSBView::COSBView() = default;

COSBView::~COSBView() { SwapBuffer(nullptr, nullptr); }

void COSBView::SwapBuffer(CDIBSurface* newSurface, CColorPalette* newPalette) {
  CDIBSurface* oldSurface;
  CColorPalette* oldPalette;
  {
    std::lock_guard<std::mutex> lock(bufferLock);
    oldSurface = surface;
    oldPalette = palette;
    surface = newSurface;
    palette = newPalette;
  }
  // The surface refers to the palette: it goes first.
  delete oldSurface;
  delete oldPalette;
}

BOOL COSBView::CreateBuffer(CDIB* dib) {
  // A new palette and a new surface replace both old ones; the old surface must not outlive the
  // palette it was created on, so a failure leaves neither.
  SwapBuffer(nullptr, nullptr);
  if (!dib) return 0;
  std::unique_ptr<CColorPalette> newPalette(new (std::nothrow) CColorPalette);
  if (!newPalette || !newPalette->CreateFromDIB(dib)) return 0;
  newPalette->MakeIdentity();
  std::unique_ptr<CDIBSurface> newSurface(new (std::nothrow) CDIBSurface);
  if (!newSurface || !newSurface->Create(dib->GetWidth(), dib->GetHeight(), newPalette.get())) {
    return 0;
  }
  SwapBuffer(newSurface.release(), newPalette.release());
  return 1;
}

void COSBView::Render(const CRect*) {}

void COSBView::Draw(const CRect* rect) {
  {
    std::lock_guard<std::mutex> lock(bufferLock);
    DrawLocked(rect);
  }
  ShowDrawnPixels();
}

// Under Wine a window's pixels reach the display when a thread of the process looks for messages
// and finds none. The window's thread does so only when a message wakes it, and the drawing
// thread never: a last frame with nothing after it (the caption's end before a still slide show)
// stayed off the screen for the picture's whole minute. The drawing thread looks once after each
// draw; on Windows that only checks its empty queue. Not on the window's own thread, where the
// look would deliver messages sent to it in the middle of a draw.
void COSBView::ShowDrawnPixels() const {
#ifdef _WIN32
  HWND window = GetSafeHwnd();
  if (!window || ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) return;
  MSG message;
  ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
#endif
}

void COSBView::DrawLocked(const CRect* rect) {
  // Once the saver is closing its window is hidden or going: drawing would only cost time.
  if (!surface || seams::StopRequested()) return;
  CClientDC dc(this);
  if (!dc.GetSafeHdc()) return;
  CRect target;
  if (rect) {
    target = *rect;
  } else {
    GetClientRect(&target);
  }
  CRect clip;
  dc.GetClipBox(&clip);
  target &= clip;
  target &= CRect(0, 0, surface->GetWidth(), surface->GetHeight());
  if (target.IsRectEmpty()) return;
  HPALETTE previous = palette ? dc.SelectPalette(*palette, FALSE) : nullptr;
  if (palette) dc.RealizePalette();
  surface->BitBlt(&dc, target.left, target.top, target.Width(), target.Height(), target.left,
                  target.top);
  if (previous) dc.SelectPalette(previous, FALSE);
}

void COSBView::AddDirtyRect(const CRect* rect) {
  if (rect) dirtyList.Add(*rect);
}

void COSBView::FlushDirtyList() {
  dirtyList.Flush([this](const CRect& rect) { Render(&rect); },
                  [this](const CRect& rect) { Draw(&rect); });
}

void COSBView::OnInitialUpdate() {
  CSize size;
  if (surface) {
    size = CSize(surface->GetWidth(), surface->GetHeight());
  } else {
    CDC screen;
    if (screen.CreateDC("DISPLAY")) {
      size = CSize(screen.GetDeviceCaps(kHorzRes), screen.GetDeviceCaps(kVertRes));
    }
  }
  SetScrollSizes(MM_TEXT, size);
}

void COSBView::OnUpdate(CView*, LPARAM, CObject*) {
  Render(nullptr);
  Draw(nullptr);
}

void COSBView::OnDraw(CDC*) { Draw(nullptr); }

LRESULT COSBView::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

LRESULT COSBView::OnQueryNewPalette(WPARAM, LPARAM) {
  UINT changed = 0;
  {
    std::lock_guard<std::mutex> lock(bufferLock);
    if (!palette) return 0;
    CClientDC dc(this);
    HPALETTE previous = dc.SelectPalette(*palette, FALSE);
    changed = dc.RealizePalette();
    if (previous) dc.SelectPalette(previous, FALSE);
  }
  if (changed == 0) return 0;
  Invalidate(TRUE);
  return 1;
}

LRESULT COSBView::OnPaletteChanged(WPARAM wParam, LPARAM) {
  CTempWnd temp;
  if (FromHandle(reinterpret_cast<HWND>(wParam), temp) == this) return 0;
  return OnQueryNewPalette(0, 0);
}
