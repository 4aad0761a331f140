#include "transitions/CaptionRunner.h"

#include <algorithm>
#include <memory>
#include <new>

#include "engine3d/PoseMath.h"
#include "imaging/AnimDoc.h"
#include "imaging/ClockOverlay.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/Raster8.h"
#include "imaging/ScreenCompose.h"
#include "imaging/ScreenHost.h"
#include "imaging/Sprite.h"
#include "imaging/SpriteList.h"
#include "imaging/SpriteMoves.h"
#include "seams/Clock.h"
#include "seams/Random.h"
#include "seams/Trace.h"
#include "transitions/FrontEnds.h"
#include "transitions/TextBox3D.h"

namespace {

constexpr int kCaptionZ = 50;
constexpr int kShadowBand = 6;
constexpr int kLeftWall = 3;
constexpr int kRightWall = 1;

// Whole seconds since `start` on the tick counter, as a signed difference: a wall clock set back
// cannot hold a caption for hours.
int ElapsedSeconds(uint32_t start) {
  return static_cast<int32_t>(seams::TickCount() - start) / 1000;
}

CSize ScreenSize(ScreenHost* host) {
  CDIB* background = host->GetBackground();
  return background ? CSize(background->GetWidth(), background->GetHeight()) : CSize(0, 0);
}

// The block without its shadow bands.
CRect InnerRect(const CDIB& block, BOOL shadow) {
  const int trim = shadow ? kShadowBand : 0;
  return CRect(0, 0, block.GetWidth() - trim, block.GetHeight() - trim);
}

// The first bounce target: on the right wall at a random height (0 when the block is as tall as
// the screen).
CPoint FirstBounceTarget(CSize screen, const CDIB& block, BOOL shadow) {
  const int room = std::max(1, static_cast<int>(screen.cy) - block.GetHeight());
  return CPoint(screen.cx - block.GetWidth() + (shadow ? kShadowBand : 0), seams::Rand() % room);
}

// Keeps the clock ticking until `seconds` have passed (at least one turn) or a stop is requested.
void HoldCaption(ScreenHost* host, int seconds) {
  const uint32_t start = seams::TickCount();
  do {
    UpdateClockOverlay(host);
    seams::Idle();
  } while (ElapsedSeconds(start) < seconds && !seams::StopRequested());
}

// Makes the clock overlay when the order asks for one and none is up; false when it cannot be
// made (the screen has no services, or memory ran out).
bool StartClock(ScreenHost* host, const ImageTextFXRequest& request) {
  if (!request.clockOn || GetClockOverlay(host)) return true;
  return CreateClockOverlay(host) != nullptr;
}

// Every caption sprite goes when a mode ends, however it ends.
class SpriteCleanup {
 public:
  explicit SpriteCleanup(ScreenHost* host) : host_(host) {}
  ~SpriteCleanup() { host_->GetSprites()->DeleteAll(); }
  SpriteCleanup(const SpriteCleanup&) = delete;
  SpriteCleanup& operator=(const SpriteCleanup&) = delete;

 private:
  ScreenHost* host_;
};

void RemoveAndDelete(ScreenHost* host, CSprite*& sprite) {
  if (sprite && host->GetSprites()->Remove(sprite)) delete sprite;
  sprite = nullptr;
}

// The corners of a wall, in the order the mirror walks them.
void WallCorners(int wall, const CRect& b, CPoint* from, CPoint* to) {
  const CPoint corners[4] = {
      {b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}};
  *from = corners[wall];
  *to = corners[(wall + 1) % 4];
}

bool OnWallSpan(int wall, const CRect& b, CPoint p) {
  return wall % 2 == 0 ? b.left <= p.x && p.x <= b.right : b.top <= p.y && p.y <= b.bottom;
}

BOOL RunMode(TransitionScreen& screen, const ImageTextFXRequest& request, CDIBSurface* block,
             CColorPalette* palette) {
  switch (request.mode) {
    case 0: return ImageText2DSpriteSlideFX(screen.Host(), request, block, palette);
    case 1: return ImageText2DTransitionFX(screen, request, block, palette);
    default: return FALSE;
  }
}

}  // namespace

int TextFXSpeedToRate(int speed) {
  if (speed < 1 || speed > 100) return -1;
  return 600 - 580 * speed / 99;
}

