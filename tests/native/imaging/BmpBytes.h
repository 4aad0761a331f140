// Byte-exact BMP file images for the bitmap tests, written field by field.
#pragma once

#include <cstdint>
#include <vector>

namespace bmptest {

// Appends little-endian fields to a byte vector.
class Bytes {
 public:
  Bytes& u8(uint32_t v) {
    data_.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Bytes& u16(uint32_t v) { return u8(v).u8(v >> 8); }
  Bytes& u32(uint32_t v) { return u16(v).u16(v >> 16); }
  Bytes& s32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
  Bytes& fill(size_t n, uint8_t v) {
    data_.insert(data_.end(), n, v);
    return *this;
  }
  Bytes& append(const std::vector<uint8_t>& more) {
    data_.insert(data_.end(), more.begin(), more.end());
    return *this;
  }
  size_t size() const { return data_.size(); }
  const std::vector<uint8_t>& data() const { return data_; }

 private:
  std::vector<uint8_t> data_;
};

// The fields of a BMP with the 40-byte Windows header. The defaults describe a valid 3 x 2 8-bit
// bitmap with a 4-entry table; tests change one field at a time.
struct WindowsBmp {
  uint16_t type = 0x4D42;  // "BM"
  int64_t offBits = -1;    // -1: right after the table
  uint32_t headerSize = 40;
  int32_t width = 3;
  int32_t height = 2;
  uint16_t planes = 1;
  uint16_t bitCount = 8;
  uint32_t compression = 0;  // BI_RGB
  uint32_t clrUsed = 4;
  uint32_t tableEntries = 4;  // entries actually written
  int64_t bitsBytes = -1;     // -1: every row (stride x height)
  uint8_t pixelBase = 1;      // pixel bytes count up from here
  bool padToOffBits = true;   // false: the bits follow the table whatever offBits says

  // Row length for the width's magnitude (a negative width or height still gets its rows).
  uint64_t Stride() const {
    const uint64_t w = static_cast<uint64_t>(width < 0 ? -int64_t{width} : width);
    return ((bitCount * w + 31) & ~uint64_t{31}) / 8;
  }

  std::vector<uint8_t> Build() const {
    const uint32_t tableBytes = tableEntries * 4;
    const uint32_t headersEnd = 14 + headerSize + tableBytes;
    const uint32_t off = offBits < 0 ? headersEnd : static_cast<uint32_t>(offBits);
    const uint64_t h = static_cast<uint64_t>(height < 0 ? -int64_t{height} : height);
    const size_t rows = static_cast<size_t>(bitsBytes < 0 ? Stride() * h : bitsBytes);
    Bytes b;
    // BITMAPFILEHEADER
    b.u16(type);                               // bfType
    b.u32(static_cast<uint32_t>(off + rows));  // bfSize (not trusted by the reader)
    b.u16(0).u16(0);                           // bfReserved1, bfReserved2
    b.u32(off);                                // bfOffBits
    // BITMAPINFOHEADER
    b.u32(headerSize);                                 // biSize
    b.s32(width);                                      // biWidth
    b.s32(height);                                     // biHeight (positive: bottom-up)
    b.u16(planes);                                     // biPlanes
    b.u16(bitCount);                                   // biBitCount
    b.u32(compression);                                // biCompression
    b.u32(0);                                          // biSizeImage
    b.s32(0).s32(0);                                   // biXPelsPerMeter, biYPelsPerMeter
    b.u32(clrUsed);                                    // biClrUsed
    b.u32(0);                                          // biClrImportant
    b.fill(headerSize > 40 ? headerSize - 40 : 0, 0);  // the rest of a longer header
    // Colour table: entry i = blue 10i, green 20i, red 30i (wrapping)
    for (uint32_t i = 0; i < tableEntries; ++i) b.u8(10 * i).u8(20 * i).u8(30 * i).u8(0);
    if (padToOffBits) b.fill(off > b.size() ? off - b.size() : 0, 0xEE);  // gap before the bits
    for (size_t i = 0; i < rows; ++i) b.u8(static_cast<uint8_t>(pixelBase + i));
    return b.data();
  }
};

}  // namespace bmptest
