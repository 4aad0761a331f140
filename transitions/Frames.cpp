#include "transitions/Frames.h"

#include <algorithm>
#include <cstdint>

#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "seams/Random.h"
#include "transitions/FrameCanvas.h"

namespace {

// The colours a frame is drawn in, as the target's colour table renders them.
struct FramePens {
  int key, white, grey, black, band;

  FramePens(const FrameCanvas& canvas, int borderStyle)
      : key(canvas.Colour(0, 128, 128)),
        white(canvas.Colour(255, 255, 255)),
        grey(canvas.Colour(128, 128, 128)),
        black(canvas.Colour(0, 0, 0)),
        band(BandColour(canvas, borderStyle)) {}

  static int BandColour(const FrameCanvas& canvas, int borderStyle) {
    if (borderStyle == kBorderBlack) return canvas.Colour(0, 0, 0);
    if (borderStyle == kBorderRaised || borderStyle == kBorderRaisedSunk) {
      return canvas.Colour(192, 192, 192);
    }
    return canvas.Colour(255, 255, 255);
  }
};

// A frame's work bitmap: fw x fh, the picture inside at (t, t).
struct FrameBox {
  int fw, fh, t;
};

void Polyline(FrameCanvas& c, const POINT* points, int count, int index) {
  c.MoveTo(points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) c.LineTo(points[i].x, points[i].y, index);
}

void Outline(FrameCanvas& c, const FrameBox& b, int index) {
  const POINT path[] = {{0, 0}, {b.fw - 1, 0}, {b.fw - 1, b.fh - 1}, {0, b.fh - 1}, {0, 0}};
  Polyline(c, path, 5, index);
}

// The four bands, each `inset` pixels in from the outer edge.
void Bands(FrameCanvas& c, const FrameBox& b, int inset, int index) {
  const int m = inset;
  c.Fill(m, m, b.fw - m, b.t, index);
  c.Fill(b.fw - b.t, m, b.fw - m, b.fh - m, index);
  c.Fill(m, b.fh - b.t, b.fw - m, b.fh - m, index);
  c.Fill(m, m, b.t, b.fh - m, index);
}

// A bevel ring i pixels in: the shaded pen along the right and bottom, the lit pen along the left
// and top. `shadeFromY` is where the right-hand line starts.
void BevelRing(FrameCanvas& c, int left, int top, int right, int bottom, int shadeFromY, int shade,
               int light) {
  const POINT shaded[] = {{right, shadeFromY}, {right, bottom}, {left, bottom}};
  const POINT lit[] = {{left, bottom}, {left, top}, {right, top}};
  Polyline(c, shaded, 3, shade);
  Polyline(c, lit, 3, light);
}

void RaisedBevel(FrameCanvas& c, const FrameBox& b, const FramePens& p) {
  const int lines = b.t >= 10 ? 6 : 4;
  for (int i = 0; i < lines; ++i) {
    BevelRing(c, i, i, b.fw - i - 1, b.fh - i - 1, i, p.grey, p.white);
  }
}

void RaisedSunkBevel(FrameCanvas& c, const FrameBox& b, const FramePens& p) {
  const int outer = b.t >= 10 ? 5 : 3;
  for (int i = 0; i < outer; ++i) {
    BevelRing(c, i, i, b.fw - i - 1, b.fh - i - 1, i + 1, p.grey, p.white);
  }
  const int inner = b.t >= 10 ? 5 : 2;
  for (int j = 0; j < inner; ++j) {
    // Lit along the right and bottom, shaded along the left and top: the band sinks inwards.
    const int right = b.fw - b.t + j + 1;
    const int bottom = b.fh - b.t + j + 1;
    const int edge = b.t - j;
    const POINT lit[] = {{right, b.t - j - 1}, {right, bottom}, {edge, bottom}};
    const POINT shaded[] = {{edge, bottom}, {edge, edge}, {right, edge}};
    Polyline(c, lit, 3, p.white);
    Polyline(c, shaded, 3, p.grey);
  }
}

// One step of the torn edge's random walk: -1, 0 or +1, kept within lo..hi.
int Walk(int v, int lo, int hi) {
  const int r = seams::Rand() % 3;
  v += r == 0 ? -1 : (r == 2 ? 1 : 0);
  return v < lo ? lo : (v > hi ? hi : v);
}

// White bands m pixels in, then a random walk round the outside that tears their outer edge:
// white lines out from the band to the walk, a shadow-coloured pixel at each walk point.
void TornEdge(FrameCanvas& c, const FrameBox& b, const FramePens& p, int shadowIndex) {
  const int m = b.t - (2 * b.t) / 3;
  const int fw = b.fw;
  const int fh = b.fh;
  Bands(c, b, m, p.white);
  int x = m;
  int y = m;
  auto tear = [&](int fromX, int fromY) {
    c.MoveTo(fromX, fromY);
    c.LineTo(x, y, p.white);
    c.SetPixel(x, y, shadowIndex);
  };
  while (x < fw - m + 2) {
    y = Walk(y, 0, m);
    ++x;
    tear(x, m);
  }
  while (y < fh - m + 2) {
    x = Walk(x, fw - m, fw - 1);
    ++y;
    tear(fw - m, y);
  }
  while (x > m - 2) {
    y = Walk(y, fh - m, fh - 1);
    --x;
    tear(x, fh - m);
  }
  while (y > m - 2) {
    x = Walk(x, 0, m);
    --y;
    tear(m, y);
  }
  c.MoveTo(x, y);
  c.LineTo(m, m, p.black);
}

// A white band whose outer edge is bitten by a row of key-coloured, black-rimmed ellipses.
void ScallopedEdge(FrameCanvas& c, const FrameBox& b, const FramePens& p) {
  const int fw = b.fw;
  const int fh = b.fh;
  c.FillAll(p.white);
  c.Fill(b.t, b.t, fw - b.t, fh - b.t, p.key);
  const POINT rim[] = {{1, 1}, {fw - 2, 1}, {fw - 2, fh - 2}, {1, fh - 2}, {1, 1}};
  Polyline(c, rim, 5, p.black);
  const int a = b.t - (2 * b.t) / 3;
  const int s = 3 * a;
  const int step = s + s / 4;
  const int start = -(s / 2);
  if (step <= 0) return;
  for (int x = start; x < fw; x += step) {
    c.Ellipse(x, a - s, x + s, a, p.key, p.black);
    c.Ellipse(x, fh - a, x + s, fh - a + s, p.key, p.black);
  }
  for (int y = start; y < fh; y += step) {
    c.Ellipse(fw - a, y, fw - a + s, y + s, p.key, p.black);
    c.Ellipse(a - s, y, a, y + s, p.key, p.black);
  }
  Outline(c, b, p.key);  // the outermost ring shows what lies behind
}

void DrawBand(FrameCanvas& c, const FrameBox& b, int style, const FramePens& p, int shadowIndex) {
  switch (style) {
    case kBorderBlack:
    case kBorderWhite:
      Bands(c, b, 0, p.band);
      Outline(c, b, p.black);
      break;
    case kBorderRaised:
      Bands(c, b, 0, p.band);
      RaisedBevel(c, b, p);
      Outline(c, b, p.black);
      break;
    case kBorderRaisedSunk:
      Bands(c, b, 0, p.band);
      RaisedSunkBevel(c, b, p);
      Outline(c, b, p.black);
      break;
    case kBorderTorn: TornEdge(c, b, p, shadowIndex); break;
    case kBorderScalloped: ScallopedEdge(c, b, p); break;
    default: break;  // no band
  }
}

// Offsets o in 0..length - 1 for which both from + o and to + o lie within their bitmaps.
struct OffsetRange {
  int64_t first, end;
};

OffsetRange Overlap(int length, int from, int fromSize, int to, int toSize) {
  const int64_t first = std::max<int64_t>({0, -int64_t{from}, -int64_t{to}});
  const int64_t end = std::min<int64_t>({length, int64_t{fromSize} - from, int64_t{toSize} - to});
  return {first, end};
}

}  // namespace

