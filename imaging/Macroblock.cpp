#include "imaging/Macroblock.h"

#include <cstring>
#include <new>

#include "imaging/PackedFormat.h"

CMacroblockRow::CMacroblockRow(uint32_t type, int32_t width, int32_t height, BYTE* pixels,
                               const RGBQUAD* palette, int paletteCount)
    : m_type(type),
      m_width(width),
      m_height(height),
      m_pixels(pixels),
      m_palette(palette),
      m_paletteCount(paletteCount),
      m_blockColumns(2 * ((width + 15) / 16)),
      m_paddedWidth(16 * ((width + 15) / 16)),
      m_chromaWidth(type == packed::kTypePalette444 ? m_paddedWidth : m_paddedWidth / 2) {}

CMacroblockRow::~CMacroblockRow() {
  for (uint8_t* row : m_rows.row) delete[] row;
}

bool CMacroblockRow::Create() {
  const bool colour = m_type != packed::kTypeGrey;
  const bool fullChroma = m_type == packed::kTypePalette444;
  const bool used[packed::kBlockRowCount] = {true, true, colour, fullChroma, colour, fullChroma};
  for (int id = 0; id < packed::kBlockRowCount; ++id) {
    if (!used[id]) continue;
    m_rows.width[id] = id <= packed::kLumaBottom ? m_paddedWidth : m_chromaWidth;
    m_rows.row[id] = new (std::nothrow) uint8_t[8 * static_cast<size_t>(m_rows.width[id])]();
    if (m_rows.row[id] == nullptr) return false;
  }
  m_converter.reset(new (std::nothrow) CColorConverter(m_type, m_width, m_height, m_pixels, m_rows,
                                                       m_palette, m_paletteCount));
  return m_converter != nullptr;
}

packed::BlockRowId CMacroblockRow::BufferOf(int block) const {
  if (block < 4) return block < 2 ? packed::kLumaTop : packed::kLumaBottom;
  if (m_type != packed::kTypePalette444) return block == 4 ? packed::kCbTop : packed::kCrTop;
  static const packed::BlockRowId k444[8] = {packed::kCbTop,    packed::kCbTop,   packed::kCbBottom,
                                             packed::kCbBottom, packed::kCrTop,   packed::kCrTop,
                                             packed::kCrBottom, packed::kCrBottom};
  return k444[(block - 4) & 7];
}

uint8_t* CMacroblockRow::PlaceBlock(int block, int32_t* stride) {
  if (block == 0) {
    if (m_countdown == 0) EmitRow();
    if (m_countdown <= 0) m_countdown = m_blockColumns;
  }
  if (block <= 1) --m_countdown;
  const packed::BlockRowId id = BufferOf(block);
  uint8_t* buffer = m_rows.row[id];
  *stride = m_rows.width[id];
  if (buffer == nullptr || m_position[id] + 8 > m_rows.width[id]) return nullptr;
  uint8_t* at = buffer + m_position[id];
  m_position[id] += 8;
  return at;
}

void CMacroblockRow::EmitRow() {
  m_converter->ConvertRows(m_nextRow);
  m_nextRow += 16;
  for (int32_t& position : m_position) position = 0;
}

void CMacroblockRow::Flush() {
  if (m_countdown != -1) EmitRow();
  m_countdown = -1;
}
