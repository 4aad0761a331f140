#include "imaging/ScreenCompose.h"

#include "imaging/DIB.h"
#include "imaging/SpriteList.h"

namespace {

CRect RectOf(const CDIB* dib) {
  CRect rect;
  dib->GetRect(&rect);
  return rect;
}

}  // namespace

CRect CompositionClip(const CDIB* background, const CDIB* target, const CRect* rect) {
  CRect clip = RectOf(target);
  if (background) clip &= RectOf(background);
  if (rect) clip &= *rect;
  return clip;
}

void RenderBackgroundRect(CDIB* background, CDIB* target, const CRect* rect) {
  if (!background || !target) return;
  const CRect clip = CompositionClip(background, target, rect);
  if (clip.IsRectEmpty()) return;
  background->CopyBits(target, clip.left, clip.top, clip.Width(), clip.Height(), clip.left, clip.top,
                       -1);
}

void RenderSpritesRect(const CDIB* background, const CSpriteList& sprites, CDIB* target,
                       const CRect* rect) {
  if (!target) return;
  const CRect clip = CompositionClip(background, target, rect);
  if (!clip.IsRectEmpty()) sprites.Render(target, &clip);
}
