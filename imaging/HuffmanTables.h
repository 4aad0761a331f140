// The four Huffman tables of the transform-coded types: the typical tables of T.81 Annex K
// (K.3 luminance DC, K.4 chrominance DC, K.5 luminance AC, K.6 chrominance AC), given as the
// standard publishes them (code counts per length, then the values in code order), and the
// decoding tables derived from them.
#pragma once

#include <cstdint>

namespace packed {

// A table as published: bits[l] codes of length l + 1 (l = 0..15), then the values in the order
// of their codes.
struct HuffmanTableDef {
  uint8_t bits[16];
  const uint8_t* values;
  int valueCount;
};

enum HuffmanTableId { kLuminanceDc = 0, kChrominanceDc = 1, kLuminanceAc = 2, kChrominanceAc = 3 };
const HuffmanTableDef& PublishedHuffmanTable(HuffmanTableId id);

// Codes assigned to a published table the canonical way (T.81 Annex C): code[i] and size[i] for
// value values[i]. Used by the decoder tables below and by writers of the format.
struct HuffmanCodes {
  uint16_t code[256];
  uint8_t size[256];
  int count;
};
HuffmanCodes AssignCodes(const HuffmanTableDef& def);

// Decoding tables: for each length the smallest and largest code and the index of its first
// value; a length without codes has largest code -1. The lookahead table resolves every code of
// up to kLookaheadBits bits from that many buffered bits in one step.
struct HuffmanDecodeTable {
  static constexpr int kLookaheadBits = 9;
  int32_t minCode[17];
  int32_t maxCode[18];  // [17] is a sentinel above every code
  int32_t firstIndex[17];
  uint8_t values[256];
  // Per kLookaheadBits-bit prefix: (code length << 8) | value, or 0 when the code is longer.
  uint16_t lookahead[1 << kLookaheadBits];
};
void BuildDecodeTable(const HuffmanTableDef& def, HuffmanDecodeTable* table);

}  // namespace packed
