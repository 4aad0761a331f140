// The tile peel's geometry: the orders of the ten effects, the spread of the launches and the
// exit points outside the screen; and the error texts.
#include <cmath>
#include <cstdint>

#include "transitions/TilePeel.h"

namespace {

constexpr const char* kErrorTexts[] = {
    nullptr,
    "Trans3DFX Error Message: System has run out of memory",
    "Trans3DFX Error Message: Unable to run as screen width and height not divisible by 8",
    "Trans3DFX Error Message: Unable to generate suitable size for 3D tiles",
    "Trans3DFX Error Message: Unable to select correct size for 3D tiles",
    "Trans3DFX Error Message: Too many moves - will run out of space",
    "Trans3DFX Error Message: Unable to select logo",
    "Trans3DFX Error Message: Unable to generate logo palette",
    "Trans3DFX Error Message: Unable to generate logo image",
    "Trans3DFX Error Message: Unable to resize logo to fit tile",
    "Trans3DFX Error Message: Unable to generate logo background palette",
    "Trans3DFX Error Message: Unable to map logo to background palette",
    "Trans3DFX Error Message: Too many squares have been generated",
    "Trans3DFX Error Message: OSB did not match supplied background",
    "Trans3DFX Error Message: FX chosen is outside allowed range",
    "Trans3DFX Error Message: Slider value is outside allowed range",
    "Trans3DFX Error Message: Not enough squares to do 3D transition",
};

// Walks the grid as an inward spiral: `sides` gives the four moves in order (0 up the left
// column, 1 right along the top row, 2 down the right column, 3 left along the bottom row),
// each side's bound shrinking after it is walked.
void Spiral(int across, int rows, const int sides[4], std::vector<int>& out) {
  int left = 0, right = across - 1, bottom = 0, top = rows - 1;
  const size_t total = static_cast<size_t>(across) * rows;
  for (int turn = 0; out.size() < total; turn = (turn + 1) % 4) {
    switch (sides[turn]) {
      case 0:
        for (int r = bottom; r <= top && left <= right; ++r) out.push_back(r * across + left);
        ++left;
        break;
      case 1:
        for (int c = left; c <= right && bottom <= top; ++c) out.push_back(top * across + c);
        --top;
        break;
      case 2:
        for (int r = top; r >= bottom && left <= right; --r) out.push_back(r * across + right);
        --right;
        break;
      default:
        for (int c = right; c >= left && bottom <= top; --c) out.push_back(bottom * across + c);
        ++bottom;
        break;
    }
  }
}

// Spiral moves of effect 9 that mirror those above: left along the top row, down the left
// column, right along the bottom row, up the right column.
void SpiralFromTopRight(int across, int rows, std::vector<int>& out) {
  int left = 0, right = across - 1, bottom = 0, top = rows - 1;
  const size_t total = static_cast<size_t>(across) * rows;
  for (int turn = 0; out.size() < total; turn = (turn + 1) % 4) {
    if (turn == 0) {
      for (int c = right; c >= left && bottom <= top; --c) out.push_back(top * across + c);
      --top;
    } else if (turn == 1) {
      for (int r = top; r >= bottom && left <= right; --r) out.push_back(r * across + left);
      ++left;
    } else if (turn == 2) {
      for (int c = left; c <= right && bottom <= top; ++c) out.push_back(bottom * across + c);
      ++bottom;
    } else {
      for (int r = bottom; r <= top && left <= right; ++r) out.push_back(r * across + right);
      --right;
    }
  }
}

// Anti-diagonals c + r = k in the given order of k, each from its lower-right end.
void AntiDiagonals(int across, int rows, bool fromBottomLeft, std::vector<int>& out) {
  const int last = across + rows - 2;
  for (int i = 0; i <= last; ++i) {
    const int k = fromBottomLeft ? i : last - i;
    for (int r = 0; r < rows; ++r) {
      const int c = k - r;
      if (c >= 0 && c < across) out.push_back(r * across + c);
    }
  }
}

// Diagonals c - r = k in the given order of k, each from its lower-left end.
void Diagonals(int across, int rows, bool fromTopLeft, std::vector<int>& out) {
  for (int i = 0; i < across + rows - 1; ++i) {
    const int k = fromTopLeft ? i - (rows - 1) : (across - 1) - i;
    for (int r = 0; r < rows; ++r) {
      const int c = k + r;
      if (c >= 0 && c < across) out.push_back(r * across + c);
    }
  }
}

// Truncated toward zero and held to the int range.
int ToInt(double v) {
  if (!(v > -2147483648.0)) return INT32_MIN;
  if (!(v < 2147483647.0)) return INT32_MAX;
  return static_cast<int>(v);
}

}  // namespace