BOOL DrawPictureFrame(CDIB* target, const RECT* rect, int borderStyle, int width, int wholeShadow,
                      int shadow, BYTE shadowIndex) {
  if (borderStyle == kBorderNone && !wholeShadow && !shadow) return 1;
  const int64_t fw64 = int64_t{rect->right} - rect->left + 2 * int64_t{width};
  const int64_t fh64 = int64_t{rect->bottom} - rect->top + 2 * int64_t{width};
  if (width < 0 || fw64 <= 0 || fh64 <= 0) return 1;
  if (fw64 > CDIB::kMaxSide || fh64 > CDIB::kMaxSide) return 0;
  const FrameBox box = {static_cast<int>(fw64), static_cast<int>(fh64), width};
  const int originX = rect->left - width;
  const int originY = rect->top - width;

  CColorPalette palette;
  CDIB work;
  if (!palette.CreateFromDIB(target) || !work.Create(box.fw, box.fh, &palette)) return 0;
  FrameCanvas canvas(&work);
  const FramePens pens(canvas, borderStyle);
  canvas.FillAll(pens.key);
  DrawBand(canvas, box, borderStyle, pens, shadowIndex);

  if (wholeShadow) canvas.Fill(box.t, box.t, box.fw - box.t, box.fh - box.t, pens.band);
  if (wholeShadow || shadow) {
    StippleDIBShape(&work, target, originX + kShadowOffset, originY + kShadowOffset, box.fw, box.fh,
                    0, 0, static_cast<BYTE>(pens.key), shadowIndex);
  }
  if (wholeShadow) canvas.Fill(box.t, box.t, box.fw - box.t, box.fh - box.t, pens.key);
  work.CopyBits(target, originX, originY, box.fw, box.fh, 0, 0, pens.key);
  return 1;
}

BOOL StippleDIBShape(CDIB* source, CDIB* destination, int dx, int dy, int w, int h, int sx, int sy,
                     BYTE key, BYTE colour) {
  if (!source || !destination || w == 0 || h == 0) return 0;
  // Only the offsets at which both pixels exist: a huge rectangle costs no more than the bitmaps.
  const OffsetRange rows = Overlap(h, sy, source->GetHeight(), dy, destination->GetHeight());
  const OffsetRange cols = Overlap(w, sx, source->GetWidth(), dx, destination->GetWidth());
  for (int64_t r = rows.first; r < rows.end; ++r) {
    for (int64_t c = cols.first; c < cols.end; ++c) {
      if ((r + c) % 2 == 0) continue;
      const BYTE* from =
          source->GetPixelAddress(static_cast<int>(sx + c), static_cast<int>(sy + r));
      if (!from || *from == key) continue;
      BYTE* to = destination->GetPixelAddress(static_cast<int>(dx + c), static_cast<int>(dy + r));
      if (to) *to = colour;
    }
  }
  return 1;
}
