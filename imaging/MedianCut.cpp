#include "imaging/MedianCut.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstring>

#include <jerror.h>

#include "imaging/DIB.h"
#include "seams/Clock.h"

namespace {

// Histogram cells: 5 bits of red, 6 of green, 5 of blue.
constexpr int kRedCells = 32, kGreenCells = 64, kBlueCells = 32;
constexpr int kRedShift = 3, kGreenShift = 2, kBlueShift = 3;
// Width of a cell in 8-bit units, and the weight of each channel in every distance.
constexpr int kRedWidth = 1 << kRedShift, kGreenWidth = 1 << kGreenShift,
              kBlueWidth = 1 << kBlueShift;
constexpr int kRedScale = 2, kGreenScale = 3, kBlueScale = 1;
// The inverse colour map is filled lazily in blocks of 4 x 8 x 4 cells.
constexpr int kBlockRed = 4, kBlockGreen = 8, kBlockBlue = 4;

// Per cell: the pixel count in the first pass (stopping at 65535), then the cached colour-map
// index + 1 (0: not known yet).
using Histogram = uint16_t[kRedCells][kGreenCells][kBlueCells];

// A box of histogram cells: per axis (red, green, blue) an inclusive range of cell indices.
struct Box {
  int32_t lo[3], hi[3];
  int32_t volume;       // squared scaled diagonal
  int32_t colourCount;  // non-empty cells
};

// Per axis: the cell's width in 8-bit units times the channel's weight.
constexpr int32_t kAxisScale[3] = {kRedWidth * kRedScale, kGreenWidth* kGreenScale,
                                   kBlueWidth* kBlueScale};

// The inverse colour map: per histogram cell, 0 until the 4 x 8 x 4 block of cells around it has
// been filled, then the nearest map colour's index in the low byte, kKnown, and seven times the
// colour's red, green and blue in the 16-bit fields above (kSevenShift[c]), so that the
// dithering reads the colour's 7/16 share of the error from the same word as its index.
constexpr uint64_t kKnown = 0x100;
constexpr int kSevenShift[3] = {16, 32, 48};

// The dithering's per-column work beside its chain runs on the three channels at once, in the
// 16-bit lanes of a small vector laid out as the cache entry is: lane 0 unused (the index), then
// red, green, blue. Its arithmetic wraps at 16 bits, which holds every error and sum exactly.
// The error row keeps the same four slots per column.
using Lanes = uint16_t __attribute__((vector_size(8)));
constexpr int kErrorSlots = 4;

// Everything a run needs, all of it from the library's image pool.
struct Quantizer {
  j_decompress_ptr params;
  const CDIB* source;
  CDIB* destination;
  int width, height;
  Histogram* histogram;
  uint16_t* oddCounts;  // the odd columns' counts while the histogram is made
  BYTE* bgrRow;         // one row of an 8-bit source as blue, green, red samples
  JSAMPARRAY map;       // red, green, blue rows of the colour map
  int colours;
  Box* boxes;
  uint64_t* cache;  // kRedCells x kGreenCells x kBlueCells
  // Dithering only: the error row (width + 2 entries of an unused slot and the red, green and
  // blue errors; entry x + 1 belongs to column x), and the limit table, indexed from its middle.
  int16_t* errors;
  int8_t* errorLimit;  // -kLimitHalfRange..kLimitHalfRange - 1
};

void Fail(j_decompress_ptr params, int code, int parameter) {
  params->err->msg_code = code;
  params->err->msg_parm.i[0] = parameter;
  (*params->err->error_exit)(reinterpret_cast<j_common_ptr>(params));
}

void* Allocate(j_decompress_ptr params, size_t size) {
  return (*params->mem->alloc_large)(reinterpret_cast<j_common_ptr>(params), JPOOL_IMAGE, size);
}

void CheckParameters(const Quantizer& q) {
  j_decompress_ptr params = q.params;
  if (params->out_color_components != 3) Fail(params, JERR_QUANT_COMPONENTS, 3);
  if (params->desired_number_of_colors < 8) Fail(params, JERR_QUANT_FEW_COLORS, 8);
  if (params->desired_number_of_colors > 256) Fail(params, JERR_QUANT_MANY_COLORS, 256);
  const int depth = q.source->header ? q.source->header->bmiHeader.biBitCount : 0;
  const CDIB& out = *q.destination;
  if (!q.source->bits || (depth != 8 && depth != 24) || !out.bits ||
      out.header->bmiHeader.biBitCount != 8 || out.GetWidth() != q.width ||
      out.GetHeight() != q.height)
    Fail(params, JERR_CONVERSION_NOTIMPL, 0);
}

bool Dithering(const Quantizer& q) { return q.params->dither_mode != JDITHER_NONE; }

// Error-limit table: small errors pass, medium ones are halved past 16, large ones stop at 32;
// this keeps dithering from smearing strong edges. It is indexed by the error in sixteenths plus
// the rounding 8, before the division (an arithmetic shift), which saves the shift on every
// pixel: the shares a pixel receives add up to at most 16 x 255 sixteenths either way.
constexpr int kLimitHalfRange = 16 * 256;

void BuildErrorLimit(int8_t* limit) {
  for (int t = -kLimitHalfRange; t < kLimitHalfRange; ++t) {
    const int e = t >> 4;  // arithmetic shift
    const int a = e < 0 ? -e : e;
    const int v = a < 16 ? a : a < 48 ? 16 + (a - 16) / 2 : 32;
    limit[t] = static_cast<int8_t>(e < 0 ? -v : v);
  }
}

template <typename T>
T* AllocateZeroed(j_decompress_ptr params, size_t count) {
  T* memory = static_cast<T*>(Allocate(params, sizeof(T) * count));
  std::memset(memory, 0, sizeof(T) * count);
  return memory;
}

void AllocateAll(Quantizer& q) {
  j_decompress_ptr params = q.params;
  q.histogram = AllocateZeroed<Histogram>(params, 1);
  q.oddCounts = AllocateZeroed<uint16_t>(params, kRedCells * kGreenCells * kBlueCells);
  q.bgrRow = static_cast<BYTE*>(Allocate(params, 3 * static_cast<size_t>(q.width) + 1));
  q.map =
      (*params->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(params), JPOOL_IMAGE,
                                   static_cast<JDIMENSION>(params->desired_number_of_colors), 3);
  q.boxes = static_cast<Box*>(Allocate(params, sizeof(Box) * params->desired_number_of_colors));
  q.cache = AllocateZeroed<uint64_t>(params, kRedCells * kGreenCells * kBlueCells);
  if (!Dithering(q)) return;
  q.errors = AllocateZeroed<int16_t>(params, kErrorSlots * (static_cast<size_t>(q.width) + 2));
  q.errorLimit = static_cast<int8_t*>(Allocate(params, 2 * kLimitHalfRange)) + kLimitHalfRange;
  BuildErrorLimit(q.errorLimit);
}

// Source row `row` (memory order) as blue, green, red samples: a 24-bit source's own row, an
// 8-bit one's through its colour table into the row buffer.
const BYTE* SourceRow(Quantizer& q, int row) {
  const CDIB& src = *q.source;
  const BYTE* in = src.bits + static_cast<size_t>(row) * src.GetStorageWidth();
  if (src.header->bmiHeader.biBitCount == 24) return in;
  const RGBQUAD* table = src.header->bmiColors;
  for (int x = 0; x < q.width; ++x) {
    const RGBQUAD& c = table[in[x]];
    q.bgrRow[3 * x] = c.rgbBlue;
    q.bgrRow[3 * x + 1] = c.rgbGreen;
    q.bgrRow[3 * x + 2] = c.rgbRed;
  }
  return q.bgrRow;
}

// The histogram cell of a colour, as an index into the flat histogram or cache: red's cell
// bits above green's above blue's, each masked in place rather than shifted down and up again.
// (Pointer-wide, so that indexing needs no widening on the dithering's chain.)
inline intptr_t CellIndex(intptr_t red, intptr_t green, intptr_t blue) {
  static_assert(kGreenCells * kBlueCells == 1 << 11 && kBlueCells == 1 << 5, "5/6/5 cells");
  return ((red & ~(kRedWidth - 1)) << (11 - kRedShift)) |
         ((green & ~(kGreenWidth - 1)) << (5 - kGreenShift)) | (blue >> kBlueShift);
}

// A stop request (the saver is closing) ends the work between two rows, as a failure; the
// target may then be partly mapped, which no one will show.
void StopIfRequested(const Quantizer& q) {
  if (seams::StopRequested()) Fail(q.params, JERR_NOTIMPL, 0);
}

// Counts a pixel into a histogram, stopping at 65535.
inline void Count(uint16_t* counts, const BYTE* bgr) {
  uint16_t& count = counts[CellIndex(bgr[2], bgr[1], bgr[0])];
  count = static_cast<uint16_t>(count + (count != UINT16_MAX));
}

// Neighbouring pixels mostly fall into the same cell, and each count would wait for the one
// before it; even and odd columns therefore count into histograms of their own, summed at the
// end (still stopping at 65535: the sum of two stopped counts stops where the whole count would).
void Prescan(Quantizer& q) {
  uint16_t* const even = &(*q.histogram)[0][0][0];
  uint16_t* const odd = q.oddCounts;
  for (int row = 0; row < q.height; ++row) {
    StopIfRequested(q);
    const BYTE* in = SourceRow(q, row);
    int x = 0;
    for (; x + 1 < q.width; x += 2, in += 6) {
      Count(even, in);
      Count(odd, in + 3);
    }
    if (x < q.width) Count(even, in);
  }
  for (int i = 0; i < kRedCells * kGreenCells * kBlueCells; ++i)
    even[i] = static_cast<uint16_t>(std::min(even[i] + odd[i], int{UINT16_MAX}));
}

// ---- Choosing the colour map -------------------------------------------------------------

bool HasPixels(const Histogram& h, const Box& b) {
  for (int r = b.lo[0]; r <= b.hi[0]; ++r)
    for (int g = b.lo[1]; g <= b.hi[1]; ++g)
      for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl)
        if (h[r][g][bl]) return true;
  return false;
}