CSprite* CreateBoxSprite(ScreenHost* host, CDIB* block, const CRect& source, CColorPalette* palette,
                         int z, BOOL transparent, CPoint position, BOOL redraw) {
  std::unique_ptr<CSprite> sprite(new (std::nothrow) CSprite);
  if (!sprite || !sprite->Create(source.Width(), source.Height(), palette)) return nullptr;
  block->CopyBits(sprite.get(), 0, 0, source.Width(), source.Height(), source.left, source.top, -1);
  sprite->SetPosition(position.x, position.y);
  sprite->SetZ(z);
  if (transparent) *sprite->GetPixelAddress(0, 0) = kCaptionTransparentIndex;
  sprite->SetTransparent(transparent ? 1 : 0);
  // Listed before it is let go: a list that cannot grow must not leak the sprite.
  host->GetSprites()->Insert(sprite.get());
  CSprite* added = sprite.release();
  // As the view draws a new sprite: onto the screen's palette, then composed and shown.
  CDIBSurface* surface = host->GetSurface();
  if (surface && surface->GetPalette()) added->MapColorsToPalette(surface->GetPalette());
  CRect rect;
  added->GetRect(&rect);
  host->RenderRect(&rect);
  host->ShowRect(&rect);
  if (redraw) {
    host->RenderRect(&rect);
    host->ShowRect(&rect);
  }
  return added;
}

BOOL CreateQuarterSprites(ScreenHost* host, CDIB* block, const CRect& rect, CColorPalette* palette,
                          int z, BOOL transparent, CPoint position, BOOL redraw, CSprite* out[4]) {
  const int w = rect.Width(), h = rect.Height(), hw = w / 2, hh = h / 2;
  const CRect sources[4] = {
      {rect.left, rect.top, rect.left + hw, rect.top + hh},
      {rect.left + hw, rect.top, rect.left + w, rect.top + hh},
      {rect.left + hw, rect.top + hh, rect.left + w, rect.top + h},
      {rect.left, rect.top + hh, rect.left + hw, rect.top + h},
  };
  BOOL all = TRUE;
  for (int i = 0; i < 4; ++i) {
    const CPoint at(position.x - rect.left + sources[i].left,
                    position.y - rect.top + sources[i].top);
    out[i] = CreateBoxSprite(host, block, sources[i], palette, z, transparent, at, redraw);
    all = all && out[i];
  }
  return all;
}

void BounceSpriteFX(ScreenHost* host, CSprite* sprite, const CRect& inner, int rate, int seconds,
                    CPoint previous, int previousWall, CPoint target, int wall) {
  const CSize screen = ScreenSize(host);
  // The sprite's positions that keep its inner rectangle on the screen.
  const CRect bounds(-inner.left, -inner.top, screen.cx - inner.right, screen.cy - inner.bottom);
  CPoint p = previous, t = target;
  int c = wall, pw = previousWall;
  const uint32_t start = seams::TickCount();
  while (ElapsedSeconds(start) < seconds && !seams::StopRequested()) {
    SlideSpriteTimed(host, sprite, &t, rate);
    const CPoint e = t, a = p;
    p = e;
    const CPoint n = c % 2 == 0 ? CPoint(2 * e.x - a.x, a.y) : CPoint(a.x, 2 * e.y - a.y);
    bool found = false;
    for (int k = 0; k < 4 && !found; ++k) {
      if (k == c) continue;
      CPoint from, to;
      WallCorners(k, bounds, &from, &to);
      int32_t x = 0, y = 0;
      if (!IntersectSegments2D(e.x, e.y, from.x, from.y, n.x, n.y, to.x, to.y, x, y)) continue;
      const CPoint hit(x, y);
      if (!OnWallSpan(k, bounds, hit) || hit.x == e.x || hit.y == e.y) continue;
      t = hit;
      pw = c;
      c = k;
      found = true;
    }
    if (!found) {  // no wall ahead: back the way it came
      t = a;
      std::swap(c, pw);
    }
    seams::Idle();
  }
}

