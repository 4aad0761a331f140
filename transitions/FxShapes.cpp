// Shaped reveals: the clock sweep and the geometrical shapes (triangle, octagons).
//
// These effects clip instead of copying pieces: every step copies the whole area through a polygon
// (alternate fill). A ring is one polygon tracing an outer outline and then an inner one, so that
// only the band between them is inside; consecutive rings share their outlines exactly and tile
// without gaps. A polygon whose region cannot be made is skipped and the effect goes on.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "transitions/FxPainter.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

struct Offset {
  int x, y;
};

// Copies the area through the polygon of `offsets` about (cx, cy), in source units.
void Shape(const FxPainter& paint, int cx, int cy, const Offset* offsets, int count) {
  POINT points[18];
  for (int i = 0; i < count; ++i) points[i] = paint.Scaled(cx + offsets[i].x, cy + offsets[i].y);
  paint.Through(points, count);
}

// The band between two triangles with 45-degree sides (in units u down, p across) and their apex
// up: the outer one of height extent `h` and width extent `w`, and inside it the outer triangle of
// the ring before (one unit u lower and p narrower at the base).
void TriangleRing(const FxPainter& paint, int cx, int cy, int w, int h, int p, int u) {
  const int a = h / 2, b = w / 2;
  const Offset ring[8] = {
      {0, -a}, {0, u - a}, {u - a - b + p, b - p}, {a + b - p - u, b - p}, {0, u - a},
      {0, -a}, {a + b, b}, {-(a + b), b}};
  Shape(paint, cx, cy, ring, 8);
}

// Corners of the octagon of half size a, corner offset c: from the top left, anticlockwise.
void OctagonCorners(int a, int c, Offset* out) {
  const Offset corners[8] = {{-c, -a}, {-a, -c}, {-a, c}, {-c, a},
                             {c, a},   {a, c},   {a, -c}, {c, -a}};
  for (int i = 0; i < 8; ++i) out[i] = corners[i];
}

// The band `width` wide inside the octagon of half size `half` about (cx, cy): the outer octagon,
// closed, then the octagon of the ring within traced the other way.
void OctagonRing(const FxPainter& paint, int cx, int cy, int half, int width) {
  const int a = half, c = a / 2, h = width / 2, p = width;
  Offset ring[18];
  OctagonCorners(a, c, ring);
  ring[8] = ring[0];
  const Offset inner[9] = {{h - c, p - a}, {c - h, p - a}, {a - p, h - c},
                           {a - p, c - h}, {c - h, a - p}, {h - c, a - p},
                           {p - a, c - h}, {p - a, h - c}, {h - c, p - a}};
  for (int i = 0; i < 9; ++i) ring[9 + i] = inner[i];
  Shape(paint, cx, cy, ring, 18);
}

// How many rings the single and skipping octagons take to cover the area from its centre.
int OctagonRingCount(const FxPainter& paint, int p) {
  const int sw = paint.Width(), sh = paint.Height();
  const int half = std::max(sw, sh) / 2;
  const int quarterMin = std::min(sw, sh) / 2 / 2;
  int n = (half / p) / 2;
  if (quarterMin > half / 4) n += ((quarterMin - half / 4) / p) / 2 + 1;
  return n + 4;
}

}  // namespace

// Wedges about the destination's centre sweep a full turn from straight up; the wedges are built
// in destination coordinates and reach 10 pixels beyond the corners.
BOOL Trans2DRotateWipeFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  FxPainter paint(fx);
  const int cx = fx.dx + fx.dw / 2, cy = fx.dy + fx.dh / 2;
  const double halfW = fx.dw / 2, halfH = fx.dh / 2;
  const double radius = std::sqrt(halfW * halfW + halfH * halfH) + 10;
  const int steps = CeilDiv(360, FxStep(par1));
  const double turn = (mode == 1 ? 6.284 : -6.284) / steps;
  double angle = 1.571;
  POINT previous{cx, fx.dy};
  StepPacer pace(paint.Layer(), par0);
  for (int i = 0; i < steps; ++i) {
    angle -= turn;
    const POINT next{static_cast<LONG>(cx + std::cos(angle) * radius),
                     static_cast<LONG>(cy - std::sin(angle) * radius)};
    const POINT wedge[3] = {{cx, cy}, previous, next};
    paint.Through(wedge, 3);
    pace.Step();
    previous = next;
  }
  return TRUE;
}

