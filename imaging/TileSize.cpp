#include "imaging/TileSize.h"

#include <algorithm>
#include <cstdint>

#include "imaging/DIB.h"

namespace {

constexpr int kMaxCandidates = 100;
constexpr int kSmallestTile = 8;
constexpr int kSmallestChoice = 20;
constexpr int kMaxTilesPerSide = 36;
constexpr int kLargestWanted = 160;  // below this, the fixed sizes serve better than divisors

// Sizes in ascending order, with an empty place (0) after the last: with the half flag the search
// for sizes that no longer fit twice starts at that place.
struct Candidates {
  int size[kMaxCandidates + 1] = {};
  int count = 0;
};

// Every s from 8 to `largest` that divides both sides (and is a multiple of 4 when asked), at most
// 100 of them.
Candidates CommonDivisors(int a, int b, int largest, bool multipleOf4) {
  Candidates c;
  for (int s = kSmallestTile; s <= largest && c.count < kMaxCandidates; ++s) {
    if (a % s == 0 && b % s == 0 && (!multipleOf4 || s % 4 == 0)) c.size[c.count++] = s;
  }
  return c;
}

Candidates FixedSizes(bool multipleOf4) {
  Candidates c;
  const int n = multipleOf4 ? 8 : 6;
  for (int i = 0; i < n; ++i) c.size[c.count++] = 20 * (i + 1);
  return c;
}

// The first acceptable index: one past the last size that is too small or gives too many tiles.
int FirstAcceptable(const Candidates& c, int a, int b) {
  int lo = 0;
  for (int i = 0; i < c.count; ++i) {
    const int s = c.size[i];
    if (s < kSmallestChoice || a / s > kMaxTilesPerSide || b / s > kMaxTilesPerSide) lo = i + 1;
  }
  return lo;
}

// The index that the percentage picks in lo..hi - 1: the smallest size at 100, the largest at 1.
// The percentage is clamped first, which changes no result and keeps the product in range.
int PickIndex(int lo, int hi, int percent) {
  percent = std::clamp(percent, 1, 100);
  const int i = lo + (hi - lo) * (100 - percent) / 99;
  return std::max(std::min(i, hi - 1), lo);
}

// Sides that no bitmap can have are not tiled (and keep the divisor search short).
bool UsableSide(int64_t side) { return side > 0 && side <= CDIB::kMaxSide; }

// The part of a w x h area that whole s x s tiles cover.
double Coverage(int w, int h, int s) {
  return static_cast<double>(w / s) * (h / s) * s * s / (static_cast<double>(w) * h);
}

// With the half flag: the end of the usable sizes, set by the lowest size of which two tiles no
// longer fit along a side.
int HalfFlagEnd(const Candidates& c, int w, int h) {
  int hi = c.count;
  for (int k = c.count; k >= 1; --k) {
    if (2 * c.size[k] > w || 2 * c.size[k] > h) hi = k - 1;
  }
  return hi;
}

// A neighbour of the chosen size that covers strictly more of the rectangle, or the size itself.
int BetterCovering(const Candidates& c, int i, int up, int down, int w, int h, bool multipleOf4) {
  const double chosen = Coverage(w, h, c.size[i]);
  if (multipleOf4 && up != i && Coverage(w, h, c.size[up]) > chosen) return c.size[up];
  if (down != i && Coverage(w, h, c.size[down]) > chosen) return c.size[down];
  return c.size[i];
}

}  // namespace

int ChooseTileSize(int a, int b, int percent, int* sizeA, int* sizeB) {
  if (!UsableSide(a) || !UsableSide(b)) return 0;
  const Candidates c = CommonDivisors(a, b, std::min(a, b) / 2, false);
  if (c.count < 2) return 0;
  const int lo = FirstAcceptable(c, a, b);
  if (lo == c.count) return 0;
  const int s = c.size[PickIndex(lo, c.count, percent)];
  *sizeA = s;
  *sizeB = s;
  return 1;
}

int ChooseTileSizeInRect(RECT* rect, int percent, int halfFlag, int multipleOf4Flag, int* size) {
  const int64_t w64 = int64_t{rect->right} - rect->left;
  const int64_t h64 = int64_t{rect->bottom} - rect->top;
  if (!UsableSide(w64) || !UsableSide(h64)) return 0;
  const int w = static_cast<int>(w64);
  const int h = static_cast<int>(h64);
  const bool multipleOf4 = multipleOf4Flag != 0;
  const int shorter = halfFlag ? std::min(w, h) / 2 : std::min(w, h);

  Candidates c = CommonDivisors(w, h, shorter, multipleOf4);
  if (c.count == 0 || c.size[c.count - 1] < kLargestWanted) c = FixedSizes(multipleOf4);
  const int lo = FirstAcceptable(c, w, h);
  const int hi = halfFlag ? HalfFlagEnd(c, w, h) : c.count;
  if (hi < lo || lo == c.count) return 0;

  const int i = PickIndex(lo, hi, percent);
  const int up = (i + 1 <= hi - 1) ? i + 1 : i;
  const int down = (i - 1 >= lo) ? i - 1 : i;
  int s = c.size[i];
  if (w % s != 0 || h % s != 0) s = BetterCovering(c, i, up, down, w, h, multipleOf4);

  const int columns = w / s;
  const int rows = h / s;
  if (columns == 0 || rows == 0) return 0;  // not one tile fits: no tiling, not an empty one
  rect->left += (w - columns * s) / 2;
  rect->right = rect->left + columns * s;
  rect->top += (h - rows * s) / 2;
  rect->bottom = rect->top + rows * s;
  *size = s;
  return 1;
}

BOOL GetTileGridForScreen(int width, int height, int* colWidth, int* rowHeight, int* sizeSquare,
                          int* sizeWidth) {
  // 1280 x 1080, not 1280 x 1024: the sizes are kept as the trace has always reported them.
  static const struct {
    int width, height;
  } kTenPixelScreens[] = {{640, 480}, {800, 600}, {1280, 1080}, {1600, 1200}};
  int square = 8;
  for (const auto& screen : kTenPixelScreens) {
    if (screen.width == width && screen.height == height) square = 10;
  }
  *colWidth = 4;
  *rowHeight = 4;
  *sizeSquare = square;
  *sizeWidth = square;
  return 1;
}
