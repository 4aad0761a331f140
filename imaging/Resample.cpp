#include "imaging/Resample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/NearestColor.h"
#include "imaging/ProgressStepper.h"
#include "seams/Clock.h"

namespace {

using DIBPtr = std::unique_ptr<CDIB>;

bool HasDepth(const CDIB* dib, int bitCount) {
  return dib && dib->bits && dib->header->bmiHeader.biBitCount == bitCount;
}

const BYTE* Row(const CDIB& dib, int row) {
  return dib.bits + static_cast<size_t>(row) * dib.GetStorageWidth();
}
BYTE* Row(CDIB& dib, int row) {
  return dib.bits + static_cast<size_t>(row) * dib.GetStorageWidth();
}

// A new w x h 8-bit bitmap carrying the source's colour table (its entries and count, as a
// palette made from the source would give them); null when it cannot be made.
DIBPtr NewLike(const CDIB& source, int w, int h) {
  DIBPtr dib(new (std::nothrow) CDIB);
  if (!dib || !dib->Create(w, h, nullptr)) return nullptr;
  const int count = std::min(source.GetNumColors(), 256);
  std::memcpy(dib->header->bmiColors, source.header->bmiColors, count * sizeof(RGBQUAD));
  dib->header->bmiHeader.biClrUsed = static_cast<DWORD>(count);
  return dib;
}

// Where the back colour goes in a letterbox canvas's colour table, and how the picture's indices
// move to make room for it.
struct BackEntry {
  int index;
  BYTE remap[256];
  bool remapped;
};

int SquaredDistance(const RGBQUAD& a, const RGBQUAD& b) {
  const int dr = a.rgbRed - b.rgbRed, dg = a.rgbGreen - b.rgbGreen, db = a.rgbBlue - b.rgbBlue;
  return dr * dr + dg * dg + db * db;
}

bool SameColour(const RGBQUAD& a, const RGBQUAD& b) { return SquaredDistance(a, b) == 0; }

// Puts the back colour into the table of `count` entries: at an entry that already holds it,
// else after the picture's colours; a full table gives up the entry whose colour lies nearest
// another entry's, and the picture's pixels of that entry take the other.
BackEntry MakeRoomForBack(RGBQUAD table[256], int* count, const RGBQUAD& back) {
  BackEntry entry{0, {}, false};
  for (int i = 0; i < 256; ++i) entry.remap[i] = static_cast<BYTE>(i);
  for (int i = 0; i < *count; ++i)
    if (SameColour(table[i], back)) return entry.index = i, entry;
  if (*count < 256) {
    entry.index = (*count)++;
    table[entry.index] = back;
    return entry;
  }
  int best = INT32_MAX, freed = 255, kept = 0;
  for (int a = 0; a < 256; ++a)
    for (int b = a + 1; b < 256; ++b)
      if (const int d = SquaredDistance(table[a], table[b]); d < best)
        best = d, freed = b, kept = a;
  entry.remap[freed] = static_cast<BYTE>(kept);
  entry.remapped = true;
  entry.index = freed;
  table[freed] = back;
  return entry;
}

// The picture centred on a W x H canvas of the back colour; the canvas's table is the source's
// with the back colour in it, so the bars show that colour whatever the picture's colours are.
DIBPtr Letterbox(const CDIB& source, const CDIB& picture, int screenWidth, int screenHeight,
                 const RGBQUAD& back) {
  DIBPtr canvas = NewLike(source, screenWidth, screenHeight);
  if (!canvas) return nullptr;
  int count = std::min(source.GetNumColors(), 256);
  const BackEntry entry = MakeRoomForBack(canvas->header->bmiColors, &count, back);
  canvas->header->bmiHeader.biClrUsed = static_cast<DWORD>(count);
  std::memset(canvas->bits, entry.index,
              static_cast<size_t>(canvas->GetStorageWidth()) * screenHeight);
  const int w = picture.GetWidth(), h = picture.GetHeight();
  const int left = screenWidth / 2 - w / 2, top = screenHeight / 2 - h / 2;
  for (int y = 0; y < h; ++y) {
    const BYTE* in = Row(picture, h - 1 - y);
    BYTE* out = Row(*canvas, screenHeight - 1 - (top + y)) + left;
    if (!entry.remapped) {
      std::memcpy(out, in, w);
      continue;
    }
    for (int x = 0; x < w; ++x) out[x] = entry.remap[in[x]];
  }
  return canvas;
}

BOOL Deliver(DIBPtr dib, CDIB** result) {
  if (!dib) return 0;
  *result = dib.release();
  return 1;
}

// ---- Stretches ---------------------------------------------------------------------------

// Source index i x srcLen / dstLen for every destination index.
std::vector<int> NearestIndices(int srcLen, int dstLen) {
  std::vector<int> indices(std::max(dstLen, 0));
  for (int i = 0; i < dstLen; ++i) indices[i] = static_cast<int>(int64_t{i} * srcLen / dstLen);
  return indices;
}

void StretchNearest8(const CDIB& source, CDIB& destination) {
  const std::vector<int> columns = NearestIndices(source.GetWidth(), destination.GetWidth());
  const std::vector<int> rows = NearestIndices(source.GetHeight(), destination.GetHeight());
  for (size_t j = 0; j < rows.size(); ++j) {
    const BYTE* in = Row(source, rows[j]);
    BYTE* out = Row(destination, static_cast<int>(j));
    for (size_t i = 0; i < columns.size(); ++i) out[i] = in[columns[i]];
  }
}

// The two source samples of a bilinear tap and the weight of the first, out of 256.
struct BilinearTap {
  int first, second, weight;
};

// Past the last pair of samples (the last stretch of the destination) the last sample stands
// alone, as it does at the picture's other edges; a source one sample long gives that sample.
BilinearTap Tap(int i, int srcLen, int dstLen) {
  const int64_t position = int64_t{i} * srcLen;
  const int first = static_cast<int>(position / dstLen);
  if (srcLen < 2) return {0, 0, 256};
  if (first >= srcLen - 1) return {srcLen - 2, srcLen - 1, 0};
  return {first, first + 1, 256 - static_cast<int>(position % dstLen * 256 / dstLen)};
}

std::vector<BilinearTap> Taps(int srcLen, int dstLen) {
  std::vector<BilinearTap> taps(std::max(dstLen, 0));
  for (int i = 0; i < dstLen; ++i) taps[i] = Tap(i, srcLen, dstLen);
  return taps;
}

// One destination row of a bilinear stretch from a line of vertical sums (each at most
// 255 x 256). Local restrict pointers: the output's byte stores could otherwise alias the line
// and the taps and force them to be read again for every sample.
template <int channels>
void BlendAlongLine(const uint16_t* __restrict line, const BilinearTap* __restrict taps, int count,
                    BYTE* __restrict out) {
  for (int i = 0; i < count; ++i, out += channels) {
    const uint16_t* a = line + taps[i].first * channels;
    const uint16_t* b = line + taps[i].second * channels;
    const int32_t wA = taps[i].weight, wB = 256 - wA;
    for (int c = 0; c < channels; ++c) out[c] = static_cast<BYTE>((a[c] * wA + b[c] * wB) >> 16);
  }
}

// Bilinear stretch over samples of `channels` bytes per pixel (3 for 24 bits, 1 for 8). Each
// destination row first blends its two source rows down into one line of sums (the weights
// multiply out the same whichever axis goes first, and nothing is divided before the end), then
// blends along the line. Every sum is positive, so the final division is a shift; the line's
// sums fit 16 bits (the two weights make 256), which lets the vertical blend run eight samples
// to a vector step. A stop request (the saver is closing) ends it between two rows, the
// destination part-drawn.
template <int channels>
void StretchBilinear(const CDIB& source, CDIB& destination) {
  const std::vector<BilinearTap> columns = Taps(source.GetWidth(), destination.GetWidth());
  const std::vector<BilinearTap> rows = Taps(source.GetHeight(), destination.GetHeight());
  const size_t lineLength = static_cast<size_t>(source.GetWidth()) * channels;
  std::vector<uint16_t> line(lineLength);
  uint16_t* const sums = line.data();
  for (size_t j = 0; j < rows.size() && !seams::StopRequested(); ++j) {
    const BilinearTap& ty = rows[j];
    const BYTE* top = Row(source, ty.first);
    const BYTE* bottom = Row(source, ty.second);
    const uint16_t wTop = static_cast<uint16_t>(ty.weight),
                   wBottom = static_cast<uint16_t>(256 - ty.weight);
    for (size_t i = 0; i < lineLength; ++i)
      sums[i] = static_cast<uint16_t>(top[i] * wTop + bottom[i] * wBottom);
    BlendAlongLine<channels>(sums, columns.data(), static_cast<int>(columns.size()),
                             Row(destination, static_cast<int>(j)));
  }
}

bool CanSample(const CDIB& source) { return source.GetWidth() > 0 && source.GetHeight() > 0; }

// ---- Palette interpolation ---------------------------------------------------------------

// An enlargement by p/q.
struct Factor {
  int p, q;
};

constexpr Factor kFactors[6] = {{5, 2}, {2, 1}, {9, 5}, {8, 5}, {5, 4}, {1, 1}};

// By the screen side that limits the picture; the steps suit a 640 x 480 picture. Its index in
// kFactors.
int ChooseFactor(int w, int h, int screenWidth, int screenHeight) {
  const bool heightLimited = int64_t{h} * screenWidth / w > screenHeight;
  const int side = heightLimited ? screenHeight : screenWidth;
  const int steps[5] = {heightLimited ? 1200 : 1600, heightLimited ? 960 : 1280,
                        heightLimited ? 864 : 1152, heightLimited ? 768 : 1024,
                        heightLimited ? 600 : 800};
  for (int i = 0; i < 5; ++i)
    if (side >= steps[i]) return i;
  return 5;
}

int64_t Scaled(int length, Factor f) { return int64_t{length} * f.p / f.q; }

// Where destination index i of an enlargement by p/q takes its value: sample `first` alone
// (no table), or table[first sample x 256 + second sample].
struct InterpolationTap {
  int first, second;
  const BYTE* table;
};

// The blend tables of a factor p/q: table t holds, for entries a and b, the palette index
// nearest to ((t + 1) a + (p - 1 - t) b) / p, one table for each weight above one half.
class BlendTables {
 public:
  BlendTables(const CDIB& source, Factor f, HWND progress);
  // Taps for a whole axis of srcLen samples enlarged to dstLen.
  std::vector<InterpolationTap> Taps(int srcLen, int dstLen) const;

