// The packed image writer's header, corruption switches and entropy coder.
#include "tests/support/PackedImageWriter.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "imaging/PackedFormat.h"

namespace packedtest {
namespace {

struct FieldPlace {
  int offset;
  int size;
};

FieldPlace PlaceOf(HeaderField field) {
  switch (field) {
    case HeaderField::kHeaderSize: return {packed::kOffsetHeaderSize, 2};
    case HeaderField::kMagic: return {packed::kOffsetMagic, 4};
    case HeaderField::kType: return {packed::kOffsetType, 4};
    case HeaderField::kWidth: return {packed::kOffsetWidth, 2};
    case HeaderField::kHeight: return {packed::kOffsetHeight, 2};
    case HeaderField::kDecodedSize: return {packed::kOffsetDecodedSize, 4};
    case HeaderField::kUnused: return {packed::kOffsetUnused, 2};
    case HeaderField::kPaletteCount: return {packed::kOffsetPaletteCount, 2};
    case HeaderField::kQuality: return {packed::kOffsetQuality, 2};
    case HeaderField::kMacroblocks: return {packed::kOffsetMacroblocks, 2};
    case HeaderField::kBlocksPerMacroblock: return {packed::kOffsetBlocksPerMb, 2};
  }
  return {0, 0};
}

// Number of bits of |v|: JPEG's category of a coefficient or difference.
int Category(int32_t v) {
  uint32_t magnitude = static_cast<uint32_t>(std::abs(v));
  int bits = 0;
  while (magnitude != 0) {
    ++bits;
    magnitude >>= 1;
  }
  return bits;
}

// The low `category` bits that code v: v itself when positive, else v - 1 (ones' complement).
uint32_t CategoryBits(int32_t v, int category) {
  const int32_t coded = v < 0 ? v - 1 : v;
  return static_cast<uint32_t>(coded) & ((1u << category) - 1);
}

}  // namespace

void SetHeaderField(Bytes& file, HeaderField field, uint32_t value) {
  const FieldPlace place = PlaceOf(field);
  if (file.size() < static_cast<size_t>(place.offset + place.size)) {
    throw std::invalid_argument("file shorter than the header");
  }
  for (int i = 0; i < place.size; ++i)
    file[place.offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetHeaderField(const Bytes& file, HeaderField field) {
  const FieldPlace place = PlaceOf(field);
  uint32_t value = 0;
  for (int i = place.size - 1; i >= 0; --i) value = (value << 8) | file.at(place.offset + i);
  return value;
}

Bytes WriteHeader(uint32_t type, int width, int height, int quality,
                  const std::vector<Rgb>& palette) {
  Bytes header(packed::kHeaderSize, 0);
  const uint32_t w = static_cast<uint32_t>(width);
  const uint32_t h = static_cast<uint32_t>(height);
  SetHeaderField(header, HeaderField::kHeaderSize, packed::kHeaderSize);
  for (int i = 0; i < 4; ++i)
    header[packed::kOffsetMagic + i] = static_cast<uint8_t>(packed::kMagic[i]);
  SetHeaderField(header, HeaderField::kType, type);
  SetHeaderField(header, HeaderField::kWidth, w);
  SetHeaderField(header, HeaderField::kHeight, h);
  SetHeaderField(header, HeaderField::kDecodedSize,
                 static_cast<uint32_t>(packed::RowStride(type, w) * h));
  SetHeaderField(header, HeaderField::kPaletteCount, static_cast<uint32_t>(palette.size()));
  SetHeaderField(header, HeaderField::kQuality, static_cast<uint32_t>(quality));
  SetHeaderField(header, HeaderField::kMacroblocks,
                 static_cast<uint32_t>(packed::MacroblockCount(w, h)));
  SetHeaderField(header, HeaderField::kBlocksPerMacroblock,
                 static_cast<uint32_t>(packed::BlocksPerMacroblock(type)));
  if (palette.size() > packed::kMaxPaletteCount) throw std::invalid_argument("palette too large");
  uint8_t* rgb = header.data() + packed::kOffsetPalette;
  for (const Rgb& c : palette) {
    *rgb++ = c.red;
    *rgb++ = c.green;
    *rgb++ = c.blue;
  }
  return header;
}

Bytes CorruptHeaderField(const Bytes& file, HeaderField field) {
  Bytes out = file;
  const uint32_t value = GetHeaderField(file, field);
  switch (field) {
    case HeaderField::kMagic: out[packed::kOffsetMagic] = 'X'; break;
    case HeaderField::kType: SetHeaderField(out, field, 6); break;
    case HeaderField::kWidth:
    case HeaderField::kHeight: SetHeaderField(out, field, 0); break;
    case HeaderField::kDecodedSize: SetHeaderField(out, field, value - 4); break;
    case HeaderField::kPaletteCount: SetHeaderField(out, field, 257); break;
    case HeaderField::kMacroblocks: SetHeaderField(out, field, value + 1); break;
    case HeaderField::kBlocksPerMacroblock: SetHeaderField(out, field, value == 4 ? 6 : 4); break;
    // Fields that the decoder does not check: the image must still decode.
    case HeaderField::kHeaderSize: SetHeaderField(out, field, 0xFFFF); break;
    case HeaderField::kUnused: SetHeaderField(out, field, 0xBEEF); break;
    case HeaderField::kQuality: SetHeaderField(out, field, 0); break;
  }
  return out;
}

Bytes Truncate(const Bytes& file, size_t length) {
  return Bytes(file.begin(),
               file.begin() + static_cast<std::ptrdiff_t>(std::min(length, file.size())));
}

HuffmanBitWriter::HuffmanBitWriter() {
  for (int id = 0; id < 4; ++id) {
    m_codes[id] =
        packed::AssignCodes(packed::PublishedHuffmanTable(static_cast<packed::HuffmanTableId>(id)));
  }
}

void HuffmanBitWriter::PutByte(uint8_t byte) {
  m_bytes.push_back(byte);
  if (byte == 0xFF) m_bytes.push_back(0x00);
}

void HuffmanBitWriter::PutBits(uint32_t bits, int count) {
  for (int i = count - 1; i >= 0; --i) {
    m_accumulator = (m_accumulator << 1) | ((bits >> i) & 1u);
    if (++m_count == 8) {
      PutByte(static_cast<uint8_t>(m_accumulator));
      m_accumulator = 0;
      m_count = 0;
    }
  }
}

void HuffmanBitWriter::PutSymbol(packed::HuffmanTableId table, uint8_t symbol) {
  const packed::HuffmanTableDef& def = packed::PublishedHuffmanTable(table);
  for (int i = 0; i < def.valueCount; ++i) {
    if (def.values[i] == symbol) {
      PutBits(m_codes[table].code[i], m_codes[table].size[i]);
      return;
    }
  }
  throw std::invalid_argument("symbol not in the table");
}

void HuffmanBitWriter::PutDc(bool luminance, int32_t difference) {
  const int category = Category(difference);
  PutSymbol(luminance ? packed::kLuminanceDc : packed::kChrominanceDc,
            static_cast<uint8_t>(category));
  PutBits(CategoryBits(difference, category), category);
}

void HuffmanBitWriter::PutAc(bool luminance, int run, int32_t value) {
  const int size = Category(value);
  PutSymbol(luminance ? packed::kLuminanceAc : packed::kChrominanceAc,
            static_cast<uint8_t>((run << 4) | size));
  PutBits(CategoryBits(value, size), size);
}

void HuffmanBitWriter::PutEob(bool luminance) {
  PutSymbol(luminance ? packed::kLuminanceAc : packed::kChrominanceAc, 0x00);
}

void HuffmanBitWriter::PutZrl(bool luminance) {
  PutSymbol(luminance ? packed::kLuminanceAc : packed::kChrominanceAc, 0xF0);
}

void HuffmanBitWriter::PutBlock(const int32_t* coded, int32_t dcDifference, bool luminance) {
  PutDc(luminance, dcDifference);
  int run = 0;
  for (int k = 1; k < 64; ++k) {
    if (coded[k] == 0) {
      ++run;
      continue;
    }
    for (; run >= 16; run -= 16) PutZrl(luminance);
    PutAc(luminance, run, coded[k]);
    run = 0;
  }
  if (run > 0) PutEob(luminance);
}

void HuffmanBitWriter::PadToByte() {
  if (m_count > 0) PutBits(0xFF, 8 - m_count);
}

}  // namespace packedtest
