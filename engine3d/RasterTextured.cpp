// The texture-mapped polygon fill: both sides walked down from the top corner, one row of texels
// copied between them per row, texture coordinates stepped in 16.16.
#include <algorithm>
#include <cstdint>

#include "engine3d/Raster.h"
#include "engine3d/RasterClip.h"

namespace {

int32_t WrapCorner(const TexPolygon& polygon, int32_t i) {
  return ((i % polygon.count) + polygon.count) % polygon.count;
}

// Column stepping of an edge over `rows` rows: the same rounding as the flat fill's edges.
void SetColumnSteps(TexEdge& edge, int32_t dw, int32_t rows) {
  if (dw >= 0) {
    edge.columnDir = 1;
    edge.error = 0;
    edge.wholeStep = dw / rows;
  } else {
    edge.columnDir = -1;
    edge.error = 1 - rows;
    edge.wholeStep = -(-dw / rows);
  }
  edge.errorInc = std::abs(dw) % rows;
  edge.errorDec = rows;
}

}  // namespace

int StartTexEdge(const TexPolygon& polygon, TexEdge& edge, int32_t corner) {
  int32_t c = corner;
  // Flat stretches are passed over; a full turn without reaching the bottom cannot happen for a
  // polygon with two rows, but bounds the loop whatever the input.
  for (int32_t steps = 0; steps <= polygon.count; ++steps) {
    if (c == polygon.bottomCorner) return 0;
    const int32_t next = WrapCorner(polygon, c + edge.direction);
    const int32_t rows = polygon.points[next].y - polygon.points[c].y;
    if (rows < 0) return 0;  // the side climbs again: not convex, stop here
    if (rows == 0) {
      c = next;
      continue;
    }
    edge.rowsLeft = rows;
    edge.endCorner = next;
    const RasterPoint& t0 = polygon.texCoords[c];
    const RasterPoint& t1 = polygon.texCoords[next];
    edge.u = static_cast<int64_t>(t0.x) * 65536;
    edge.v = static_cast<int64_t>(t0.y) * 65536;
    // (t1 - t0) / rows in 16.16, truncated toward zero; 64 bits, so no texture size overflows.
    edge.uStep = (static_cast<int64_t>(t1.x) - t0.x) * 65536 / rows;
    edge.vStep = (static_cast<int64_t>(t1.y) - t0.y) * 65536 / rows;
    edge.column = polygon.points[c].x;
    SetColumnSteps(edge, polygon.points[next].x - polygon.points[c].x, rows);
    return 1;
  }
  return 0;
}

int AdvanceTexEdge(const TexPolygon& polygon, TexEdge& edge) {
  if (--edge.rowsLeft <= 0) return StartTexEdge(polygon, edge, edge.endCorner);
  edge.u += edge.uStep;
  edge.v += edge.vStep;
  edge.column += edge.wholeStep;
  edge.error += edge.errorInc;
  if (edge.error > 0) {
    edge.column += edge.columnDir;
    edge.error -= edge.errorDec;
  }
  return 1;
}

int SkipTexEdge(const TexPolygon& polygon, TexEdge& edge, int64_t rows) {
  while (rows >= edge.rowsLeft) {
    rows -= edge.rowsLeft;
    if (!StartTexEdge(polygon, edge, edge.endCorner)) return 0;
  }
  if (rows <= 0) return 1;
  // Within the edge: the same state that `rows` single steps reach. The error term gains
  // rows * errorInc; every whole errorDec in it past zero is one more column.
  const int64_t e = edge.error + rows * edge.errorInc;
  const int64_t extra = e > 0 ? (e + edge.errorDec - 1) / edge.errorDec : 0;
  edge.u += edge.uStep * rows;
  edge.v += edge.vStep * rows;
  edge.column = static_cast<int32_t>(edge.column + rows * edge.wholeStep + extra * edge.columnDir);
  edge.error = static_cast<int32_t>(e - extra * edge.errorDec);
  edge.rowsLeft -= static_cast<int32_t>(rows);
  return 1;
}