// Triangular rings about the centre: one grows outwards from a small triangle while another
// shrinks inwards from beyond the corners, a ring of each per step.
BOOL Trans2DTriangleFX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const int p = FxStep(par1);
  const int u = (p * 15) / 10;
  int m = ((paint.Width() / 2 + paint.Height() / 2) / u) / 2;
  if (m % 2 == 0) ++m;
  const int cx = fx.dx + paint.Width() / 2, cy = fx.dy + paint.Height() / 2;
  int growW = 2 * p, growH = 2 * u;
  int shrinkW = (4 * m + 1) * p, shrinkH = (4 * m + 1) * u;
  StepPacer pace(paint.Layer(), par0);
  for (int step = 0; step <= m; ++step) {
    TriangleRing(paint, cx, cy, growW, growH, p, u);
    TriangleRing(paint, cx, cy, shrinkW, shrinkH, p, u);
    pace.Step();
    growW += 2 * p;
    growH += 2 * u;
    shrinkW -= 2 * p;
    shrinkH -= 2 * u;
  }
  return TRUE;
}

// Octagonal rings about the centre, one growing outwards and one shrinking inwards per step.
BOOL Trans2DOctagonFX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const int p = FxStep(par1);
  const int rings = OctagonRingCount(paint, p);
  const int cx = fx.dx + paint.Width() / 2, cy = fx.dy + paint.Height() / 2;
  int grow = 2 * p, shrink = (4 * rings + 1) * p;
  StepPacer pace(paint.Layer(), par0);
  for (int step = 0; step <= rings; ++step) {
    OctagonRing(paint, cx, cy, grow / 2, p);
    OctagonRing(paint, cx, cy, shrink / 2, p);
    pace.Step();
    grow += 2 * p;
    shrink -= 2 * p;
  }
  return TRUE;
}

// The same rings two apart: the growing ones cover every other band from the centre, the
// shrinking ones the bands between; a plain octagon then fills the centre.
BOOL Trans2DOctagonSkipFX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const int p = FxStep(par1);
  const int rings = OctagonRingCount(paint, p);
  const int cx = fx.dx + paint.Width() / 2, cy = fx.dy + paint.Height() / 2;
  int grow = 3 * p, shrink = (4 * rings + 1) * p;
  StepPacer pace(paint.Layer(), par0);
  for (int step = 0; step < rings; ++step) {
    OctagonRing(paint, cx, cy, grow / 2, p);
    OctagonRing(paint, cx, cy, shrink / 2, p);
    pace.Step();
    grow += 4 * p;
    shrink -= 4 * p;
  }
  Offset centre[8];
  OctagonCorners(3 * p / 2, 3 * p / 2 / 2, centre);
  Shape(paint, cx, cy, centre, 8);
  return TRUE;
}

// Growing octagonal rings about the middles of the four quarters of the area.
BOOL Trans2DMultiOctagonsFX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const int p = FxStep(par1);
  const int sw = paint.Width(), sh = paint.Height();
  const int larger = std::max(sw, sh) / 4, smaller = std::min(sw, sh) / 4;
  int k = (larger / p) / 2;
  if (smaller / 2 > larger / 4) k += ((smaller / 2 - larger / 4) / p) / 2 + 2;
  const int steps = 2 * k + 2;
  const int left = fx.dx + sw / 4, right = fx.dx + (3 * sw) / 4;
  const int top = fx.dy + sh / 4, bottom = fx.dy + (3 * sh) / 4;
  int grow = 2 * p;
  StepPacer pace(paint.Layer(), par0);
  for (int step = 0; step < steps; ++step) {
    OctagonRing(paint, left, top, grow / 2, p);
    OctagonRing(paint, right, top, grow / 2, p);
    OctagonRing(paint, left, bottom, grow / 2, p);
    OctagonRing(paint, right, bottom, grow / 2, p);
    pace.Step();
    grow += 2 * p;
  }
  return TRUE;
}
