// Scan conversion of a polygon clip for the plain-buffer blit layer, made to agree with the
// polygon regions GDI builds (alternate fill).
//
// The rule: pixel (x, y) is inside when the point (x, y) - the pixel's top-left corner, where GDI
// samples a region - lies inside the polygon by the even-odd rule. A point exactly on an edge
// counts when the interior lies to its right or below it: left and top edges are inside, right
// and bottom edges outside. So a rectangle (l, t)-(r, b) covers x = l .. r - 1, y = t .. b - 1,
// and polygons that share an edge never overlap nor leave a gap between them.
//
// Per row y: every edge whose y range holds y (its top end included, its bottom end excluded;
// horizontal edges never) crosses the row at an exact rational x; the crossings, sorted, pair up
// into spans, and the span [xa, xb) covers the integers x with xa <= x < xb.
#pragma once

#include <vector>

#include "framework/WinTypes.h"

struct PolygonSpan {
  int y;
  int x0;  // first pixel
  int x1;  // one past the last pixel
};

// Appends to `spans` the spans of the polygon inside the clip rectangle [left, right) x
// [top, bottom), rows from the top, each row's spans left to right.
void PolygonSpans(const POINT* points, int count, int left, int top, int right, int bottom,
                  std::vector<PolygonSpan>& spans);
