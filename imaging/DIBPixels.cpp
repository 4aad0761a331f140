// The pixel operations of CDIB: colour mapping, copies between depths, lightening, quantizing.
// JPEG decoding lives in JpegDecode.cpp.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "framework/Gdi.h"
#include "imaging/DIB.h"
#include "imaging/DIBContent.h"
#include "imaging/MedianCut.h"
#include "imaging/NearestColor.h"

namespace {

int BitCount(const CDIB& dib) { return dib.header ? dib.header->bmiHeader.biBitCount : 0; }

// The palette's entries (at most 256: that is all a colour table holds); empty when it has none.
std::vector<PALETTEENTRY> PaletteEntries(const CPalette& palette) {
  const int available = std::min(palette.GetEntryCount(), 256);
  if (available <= 0) return {};
  std::vector<PALETTEENTRY> entries(available);
  entries.resize(palette.GetPaletteEntries(0, available, entries.data()));
  return entries;
}

// Every pixel replaced by the colour of its nearest palette entry; padding untouched.
void SnapPixels24(CDIB& dib, const ColorMatcher& matcher,
                  const std::vector<PALETTEENTRY>& entries) {
  for (int y = 0; y < dib.GetHeight(); ++y) {
    BYTE* p = dib.GetPixelAddress(0, y);
    for (int x = 0; x < dib.GetWidth(); ++x, p += 3) {
      const PALETTEENTRY& e = entries[matcher.Nearest(p[2], p[1], p[0])];
      p[0] = e.peBlue;
      p[1] = e.peGreen;
      p[2] = e.peRed;
    }
  }
}

// Every byte of the bits (padding included) through the map: whole bytes, or two nibbles. The
// nibble form is only used when every mapped value fits in a nibble.
void RemapIndices(CDIB& dib, const BYTE map[256]) {
  BYTE* p = dib.bits;
  BYTE* end = p + static_cast<size_t>(dib.GetStorageWidth()) * dib.GetHeight();
  if (BitCount(dib) == 8) {
    for (; p < end; ++p) *p = map[*p];
  } else {
    for (; p < end; ++p) *p = static_cast<BYTE>(map[*p >> 4] << 4 | map[*p & 0x0F]);
  }
}

// Turns a 4-bit bitmap into an 8-bit one with the same colour table, so that it can take indices
// above 15. The bits become the object's own. False (nothing changed) when memory runs out.
bool ExpandTo8Bits(CDIB& dib) {
  const int w = dib.GetWidth(), h = dib.GetHeight();
  const size_t stride = (static_cast<size_t>(w) + 3) & ~size_t{3};
  BYTE* wide = static_cast<BYTE*>(std::calloc(std::max<size_t>(stride * h, 1), 1));
  if (!wide) return false;
  for (int y = 0; y < h; ++y) {
    const BYTE* narrow = dib.GetPixelAddress(0, y);
    BYTE* out = wide + static_cast<size_t>(h - 1 - y) * stride;
    for (int x = 0; x < w; ++x) out[x] = (x & 1) ? narrow[x / 2] & 0x0F : narrow[x / 2] >> 4;
  }
  std::vector<BYTE> header(CDIB::kHeaderBlockSize);
  std::memcpy(header.data(), dib.header, header.size());
  reinterpret_cast<BITMAPINFO*>(header.data())->bmiHeader.biBitCount = 8;
  if (!dib.AttachPacked(reinterpret_cast<BITMAPINFO*>(header.data()), wide, 1)) {
    std::free(wide);
    return false;
  }
  return true;
}

// The rectangle w x h at (x, y), y from the top, lies inside the bitmap. Callers clip, but a
// rectangle that does not fit must not make a copy write outside the bits.
bool Inside(const CDIB& dib, int x, int y, int w, int h) {
  return dib.bits && x >= 0 && y >= 0 && w > 0 && h > 0 && int64_t{x} + w <= dib.GetWidth() &&
         int64_t{y} + h <= dib.GetHeight();
}

// Calls rowFn(source row, destination row) for the h rows of a copy rectangle, bottom row first.
// False (nothing done) when either rectangle is empty or does not fit its bitmap.
template <typename RowFn>
bool ForEachCopyRow(const CDIB& source, int sx, int sy, CDIB& destination, int dx, int dy, int w,
                    int h, RowFn rowFn) {
  if (!Inside(source, sx, sy, w, h) || !Inside(destination, dx, dy, w, h)) return false;
  for (int row = h - 1; row >= 0; --row)
    rowFn(source.GetPixelAddress(sx, sy + row), destination.GetPixelAddress(dx, dy + row));
  return true;
}

// c' = c x (255 - t) / 255 + t, clamped to a byte: colours move toward white by t.
void BuildLightenTable(int t, BYTE table[256]) {
  for (int c = 0; c < 256; ++c) {
    const int64_t v = int64_t{c} * (255 - int64_t{t}) / 255 + t;
    table[c] = static_cast<BYTE>(std::clamp<int64_t>(v, 0, 255));
  }
}

}  // namespace