void FlyApartSpritesFX(ScreenHost* host, CSprite* quarters[4], int rate) {
  static const int kDirections[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  const CSize screen = ScreenSize(host);
  const int64_t half = std::max(screen.cx, screen.cy) / 2;
  CPoint start[4];
  for (int i = 0; i < 4; ++i) start[i] = CPoint(quarters[i]->GetX(), quarters[i]->GetY());
  const uint32_t t0 = seams::TickCount();
  int64_t d = 0;
  do {
    const int64_t elapsed = std::max<int32_t>(0, static_cast<int32_t>(seams::TickCount() - t0));
    d = elapsed * rate / 1000;
    UpdateClockOverlay(host);
    const int step = static_cast<int>(std::min(d, half + 1));
    for (int i = 0; i < 4; ++i) {
      quarters[i]->SetPosition(start[i].x + kDirections[i][0] * step,
                               start[i].y + kDirections[i][1] * step);
      host->FlushDirtyRects();
    }
    seams::Idle();
  } while (d < half && !seams::StopRequested());
}

CDIBSurface* CreateFakeTransDIBSurface(CColorPalette* palette, CDIB* block, CDIB* background, int x,
                                       int y) {
  std::unique_ptr<CDIBSurface> surface(new (std::nothrow) CDIBSurface);
  if (!surface || !surface->Create(block->GetWidth(), block->GetHeight(), palette)) {
    seams::Trace::Printf("\tUnable to create\n");
    return nullptr;
  }
  for (int j = 0; j < block->GetHeight(); ++j) {
    for (int i = 0; i < block->GetWidth(); ++i) {
      BYTE pixel = *block->GetPixelAddress(i, j);
      if (pixel == kCaptionTransparentIndex) {
        if (const BYTE* under = background->GetPixelAddress(x + i, y + j)) pixel = *under;
      }
      *surface->GetPixelAddress(i, j) = pixel;
    }
  }
  return surface.release();
}

BOOL ImageText2DSpriteSlideFX(ScreenHost* host, const ImageTextFXRequest& request,
                              CDIBSurface* block, CColorPalette* palette) {
  const bool bounce = request.bounceOn && request.bounceDuration > 0;
  const int rate = TextFXSpeedToRate(bounce ? request.bounceSpeed : request.transSpeed);
  if (rate < 0) return FALSE;
  SpriteCleanup cleanup(host);
  const int w = block->GetWidth(), h = block->GetHeight();
  const CPoint offLeft(-w, 0);
  CSprite* main =
      CreateBoxSprite(host, block, CRect(0, 0, w, h), palette, kCaptionZ, TRUE, offLeft, FALSE);
  const CRect inner = InnerRect(*block, request.shadow);
  CSprite* quarters[4] = {};
  if (!main ||
      !CreateQuarterSprites(host, block, inner, palette, kCaptionZ, TRUE, offLeft, FALSE,
                            quarters) ||
      !StartClock(host, request)) {
    return FALSE;
  }
  const CSize screen = ScreenSize(host);
  if (bounce) {
    BounceSpriteFX(host, main, inner, rate, request.bounceDuration, CPoint(0, 0), kLeftWall,
                   FirstBounceTarget(screen, *block, request.shadow), kRightWall);
  }
  const CPoint centre(screen.cx / 2 - w / 2, screen.cy / 2 - h / 2);
  SlideSpriteTimed(host, main, &centre, rate);
  HoldCaption(host, request.textDuration);

  // The quarters take the block's place (half the block's size apart, also when they were cut
  // from the smaller inner rectangle), then fly out.
  const CPoint offsets[4] = {{0, 0}, {w / 2, 0}, {w / 2, h / 2}, {0, h / 2}};
  for (int i = 0; i < 4; ++i)
    quarters[i]->SetPosition(centre.x + offsets[i].x, centre.y + offsets[i].y);
  RemoveAndDelete(host, main);
  const CRect placed(centre, CSize(w, h));
  host->RenderRect(&placed);
  host->ShowRect(&placed);
  FlyApartSpritesFX(host, quarters, 3 * rate);
  return TRUE;
}

namespace {

// Where mode 1 puts the block: centred, and on the screen as far as it fits.
CPoint CentredOnScreen(CSize screen, const CDIB& block) {
  const int x = std::clamp(static_cast<int>(screen.cx) / 2 - block.GetWidth() / 2, 0,
                           std::max(0, static_cast<int>(screen.cx) - block.GetWidth()));
  const int y = std::clamp(static_cast<int>(screen.cy) / 2 - block.GetHeight() / 2, 0,
                           std::max(0, static_cast<int>(screen.cy) - block.GetHeight()));
  return CPoint(x, y);
}

TransOrder EffectOrder(const ImageTextFXRequest& request) {
  TransOrder order;
  order.effect = request.effect;
  order.par0 = request.par0;
  order.par1 = request.par1;
  order.par2 = request.par2;
  return order;
}

// Lifts the drawn block off as a sprite, bounces it and brings it back to `at`. False when the
// sprite cannot be made.
bool BounceDrawnBlock(ScreenHost* host, const ImageTextFXRequest& request, CDIBSurface* block,
                      CColorPalette* palette, CPoint at, int rate) {
  const int w = block->GetWidth(), h = block->GetHeight();
  CSprite* sprite =
      CreateBoxSprite(host, block, CRect(0, 0, w, h), palette, kCaptionZ, TRUE, at, FALSE);
  if (!sprite) return false;
  BounceSpriteFX(host, sprite, InnerRect(*block, request.shadow), rate, request.bounceDuration, at,
                 kLeftWall, FirstBounceTarget(ScreenSize(host), *block, request.shadow),
                 kRightWall);
  SlideSpriteTimed(host, sprite, &at, rate);
  return true;
}

// Replaces the block on the screen by the background with the same effect.
BOOL RestoreUnderBlock(TransitionScreen& screen, const ImageTextFXRequest& request,
                       CColorPalette* palette, const CRect& r, const RECT& clip) {
  ScreenHost* host = screen.Host();
  std::unique_ptr<CDIBSurface> under(new (std::nothrow) CDIBSurface);
  if (!under || !under->Create(r.Width(), r.Height(), palette)) return FALSE;
  host->GetBackground()->CopyBits(under.get(), 0, 0, r.Width(), r.Height(), r.left, r.top, -1);
  const BOOL result =
      screen.RunEffectFrom(r.left, r.top, r.Width(), r.Height(), under.get(), 0, 0,
                           host->GetSurface(), r.left, r.top, EffectOrder(request), FALSE, clip);
  // Whatever the effect left, the window ends showing the background and any sprite over it.
  host->RenderRect(&r);
  host->ShowRect(&r);
  return result;
}

}  // namespace

BOOL ImageText2DTransitionFX(TransitionScreen& screen, const ImageTextFXRequest& request,
                             CDIBSurface* block, CColorPalette* palette) {
  ScreenHost* host = screen.Host();
  const int w = block->GetWidth(), h = block->GetHeight();
  const bool bounce = request.bounceOn && request.bounceDuration > 0;
  const int rate = TextFXSpeedToRate(request.bounceSpeed);
  if (w % 8 || h % 8 || TextFXSpeedToRate(request.transSpeed) < 0 || (bounce && rate < 0)) {
    return FALSE;
  }
  CDIB* background = host->GetBackground();
  CDIBSurface* buffer = host->GetSurface();
  const CSize size = ScreenSize(host);
  const CPoint at = CentredOnScreen(size, *block);
  const CRect r(at, CSize(w, h));
  RECT clip = r;
  clip.right = std::min<LONG>(clip.right, size.cx);
  clip.bottom = std::min<LONG>(clip.bottom, size.cy);

  std::unique_ptr<CDIBSurface> composed(
      CreateFakeTransDIBSurface(palette, block, background, at.x, at.y));
  if (!composed) return FALSE;
  screen.RunEffectFrom(at.x, at.y, w, h, composed.get(), 0, 0, buffer, at.x, at.y,
                       EffectOrder(request), FALSE, clip);
  CopyByColour(*composed, buffer, at.x, at.y, w, h, 0, 0);  // the buffer shows what the window does
  composed.reset();

  bool failed = false;
  {
    SpriteCleanup cleanup(host);
    failed = !StartClock(host, request) ||
             (bounce && !BounceDrawnBlock(host, request, block, palette, at, rate));
    if (!failed) HoldCaption(host, request.textDuration);
  }
  const BOOL restored = RestoreUnderBlock(screen, request, palette, r, clip);
  return failed ? FALSE : restored;
}

BOOL RunImageTextFXRoutine(TransitionScreen& screen, const ImageTextFXRequest& request) {
  seams::TraceScope trace("RunImageTextFXRoutine");
  ScreenHost* host = screen.Host();
  CDIB* background = host ? host->GetBackground() : nullptr;
  CColorPalette palette;
  if (!background || !host->GetSurface() || !palette.CreateFromDIB(background)) return FALSE;
  const int reserved = host->GetReservedEntries();
  GreyRampBaseIndex = reserved;  // the clock's antialiased lines
  std::unique_ptr<CDIBSurface> block(GetImageTextBox3D(
      &palette, request.header, request.headerStyle, request.title, request.titleStyle,
      request.body, request.bodyStyle, request.borderStyle, request.backgroundStyle, request.shadow,
      request.textColour, request.backgroundColour, reserved + 1, request.contentStyle,
      background->GetWidth(), background->GetHeight()));
  if (!block) return FALSE;
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  const BOOL result = RunMode(screen, request, block.get(), &palette);
  block.reset();
  RemoveClockOverlay(host);
  return result;
}
