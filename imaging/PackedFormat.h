// The packed image format: header layout, image types, block order and the status codes of its
// decoder. Shared by the decoder stages and by the test-support writer, so that both speak of
// the same offsets and numbers.
#pragma once

#include <cstdint>

namespace packed {

// The header: 804 bytes, little-endian, followed by the coded data.
constexpr int kHeaderSize = 804;
constexpr int kOffsetHeaderSize = 0;     // 16-bit, 804
constexpr int kOffsetMagic = 4;          // " KLV", no terminator
constexpr int kOffsetType = 8;           // 32-bit, 1..5
constexpr int kOffsetWidth = 12;         // 16-bit
constexpr int kOffsetHeight = 14;        // 16-bit
constexpr int kOffsetDecodedSize = 16;   // 32-bit: height x row stride
constexpr int kOffsetUnused = 20;        // 16-bit, not read
constexpr int kOffsetPaletteCount = 22;  // 16-bit, 0..256
constexpr int kOffsetQuality = 24;       // 16-bit, 1..100
constexpr int kOffsetMacroblocks = 26;   // 16-bit
constexpr int kOffsetBlocksPerMb = 28;   // 16-bit
constexpr int kOffsetPalette = 30;       // red, green, blue per entry
constexpr char kMagic[4] = {' ', 'K', 'L', 'V'};
constexpr int kMaxPaletteCount = 256;

enum ImageType : uint32_t {
  kTypeGrey = 1,        // transform, one channel, 8-bit values
  kTypePalette420 = 2,  // transform, Y Cb Cr 4:2:0, palette indices
  kTypeRgb420 = 3,      // transform, Y Cb Cr 4:2:0, 24-bit blue, green, red
  kTypePalette444 = 4,  // transform, Y Cb Cr 4:4:4, palette indices
  kTypeLzw = 5          // LZW of palette indices
};

inline bool IsKnownType(uint32_t type) { return type >= kTypeGrey && type <= kTypeLzw; }
inline bool IsTransformType(uint32_t type) { return type >= kTypeGrey && type <= kTypePalette444; }
// Types whose pixels are indices into the header's palette (which must then hold colours).
inline bool NeedsPalette(uint32_t type) {
  return type == kTypePalette420 || type == kTypePalette444 || type == kTypeLzw;
}
inline int BytesPerPixel(uint32_t type) { return type == kTypeRgb420 ? 3 : 1; }
// Bytes of one decoded row: width x bytes per pixel, rounded up to a multiple of 4.
inline uint64_t RowStride(uint32_t type, uint32_t width) {
  return (uint64_t{width} * BytesPerPixel(type) + 3) & ~uint64_t{3};
}
inline uint64_t MacroblockCount(uint32_t width, uint32_t height) {
  return ((uint64_t{width} + 15) / 16) * ((uint64_t{height} + 15) / 16);
}
// 4 luminance blocks, plus one Cb and one Cr (4:2:0) or four of each (4:4:4).
inline int BlocksPerMacroblock(uint32_t type) {
  switch (type) {
    case kTypePalette420:
    case kTypeRgb420: return 6;
    case kTypePalette444: return 12;
    default: return 4;
  }
}

// Component of block b of a macroblock: 0 luminance, 1 Cb, 2 Cr.
inline int BlockComponent(uint32_t type, int block) {
  if (block < 4 || type == kTypeGrey) return 0;
  if (type == kTypePalette444) return block < 8 ? 1 : 2;
  return block == 4 ? 1 : 2;
}

// Coded coefficient k belongs at natural position (row x 8 + column) kZigzag[k]. The standard
// order except at k = 61 and 62, which this format swaps (62 and 55).
extern const uint8_t kZigzag[64];
// The standard order itself: the base quantisation tables are held in it.
extern const uint8_t kStandardZigzag[64];

// Status of a packed image reader: 0 when usable, else why not. -12 and -14 are the codes that
// GetImage's callers turn into their messages; every other refusal and decoding failure has a code
// of its own, so that a trace or a test can tell them apart.
enum Status : int32_t {
  kOk = 0,
  kNoMemory = -12,        // a buffer or decoding object could not be allocated
  kBadMagic = -14,        // no " KLV" at offset 4; also a file that cannot be opened or read
  kBadType = -30,         // type outside 1..5
  kBadSize = -31,         // zero width or height, or decoded size not height x row stride
  kBadPalette = -32,      // more than 256 colours, or none for a type that needs them
  kBadBlockCount = -33,   // blocks per macroblock disagree with the type
  kBadMacroblocks = -34,  // macroblock count disagrees with the size
  kTruncated = -35,       // the file ended before the image was complete
  kCorruptData = -36,     // coded data no coder writes (bad code, run or table reference)
  kStopped = -37          // a stop was requested while decoding
};

// A short reason for a status, for traces and error texts.
const char* StatusText(int32_t status);

}  // namespace packed
