#include "transitions/FrameCanvas.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/DIB.h"

FrameCanvas::FrameCanvas(CDIB* dib)
    : dib_(dib),
      matcher_(TableEntries(*dib, 256)),
      width_(dib->GetWidth()),
      height_(dib->GetHeight()) {}

void FrameCanvas::SetPixel(int x, int y, int index) {
  if (BYTE* p = dib_->GetPixelAddress(x, y)) *p = static_cast<BYTE>(index);
}

void FrameCanvas::Fill(int left, int top, int right, int bottom, int index) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y) {
    BYTE* row = dib_->GetPixelAddress(left, y);
    if (row && right > left) std::fill(row, row + (right - left), static_cast<BYTE>(index));
  }
}

void FrameCanvas::FillAll(int index) { Fill(0, 0, width_, height_, index); }

void FrameCanvas::MoveTo(int x, int y) { at_ = {x, y}; }

// Bresenham's line from the current position, the end point left out.
void FrameCanvas::LineTo(int x, int y, int index) {
  int px = at_.x;
  int py = at_.y;
  const int dx = std::abs(x - px);
  const int dy = -std::abs(y - py);
  const int sx = px < x ? 1 : -1;
  const int sy = py < y ? 1 : -1;
  int error = dx + dy;
  while (px != x || py != y) {
    SetPixel(px, py, index);
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      px += sx;
    }
    if (e2 <= dx) {
      error += dx;
      py += sy;
    }
  }
  at_ = {x, y};
}

void FrameCanvas::Ellipse(int left, int top, int right, int bottom, int fill, int outline) {
  const double a = (right - left) / 2.0;
  const double b = (bottom - top) / 2.0;
  if (a <= 0 || b <= 0) return;
  const double cx = (left + right - 1) / 2.0;
  const double cy = (top + bottom - 1) / 2.0;
  auto inside = [&](int x, int y) {
    const double u = (x - cx) / a;
    const double v = (y - cy) / b;
    return u * u + v * v <= 1.0;
  };
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
      if (!inside(x, y)) continue;
      const bool rim =
          !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      SetPixel(x, y, rim ? outline : fill);
    }
  }
}
