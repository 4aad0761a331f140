#include "imaging/BitStream.h"

#include <cstring>

namespace {

using packed::HuffmanDecodeTable;

// The four decoding tables, derived once from the published tables.
struct DecodeTables {
  HuffmanDecodeTable table[4];
  DecodeTables() {
    for (int id = 0; id < 4; ++id) {
      packed::BuildDecodeTable(
          packed::PublishedHuffmanTable(static_cast<packed::HuffmanTableId>(id)), &table[id]);
    }
  }
};

}  // namespace

const HuffmanDecodeTable& CBitStream::Table(packed::HuffmanTableId id) {
  static const DecodeTables tables;
  return tables.table[id];
}

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

int32_t CBitStream::DecodeLongCode(const HuffmanDecodeTable& table) {
  // Codes longer than the lookahead: extend the code a bit at a time until it fits a length.
  int length = HuffmanDecodeTable::kLookaheadBits + 1;
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
  return DecodeCoefficients(isLuminance, [coefficients](int k, int32_t v) { coefficients[k] = v; });
}
