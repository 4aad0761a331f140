#include "imaging/ClockOverlay.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/HostServices.h"
#include "imaging/Raster8.h"
#include "imaging/ScreenHost.h"
#include "imaging/Sprite.h"
#include "imaging/SpriteList.h"

namespace {

// The dial's marks and the hands are placed with pi to seven places. The clock's pixel tests hold
// positions computed with the same value, so a change of precision shows there as a moved pixel.
constexpr double kPi = 3.1415926;
constexpr double kHalfPi = 1.5707963;
constexpr int kFine = 1;  // antialiased drawing with all 32 grey levels

struct Point {
  int x;
  int y;
};

// The point at distance r from the centre in direction angle (0 = 3 o'clock, y downwards),
// rounded half up and truncated as the dial's layout was measured.
Point OnRadius(int cx, int cy, double r, double angle) {
  return {static_cast<int>(cx + r * std::cos(angle) + 0.5),
          static_cast<int>(cy + r * std::sin(angle) + 0.5)};
}

void FillSprite(CSprite* sprite, int index) {
  for (int row = 0; row < sprite->GetHeight(); ++row) {
    if (BYTE* p = sprite->GetPixelAddress(0, row)) std::memset(p, index, sprite->GetWidth());
  }
}

// A numeral's strokes within its h x h box: pairs of points on a 0..9 grid (scaled for another
// numeral size), the last stroke followed by a terminator.
struct Stroke {
  int8_t x0, y0, x1, y1;
};
constexpr Stroke kEnd = {-1, -1, -1, -1};
constexpr Stroke kThree[] = {{2, 0, 7, 0}, {7, 0, 7, 9}, {3, 4, 7, 4}, {2, 9, 7, 9}, kEnd};
constexpr Stroke kSix[] = {{7, 0, 2, 0}, {2, 0, 2, 9}, {2, 9, 7, 9},
                           {7, 9, 7, 4}, {7, 4, 2, 4}, kEnd};
constexpr Stroke kNine[] = {{7, 4, 2, 4}, {2, 4, 2, 0}, {2, 0, 7, 0},
                            {7, 0, 7, 9}, {7, 9, 2, 9}, kEnd};
constexpr Stroke kTwelve[] = {{0, 1, 2, 0}, {2, 0, 2, 9},                              // "1"
                              {5, 0, 9, 0}, {9, 0, 9, 4}, {9, 4, 5, 4}, {5, 4, 5, 9},  // "2"
                              {5, 9, 9, 9}, kEnd};

void DrawNumeral(CDIB* dib, const Stroke* strokes, Point centre, int size) {
  const int left = centre.x - size / 2;
  const int top = centre.y - size / 2;
  auto scale = [size](int v) { return v * (size - 1) / 9; };
  for (const Stroke* s = strokes; s->x0 >= 0; ++s) {
    DrawWuLine8(dib, left + scale(s->x0), top + scale(s->y0), left + scale(s->x1),
                top + scale(s->y1), kFine);
  }
}

// One of the two broad hands: two antialiased lines one pixel either side of a solid centre
// line. The sides lie above and below for a hand nearer the horizontal, else left and right.
void DrawBroadHand(CDIB* dib, Point c, double angle, int length, int solidIndex) {
  const Point end = OnRadius(c.x, c.y, length, angle);
  const bool nearHorizontal =
      (angle > -kPi / 4 && angle <= kPi / 4) || (angle > 3 * kPi / 4 && angle <= 5 * kPi / 4);
  const int dx = nearHorizontal ? 0 : 1;
  const int dy = nearHorizontal ? 1 : 0;
  DrawWuLine8(dib, c.x - dx, c.y - dy, end.x - dx, end.y - dy, kFine);
  DrawWuLine8(dib, c.x + dx, c.y + dy, end.x + dx, end.y + dy, kFine);
  DrawLine8(dib, c.x, c.y, end.x, end.y, solidIndex);
}

}  // namespace

CClockOverlay::~CClockOverlay() {
  for (CSprite* sprite : {face, hands}) {
    if (sprite) host->GetSprites()->Remove(sprite);
    delete sprite;
  }
}

CRect CClockOverlay::GetRect() const { return CRect(x, y, x + kSize, y + kSize); }

int CClockOverlay::TransparentIndexFor(int rampBase) {
  const int base = rampBase & 0xFF;
  const bool inRamp = kTransparentIndex >= base && kTransparentIndex <= base + 31;
  if (!inRamp) return kTransparentIndex;
  return base + 32 <= 255 ? base + 32 : base - 1;
}

BOOL CClockOverlay::CreateSprites() {
  CDIB* background = host->GetBackground();
  CColorPalette palette;
  const bool havePalette = background && palette.CreateFromDIB(background);
  x = (background ? background->GetWidth() : 0) - kSize;
  y = 0;
  face = new (std::nothrow) CSprite;
  hands = new (std::nothrow) CSprite;
  if (!face || !hands) return 0;
  transparentIndex = TransparentIndexFor(host->GetReservedEntries());
  const int depths[2] = {kFaceZ, kHandsZ};
  CSprite* sprites[2] = {face, hands};
  for (int i = 0; i < 2; ++i) {
    CSprite* sprite = sprites[i];
    if (!sprite->Create(kSize, kSize, nullptr)) return 0;
    if (havePalette) sprite->MapColorsToPalette(&palette);
    FillSprite(sprite, transparentIndex);
    sprite->SetTransparent(1);  // takes the clear index from the top-left pixel
    sprite->SetZ(depths[i]);
    sprite->SetPosition(x, y);
  }
  centreX = 50;
  centreY = 50;
  radius = 45;
  tickLength = 5;
  numeralSize = 10;
  DrawFace();
  try {
    host->GetSprites()->Insert(face);
    host->GetSprites()->Insert(hands);
  } catch (const std::bad_alloc&) {
    return 0;  // the destructor takes out the one that went in
  }
  return 1;
}