// The box's cells at one index of one axis.
Box Slab(const Box& b, int axis, int32_t index) {
  Box slab = b;
  slab.lo[axis] = slab.hi[axis] = index;
  return slab;
}

// Moves both ends of one axis range inward past the empty slabs. An empty box keeps its range.
void ShrinkRange(const Histogram& h, Box& b, int axis) {
  int32_t first = b.lo[axis];
  while (first <= b.hi[axis] && !HasPixels(h, Slab(b, axis, first))) ++first;
  if (first > b.hi[axis]) return;
  int32_t last = b.hi[axis];
  while (!HasPixels(h, Slab(b, axis, last))) --last;
  b.lo[axis] = first;
  b.hi[axis] = last;
}

int32_t CountNonEmpty(const Histogram& h, const Box& b) {
  int32_t count = 0;
  for (int r = b.lo[0]; r <= b.hi[0]; ++r)
    for (int g = b.lo[1]; g <= b.hi[1]; ++g)
      for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) count += h[r][g][bl] != 0;
  return count;
}

int32_t ScaledLength(const Box& b, int axis) {
  return (b.hi[axis] - b.lo[axis]) * kAxisScale[axis];
}

// Shrinks the box to the cells that hold pixels and recomputes its volume and colour count.
void UpdateBox(const Histogram& h, Box& b) {
  b.volume = 0;
  for (int axis = 0; axis < 3; ++axis) {
    ShrinkRange(h, b, axis);
    b.volume += ScaledLength(b, axis) * ScaledLength(b, axis);
  }
  b.colourCount = CountNonEmpty(h, b);
}

