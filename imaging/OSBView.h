// COSBView: a view that paints from an off-screen buffer.
//
// Everything is composed in a CDIBSurface built on an identity palette and then blitted to the
// window, whole or by rectangles. Sprite changes queue dirty rectangles here, so that a frame
// repaints only what changed. Derived views compose their picture in Render.
//
// The view is used by the saver's drawing thread for rendering and drawing, and by the window's
// thread for its palette and paint messages. Only the drawing thread replaces the surface and
// the palette (CreateBuffer); it swaps them under the buffer lock, and every use of them that can
// run on the window's thread (Draw, the palette messages) holds that lock, so no paint reads a
// surface or palette that is being deleted. Draw takes and releases its own device context each
// time.
#pragma once

#include <mutex>

#include "framework/Geometry.h"
#include "framework/View.h"
#include "imaging/DirtyRectList.h"

class CColorPalette;
class CDIB;
class CDIBSurface;

class COSBView : public CScrollView, public CDirtyRectSink {
  DECLARE_DYNCREATE(COSBView)
  DECLARE_MESSAGE_MAP()
 public:
  COSBView();
  // Deletes the surface, the palette and the queued rectangles.
  ~COSBView() override;

  // Builds the palette from the bitmap's colour table (made an identity palette for the screen)
  // and a surface of the bitmap's size on it, then swaps both in under the buffer lock. 0 when
  // either cannot be made: the view then has neither, and Draw does nothing. Drawing thread only.
  BOOL CreateBuffer(CDIB* dib);

  // Composes the rectangle (all of the surface when null) into the surface; COSBView has nothing
  // to compose.
  virtual void Render(const CRect* rect);
  // Blits the rectangle of the surface (the client area when null) to the same place in the
  // window, within the window's clip box and the surface; the scroll position is not applied.
  // Holds the buffer lock. Any thread; what another thread than the window's draws reaches the
  // display before this returns.
  void Draw(const CRect* rect);

  // Merges with the newest queued rectangle when they intersect, else queues a copy.
  void AddDirtyRect(const CRect* rect) override;
  // Renders every queued rectangle, then draws each and empties the list.
  void FlushDirtyList();
  // Drops every queued rectangle without drawing.
  void EmptyDirtyList() { dirtyList.Empty(); }

  // Sets the scroll sizes to the surface's size, or to the screen's before there is a surface.
  void OnInitialUpdate() override;
  // Render(null), then Draw(null).
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  // Draw(null); the context passed in is not used.
  void OnDraw(CDC* pDC) override;

  CDIBSurface* GetSurface() const { return surface; }
  CColorPalette* GetPalette() const { return palette; }

  // Owned; null until a buffer is built. Written by CreateBuffer under bufferLock; the drawing
  // thread reads them freely, other threads only under bufferLock.
  CDIBSurface* surface = nullptr;
  CColorPalette* palette = nullptr;
  CDirtyRectList dirtyList;

 protected:
  // WM_ERASEBKGND: nothing is erased, the buffer covers everything.
  LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  // WM_QUERYNEWPALETTE: realises the palette in the foreground; 1 (and a repaint) when entries
  // changed.
  LRESULT OnQueryNewPalette(WPARAM wParam, LPARAM lParam);
  // WM_PALETTECHANGED: realises the palette again unless this view changed it.
  LRESULT OnPaletteChanged(WPARAM wParam, LPARAM lParam);

 private:
  // Puts the new surface and palette in place under the lock and deletes the old ones.
  void SwapBuffer(CDIBSurface* newSurface, CColorPalette* newPalette);
  void DrawLocked(const CRect* rect);
  // Has what a thread other than the window's drew reach the display at once.
  void ShowDrawnPixels() const;

  std::mutex bufferLock;
};
