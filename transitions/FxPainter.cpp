#include "transitions/FxPainter.h"

#include <algorithm>
#include <cstdint>

FxPainter::FxPainter(BlitLayer& layer, BlitSurface from, int dx, int dy, int dw, int dh, int sx,
                     int sy, int sw, int sh)
    : layer_(layer),
      from_(from),
      dx_(dx),
      dy_(dy),
      dw_(dw),
      dh_(dh),
      sx_(sx),
      sy_(sy),
      sw_(sw),
      sh_(sh) {}

FxPainter::FxPainter(const FxOneSurface& fx)
    : FxPainter(*fx.layer, fx.source, fx.dx, fx.dy, fx.dw, fx.dh, fx.sx, fx.sy, fx.sw, fx.sh) {}

FxPainter::FxPainter(const FxTwoSurface& fx, BlitSurface from)
    : FxPainter(*fx.layer, from, fx.dx, fx.dy, fx.dw, fx.dh, from == BlitSurface::A ? fx.ax : fx.bx,
                from == BlitSurface::A ? fx.ay : fx.by, fx.sw, fx.sh) {}

namespace {

// Clips the span [to, to + size) to [0, limit), moving `from` along with its start.
bool ClipSpan(int& to, int& from, int& size, int limit) {
  int64_t start = std::max<int64_t>(to, 0);
  int64_t end = std::min<int64_t>(int64_t{to} + size, limit);
  if (start >= end) return false;
  from += static_cast<int>(start - to);
  to = static_cast<int>(start);
  size = static_cast<int>(end - start);
  return true;
}

// Maps a span of `size` source units at `offset` onto a destination span: scaled start, scaled
// size plus the gap-closing pixel, held inside the destination.
void ScaleSpan(int offset, int size, int srcLength, int dstLength, int& outOffset, int& outSize) {
  outOffset = static_cast<int>(int64_t{offset} * dstLength / srcLength);
  int64_t scaled = int64_t{size} * dstLength / srcLength + 1;
  outSize = static_cast<int>(std::min<int64_t>(scaled, int64_t{dstLength} - outOffset));
}

}  // namespace

bool FxPainter::Move(int toX, int toY, int fromX, int fromY, int cw, int ch) const {
  if (!ClipSpan(toX, fromX, cw, sw_) || !ClipSpan(toY, fromY, ch, sh_)) return false;
  if (dw_ == sw_ && dh_ == sh_) {
    layer_.Copy(from_, dx_ + toX, dy_ + toY, cw, ch, sx_ + fromX, sy_ + fromY);
    return true;
  }
  int x, w, y, h;
  ScaleSpan(toX, cw, sw_, dw_, x, w);
  ScaleSpan(toY, ch, sh_, dh_, y, h);
  layer_.Stretch(from_, dx_ + x, dy_ + y, w, h, sx_ + fromX, sy_ + fromY, cw, ch);
  return true;
}

bool FxPainter::Strip(FxAxis axis, int offset, int width) const {
  return axis == FxAxis::kColumns ? Piece(offset, 0, width, sh_) : Piece(0, offset, sw_, width);
}

POINT FxPainter::Scaled(int x, int y) const {
  POINT p{x, y};
  if (dw_ != sw_ || dh_ != sh_) {
    p.x = static_cast<LONG>((int64_t{x} - dx_) * dw_ / sw_ + dx_);
    p.y = static_cast<LONG>((int64_t{y} - dy_) * dh_ / sh_ + dy_);
  }
  return p;
}

ClipResult FxPainter::Through(const POINT* points, int count) const {
  return layer_.CopyThroughPolygon(from_, points, count, dx_, dy_, dw_, dh_, sx_, sy_, sw_, sh_);
}