BOOL CDIB::MapColorsToPalette(CPalette* palette) {
  if (!palette || !header || !bits) return 0;
  const int bitCount = BitCount(*this);
  if (bitCount != 4 && bitCount != 8 && bitCount != 24) return 0;
  std::vector<PALETTEENTRY> entries;
  std::unique_ptr<ColorMatcher> matcher;
  try {
    entries = PaletteEntries(*palette);
    if (entries.empty()) return 0;
    matcher = std::make_unique<ColorMatcher>(entries);
  } catch (const std::bad_alloc&) {
    return 0;  // out of memory: the bitmap is left as it was
  }

  if (bitCount == 24) {
    SnapPixels24(*this, *matcher, entries);
  } else {
    // Indices from a palette of more than 16 entries do not fit in a nibble.
    if (bitCount == 4 && entries.size() > 16 && !ExpandTo8Bits(*this)) return 0;
    BYTE map[256];
    for (int i = 0; i < 256; ++i) {
      const RGBQUAD& q = header->bmiColors[i];
      map[i] = static_cast<BYTE>(matcher->Nearest(q.rgbRed, q.rgbGreen, q.rgbBlue));
    }
    RemapIndices(*this, map);
  }

  std::fill(header->bmiColors, header->bmiColors + 256, RGBQUAD{0, 0, 0, 0});
  for (size_t i = 0; i < entries.size(); ++i)
    header->bmiColors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  header->bmiHeader.biClrUsed = static_cast<DWORD>(entries.size());
  return 1;
}

void CDIB::CopyBits(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy,
                    int transparent) const {
  if (!destination) return;
  const int from = BitCount(*this), to = BitCount(*destination);
  if (from == 8 && to == 24) return CopyTransparent(destination, dx, dy, w, h, sx, sy, transparent);
  if (from == 24 && to == 24) return Copy(destination, dx, dy, w, h, sx, sy);
  if (from == 24 && to == 8) return CopyRemap24(destination, dx, dy, w, h, sx, sy);
  if (from != 8 || to != 8) return;

  if (transparent == -1) {
    ForEachCopyRow(*this, sx, sy, *destination, dx, dy, w, h,
                   [w](const BYTE* s, BYTE* d) { std::memmove(d, s, w); });
    return;
  }
  const BYTE key = static_cast<BYTE>(transparent);  // sprites pass index | 0x01000000
  ForEachCopyRow(*this, sx, sy, *destination, dx, dy, w, h, [w, key](const BYTE* s, BYTE* d) {
    for (int x = 0; x < w; ++x)
      if (s[x] != key) d[x] = s[x];
  });
}

void CDIB::CopyTransparent(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy,
                           int transparent) const {
  if (!destination || BitCount(*this) != 8 || BitCount(*destination) != 24) return;
  const bool keyed = transparent != -1;
  const BYTE key = static_cast<BYTE>(transparent);
  const RGBQUAD* table = header->bmiColors;
  ForEachCopyRow(*this, sx, sy, *destination, dx, dy, w, h,
                 [w, keyed, key, table](const BYTE* s, BYTE* d) {
                   for (int x = 0; x < w; ++x, d += 3) {
                     if (keyed && s[x] == key) continue;
                     const RGBQUAD& c = table[s[x]];
                     d[0] = c.rgbBlue;
                     d[1] = c.rgbGreen;
                     d[2] = c.rgbRed;
                   }
                 });
}

void CDIB::Copy(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy) const {
  if (!destination || BitCount(*this) != 24 || BitCount(*destination) != 24) return;
  const size_t bytes = 3 * static_cast<size_t>(w);
  ForEachCopyRow(*this, sx, sy, *destination, dx, dy, w, h,
                 [bytes](const BYTE* s, BYTE* d) { std::memmove(d, s, bytes); });
}

void CDIB::CopyRemap24(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy) const {
  if (!destination || BitCount(*this) != 24 || BitCount(*destination) != 8) return;
  if (!Inside(*this, sx, sy, w, h) || !Inside(*destination, dx, dy, w, h)) return;
  const ColorMatcher matcher(TableEntries(*destination, destination->GetNumColors()));
  if (matcher.Size() == 0) return;
  ForEachCopyRow(*this, sx, sy, *destination, dx, dy, w, h, [w, &matcher](const BYTE* s, BYTE* d) {
    for (int x = 0; x < w; ++x, s += 3) d[x] = static_cast<BYTE>(matcher.Nearest(s[2], s[1], s[0]));
  });
}

void CDIB::Lighten(int amount) {
  if (!header) return;
  if (BitCount(*this) == 24) return Lighten24(amount);
  BYTE table[256];
  BuildLightenTable(amount, table);
  const int count = std::min(GetNumColors(), 256);
  for (int i = 0; i < count; ++i) {
    RGBQUAD& q = header->bmiColors[i];
    q.rgbRed = table[q.rgbRed];
    q.rgbGreen = table[q.rgbGreen];
    q.rgbBlue = table[q.rgbBlue];
  }
}

void CDIB::Lighten24(int amount) {
  if (!bits || BitCount(*this) != 24 || GetWidth() == 0 || GetHeight() == 0) return;
  BYTE table[256];
  BuildLightenTable(amount, table);
  const size_t rowBytes = 3 * static_cast<size_t>(GetWidth());
  for (int y = 0; y < GetHeight(); ++y) {
    BYTE* p = GetPixelAddress(0, y);
    for (size_t i = 0; i < rowBytes; ++i) p[i] = table[p[i]];
  }
}

BOOL CDIB::Quantize(CDIB* destination, int colours, int dither) {
  const int bitCount = BitCount(*this);
  if (!destination || destination == this || !bits || (bitCount != 8 && bitCount != 24)) return 0;
  const int w = GetWidth(), h = GetHeight();
  // A destination of the right shape keeps its blocks (they may be a surface's); any other is
  // built aside and only takes the result when quantizing worked, so a failure loses nothing.
  const bool reuse = destination->bits && BitCount(*destination) == 8 &&
                     destination->GetWidth() == w && destination->GetHeight() == h;
  CDIB fresh;
  if (!reuse && !fresh.Create(w, h, nullptr)) return 0;
  CDIB& target = reuse ? *destination : fresh;
  if (!RunMedianCut(*this, target, colours, dither != 0)) return 0;
  if (!reuse) SwapDIBContent(fresh, *destination);
  return 1;
}