// While few boxes exist the most populous one is split (by distinct colours); later the largest,
// so that big sparse regions of colour still get a colour of their own. Only boxes of more than
// one cell can split; the first of equals wins. Null when none can.
Box* PickBoxToSplit(Box* boxes, int count, bool byColourCount) {
  Box* pick = nullptr;
  int32_t best = 0;
  for (Box* b = boxes; b < boxes + count; ++b) {
    const int32_t measure = byColourCount ? b->colourCount : b->volume;
    if (b->volume > 0 && measure > best) {
      best = measure;
      pick = b;
    }
  }
  return pick;
}

// Splits along the longest scaled axis (green first, then red or blue only when strictly
// longer) at the midpoint; the new box takes the upper half.
void SplitBox(const Histogram& h, Box& old, Box& added) {
  int axis = 1;
  if (ScaledLength(old, 0) > ScaledLength(old, axis)) axis = 0;
  if (ScaledLength(old, 2) > ScaledLength(old, axis)) axis = 2;
  const int32_t split = (old.lo[axis] + old.hi[axis]) / 2;
  added = old;
  old.hi[axis] = split;
  added.lo[axis] = split + 1;
  UpdateBox(h, old);
  UpdateBox(h, added);
}

// The count-weighted mean of the box's cell centres, rounded.
void BoxColour(const Histogram& h, const Box& b, JSAMPLE& red, JSAMPLE& green, JSAMPLE& blue) {
  int64_t total = 0, sumR = 0, sumG = 0, sumB = 0;
  for (int r = b.lo[0]; r <= b.hi[0]; ++r)
    for (int g = b.lo[1]; g <= b.hi[1]; ++g)
      for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) {
        const int64_t n = h[r][g][bl];
        total += n;
        sumR += n * (r * kRedWidth + kRedWidth / 2);
        sumG += n * (g * kGreenWidth + kGreenWidth / 2);
        sumB += n * (bl * kBlueWidth + kBlueWidth / 2);
      }
  if (total == 0) total = 1;  // an empty picture: one black colour
  red = static_cast<JSAMPLE>((sumR + total / 2) / total);
  green = static_cast<JSAMPLE>((sumG + total / 2) / total);
  blue = static_cast<JSAMPLE>((sumB + total / 2) / total);
}

