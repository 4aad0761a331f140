#include "imaging/ColorConverter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "imaging/PackedFormat.h"

namespace {

// Offsets of the neighbour buckets in ascending order, applied to the packed key: one step in
// every direction (26), then the shell two steps out (98).
struct RingOffsets {
  int16_t oneStep[26];
  int16_t twoSteps[98];
  RingOffsets() {
    int n = 0;
    int f = 0;
    for (int dr = -2; dr <= 2; ++dr) {
      for (int dg = -2; dg <= 2; ++dg) {
        for (int db = -2; db <= 2; ++db) {
          const int16_t d = static_cast<int16_t>(dr * 256 + dg * 16 + db);
          const int reach = std::max({std::abs(dr), std::abs(dg), std::abs(db)});
          if (reach == 1) oneStep[n++] = d;
          if (reach == 2) twoSteps[f++] = d;
        }
      }
    }
    std::sort(oneStep, oneStep + 26);
    std::sort(twoSteps, twoSteps + 98);
  }
};

const RingOffsets& Rings() {
  static const RingOffsets rings;
  return rings;
}

inline int Distance(int r1, int g1, int b1, int r2, int g2, int b2) {
  return (r1 - r2) * (r1 - r2) + (g1 - g2) * (g1 - g2) + (b1 - b2) * (b1 - b2);
}

inline uint8_t ClampByte(int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

void CPaletteHash::Build(const RGBQUAD* palette, int count) {
  const int colours = std::clamp(count, 0, 256);
  // Unique colours in palette order; a repeated colour keeps its lowest index.
  Entry unique[256];
  int keys[256];
  int uniqueCount = 0;
  for (int i = 0; i < colours; ++i) {
    const RGBQUAD& c = palette[i];
    bool seen = false;
    for (int j = 0; j < uniqueCount && !seen; ++j) {
      seen =
          unique[j].red == c.rgbRed && unique[j].green == c.rgbGreen && unique[j].blue == c.rgbBlue;
    }
    if (seen) continue;
    unique[uniqueCount] = {c.rgbBlue, c.rgbGreen, c.rgbRed, static_cast<uint8_t>(i)};
    keys[uniqueCount++] = Key(c.rgbRed, c.rgbGreen, c.rgbBlue);
  }
  m_uniqueCount = uniqueCount;
  // Group by bucket, keeping palette order inside each bucket (a counting sort).
  std::memset(m_start, 0, sizeof(m_start));
  for (int j = 0; j < uniqueCount; ++j) ++m_start[keys[j] + 1];
  for (int k = 0; k < kBuckets; ++k)
    m_start[k + 1] = static_cast<int16_t>(m_start[k + 1] + m_start[k]);
  int16_t fill[kBuckets];
  std::memcpy(fill, m_start, sizeof(fill));
  for (int j = 0; j < uniqueCount; ++j) m_entries[fill[keys[j]]++] = unique[j];
  m_ringEntries.clear();
  for (int k = 0; k < kBuckets; ++k) {
    m_plans[k] = Plan();
    if (m_start[k] < m_start[k + 1])
      m_plans[k] = {m_start[k], m_start[k + 1] - m_start[k], kOwnBucket};
  }
}

int CPaletteHash::GatherRings(int key, Entry* out) const {
  const RingOffsets& rings = Rings();
  const int16_t* const offsets[2] = {rings.oneStep, rings.twoSteps};
  const int counts[2] = {26, 98};
  for (int ring = 0; ring < 2; ++ring) {
    int n = 0;
    for (int i = 0; i < counts[ring]; ++i) {
      const int k = key + offsets[ring][i];  // the offset moves the packed key, not each component
      if (k < 0 || k >= kBuckets) continue;
      for (int e = m_start[k]; e < m_start[k + 1]; ++e) out[n++] = m_entries[e];
    }
    if (n > 0) return n;
  }
  return 0;
}

void CPaletteHash::PlanBucket(int key) {
  Plan& plan = m_plans[key];
  Entry gathered[256];  // every ring bucket is another bucket: each colour at most once
  plan.count = GatherRings(key, gathered);
  if (plan.count == 0) {
    plan.kind = kAllColours;
    plan.count = m_uniqueCount;
    return;
  }
  try {
    plan.first = static_cast<int32_t>(m_ringEntries.size());
    m_ringEntries.insert(m_ringEntries.end(), gathered, gathered + plan.count);
    plan.kind = kRing;
  } catch (const std::bad_alloc&) {
    plan.kind = kUnstored;  // searched again at every look
  }
}

uint8_t CPaletteHash::Lookup(int red, int green, int blue) {
  const int key = Key(red, green, blue);
  if (m_plans[key].kind == kUnplanned) PlanBucket(key);
  const Plan& plan = m_plans[key];
  Entry gathered[256];
  const Entry* candidates = nullptr;
  int count = plan.count;
  switch (plan.kind) {
    case kOwnBucket: candidates = m_entries + plan.first; break;
    case kRing: candidates = m_ringEntries.data() + plan.first; break;
    case kAllColours: candidates = m_entries; break;
    default:
      count = GatherRings(key, gathered);
      candidates = gathered;
      break;
  }
  int bestDistance = -1;
  uint8_t best = 0;
  for (int i = 0; i < count; ++i) {
    const Entry& entry = candidates[i];
    const int d = Distance(red, green, blue, entry.red, entry.green, entry.blue);
    if (bestDistance < 0 || d < bestDistance || (d == bestDistance && entry.index < best)) {
      bestDistance = d;
      best = entry.index;
    }
  }
  return best;
}

CColorConverter::CColorConverter(uint32_t type, int32_t width, int32_t height, BYTE* pixels,
                                 const packed::BlockRows& rows, const RGBQUAD* palette,
                                 int paletteCount)
    : m_type(type),
      m_width(width),
      m_height(height),
      m_pixels(pixels),
      m_rows(rows),
      m_stride(static_cast<int64_t>(packed::RowStride(type, static_cast<uint32_t>(width)))),
      m_halfChroma(type != packed::kTypePalette444) {
  BuildTables();
  if (type == packed::kTypePalette420 || type == packed::kTypePalette444) {
    m_hash.Build(palette, paletteCount);
  }
}

void CColorConverter::BuildTables() {
  // Chroma is centred on 127.
  for (int i = 0; i < 256; ++i) {
    const double up = i - 127;
    const double down = 127 - i;
    m_redCr[i] = static_cast<int32_t>(1.402 * 32768 * up + 0.5) >> 15;
    m_greenCb[i] = static_cast<int32_t>(0.34414 * 32768 * down + 0.5);
    m_greenCr[i] = static_cast<int32_t>(0.71414 * 32768 * down + 0.5);
    m_blueCb[i] = static_cast<int32_t>(1.772 * 32768 * up + 0.5) >> 15;
  }
  for (int i = 0; i < 768; ++i) m_clamp[i] = ClampByte(i - 256);
}

void CColorConverter::ConvertGrey(const uint8_t* luma, BYTE* out) const {
  std::memcpy(out, luma, static_cast<size_t>(m_width));
}

void CColorConverter::ConvertRgbRow(const uint8_t* luma, const uint8_t* cb, const uint8_t* cr,
                                    BYTE* out) const {
  const uint8_t* clamp = m_clamp + 256;
  const auto put = [clamp](BYTE* at, int32_t y, const ChromaTerms& t) {
    at[0] = clamp[y + t.blue];
    at[1] = clamp[y + t.green];
    at[2] = clamp[y + t.red];
  };
  int32_t x = 0;
  if (m_halfChroma) {  // one chroma sample for each pair of pixels
    for (; x + 1 < m_width; x += 2, out += 6) {
      const ChromaTerms t = Terms(cb[x >> 1], cr[x >> 1]);
      put(out, luma[x], t);
      put(out + 3, luma[x + 1], t);
    }
  }
  const int shift = m_halfChroma ? 1 : 0;
  for (; x < m_width; ++x, out += 3) put(out, luma[x], Terms(cb[x >> shift], cr[x >> shift]));
}

void CColorConverter::ConvertPaletteRow(const uint8_t* luma, const uint8_t* cb, const uint8_t* cr,
                                        BYTE* out) {
  const uint8_t* clamp = m_clamp + 256;
  const int shift = m_halfChroma ? 1 : 0;
  for (int32_t x = 0; x < m_width; ++x) {
    const ChromaTerms t = Terms(cb[x >> shift], cr[x >> shift]);
    const int32_t y = luma[x];
    const uint8_t red = clamp[y + t.red];
    const uint8_t green = clamp[y + t.green];
    const uint8_t blue = clamp[y + t.blue];
    const uint32_t colour = (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
    if (colour != m_lastColour) {
      m_lastColour = colour;
      m_lastIndex = m_hash.Lookup(red, green, blue);
    }
    out[x] = m_lastIndex;
  }
}

void CColorConverter::ConvertRows(int32_t firstRow) {
  using packed::BlockRowId;
  for (int i = 0; i < 16 && firstRow + i < m_height; ++i) {
    BYTE* out = m_pixels + (firstRow + i) * m_stride;
    const BlockRowId lumaId = i < 8 ? packed::kLumaTop : packed::kLumaBottom;
    const uint8_t* luma = m_rows.row[lumaId] + (i & 7) * m_rows.width[lumaId];
    if (m_type == packed::kTypeGrey) {
      ConvertGrey(luma, out);
      continue;
    }
    // 4:2:0: chroma row i / 2 of the one chroma block row; 4:4:4: row i of the two.
    const bool bottom = !m_halfChroma && i >= 8;
    const int chromaRow = m_halfChroma ? i / 2 : (i & 7);
    const BlockRowId cbId = bottom ? packed::kCbBottom : packed::kCbTop;
    const BlockRowId crId = bottom ? packed::kCrBottom : packed::kCrTop;
    const uint8_t* cb = m_rows.row[cbId] + chromaRow * m_rows.width[cbId];
    const uint8_t* cr = m_rows.row[crId] + chromaRow * m_rows.width[crId];
    if (m_type == packed::kTypeRgb420) {
      ConvertRgbRow(luma, cb, cr, out);
    } else {
      ConvertPaletteRow(luma, cb, cr, out);
    }
  }
}
