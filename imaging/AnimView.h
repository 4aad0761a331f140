// CAnimView: the screen view, the COSBView of the screen document.
//
// Its composition copies the document's background into the off-screen surface and draws the
// document's sprites over it. The saver window's view is a CAnimView; transitions and display
// routines draw into its surface and call its render, draw and flush operations (through the
// screen host, ScreenHost.h).
#pragma once

#include "framework/Geometry.h"
#include "imaging/OSBView.h"

class CAnimDoc;
class CDIB;
class CSprite;

class CAnimView : public COSBView {
  DECLARE_DYNCREATE(CAnimView)
 public:
  CAnimView();
  ~CAnimView() override;

  // The document, when it is a screen document; null otherwise.
  CAnimDoc* GetAnimDoc() const;

  // Builds palette and surface for the bitmap, maps the bitmap's own pixels onto that palette
  // (the document's background is rewritten in place), composes everything and draws it.
  // 0, and nothing else done, when the buffer cannot be built.
  BOOL SetBackground(CDIB* dib);
  // The same without drawing: the surface holds the new picture, the window is not touched.
  BOOL SetBackgroundNoDraw(CDIB* dib);

  // Copies the document's background into the surface within the rectangle (all when null).
  void RenderBackground(const CRect* rect);
  // Draws the document's sprites into the surface within the rectangle, the nearest last.
  void RenderSprites(const CRect* rect);
  // RenderBackground, then RenderSprites.
  void Render(const CRect* rect) override;
  // Maps a newly added sprite onto the view's palette (which re-takes its transparent index),
  // then composes and draws its rectangle.
  void DrawNewSprite(CSprite* sprite);
};