void ChooseColours(Quantizer& q) {
  const Histogram& h = *q.histogram;
  const int desired = q.params->desired_number_of_colors;
  q.boxes[0] = Box{{0, 0, 0}, {kRedCells - 1, kGreenCells - 1, kBlueCells - 1}, 0, 0};
  UpdateBox(h, q.boxes[0]);
  int count = 1;
  while (count < desired) {
    Box* pick = PickBoxToSplit(q.boxes, count, 2 * count <= desired);
    if (!pick) break;
    SplitBox(h, *pick, q.boxes[count]);
    ++count;
  }
  for (int i = 0; i < count; ++i) BoxColour(h, q.boxes[i], q.map[0][i], q.map[1][i], q.map[2][i]);
  q.colours = count;
}

// ---- Inverse colour map ------------------------------------------------------------------

// Scaled squared distance of one axis: the colour at c, cell centres from lo to hi (8-bit units).
int AxisNearest(int c, int lo, int hi, int scale) {
  const int d = c < lo ? lo - c : c > hi ? c - hi : 0;
  return d * scale * d * scale;
}
int AxisFarthest(int c, int lo, int hi, int scale) {
  const int d = c - lo > hi - c ? c - lo : hi - c;
  return d * scale * d * scale;
}

// Fills the cache of the 4 x 8 x 4 block of cells around (red, green, blue) cell indices with
// the nearest map colour of each cell centre. Only colours that can be nearest to some cell of
// the block are tried: those not farther at their nearest than the best colour at its farthest.
void FillBlock(Quantizer& q, int redCell, int greenCell, int blueCell) {
  const int r0 = redCell & ~(kBlockRed - 1), g0 = greenCell & ~(kBlockGreen - 1),
            b0 = blueCell & ~(kBlockBlue - 1);
  const int loR = r0 * kRedWidth + kRedWidth / 2, hiR = loR + (kBlockRed - 1) * kRedWidth;
  const int loG = g0 * kGreenWidth + kGreenWidth / 2, hiG = loG + (kBlockGreen - 1) * kGreenWidth;
  const int loB = b0 * kBlueWidth + kBlueWidth / 2, hiB = loB + (kBlockBlue - 1) * kBlueWidth;

  int nearest[256], farthest[256];
  int bound = INT_MAX;
  for (int i = 0; i < q.colours; ++i) {
    const int r = q.map[0][i], g = q.map[1][i], b = q.map[2][i];
    nearest[i] = AxisNearest(r, loR, hiR, kRedScale) + AxisNearest(g, loG, hiG, kGreenScale) +
                 AxisNearest(b, loB, hiB, kBlueScale);
    farthest[i] = AxisFarthest(r, loR, hiR, kRedScale) + AxisFarthest(g, loG, hiG, kGreenScale) +
                  AxisFarthest(b, loB, hiB, kBlueScale);
    if (farthest[i] < bound) bound = farthest[i];
  }

  int best[kBlockRed][kBlockGreen][kBlockBlue];
  uint16_t index[kBlockRed][kBlockGreen][kBlockBlue] = {};
  for (auto& plane : best)
    for (auto& line : plane)
      for (int& d : line) d = INT_MAX;
  for (int i = 0; i < q.colours; ++i) {
    if (nearest[i] > bound) continue;
    // Per-axis terms of the distance from this colour to each cell centre of the block.
    int termR[kBlockRed], termG[kBlockGreen], termB[kBlockBlue];
    for (int k = 0; k < kBlockRed; ++k)
      termR[k] = AxisNearest(q.map[0][i], loR + k * kRedWidth, loR + k * kRedWidth, kRedScale);
    for (int k = 0; k < kBlockGreen; ++k)
      termG[k] =
          AxisNearest(q.map[1][i], loG + k * kGreenWidth, loG + k * kGreenWidth, kGreenScale);
    for (int k = 0; k < kBlockBlue; ++k)
      termB[k] = AxisNearest(q.map[2][i], loB + k * kBlueWidth, loB + k * kBlueWidth, kBlueScale);
    for (int r = 0; r < kBlockRed; ++r)
      for (int g = 0; g < kBlockGreen; ++g)
        for (int b = 0; b < kBlockBlue; ++b) {
          const int d = termR[r] + termG[g] + termB[b];
          if (d < best[r][g][b]) {  // strictly nearer: the earlier colour keeps a tie
            best[r][g][b] = d;
            index[r][g][b] = static_cast<uint16_t>(i);
          }
        }
  }
  for (int r = 0; r < kBlockRed; ++r)
    for (int g = 0; g < kBlockGreen; ++g)
      for (int b = 0; b < kBlockBlue; ++b) {
        const int i = index[r][g][b];
        uint64_t entry = static_cast<uint64_t>(i) | kKnown;
        for (int c = 0; c < 3; ++c) entry |= uint64_t{7} * q.map[c][i] << kSevenShift[c];
        q.cache[((r0 + r) * kGreenCells + g0 + g) * kBlueCells + b0 + b] = entry;
      }
}

