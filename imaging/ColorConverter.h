// CColorConverter: turns one macroblock row of decoded samples (luminance and chroma block rows)
// into output pixel rows: grey values (type 1), blue-green-red (type 3) or palette indices found
// through a 4096-bucket colour hash (types 2 and 4).
#pragma once

#include <cstdint>
#include <vector>

#include "framework/WinTypes.h"

namespace packed {

// The six block-row buffers of a macroblock row, each 8 rows of its width: luminance rows 0-7 and
// 8-15, Cb rows 0-7 and 8-15, Cr rows 0-7 and 8-15 (the bottom chroma rows only at 4:4:4).
enum BlockRowId { kLumaTop = 0, kLumaBottom, kCbTop, kCbBottom, kCrTop, kCrBottom, kBlockRowCount };
struct BlockRows {
  uint8_t* row[kBlockRowCount] = {};
  int32_t width[kBlockRowCount] = {};
};

}  // namespace packed

// Nearest palette colour by buckets of 16 levels per component: the colour's own bucket when it
// holds entries, else the buckets one step around it, else two steps, else the whole palette.
// Distances are squared RGB distances; the lowest index wins a tie, and of two entries of the
// same colour only the lower index is kept.
class CPaletteHash {
 public:
  static constexpr int kBuckets = 4096;

  // palette: count (0..256) entries of blue, green, red, unused.
  void Build(const RGBQUAD* palette, int count);
  // The index for a colour. Not const: an empty bucket's search is planned at its first use.
  uint8_t Lookup(int red, int green, int blue);

 private:
  struct Entry {
    uint8_t blue, green, red;
    uint8_t index;
  };
  // Where a colour of a bucket looks: its own entries, else those of the first ring around it
  // that holds any, else every colour. The winner is always the smallest distance, then the
  // lowest index, so the order of the candidates does not matter.
  enum PlanKind : uint8_t { kUnplanned, kOwnBucket, kRing, kAllColours, kUnstored };
  struct Plan {
    int32_t first = 0;  // into m_entries (own bucket) or m_ringEntries (ring)
    int32_t count = 0;
    PlanKind kind = kUnplanned;
  };
  static int Key(int red, int green, int blue) {
    return (red >> 4) * 256 + (green >> 4) * 16 + (blue >> 4);
  }
  // Entries of the ring of buckets around key that holds any, one step before two.
  int GatherRings(int key, Entry* out) const;
  void PlanBucket(int key);

  // Unique colours grouped by bucket, each group in palette order: bucket k is
  // m_entries[m_start[k] .. m_start[k + 1]).
  int16_t m_start[kBuckets + 1] = {};
  Entry m_entries[256] = {};
  int m_uniqueCount = 0;
  Plan m_plans[kBuckets];
  std::vector<Entry> m_ringEntries;
};

class CColorConverter {
 public:
  // pixels: the decoded pixel buffer (height rows of the type's row stride); rows: the block-row
  // buffers (owned by the caller); palette: for types 2 and 4.
  CColorConverter(uint32_t type, int32_t width, int32_t height, BYTE* pixels,
                  const packed::BlockRows& rows, const RGBQUAD* palette, int paletteCount);

  // Converts the 16 rows of the buffered macroblock row into image rows firstRow.. (those at or
  // past the height are skipped).
  void ConvertRows(int32_t firstRow);

 private:
  // What a chroma pair adds to the luminance of each component.
  struct ChromaTerms {
    int32_t red, green, blue;
  };
  ChromaTerms Terms(int32_t cb, int32_t cr) const {
    return {m_redCr[cr], (m_greenCb[cb] + m_greenCr[cr]) >> 15, m_blueCb[cb]};
  }
  void ConvertGrey(const uint8_t* luma, BYTE* out) const;
  // One row of type 3, and of types 2 and 4 (chroma at half resolution for 4:2:0).
  void ConvertRgbRow(const uint8_t* luma, const uint8_t* cb, const uint8_t* cr, BYTE* out) const;
  void ConvertPaletteRow(const uint8_t* luma, const uint8_t* cb, const uint8_t* cr, BYTE* out);
  void BuildTables();

  uint32_t m_type;
  int32_t m_width;
  int32_t m_height;
  BYTE* m_pixels;
  packed::BlockRows m_rows;
  int64_t m_stride;
  bool m_halfChroma;
  // Colour conversion: R = Y + (RCr >> 15), G = Y + ((GCb + GCr) >> 15), B = Y + (BCb >> 15) with
  // the tables scaled by 32768. Y x 32768 is a multiple of 32768, so shifting the red and blue
  // terms alone gives the same values as shifting the sums.
  int32_t m_redCr[256];  // already shifted
  int32_t m_greenCb[256];
  int32_t m_greenCr[256];
  int32_t m_blueCb[256];  // already shifted
  uint8_t m_clamp[768];   // index v + 256 for v in -256..511: v clamped to 0..255
  CPaletteHash m_hash;
  // The colour looked up last and its index: flat areas repeat it.
  uint32_t m_lastColour = 0xFFFFFFFF;
  uint8_t m_lastIndex = 0;
};
