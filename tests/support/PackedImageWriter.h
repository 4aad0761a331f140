// Test support: a writer of the packed image format that writes exactly what the decoder reads.
//
// Transform types 1 to 4: colours to Y Cb Cr (chroma centred on 127), 16x16 macroblocks with
// their edges repeated, a floating-point forward transform without level shift, the base tables
// scaled by the quality, the format's own zigzag order, the typical Huffman tables, a 0x00 after
// every 0xFF and each macroblock padded to a byte with 1-bits. Type 5: LZW with the decoder's
// width schedule. A second entry takes quantised coefficient blocks directly, and the header can
// be corrupted field by field. Never part of the product.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/HuffmanTables.h"

namespace packedtest {

using Bytes = std::vector<uint8_t>;

struct Rgb {
  uint8_t red, green, blue;
  bool operator==(const Rgb& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

// A picture to write; row 0 is the first row the decoder emits.
struct PackedPicture {
  uint32_t type = 3;
  int width = 0;
  int height = 0;
  int quality = 75;
  // Type 1: one grey byte per pixel. Types 2 to 4: red, green, blue per pixel. Type 5: the
  // width x height bytes that the decoder puts at the start of its buffer.
  Bytes pixels;
  // The header's palette (required by types 2, 4 and 5; optional for type 1; none for type 3).
  std::vector<Rgb> palette;
};

struct LzwOptions {
  bool endCode = true;        // write code 257 after the last pixel
  bool clearWhenFull = true;  // a clear code once the 14-bit table is full
  int clearAfterCodes = 0;    // also a clear code after this many codes since the last (0: never)
};

Bytes WritePackedImage(const PackedPicture& picture, const LzwOptions& lzw = {});

// Quantised coefficients of one block in coded order; the DC as its value, not a difference.
using CoefficientBlock = std::array<int32_t, 64>;
// Writes blocks as they are: the blocks of every macroblock in turn (blocks per macroblock of
// the type), the DC differences formed per component.
Bytes WritePackedCoefficients(uint32_t type, int width, int height, int quality,
                              const std::vector<Rgb>& palette,
                              const std::vector<CoefficientBlock>& blocks);

// The 804-byte header with every field consistent for the picture.
Bytes WriteHeader(uint32_t type, int width, int height, int quality,
                  const std::vector<Rgb>& palette);

// Header fields, and switches that make one of them wrong.
enum class HeaderField {
  kHeaderSize,
  kMagic,
  kType,
  kWidth,
  kHeight,
  kDecodedSize,
  kUnused,
  kPaletteCount,
  kQuality,
  kMacroblocks,
  kBlocksPerMacroblock
};
void SetHeaderField(Bytes& file, HeaderField field, uint32_t value);
uint32_t GetHeaderField(const Bytes& file, HeaderField field);
// The field set to a value that disagrees with the rest of the header (or, for the fields the
// decoder does not check, to an unusual one).
Bytes CorruptHeaderField(const Bytes& file, HeaderField field);
Bytes Truncate(const Bytes& file, size_t length);

// The entropy coder of the transform types, for streams built symbol by symbol.
class HuffmanBitWriter {
 public:
  HuffmanBitWriter();
  // count (0..24) bits, most significant first; a 0x00 after every 0xFF byte.
  void PutBits(uint32_t bits, int count);
  void PutSymbol(packed::HuffmanTableId table, uint8_t symbol);
  // A DC difference or an AC coefficient after `run` zeros: category or run/size, then the bits.
  void PutDc(bool luminance, int32_t difference);
  void PutAc(bool luminance, int run, int32_t value);
  void PutEob(bool luminance);
  void PutZrl(bool luminance);
  // A block in coded order with its DC difference: EOB after the last non-zero coefficient
  // unless that is coefficient 63, ZRL for every sixteen zeros before a non-zero one.
  void PutBlock(const int32_t* coded, int32_t dcDifference, bool luminance);
  // Ends a macroblock: fills the last byte with 1-bits.
  void PadToByte();
  const Bytes& bytes() const { return m_bytes; }

 private:
  void PutByte(uint8_t byte);
  packed::HuffmanCodes m_codes[4];
  Bytes m_bytes;
  uint32_t m_accumulator = 0;
  int m_count = 0;
};

// LZW code stream of the bytes with the decoder's width schedule.
Bytes WriteLzwStream(const uint8_t* data, size_t size, const LzwOptions& options);

}  // namespace packedtest