// The cache entry of a colour, filling its block on first use.
inline uint64_t CacheEntry(Quantizer& q, const uint64_t* cache, intptr_t red, intptr_t green,
                           intptr_t blue) {
  const intptr_t cell = CellIndex(red, green, blue);
  if (!(cache[cell] & kKnown))
    FillBlock(q, static_cast<int>(red >> kRedShift), static_cast<int>(green >> kGreenShift),
              static_cast<int>(blue >> kBlueShift));
  return cache[cell];
}

BYTE* DestinationRow(Quantizer& q, int row) {
  return q.destination->bits + static_cast<size_t>(row) * q.destination->GetStorageWidth();
}

void MapPlain(Quantizer& q) {
  const uint64_t* const cache = q.cache;
  for (int row = 0; row < q.height; ++row) {
    StopIfRequested(q);
    const BYTE* in = SourceRow(q, row);
    BYTE* out = DestinationRow(q, row);
    for (int x = 0; x < q.width; ++x, in += 3)
      out[x] = static_cast<BYTE>(CacheEntry(q, cache, in[2], in[1], in[0]));
  }
}

// A sample pushed past the 8-bit range by its error, brought back. The comparison is rarely
// true, so the processor runs on past it; the bound comes from the sign.
inline intptr_t Clamp255(intptr_t v) {
  return static_cast<uintptr_t>(v) > 255u ? (~v >> (8 * sizeof v - 1)) & 255 : v;
}

