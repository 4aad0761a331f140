// The raster target, span filling and the flat polygon fill.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "engine3d/Raster.h"
#include "engine3d/RasterClip.h"

RasterTarget g_rasterTarget;

int BindRasterTarget(uint8_t* bits, int32_t width, int32_t height, int32_t stride) {
  const int32_t greyBase = g_rasterTarget.greyBase;
  g_rasterTarget = RasterTarget();
  g_rasterTarget.greyBase = greyBase;
  if (bits == nullptr || width <= 0 || height <= 0 || stride < width) return 0;
  g_rasterTarget.bits = bits;
  g_rasterTarget.width = width;
  g_rasterTarget.height = height;
  g_rasterTarget.stride = stride;
  g_rasterTarget.clipRight = width;
  g_rasterTarget.clipBottom = height;
  return 1;
}

ScopedRasterTarget::ScopedRasterTarget(uint8_t* bits, int32_t width, int32_t height, int32_t stride)
    : saved_(g_rasterTarget) {
  bound = BindRasterTarget(bits, width, height, stride);
}

ScopedRasterTarget::~ScopedRasterTarget() { g_rasterTarget = saved_; }

RasterClip CurrentRasterClip() {
  const RasterTarget& t = g_rasterTarget;
  RasterClip c;
  c.left = std::max(t.clipLeft, 0);
  c.top = std::max(t.clipTop, 0);
  c.right = std::min(t.clipRight, t.width);
  c.bottom = std::min(t.clipBottom, t.height);
  if (t.bits == nullptr || c.left >= c.right || c.top >= c.bottom) c = RasterClip{0, 0, 0, 0};
  return c;
}

bool InRasterRange(int64_t v) { return v >= -kMaxRasterCoordinate && v <= kMaxRasterCoordinate; }

bool PolygonInRange(const RasterPolygon& polygon, int32_t dx, int32_t dy) {
  if (polygon.count < 0 || (polygon.count > 0 && polygon.points == nullptr)) return false;
  for (int32_t i = 0; i < polygon.count; ++i) {
    const RasterPoint& p = polygon.points[i];
    if (!InRasterRange(p.x) || !InRasterRange(p.y) ||
        !InRasterRange(static_cast<int64_t>(p.x) + dx) ||
        !InRasterRange(static_cast<int64_t>(p.y) + dy)) {
      return false;
    }
  }
  return true;
}

void FillSpanList(const SpanList& list, int32_t colour) {
  const RasterClip clip = CurrentRasterClip();
  if (clip.Empty() || list.count <= 0 || list.spans == nullptr) return;
  const int64_t first = list.firstRow;
  const int64_t begin = std::max<int64_t>(first, clip.top);
  const int64_t end = std::min<int64_t>(first + list.count, clip.bottom);
  const uint8_t value = static_cast<uint8_t>(colour);
  for (int64_t row = begin; row < end; ++row) {
    const SpanPair& span = list.spans[row - first];
    // The end column is exclusive; clipped at the right the span runs up to the clip edge.
    const int32_t s = std::max(span.start, clip.left);
    const int32_t e = std::min(span.end, clip.right);
    if (e > s)
      std::memset(RasterRow(static_cast<int32_t>(row)) + s, value, static_cast<size_t>(e - s));
  }
}

namespace {

// The columns of one edge, row by row. Each row's column is the edge's exact column rounded up:
// with err kept in [1 - height, 0], a step is taken whenever the accumulated fraction passes a
// whole column. Leftward edges start one short of a whole row so that exact hits do not step early.
class EdgeWalk {
 public:
  EdgeWalk(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
      : height_(y2 - y1), x1_(x1), step_(x2 - x1 > 0 ? 1 : -1) {
    const int32_t width = std::abs(x2 - x1);
    whole_ = (width / height_) * step_;
    frac_ = width % height_;
    err0_ = x2 >= x1 ? 0 : 1 - height_;
    width_ = width;
  }
  // Jumps to the state after k rows: the steps taken are the whole columns in err0 + k * width.
  void Seek(int64_t k) {
    const int64_t e = err0_ + k * width_;
    const int64_t steps = (e + height_ - 1) / height_;  // e > -height, so this rounds up
    x_ = x1_ + static_cast<int32_t>(steps) * step_;
    err_ = static_cast<int32_t>(e - steps * height_);
  }
  int32_t Column() const { return x_; }
  void Advance() {
    x_ += whole_;
    err_ += frac_;
    if (err_ > 0) {
      x_ += step_;
      err_ -= height_;
    }
  }

 private:
  int32_t height_, x1_, step_, whole_ = 0, frac_ = 0, err0_ = 0, width_ = 0;
  int32_t x_ = 0, err_ = 0;
};

}  // namespace

void TraceEdgeColumns(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int side, int skipFirst,
                      SpanCursor& cursor) {
  if (y2 <= y1 || !InRasterRange(x1) || !InRasterRange(y1) || !InRasterRange(x2) ||
      !InRasterRange(y2)) {
    return;
  }
  const int32_t skip = skipFirst ? 1 : 0;
  const int32_t rows = y2 - y1 - skip;
  // Only the rows inside the cursor's window are walked; those before it are jumped over.
  const int64_t windowBegin = static_cast<int64_t>(cursor.firstRow) - cursor.row;
  const int64_t begin = std::clamp<int64_t>(windowBegin, 0, rows);
  const int64_t end = std::clamp<int64_t>(windowBegin + cursor.count, 0, rows);
  if (begin < end) {
    EdgeWalk walk(x1, y1, x2, y2);
    walk.Seek(skip + begin);
    SpanPair* pair = cursor.spans + (cursor.row + begin - cursor.firstRow);
    for (int64_t i = begin; i < end; ++i, ++pair) {
      (side == kStartSide ? pair->start : pair->end) = walk.Column();
      walk.Advance();
    }
  }
  cursor.row =
      static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(cursor.row) + rows, INT32_MAX));
}