 private:
  void Build(int t, const RGBQUAD* colours, const ColorMatcher& matcher, ProgressStepper& stepper);
  InterpolationTap Tap(int i, int srcLen) const;

  Factor f_;
  std::vector<BYTE> tables_;  // 65536 entries per table, indexed by a x 256 + b
};

BlendTables::BlendTables(const CDIB& source, Factor f, HWND progress)
    : f_(f), tables_(static_cast<size_t>(f.p / 2) * 65536) {
  const int count = f.p / 2;
  // About ten steps over all the tables' rows.
  ProgressStepper stepper(progress, count == 1 ? 25 : count == 2 ? 51 : 102);
  const ColorMatcher matcher(TableEntries(source, source.GetNumColors()));
  for (int t = 0; t < count; ++t) Build(t, source.header->bmiColors, matcher, stepper);
}

void BlendTables::Build(int t, const RGBQUAD* colours, const ColorMatcher& matcher,
                        ProgressStepper& stepper) {
  const int p = f_.p, wa = t + 1, wb = p - 1 - t;
  BYTE* table = &tables_[static_cast<size_t>(t) * 65536];
  for (int a = 0; a < 256; ++a, stepper.Count()) {
    const RGBQUAD& ca = colours[a];
    for (int b = 0; b < 256; ++b) {
      const RGBQUAD& cb = colours[b];
      table[a * 256 + b] = static_cast<BYTE>(matcher.Nearest(
          (wa * ca.rgbRed + wb * cb.rgbRed) / p, (wa * ca.rgbGreen + wb * cb.rgbGreen) / p,
          (wa * ca.rgbBlue + wb * cb.rgbBlue) / p));
    }
  }
}

// Destination index i lies at source position i x q / p: between samples left and left + 1,
// numerator / p of the way. The table is the one of the heavier weight, with the heavier sample
// as b. At the far edge, where left + 1 would lie outside the source (a source one sample long,
// or factor 5/2 on an even length), the nearest sample stands alone.
InterpolationTap BlendTables::Tap(int i, int srcLen) const {
  const int64_t position = int64_t{i} * f_.q;
  const int left = static_cast<int>(position / f_.p), numerator = static_cast<int>(position % f_.p);
  if (numerator == 0 || left + 1 >= srcLen) return {left, left, nullptr};
  const int heavier = std::max(numerator, f_.p - numerator);
  const BYTE* table = &tables_[static_cast<size_t>(f_.p - 1 - heavier) * 65536];
  if (2 * numerator >= f_.p) return {left, left + 1, table};
  return {left + 1, left, table};
}

// The last destination index repeats the one before it.
std::vector<InterpolationTap> BlendTables::Taps(int srcLen, int dstLen) const {
  std::vector<InterpolationTap> taps(std::max(dstLen, 0));
  for (int i = 0; i < dstLen; ++i) taps[i] = Tap(i, srcLen);
  if (dstLen >= 2) taps[dstLen - 1] = taps[dstLen - 2];
  return taps;
}

// The taps of one axis that fall inside the shown part, `length` of them from `first`.
std::vector<InterpolationTap> Slice(std::vector<InterpolationTap> taps, int first, int length) {
  taps.erase(taps.begin(), taps.begin() + first);
  taps.resize(length);
  return taps;
}

void HorizontalPass(const CDIB& source, CDIB& out, const std::vector<InterpolationTap>& taps) {
  for (int j = 0; j < source.GetHeight(); ++j) {
    const BYTE* in = Row(source, j);
    BYTE* o = Row(out, j);
    for (const InterpolationTap& t : taps)
      *o++ = t.table ? t.table[in[t.first] * 256 + in[t.second]] : in[t.first];
  }
}

void VerticalPass(const CDIB& in, CDIB& out, const std::vector<InterpolationTap>& taps) {
  const int w = out.GetWidth();
  for (size_t r = 0; r < taps.size(); ++r) {
    const InterpolationTap& t = taps[r];
    const BYTE* a = Row(in, t.first);
    BYTE* o = Row(out, static_cast<int>(r));
    if (!t.table) {
      std::memcpy(o, a, w);
      continue;
    }
    const BYTE* b = Row(in, t.second);
    for (int i = 0; i < w; ++i) o[i] = t.table[a[i] * 256 + b[i]];
  }
}

// The part of an nw x nh enlargement that the screen shows: all of it when it fits, else the
// screen's size from the centre, as the picture is centred on the screen (columns from x0,
// memory rows from y0).
struct Window {
  int x0, y0, w, h;
};

Window ShownPart(int nw, int nh, int screenWidth, int screenHeight) {
  if (nw <= screenWidth && nh <= screenHeight) return {0, 0, nw, nh};
  const int top = (nh - screenHeight) / 2;
  return {(nw - screenWidth) / 2, nh - top - screenHeight, screenWidth, screenHeight};
}

// The shown part of the source enlarged by the factor to nw x nh; null when a bitmap cannot be
// made. Nothing outside that part is computed.
DIBPtr Enlarge(const CDIB& source, Factor f, int nw, int nh, const Window& shown, HWND progress) {
  DIBPtr result = NewLike(source, shown.w, shown.h);
  if (!result) return nullptr;
  if (f.p == f.q) {
    for (int r = 0; r < shown.h; ++r)
      std::memcpy(Row(*result, r), Row(source, shown.y0 + r) + shown.x0, shown.w);
    return result;
  }
  DIBPtr wide = NewLike(source, shown.w, source.GetHeight());
  if (!wide) return nullptr;
  const BlendTables tables(source, f, progress);
  HorizontalPass(source, *wide, Slice(tables.Taps(source.GetWidth(), nw), shown.x0, shown.w));
  VerticalPass(*wide, *result, Slice(tables.Taps(source.GetHeight(), nh), shown.y0, shown.h));
  return result;
}

}  // namespace

