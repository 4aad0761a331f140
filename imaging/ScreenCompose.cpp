#include "imaging/ScreenCompose.h"

#include <algorithm>

#include "imaging/DIB.h"
#include "imaging/NearestColor.h"
#include "imaging/SpriteList.h"

namespace {

CRect RectOf(const CDIB* dib) {
  CRect rect;
  dib->GetRect(&rect);
  return rect;
}

// For every index of `from`, the index of `to`'s colour nearest to from's colour for it.
void BuildColourMap(const CDIB& from, const CDIB& to, BYTE map[256]) {
  const ColorMatcher matcher(TableEntries(to, to.GetNumColors()));
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD& c = from.header->bmiColors[i];
    map[i] = static_cast<BYTE>(matcher.Nearest(c.rgbRed, c.rgbGreen, c.rgbBlue));
  }
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
  background->CopyBits(target, clip.left, clip.top, clip.Width(), clip.Height(), clip.left,
                       clip.top, -1);
}

void RenderSpritesRect(const CDIB* background, const CSpriteList& sprites, CDIB* target,
                       const CRect* rect) {
  if (!target) return;
  const CRect clip = CompositionClip(background, target, rect);
  if (!clip.IsRectEmpty()) sprites.Render(target, &clip);
}

void CopyByColour(const CDIB& from, CDIB* to, int dx, int dy, int w, int h, int sx, int sy) {
  if (!to || !from.header || !to->header) return;
  // Offsets into the w x h block that lie inside both pictures.
  const int left = std::max({0, -dx, -sx});
  const int top = std::max({0, -dy, -sy});
  const int right = std::min({w, to->GetWidth() - dx, from.GetWidth() - sx});
  const int bottom = std::min({h, to->GetHeight() - dy, from.GetHeight() - sy});
  if (left >= right || top >= bottom) return;
  BYTE map[256];
  BuildColourMap(from, *to, map);
  for (int y = top; y < bottom; ++y) {
    const BYTE* in = from.GetPixelAddress(sx + left, sy + y);
    BYTE* out = to->GetPixelAddress(dx + left, dy + y);
    if (!in || !out) return;  // not 8 bits
    for (int x = 0; x < right - left; ++x) out[x] = map[in[x]];
  }
}