void GetTrans3DFXErrorText(int code, CString& text) {
  const int count = static_cast<int>(sizeof(kErrorTexts) / sizeof(kErrorTexts[0]));
  text =
      code > 0 && code < count ? kErrorTexts[code] : "Trans3DFX Error Message: Unrecognized error";
}

std::vector<int> Transition3DOrder(int effect, int across, int rows) {
  std::vector<int> out;
  if (across <= 0 || rows <= 0) return out;
  const int n = across * rows;
  out.reserve(static_cast<size_t>(n));
  switch (effect) {
    case 0:
    case 1:
      for (int k = 0; k < n; ++k) {
        const int c = effect == 0 ? k / rows : across - 1 - k / rows;
        out.push_back((k % rows) * across + c);
      }
      break;
    case 2:
      for (int k = 0; k < n; ++k) out.push_back(k);
      break;
    case 3:
      for (int k = n - 1; k >= 0; --k) out.push_back(k);
      break;
    case 4:
    case 5: AntiDiagonals(across, rows, effect == 4, out); break;
    case 6:
    case 7: Diagonals(across, rows, effect == 6, out); break;
    case 8: {
      static const int sides[4] = {0, 1, 2, 3};
      Spiral(across, rows, sides, out);
      break;
    }
    default: SpiralFromTopRight(across, rows, out); break;
  }
  return out;
}

double GetTransition3DSpan(int effect, int across, int rows) {
  const double a = across + 0.5, r = rows + 0.5;
  if (effect <= 1) return a * 2.0 / 3.0;
  if (effect <= 3) return r * 2.0 / 3.0;
  if (effect <= 7) return std::sqrt(r * r + a * a) / std::sqrt(4.5);
  const double ha = across * 0.5 + 0.5, hr = rows * 0.5 + 0.5;
  return std::sqrt(hr * hr + ha * ha) / std::sqrt(4.5);
}

void GetDiagonalExitPoint(int x, int y, int width, int height, int mode, int m, int& ex, int& ey) {
  // Corners of modes 4..7, and the slope toward them.
  const double cx = (mode == 5 || mode == 7) ? width + m : -m;
  const double cy = (mode == 5 || mode == 6) ? height + m : -m;
  const double k = (mode == 4 || mode == 5) ? static_cast<double>(height) / width
                                            : -static_cast<double>(height) / width;
  // Crossing of the vertical through the corner, and of the horizontal through it.
  const double vy = y + k * (cx - x);
  const double hx = x + (cy - y) / k;
  const double vDistance = std::fabs(cx - x) + std::fabs(vy - y);
  const double hDistance = std::fabs(hx - x) + std::fabs(cy - y);
  if (vDistance < hDistance) {
    ex = ToInt(cx);
    ey = ToInt(vy);
  } else {
    ex = ToInt(hx);
    ey = ToInt(cy);
  }
}

void GetRadialExitPoint(int cx, int cy, int width, int height, int m, int& ex, int& ey) {
  const int64_t q = int64_t{height} * cx / width;
  const int64_t above = cy, below = int64_t{height} - cy;
  const int64_t mx = width / 2, my = height / 2;
  const int64_t dx = cx - mx, dy = cy - my;
  enum { kTop, kLeft, kBottom, kRight } side;
  if (above > q && below <= q) {
    side = kTop;
  } else if (above > q) {
    side = kLeft;
  } else if (below >= q) {
    side = kBottom;
  } else {
    side = kRight;
  }
  if (side == kTop || side == kBottom) {
    const int64_t line = side == kTop ? int64_t{height} + m : -int64_t{m};
    ey = static_cast<int>(line);
    // A centre on the middle row exits straight.
    ex = dy == 0 ? cx : static_cast<int>(mx + dx * (line - my) / dy);
  } else {
    const int64_t line = side == kRight ? int64_t{width} + m : -int64_t{m};
    ex = static_cast<int>(line);
    ey = dx == 0 ? cy : static_cast<int>(my + dy * (line - mx) / dx);
  }
}

void Transition3DExitPoint(int effect, const TileGrid& g, int x, int y, int& ex, int& ey) {
  const int m = 3 * g.size / 2;
  switch (effect) {
    case 0:
      ex = -m;
      ey = y;
      return;
    case 1:
      ex = g.width + m;
      ey = y;
      return;
    case 2:
      ex = x;
      ey = -m;
      return;
    case 3:
      ex = x;
      ey = g.height + m;
      return;
    case 4:
    case 5:
    case 6:
    case 7: GetDiagonalExitPoint(x, y, g.width, g.height, effect, m, ex, ey); return;
    default:
      GetRadialExitPoint(x + g.size / 2, y + g.size / 2, g.width, g.height, m, ex, ey);
      ex -= g.size / 2;
      ey -= g.size / 2;
      return;
  }
}
