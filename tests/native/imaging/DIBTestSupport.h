// Helpers shared by the bitmap and palette tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/Gdi.h"
#include "imaging/DIB.h"

namespace dibtest {

using ByteVector = std::vector<uint8_t>;

inline size_t BitsSize(const CDIB& dib) {
  return static_cast<size_t>(dib.GetStorageWidth()) * static_cast<size_t>(dib.GetHeight());
}

inline ByteVector BitsOf(const CDIB& dib) { return ByteVector(dib.bits, dib.bits + BitsSize(dib)); }

inline ByteVector HeaderBlockOf(const CDIB& dib) {
  const BYTE* p = reinterpret_cast<const BYTE*>(dib.header);
  return ByteVector(p, p + CDIB::kHeaderBlockSize);
}

inline bool CreatePaletteFrom(CPalette& palette, const std::vector<PALETTEENTRY>& entries) {
  std::vector<BYTE> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  std::copy(entries.begin(), entries.end(), log->palPalEntry);
  return palette.CreatePalette(log);
}

// What a bitmap held before an operation that must leave it alone: its blocks and their bytes.
class Snapshot {
 public:
  explicit Snapshot(const CDIB& dib)
      : header_(dib.header),
        bits_(dib.bits),
        owns_(dib.ownsBits),
        headerBytes_(HeaderBlockOf(dib)),
        bitsBytes_(BitsOf(dib)) {}

  void ExpectUnchanged(const CDIB& dib) const {
    EXPECT_EQ(dib.header, header_) << "header block replaced";
    EXPECT_EQ(dib.bits, bits_) << "bits replaced";
    EXPECT_EQ(dib.ownsBits, owns_);
    if (dib.header != header_ || dib.bits != bits_) return;
    EXPECT_EQ(HeaderBlockOf(dib), headerBytes_) << "header or colour table changed";
    EXPECT_EQ(BitsOf(dib), bitsBytes_) << "pixels changed";
  }

 private:
  BITMAPINFO* header_;
  BYTE* bits_;
  BOOL owns_;
  ByteVector headerBytes_;
  ByteVector bitsBytes_;
};

}  // namespace dibtest