namespace {

inline int32_t ClampTexel(int64_t fixed, int32_t size) {
  return static_cast<int32_t>(std::clamp<int64_t>(fixed >> 16, 0, size - 1));
}

// Copies `count` texels starting at (u, v); every read held inside the texture.
void CopyTexels(uint8_t* out, int32_t count, int64_t u, int64_t v, int64_t uStep, int64_t vStep,
                const C3DTexture& texture) {
  const int64_t lastU = u + uStep * (count - 1);
  const int64_t lastV = v + vStep * (count - 1);
  const int64_t w = static_cast<int64_t>(texture.width) << 16;
  const int64_t h = static_cast<int64_t>(texture.height) << 16;
  // Coordinates move linearly along a span, so both ends inside means every texel is inside.
  const bool inside = std::min(u, lastU) >= 0 && std::max(u, lastU) < w &&
                      std::min(v, lastV) >= 0 && std::max(v, lastV) < h;
  if (inside) {
    // Every coordinate of the span fits 32 bits here: step in 32-bit registers (modular adds of
    // the steps land exactly on the same values), which the 32-bit build needs for speed.
    uint32_t uu = static_cast<uint32_t>(u), vv = static_cast<uint32_t>(v);
    const uint32_t us = static_cast<uint32_t>(uStep), vs = static_cast<uint32_t>(vStep);
    const uint8_t* pixels = texture.pixels;
    const uint32_t stride = static_cast<uint32_t>(texture.stride);
    for (int32_t i = 0; i < count; ++i, uu += us, vv += vs)
      out[i] = pixels[(vv >> 16) * stride + (uu >> 16)];
    return;
  }
  for (int32_t i = 0; i < count; ++i, u += uStep, v += vStep) {
    out[i] = texture.pixels[static_cast<int64_t>(ClampTexel(v, texture.height)) * texture.stride +
                            ClampTexel(u, texture.width)];
  }
}

}  // namespace

void CopyTexSpan(const TexEdge& left, const TexEdge& right, int32_t row,
                 const C3DTexture& texture) {
  const RasterClip clip = CurrentRasterClip();
  int32_t x = left.column;
  int32_t xe = right.column;
  if (xe <= clip.left || x >= clip.right || xe <= x) return;
  // Per-column steps over the whole span, before clipping, so that a clipped span shows the
  // texels it would have shown there.
  const int64_t width = static_cast<int64_t>(xe) - x;
  const int64_t uStep = (right.u - left.u) / width;
  const int64_t vStep = (right.v - left.v) / width;
  int64_t u = left.u, v = left.v;
  xe = std::min(xe, clip.right);
  if (x < clip.left) {
    u += uStep * (clip.left - x);
    v += vStep * (clip.left - x);
    x = clip.left;
  }
  CopyTexels(RasterRow(row) + x, xe - x, u, v, uStep, vStep, texture);
}

namespace {

bool TextureUsable(const C3DTexture& t) {
  return t.pixels != nullptr && t.width > 0 && t.height > 0 && t.stride >= t.width;
}

}  // namespace

int FillPolygonTextured(const RasterPolygon& polygon, const RasterPolygon& texCoords,
                        const C3DTexture& texture) {
  // Texture coordinates are held to the same range as corners: their 16.16 products then fit.
  if (!PolygonInRange(polygon, 0, 0) || texCoords.count < polygon.count ||
      !PolygonInRange(RasterPolygon{polygon.count, texCoords.points}, 0, 0)) {
    return 0;
  }
  if (polygon.count < 3 || !TextureUsable(texture)) return 1;
  TexPolygon p{polygon.points, texCoords.points, polygon.count, 0};
  int32_t top = 0;
  for (int32_t i = 1; i < p.count; ++i) {
    if (p.points[i].y < p.points[top].y) top = i;
    if (p.points[i].y > p.points[p.bottomCorner].y) p.bottomCorner = i;
  }
  const RasterClip clip = CurrentRasterClip();
  if (p.points[top].y >= p.points[p.bottomCorner].y || clip.Empty()) return 1;

  TexEdge left{}, right{};
  left.direction = -1;
  right.direction = 1;
  if (!StartTexEdge(p, left, top) || !StartTexEdge(p, right, top)) return 1;
  int32_t row = p.points[top].y;
  // Rows above the clip rectangle are jumped over, not walked.
  if (row < clip.top) {
    const int64_t skip = static_cast<int64_t>(clip.top) - row;
    if (!SkipTexEdge(p, left, skip) || !SkipTexEdge(p, right, skip)) return 1;
    row = clip.top;
  }
  for (; row < clip.bottom; ++row) {
    CopyTexSpan(left, right, row, texture);
    if (!AdvanceTexEdge(p, left) || !AdvanceTexEdge(p, right)) break;
  }
  return 1;
}