BOOL InterpolateToScreen(const CDIB* source, int screenWidth, int screenHeight, CDIB** result,
                         const RGBQUAD& back, HWND progress) {
  if (!result || !HasDepth(source, 8) || !CanSample(*source) || screenWidth <= 0 ||
      screenHeight <= 0)
    return 0;
  const int w = source->GetWidth(), h = source->GetHeight();
  // A factor whose picture would pass the screen one way and fall short of it the other (a 4:3
  // picture enlarged by the height's factor on a wide screen) gives way to the next smaller one.
  int64_t nw = 0, nh = 0;
  bool shorter = false, mismatched = true;
  int i = ChooseFactor(w, h, screenWidth, screenHeight);
  for (; mismatched && i < 6; ++i) {
    nw = Scaled(w, kFactors[i]), nh = Scaled(h, kFactors[i]);
    shorter = nw < screenWidth || nh < screenHeight;
    mismatched = shorter && (nw > screenWidth || nh > screenHeight);
  }
  // Even unenlarged it does not fit one way: it is fitted like a plain stretch.
  if (mismatched) return StretchToScreen(source, screenWidth, screenHeight, result, back);
  if (nw > CDIB::kMaxSide || nh > CDIB::kMaxSide) return 0;

  const int cw = static_cast<int>(nw), ch = static_cast<int>(nh);
  DIBPtr enlarged = Enlarge(*source, kFactors[i - 1], cw, ch,
                            ShownPart(cw, ch, screenWidth, screenHeight), progress);
  if (!enlarged || !shorter) return Deliver(std::move(enlarged), result);
  return Deliver(Letterbox(*source, *enlarged, screenWidth, screenHeight, back), result);
}

