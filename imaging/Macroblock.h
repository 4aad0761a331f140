// CMacroblockRow: collects the decoded 8x8 blocks of one row of 16x16 macroblocks in block-row
// buffers and, when the row is complete, has its colour converter write the 16 image rows.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/WinTypes.h"
#include "imaging/ColorConverter.h"

class CMacroblockRow {
 public:
  // pixels: the decoded pixel buffer of a width x height image of the given type; palette: the
  // image's colours for types 2 and 4.
  CMacroblockRow(uint32_t type, int32_t width, int32_t height, BYTE* pixels, const RGBQUAD* palette,
                 int paletteCount);
  CMacroblockRow(const CMacroblockRow&) = delete;
  CMacroblockRow& operator=(const CMacroblockRow&) = delete;
  ~CMacroblockRow();

  // Allocates the block-row buffers and the converter; false when they cannot be allocated.
  bool Create();
  // Where block `block` (0 .. blocks per macroblock - 1) of the next macroblock goes: 8 rows of
  // 8 samples, *stride bytes apart, to be written before the next call. The first top-left
  // block of a new macroblock row emits the previous row. Null when the block would not fit
  // (which a header that passed the checks never causes).
  uint8_t* PlaceBlock(int block, int32_t* stride);
  // Emits the macroblock row in the buffers (after the last macroblock).
  void Flush();

 private:
  void EmitRow();
  packed::BlockRowId BufferOf(int block) const;

  uint32_t m_type;
  int32_t m_width;
  int32_t m_height;
  BYTE* m_pixels;
  const RGBQUAD* m_palette;
  int m_paletteCount;
  int32_t m_position[packed::kBlockRowCount] = {};  // write position (column) per buffer
  int32_t m_blockColumns;    // 8-pixel luminance block columns: twice the macroblock columns
  int32_t m_countdown = -1;  // top-row luminance blocks left in the row; -1 before the first
  int32_t m_nextRow = 0;
  int32_t m_paddedWidth;  // macroblock columns x 16
  int32_t m_chromaWidth;  // the padded width at 4:4:4, half of it at 4:2:0
  packed::BlockRows m_rows;
  std::unique_ptr<CColorConverter> m_converter;
};
