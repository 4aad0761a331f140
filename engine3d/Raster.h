// The polygon rasteriser: convex polygons filled into an 8-bit surface, in one palette index or
// with texels copied along affine texture coordinates. Integer only: edges are walked with error
// terms, texture coordinates in 16.16 steps.
//
// Pixel rules (both fills): a row is filled from the left edge's column up to, not including, the
// right edge's column, each the edge's exact column at that row rounded up; the polygon's last
// row is not filled, nor the first unless its top is flat. So polygons that share an edge never
// fill a pixel twice and never leave a gap.
//
// The target is process-wide: the 3D scene binds it to its off-screen surface, and the clock's
// antialiased lines read it too. Rows count from the start of the pixel memory, which is the
// bottom line of the shown picture (bottom-up rows, padded to 4 bytes).
#pragma once

#include <cstdint>

#include "engine3d/Texture.h"

struct RasterTarget {
  uint8_t* bits = nullptr;  // row 0
  int32_t width = 0;        // pixels per row
  int32_t clipRight = 0;    // first column outside the clip rectangle
  int32_t clipBottom = 0;   // first row outside
  int32_t clipLeft = 0;     // first column inside
  int32_t clipTop = 0;      // first row inside
  int32_t height = 0;       // rows
  int32_t greyBase = 0;     // GreyRampBaseIndex, set by the scene
  int32_t stride = 0;       // bytes from one row to the next: the surface's real row length
};

// The one target every fill draws into.
extern RasterTarget g_rasterTarget;

// Points the target at a surface, clip rectangle = the whole surface. Returns 0 and binds an
// empty target (every fill then draws nothing) when bits is null, a side is not positive or the
// stride is shorter than a row.
int BindRasterTarget(uint8_t* bits, int32_t width, int32_t height, int32_t stride);

// Points the target at another 8-bit picture for the life of the guard (its clip rectangle the
// whole picture) and puts the previous target back at the end, so a fill can draw into a bitmap
// other than the screen's surface.
class ScopedRasterTarget {
 public:
  ScopedRasterTarget(uint8_t* bits, int32_t width, int32_t height, int32_t stride);
  ~ScopedRasterTarget();
  ScopedRasterTarget(const ScopedRasterTarget&) = delete;
  ScopedRasterTarget& operator=(const ScopedRasterTarget&) = delete;
  // The result of binding the picture (0: nothing will be drawn).
  int bound;

 private:
  RasterTarget saved_;
};

struct RasterPoint {
  int32_t x;  // column (or texture column)
  int32_t y;  // row (or texture row)
};

// Corners in order around the polygon.
struct RasterPolygon {
  int32_t count;
  const RasterPoint* points;
};

// Polygons with a corner (offsets included) further out than this are refused: it bounds the work
// of walking their edges. Projected 3D faces never come near it.
constexpr int32_t kMaxRasterCoordinate = 1 << 20;

// Start and end column of one row of a polygon.
struct SpanPair {
  int32_t start;
  int32_t end;
};

struct SpanList {
  int32_t count;  // rows
  int32_t firstRow;
  SpanPair* spans;  // count pairs
};

// Where TraceEdgeColumns writes: the next row of the edge walk and the span list's window of
// rows. Rows outside the window are walked but not stored, so a wrapped or non-convex polygon
// cannot write past the list.
struct SpanCursor {
  SpanPair* spans;  // the list's pairs, spans[0] holding row firstRow
  int32_t firstRow;
  int32_t count;
  int32_t row;  // row that the next written column belongs to
};

// Side argument of TraceEdgeColumns.
constexpr int kStartSide = 1;
constexpr int kEndSide = 0;

// Fills a convex polygon in one colour index, its corners moved by (dx, dy). Returns 1 (also when
// nothing is drawn), or 0 when the polygon is refused (too far out) or memory runs out.
int FillPolygonFlat(const RasterPolygon& polygon, int32_t colour, int32_t dx, int32_t dy);

// Writes the columns of the edge (x1, y1)-(x2, y2) into the start (side 1) or end (side 0) of
// consecutive span rows from the cursor on: one row per row of the edge, y1 included (unless
// skipFirst) and y2 excluded. The cursor is left after the last row.
void TraceEdgeColumns(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int side, int skipFirst,
                      SpanCursor& cursor);

// Fills the spans, clipped to the clip rectangle (and the surface): columns start..end-1.
void FillSpanList(const SpanList& list, int32_t colour);

// Fills a convex polygon with texels; texCoords gives one (column, row) of the texture per corner.
// Corners must run so that stepping backward from the top corner walks the left side; the other
// order draws nothing. Texture coordinates outside the texture read its nearest edge texel.
// Returns 0 when refused (a corner or texture coordinate beyond kMaxRasterCoordinate, fewer
// texture coordinates than corners), else 1.
int FillPolygonTextured(const RasterPolygon& polygon, const RasterPolygon& texCoords,
                        const C3DTexture& texture);

// One side of a textured polygon being walked down row by row.
struct TexEdge {
  int32_t direction;  // corner index step: -1 left side, +1 right side
  int32_t rowsLeft;   // rows until the edge's end corner
  int32_t endCorner;
  int64_t u, v;          // texture coordinates, 16.16 (64 bits: no overflow on any texture)
  int64_t uStep, vStep;  // per row
  int32_t column;
  int32_t wholeStep;  // whole columns per row
  int32_t columnDir;  // +1 or -1
  int32_t error;
  int32_t errorInc;
  int32_t errorDec;
};

// The polygon a textured fill walks.
struct TexPolygon {
  const RasterPoint* points;
  const RasterPoint* texCoords;
  int32_t count;
  int32_t bottomCorner;  // first corner on the largest row
};

// Sets the edge up from corner c toward the next corner that lies lower; 0 when the edge has
// reached the bottom corner (or would climb: the polygon is not convex).
int StartTexEdge(const TexPolygon& polygon, TexEdge& edge, int32_t corner);
// Steps the edge one row down; 0 when it has ended.
int AdvanceTexEdge(const TexPolygon& polygon, TexEdge& edge);
// Moves the edge `rows` rows down at once, as many AdvanceTexEdge calls would; 0 when it ends.
int SkipTexEdge(const TexPolygon& polygon, TexEdge& edge, int64_t rows);
// Copies one row of texels between the two edges, clipped.
void CopyTexSpan(const TexEdge& left, const TexEdge& right, int32_t row, const C3DTexture& texture);
