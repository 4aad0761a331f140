// CBitStream: the bit input of the packed image decoder, over a CBufferedFile.
//
// Two independent readers share the file: the Huffman reader of the transform-coded types (bits
// most significant first, a 0x00 skipped after every 0xFF, realigned to a byte after every
// macroblock) with the coefficient decoder, and the LZW reader of type 5 with the LZW decoder.
// Neither reads past what the image needs; a file that ends early is reported as truncated and
// corrupt codes as corrupt, in the status, instead of being decoded as zeros.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/WinTypes.h"
#include "imaging/BufferedFile.h"
#include "imaging/HuffmanTables.h"
#include "imaging/PackedFormat.h"

class CBitStream {
 public:
  // LZW limits: the table's size, and the longest string that expands in one step.
  static constexpr int kLzwTableSize = 18041;
  static constexpr int kLzwStackSize = 4000;
  static constexpr int kLzwMaxWidth = 14;

  CBitStream() = default;
  CBitStream(const CBitStream&) = delete;
  CBitStream& operator=(const CBitStream&) = delete;

  CBufferedFile& File() { return m_file; }
  // kOk, or kTruncated / kCorruptData once decoding has failed.
  int32_t GetStatus() const { return m_status; }

  // --- Huffman path (types 1 to 4) ---
  // The top n (0..16) unread bits.
  int32_t GetBits(int n) {
    if (n == 0) return 0;
    if (m_bitCount < n) Fill();
    m_bitCount -= n;
    return static_cast<int32_t>((m_bits >> m_bitCount) & ((1u << n) - 1));
  }
  // The value of the next code of the table, or -1 for a code longer than 16 bits.
  int32_t DecodeHuffman(const packed::HuffmanDecodeTable& table) {
    if (m_bitCount < 16) Fill();
    constexpr int kAhead = packed::HuffmanDecodeTable::kLookaheadBits;
    const uint16_t hit = table.lookahead[(m_bits >> (m_bitCount - kAhead)) & ((1u << kAhead) - 1)];
    if (hit == 0) return DecodeLongCode(table);
    m_bitCount -= hit >> 8;
    return hit & 0xFF;
  }
  // Decodes one block's 64 coefficients in coded order (the DC as its difference). False when
  // the data is corrupt or ends early (the status says which); the block stays within 64.
  bool DecodeBlock(int32_t* coefficients, bool isLuminance);
  // The same without a block of its own: store(k, value) receives each coefficient that the data
  // holds, in coded order, the DC (k = 0) first as its difference; the others are zero.
  template <typename Store>
  bool DecodeCoefficients(bool isLuminance, Store&& store);
  // Drops the bits left in the current byte: every macroblock starts on a byte boundary.
  void ByteAlign() { m_bitCount -= m_bitCount & 7; }

  // --- LZW path (type 5) ---
  // Where DecodeLzw puts width x height bytes (the caller's buffer, at least that large).
  void SetLzwTarget(int32_t width, int32_t height, BYTE* pixels);
  // 1 when the image was decoded; 0 when the tables cannot be allocated (kNoMemory) or the code
  // stream is corrupt, ends early or is stopped (the status says which).
  int32_t DecodeLzw(HWND progress);

 private:
  struct LzwState;

  // Huffman bit buffer: takes bytes until it holds more than 24 bits.
  void Fill();
  int32_t NextDataByte();
  int32_t DecodeLongCode(const packed::HuffmanDecodeTable& table);
  // JPEG's RECEIVE and EXTEND: n bits as a signed value.
  int32_t ReceiveExtend(int n) {
    const int32_t v = GetBits(n);
    return v < (1 << (n - 1)) ? v - (1 << n) + 1 : v;
  }
  static const packed::HuffmanDecodeTable& Table(packed::HuffmanTableId id);
  bool Fail(int32_t status);
  bool EndBlock();

  // LZW helpers (BitStreamLzw.cpp).
  int32_t FailLzw(int32_t status);
  int32_t ReadLzwCode();
  bool ExpandLzw(LzwState& s, uint32_t code);
  void AddLzwEntry(LzwState& s);

  // Huffman bits: the low m_bitCount bits of m_bits are unread; the lowest m_missingBits of them
  // stand for bytes past the end of the file.
  uint32_t m_bits = 0;
  int32_t m_bitCount = 0;
  int32_t m_missingBits = 0;

  // LZW target and bit buffer (the same scheme as above).
  int32_t m_lzwWidth = 0;
  int32_t m_lzwHeight = 0;
  BYTE* m_lzwOutput = nullptr;
  uint32_t m_lzwBits = 0;
  int32_t m_lzwBitCount = 0;
  int32_t m_lzwMissingBits = 0;
  int32_t m_codeWidth = 9;
  int32_t m_largestCode = 511;

  int32_t m_status = packed::kOk;
  CBufferedFile m_file;
};

template <typename Store>
bool CBitStream::DecodeCoefficients(bool isLuminance, Store&& store) {
  const packed::HuffmanDecodeTable& dc =
      Table(isLuminance ? packed::kLuminanceDc : packed::kChrominanceDc);
  const packed::HuffmanDecodeTable& ac =
      Table(isLuminance ? packed::kLuminanceAc : packed::kChrominanceAc);
  const int32_t category = DecodeHuffman(dc);
  if (category < 0) return Fail(packed::kCorruptData);
  store(0, category > 0 ? ReceiveExtend(category) : 0);
  for (int k = 1; k < 64;) {
    const int32_t rs = DecodeHuffman(ac);
    if (rs < 0) return Fail(packed::kCorruptData);
    const int size = rs & 15;
    const int run = rs >> 4;
    if (size == 0) {
      if (run != 15) break;  // EOB
      k += 16;               // ZRL: sixteen zeros, which must leave room in the block
      if (k > 64) return Fail(packed::kCorruptData);
      continue;
    }
    k += run;
    if (k > 63) return Fail(packed::kCorruptData);
    store(k++, ReceiveExtend(size));
  }
  return EndBlock();
}
