#include "imaging/BitStream.h"

#include <cstring>

namespace {

using packed::HuffmanDecodeTable;

// The four decoding tables, derived once from the published tables.
struct DecodeTables {
  HuffmanDecodeTable table[4];
  DecodeTables() {
    for (int id = 0; id < 4; ++id) {
      packed::BuildDecodeTable(packed::PublishedHuffmanTable(static_cast<packed::HuffmanTableId>(id)),
                               &table[id]);
    }
  }
};

const HuffmanDecodeTable& Table(packed::HuffmanTableId id) {
  static const DecodeTables tables;
  return tables.table[id];
}

// JPEG's EXTEND: the t-bit value v as a signed difference.
inline int32_t Extend(int32_t v, int t) {
  return v < (1 << (t - 1)) ? v - (1 << t) + 1 : v;
}

}  // namespace

bool CBitStream::Fail(int32_t status) {
  if (m_status == packed::kOk) m_status = status;
  return false;
}

int32_t CBitStream::NextDataByte() {
  const int32_t byte = m_file.ReadByte();
  if (byte < 0) return -1;
  // The coder puts a 0x00 after every 0xFF; a file that ends before it ends before the data.
  if (byte == 0xFF && m_file.ReadByte() < 0) return -1;
  return byte;
}

void CBitStream::Fill() {
  while (m_bitCount <= 24) {
    int32_t byte = m_missingBits > 0 ? -1 : NextDataByte();
    if (byte < 0) {
      // Past the end: zero bits that may only be looked at, never used (EndBlock checks).
      byte = 0;
      m_missingBits += 8;
    }
    m_bits = (m_bits << 8) | static_cast<uint32_t>(byte);
    m_bitCount += 8;
  }
}

int32_t CBitStream::GetBits(int n) {
  if (n == 0) return 0;
  if (m_bitCount < n) Fill();
  m_bitCount -= n;
  return static_cast<int32_t>((m_bits >> m_bitCount) & ((1u << n) - 1));
}

inline int32_t CBitStream::Receive(int n) { return GetBits(n); }

int32_t CBitStream::DecodeHuffman(const HuffmanDecodeTable& table) {
  if (m_bitCount < 16) Fill();
  constexpr int kAhead = HuffmanDecodeTable::kLookaheadBits;
  const uint32_t peek = (m_bits >> (m_bitCount - kAhead)) & ((1u << kAhead) - 1);
  const uint16_t hit = table.lookahead[peek];
  if (hit != 0) {
    m_bitCount -= hit >> 8;
    return hit & 0xFF;
  }
  // Longer codes: extend the code a bit at a time until it fits a length.
  int length = kAhead + 1;
  int32_t code = static_cast<int32_t>((m_bits >> (m_bitCount - length)) & ((1u << length) - 1));
  while (code > table.maxCode[length]) {
    if (++length > 16) return -1;
    code = static_cast<int32_t>((m_bits >> (m_bitCount - length)) & ((1u << length) - 1));
  }
  m_bitCount -= length;
  return table.values[table.firstIndex[length] + code - table.minCode[length]];
}

bool CBitStream::EndBlock() {
  // Bits past the end of the file were used: the image is incomplete.
  if (m_bitCount < m_missingBits) return Fail(packed::kTruncated);
  return true;
}

bool CBitStream::DecodeBlock(int32_t* coefficients, bool isLuminance) {
  std::memset(coefficients, 0, 64 * sizeof(int32_t));
  const HuffmanDecodeTable& dc = Table(isLuminance ? packed::kLuminanceDc : packed::kChrominanceDc);
  const HuffmanDecodeTable& ac = Table(isLuminance ? packed::kLuminanceAc : packed::kChrominanceAc);
  const int32_t category = DecodeHuffman(dc);
  if (category < 0) return Fail(packed::kCorruptData);
  if (category > 0) coefficients[0] = Extend(Receive(category), category);
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
    coefficients[k++] = Extend(Receive(size), size);
  }
  return EndBlock();
}
