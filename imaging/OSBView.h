// COSBView: a view that paints from an off-screen buffer.
//
// Everything is composed in a CDIBSurface built on an identity palette and then blitted to the
// window, whole or by rectangles. Sprite changes queue dirty rectangles here, so that a frame
// repaints only what changed. Derived views compose their picture in Render.
//
// The view is used by the saver's drawing thread for rendering and drawing, and by the window's
// thread for its palette and paint messages; there is no lock. Draw takes and releases its own
// device context each time.
#pragma once

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
  // and a surface of the bitmap's size on it. 0 when either cannot be made: the view then has
  // neither, and Draw does nothing.
  BOOL CreateBuffer(CDIB* dib);

  // Composes the rectangle (all of the surface when null) into the surface; COSBView has nothing
  // to compose.
  virtual void Render(const CRect* rect);
  // Blits the rectangle of the surface (the client area when null) to the same place in the
  // window, within the window's clip box and the surface; the scroll position is not applied.
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

  CDIBSurface* surface = nullptr;   // owned; null until a buffer is built
  CColorPalette* palette = nullptr;  // owned; null until a buffer is built
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
  void DeleteBuffer();
};