namespace {

// The corners of a polygon, indices taken modulo the count.
struct Corners {
  const RasterPoint* p;
  int32_t n;
  int32_t Wrap(int32_t i) const { return ((i % n) + n) % n; }
  const RasterPoint& operator[](int32_t i) const { return p[Wrap(i)]; }
};

// The span scratch list is kept between polygons: one allocation for the life of the thread
// instead of one per polygon per frame.
std::vector<SpanPair>* SpanScratch(size_t rows) {
  thread_local std::vector<SpanPair> scratch;
  try {
    if (scratch.size() < rows) scratch.resize(rows);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return &scratch;
}

// Walks one side from `from` down to the bottom corner, stepping corner indices by `dir`.
void TraceSide(const Corners& c, int32_t from, int32_t dir, int32_t bottom, int side, bool flatTop,
               int32_t dx, SpanCursor cursor) {
  int32_t prev = from;
  for (int32_t steps = 0; steps < c.n && c.Wrap(prev) != bottom; ++steps) {
    const int32_t cur = c.Wrap(prev + dir);
    const int skip = (steps == 0 && !flatTop) ? 1 : 0;
    TraceEdgeColumns(c[prev].x + dx, c[prev].y, c[cur].x + dx, c[cur].y, side, skip, cursor);
    prev = cur;
  }
}

}  // namespace

int FillPolygonFlat(const RasterPolygon& polygon, int32_t colour, int32_t dx, int32_t dy) {
  if (!PolygonInRange(polygon, dx, dy)) return 0;
  if (polygon.count == 0) return 1;
  const Corners c{polygon.points, polygon.count};
  int32_t top = 0, bottom = 0;
  for (int32_t i = 1; i < c.n; ++i) {
    if (c[i].y < c[top].y) {
      top = i;
    } else if (c[i].y > c[bottom].y) {
      bottom = i;
    }
  }
  const int32_t minimum = c[top].y, maximum = c[bottom].y;
  if (minimum == maximum) return 1;

  // The corners that end the top row on either side (the same corner for a pointed top).
  int32_t right = top, left = top;
  for (int32_t k = 0; k < c.n && c[right + 1].y == minimum; ++k) right = c.Wrap(right + 1);
  for (int32_t k = 0; k < c.n && c[left - 1].y == minimum; ++k) left = c.Wrap(left - 1);

  int32_t leftDir = -1;
  const bool flatTop = c[left].x != c[right].x;
  if (flatTop) {
    if (c[left].x > c[right].x) {
      leftDir = 1;
      std::swap(left, right);
    }
  } else {
    // Which neighbour of a pointed top lies to the left: the sign of the cross product.
    const RasterPoint& a = c[left];
    const RasterPoint& n = c[right + 1];
    const RasterPoint& q = c[left - 1];
    const int64_t cross = static_cast<int64_t>(n.x - a.x) * (q.y - a.y) -
                          static_cast<int64_t>(n.y - a.y) * (q.x - a.x);
    if (cross < 0) {
      leftDir = 1;
      std::swap(left, right);
    }
  }

  const int32_t rows = maximum - minimum - 1 + (flatTop ? 1 : 0);
  if (rows <= 0) return 1;
  const int32_t firstRow = minimum + (flatTop ? 0 : 1) + dy;
  // Only the rows inside the clip rectangle are kept.
  const RasterClip clip = CurrentRasterClip();
  const int32_t keepFirst = std::max(firstRow, clip.top);
  const int32_t keepEnd = std::min(firstRow + rows, clip.bottom);
  if (keepEnd <= keepFirst) return 1;
  std::vector<SpanPair>* scratch = SpanScratch(static_cast<size_t>(keepEnd - keepFirst));
  if (scratch == nullptr) return 0;

  // Rows that no edge reaches (only in polygons that are not convex) stay empty.
  std::fill_n(scratch->data(), keepEnd - keepFirst, SpanPair{0, 0});
  SpanCursor cursor{scratch->data(), keepFirst, keepEnd - keepFirst, firstRow};
  TraceSide(c, left, leftDir, bottom, kStartSide, flatTop, dx, cursor);
  TraceSide(c, right, -leftDir, bottom, kEndSide, flatTop, dx, cursor);
  FillSpanList(SpanList{keepEnd - keepFirst, keepFirst, scratch->data()}, colour);
  return 1;
}
