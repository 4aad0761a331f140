#include "imaging/AnimView.h"

#include "imaging/AnimDoc.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/ScreenCompose.h"
#include "imaging/Sprite.h"

IMPLEMENT_DYNCREATE(CAnimView, COSBView)

CAnimView::CAnimView() = default;

CAnimView::~CAnimView() = default;

CAnimDoc* CAnimView::GetAnimDoc() const {
  CDocument* document = GetDocument();
  return document && document->IsKindOf(RUNTIME_CLASS(CAnimDoc)) ? static_cast<CAnimDoc*>(document)
                                                                 : nullptr;
}

BOOL CAnimView::SetBackgroundNoDraw(CDIB* dib) {
  // The mapping fails only when memory runs out: the picture would then keep colours the
  // screen does not show.
  if (!CreateBuffer(dib) || !dib->MapColorsToPalette(palette)) return 0;
  Render(nullptr);
  return 1;
}

BOOL CAnimView::SetBackground(CDIB* dib) {
  if (!SetBackgroundNoDraw(dib)) return 0;
  Draw(nullptr);
  return 1;
}

void CAnimView::RenderBackground(const CRect* rect) {
  CAnimDoc* document = GetAnimDoc();
  if (document) RenderBackgroundRect(document->background, surface, rect);
}

void CAnimView::RenderSprites(const CRect* rect) {
  CAnimDoc* document = GetAnimDoc();
  if (document) RenderSpritesRect(document->background, document->sprites, surface, rect);
}

void CAnimView::Render(const CRect* rect) {
  RenderBackground(rect);
  RenderSprites(rect);
}

void CAnimView::DrawNewSprite(CSprite* sprite) {
  if (!sprite) return;
  if (palette) sprite->MapColorsToPalette(palette);
  CRect rect;
  sprite->GetRect(&rect);
  Render(&rect);
  Draw(&rect);
}
