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
  int32_t GetBits(int n);
  // The value of the next code of the table, or -1 for a code longer than 16 bits.
  int32_t DecodeHuffman(const packed::HuffmanDecodeTable& table);
  // Decodes one block's 64 coefficients in coded order (the DC as its difference). False when
  // the data is corrupt or ends early (the status says which); the block stays within 64.
  bool DecodeBlock(int32_t* coefficients, bool isLuminance);
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
  int32_t Receive(int n);
  bool Fail(int32_t status);
  bool EndBlock();

  // LZW helpers (BitStreamLzw.cpp).
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