BOOL StretchToScreen(const CDIB* source, int screenWidth, int screenHeight, CDIB** result,
                     const RGBQUAD& back) {
  if (!result || !source || !CanSample(*source) || screenWidth <= 0 || screenHeight <= 0) return 0;
  const int w = source->GetWidth(), h = source->GetHeight();
  if (HasDepth(source, 24)) {
    DIBPtr full(new (std::nothrow) CDIB);
    if (!full || !full->Create24(screenWidth, screenHeight)) return 0;
    if (w == screenWidth && h == screenHeight)
      std::memcpy(full->bits, source->bits, static_cast<size_t>(full->GetStorageWidth()) * h);
    else
      StretchBilinear<3>(*source, *full);
    if (seams::StopRequested()) return 0;
    return Deliver(std::move(full), result);
  }
  if (!HasDepth(source, 8)) return 0;

  int fitW = screenWidth, fitH = static_cast<int>(int64_t{h} * screenWidth / w);
  if (fitH > screenHeight)
    fitW = static_cast<int>(int64_t{w} * screenHeight / h), fitH = screenHeight;
  DIBPtr fit = NewLike(*source, fitW, fitH);
  if (!fit) return 0;
  if (fitW == w && fitH == h)
    std::memcpy(fit->bits, source->bits, static_cast<size_t>(fit->GetStorageWidth()) * h);
  else
    StretchNearest8(*source, *fit);
  if (fitW == screenWidth && fitH == screenHeight) return Deliver(std::move(fit), result);
  return Deliver(Letterbox(*source, *fit, screenWidth, screenHeight, back), result);
}