void CClockOverlay::DrawFace() {
  const int g = host->GetReservedEntries();
  const int R = radius;
  const int t = tickLength;
  const int h = numeralSize;
  const int inner = R - 2 * t - 4 - h;
  const int outer = R + 1;
  // The dark ring that carries the marks.
  for (int row = 0; row < face->GetHeight(); ++row) {
    BYTE* line = face->GetPixelAddress(0, row);
    for (int col = 0; col < face->GetWidth(); ++col) {
      const int d2 = (col - centreX) * (col - centreX) + (row - centreY) * (row - centreY);
      if (d2 >= inner * inner && d2 <= outer * outer) line[col] = static_cast<BYTE>(g + 1);
    }
  }
  // Minute marks: a long line from the centre, cut to the box between two radii.
  for (int i = 0; i < 60; ++i) {
    const double angle = i * kPi / 30;
    const Point reach = OnRadius(centreX, centreY, 2 * R, angle);
    const Point a = OnRadius(centreX, centreY, R - t + 1, angle);
    const Point b = OnRadius(centreX, centreY, R - 1, angle);
    DrawWuLineClipped8(face, centreX, centreY, reach.x, reach.y, a.x, a.y, b.x, b.y, kFine);
  }
  DrawWuEllipse8(face, centreX, centreY, R, R, kFine);
  DrawWuEllipse8(face, centreX, centreY, R - t, R - t, kFine);
  // Hour marks where there is no numeral.
  for (int i = 0; i < 12; ++i) {
    if (i % 3 == 0) continue;
    const double angle = i * kPi / 6;
    const Point a = OnRadius(centreX, centreY, R - 2 * t - h, angle);
    const Point b = OnRadius(centreX, centreY, R - 2 * t, angle);
    DrawWuLine8(face, a.x, a.y, b.x, b.y, kFine);
  }
  const double numeralRadius = R - 2 * t - h / 2;
  const Stroke* numerals[4] = {kThree, kSix, kNine, kTwelve};
  for (int i = 0; i < 4; ++i) {
    DrawNumeral(face, numerals[i], OnRadius(centreX, centreY, numeralRadius, i * kHalfPi), h);
  }
}

void CClockOverlay::DrawTime() {
  const CTime now = CTime::GetCurrentTime();
  if (now == lastTime) return;
  lastTime = now;
  FillSprite(hands, transparentIndex);

  int hour = now.GetHour();
  if (hour > 12) hour -= 12;
  const int minute = now.GetMinute();
  const int second = now.GetSecond();
  const int solid = host->GetReservedEntries() + 31;
  const Point c = {centreX, centreY};

  const double hourAngle = hour * kPi / 6 + minute * kPi / 360 - kHalfPi;
  DrawBroadHand(hands, c, hourAngle, radius - (5 * tickLength) / 2 - numeralSize, solid);
  const double minuteAngle = minute * kPi / 30 + second * kPi / 1800 - kHalfPi;
  DrawBroadHand(hands, c, minuteAngle, radius, solid);
  const Point tip = OnRadius(c.x, c.y, radius, second * kPi / 30 - kHalfPi);
  DrawWuLine8(hands, c.x, c.y, tip.x, tip.y, kFine);

  CRect rect;
  hands->GetRect(&rect);
  host->RenderRect(&rect);
  shown = 0;
}

CClockOverlay* CreateClockOverlay(ScreenHost* host) {
  HostServices* services = ServicesOf(host);
  if (!services) return nullptr;
  services->DeleteClock();  // one clock at a time
  std::unique_ptr<CClockOverlay> clock(new (std::nothrow) CClockOverlay(host));
  if (!clock || !clock->CreateSprites()) return nullptr;
  clock->DrawTime();
  services->SetClock(clock.get());
  return clock.release();
}

CClockOverlay* GetClockOverlay(ScreenHost* host) {
  HostServices* services = ServicesOf(host);
  if (!services || !services->IsClockOn()) return nullptr;
  return static_cast<CClockOverlay*>(services->GetClock());
}

void UpdateClockOverlay(ScreenHost* host) {
  CClockOverlay* clock = GetClockOverlay(host);
  if (!clock) return;
  clock->DrawTime();
  if (clock->shown) return;
  const CRect rect = clock->GetRect();
  host->ShowRect(&rect);
  clock->shown = 1;
}

void RemoveClockOverlay(ScreenHost* host) {
  HostServices* services = ServicesOf(host);
  if (!services || !services->IsClockOn()) return;
  auto* clock = static_cast<CClockOverlay*>(services->GetClock());
  if (!clock) {
    services->DeleteClock();  // a flag without a clock: cleared
    return;
  }
  const CRect rect = clock->GetRect();
  services->DeleteClock();
  host->RenderRect(&rect);
  host->ShowRect(&rect);
}