// Floyd-Steinberg along one row in direction kDir (+1 or -1). Each pixel takes the error of the
// row above at its column and 7/16 of its predecessor's, in sixteenths; what remains of its own
// error goes 7 ahead, 3 below-behind, 5 below, 1 below-ahead. The below shares collect in running
// sums and land in the error row one column behind the pixel, where the row above's value has
// already been read.
//
// Each pixel waits for its predecessor's error, so the time per pixel is the length of that
// chain, which is kept short: seven times the pixel's value plus the share from above is summed
// while its cache entry is read, and the entry brings seven times the map colour; the limit
// table is indexed before the division by 16. The shares below are summed in Lanes, off the
// chain. The tables are held in locals: the byte stores of the output row could otherwise alias
// them and force a reload for every pixel.
template <int kDir>
void DitherRow(Quantizer& q, const BYTE* bgr, BYTE* out) {
  constexpr uint16_t kInverseOf7 = 0x6DB7;  // 7 x this = 1 (mod 2^16)
  static_assert(static_cast<uint16_t>(7 * kInverseOf7) == 1, "the inverse of 7");
  const int8_t* const errorLimit = q.errorLimit;
  const uint64_t* const cache = q.cache;
  int16_t* const errors = q.errors;
  intptr_t sevenValue[3] = {0, 0, 0};  // the previous pixel's value and map colour, times 7:
  intptr_t sevenMap[3] = {0, 0, 0};    // their difference is its 7/16 share for this pixel
  Lanes behind = {};  // pending sum for the column behind: 5e of the previous + 1e before
  Lanes last = {};    // the previous pixel's error
  int x = kDir > 0 ? 0 : q.width - 1;
  for (int n = 0; n < q.width; ++n, x += kDir) {
    const int16_t* above = errors + kErrorSlots * (x + 1);
    int16_t* behindEntry = errors + kErrorSlots * (x + 1 - kDir);
    const BYTE* pixel = bgr + 3 * x;
    intptr_t value[3];
    for (int c = 0; c < 3; ++c) {
      const intptr_t error = errorLimit[(sevenValue[c] + above[c + 1] + 8) - sevenMap[c]];
      value[c] = Clamp255(pixel[2 - c] + error);
    }
    const uint64_t entry = CacheEntry(q, cache, value[0], value[1], value[2]);
    out[x] = static_cast<BYTE>(entry);
    for (int c = 0; c < 3; ++c) {
      sevenValue[c] = 7 * value[c];
      sevenMap[c] = static_cast<intptr_t>((entry >> kSevenShift[c]) & 0xFFFF);
    }
    Lanes sevenMapLanes;
    std::memcpy(&sevenMapLanes, &entry, sizeof sevenMapLanes);  // little-endian: lane = field
    const Lanes valueLanes = {0, static_cast<uint16_t>(value[0]), static_cast<uint16_t>(value[1]),
                              static_cast<uint16_t>(value[2])};
    // The error itself, from its exact multiple of 7.
    const Lanes e = (valueLanes * 7 - sevenMapLanes) * kInverseOf7;
    const Lanes entryBehind = behind + e * 3;
    std::memcpy(behindEntry, &entryBehind, sizeof entryBehind);
    behind = last + e * 5;
    last = e;
  }
  std::memcpy(errors + kErrorSlots * (x - kDir + 1), &behind, sizeof behind);
}

void MapDithered(Quantizer& q) {
  for (int row = 0; row < q.height; ++row) {
    StopIfRequested(q);
    if (row % 2 == 0)
      DitherRow<1>(q, SourceRow(q, row), DestinationRow(q, row));
    else
      DitherRow<-1>(q, SourceRow(q, row), DestinationRow(q, row));
  }
}

}  // namespace

void MedianCutQuantizer(j_decompress_ptr params, const CDIB& source, CDIB& destination) {
  Quantizer q{};
  q.params = params;
  q.source = &source;
  q.destination = &destination;
  q.width = source.GetWidth();
  q.height = source.GetHeight();
  CheckParameters(q);
  AllocateAll(q);

  Prescan(q);
  ChooseColours(q);
  if (Dithering(q))
    MapDithered(q);
  else
    MapPlain(q);
  params->actual_number_of_colors = q.colours;
  params->colormap = q.map;
}

// The library object serves as the parameter block, memory pool and error manager. The target's
// pixels stay untouched on failure because the quantizer checks its parameters and takes all its
// memory before it writes one. Only libjpeg's C frames lie between the return point and a jump.
bool RunMedianCut(const CDIB& source, CDIB& destination, int colours, bool dither, int* count,
                  int components) {
  JpegErrorManager errors;
  jpeg_decompress_struct object{};
  object.err = InitJpegErrorManager(errors);
  if (setjmp(errors.returnPoint)) {
    jpeg_destroy_decompress(&object);
    return false;
  }
  jpeg_create_decompress(&object);
  object.out_color_components = components;
  object.output_width = static_cast<JDIMENSION>(source.GetWidth());
  object.desired_number_of_colors = colours;
  object.dither_mode = dither ? JDITHER_FS : JDITHER_NONE;
  object.enable_2pass_quant = TRUE;
  MedianCutQuantizer(&object, source, destination);
  for (int i = 0; i < object.actual_number_of_colors; ++i) {
    destination.header->bmiColors[i] =
        RGBQUAD{object.colormap[2][i], object.colormap[1][i], object.colormap[0][i], 0};
  }
  if (count) *count = object.actual_number_of_colors;
  jpeg_destroy_decompress(&object);
  return true;
}