BOOL StretchDIB8(const CDIB* source, CDIB* destination) {
  if (!HasDepth(source, 8) || !HasDepth(destination, 8) || !CanSample(*source)) return 0;
  StretchNearest8(*source, *destination);
  return 1;
}

BOOL StretchDIB24(const CDIB* source, CDIB* destination) {
  if (!HasDepth(source, 24) || !HasDepth(destination, 24) || !CanSample(*source)) return 0;
  StretchBilinear<3>(*source, *destination);
  return !seams::StopRequested();
}

BOOL StretchDIB8Bilinear(const CDIB* source, CDIB* destination) {
  if (!HasDepth(source, 8) || !HasDepth(destination, 8) || !CanSample(*source)) return 0;
  StretchBilinear<1>(*source, *destination);
  return 1;
}

BOOL StretchDIB8InColour(const CDIB* source, CDIB* destination) {
  if (!HasDepth(source, 8) || !HasDepth(destination, 8) || !CanSample(*source)) return 0;
  CDIB colours, stretched;
  if (!colours.Create24(source->GetWidth(), source->GetHeight()) ||
      !stretched.Create24(destination->GetWidth(), destination->GetHeight())) {
    return 0;
  }
  const int w = source->GetWidth(), h = source->GetHeight();
  source->CopyTransparent(&colours, 0, 0, w, h, 0, 0, -1);  // -1: no colour is see-through
  StretchBilinear<3>(colours, stretched);
  stretched.CopyRemap24(destination, 0, 0, destination->GetWidth(), destination->GetHeight(), 0, 0);
  return !seams::StopRequested();
}

CDIB* QuarterDIB8(const CDIB* source) {
  if (!HasDepth(source, 8)) return nullptr;
  // A picture under four pixels across or down keeps one: a bitmap of no pixels cannot be read
  // back from the cache it goes into.
  const int w = std::max(1, source->GetWidth() / 4), h = std::max(1, source->GetHeight() / 4);
  DIBPtr quarter = NewLike(*source, w, h);
  if (!quarter) return nullptr;
  for (int y = 0; y < h; ++y) {
    const BYTE* in = Row(*source, 4 * y);
    BYTE* out = Row(*quarter, y);
    for (int x = 0; x < w; ++x) out[x] = in[4 * x];
  }
  return quarter.release();
}

CDIB* ShrinkDIB8(const CDIB* source, int width, int height) {
  if (!HasDepth(source, 8) || width < 0 || height < 0 || width > source->GetWidth() ||
      height > source->GetHeight())
    return nullptr;
  DIBPtr small = NewLike(*source, width, height);
  if (!small) return nullptr;
  StretchNearest8(*source, *small);
  return small.release();
}

BOOL MirrorDIB(CDIB* dib) {
  if (!HasDepth(dib, 8)) return 0;
  for (int y = 0; y < dib->GetHeight(); ++y) {
    BYTE* row = Row(*dib, y);
    std::reverse(row, row + dib->GetWidth());
  }
  return 1;
}
