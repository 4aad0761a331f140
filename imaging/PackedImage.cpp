#include "imaging/PackedImage.h"

#include <cstring>
#include <new>

#include "imaging/BitStream.h"
#include "imaging/InverseTransform.h"
#include "imaging/Macroblock.h"
#include "imaging/ProgressStepper.h"
#include "seams/Clock.h"

namespace {

uint32_t Read16(const BYTE* p) { return p[0] | (uint32_t{p[1]} << 8); }
uint32_t Read32(const BYTE* p) { return Read16(p) | (Read16(p + 2) << 16); }

}  // namespace

CPackedImageFile::CPackedImageFile(const char* fileName, DWORD offset)
    : m_bits(new (std::nothrow) CBitStream) {
  Open(m_bits && m_bits->File().OpenRead(fileName, offset));
}

CPackedImageFile::CPackedImageFile(std::unique_ptr<CFile> file, DWORD offset)
    : m_bits(new (std::nothrow) CBitStream) {
  Open(m_bits && m_bits->File().OpenRead(std::move(file), offset));
}

CPackedImageFile::~CPackedImageFile() = default;

uint32_t CPackedImageFile::GetType() const { return Read32(m_header + packed::kOffsetType); }
int32_t CPackedImageFile::GetWidth() const {
  return static_cast<int32_t>(Read16(m_header + packed::kOffsetWidth));
}
int32_t CPackedImageFile::GetHeight() const {
  return static_cast<int32_t>(Read16(m_header + packed::kOffsetHeight));
}
int32_t CPackedImageFile::GetRowStride() const {
  return static_cast<int32_t>(packed::RowStride(GetType(), static_cast<uint32_t>(GetWidth())));
}
DWORD CPackedImageFile::GetDecodedSize() const {
  return Read32(m_header + packed::kOffsetDecodedSize);
}

void CPackedImageFile::Open(bool opened) {
  if (!m_bits) {
    m_status = packed::kNoMemory;
    return;
  }
  // The header is read whole or not at all: an unreadable file keeps it zero.
  BYTE header[packed::kHeaderSize];
  if (opened && m_bits->File().Read(header, packed::kHeaderSize)) {
    std::memcpy(m_header, header, sizeof(m_header));
  }
  if (std::memcmp(m_header + packed::kOffsetMagic, packed::kMagic, 4) != 0) {
    m_status = packed::kBadMagic;
    return;
  }
  m_status = CheckHeader();
  if (m_status == packed::kOk) m_status = Allocate();
}

int32_t CPackedImageFile::CheckHeader() const {
  const uint32_t type = GetType();
  const uint32_t width = static_cast<uint32_t>(GetWidth());
  const uint32_t height = static_cast<uint32_t>(GetHeight());
  const uint32_t colours = Read16(m_header + packed::kOffsetPaletteCount);
  if (!packed::IsKnownType(type)) return packed::kBadType;
  if (width == 0 || height == 0 ||
      uint64_t{GetDecodedSize()} != packed::RowStride(type, width) * height) {
    return packed::kBadSize;
  }
  if (colours > packed::kMaxPaletteCount || (colours == 0 && packed::NeedsPalette(type))) {
    return packed::kBadPalette;
  }
  if (Read16(m_header + packed::kOffsetBlocksPerMb) !=
      static_cast<uint32_t>(packed::BlocksPerMacroblock(type))) {
    return packed::kBadBlockCount;
  }
  if (Read16(m_header + packed::kOffsetMacroblocks) != packed::MacroblockCount(width, height)) {
    return packed::kBadMacroblocks;
  }
  return packed::kOk;
}

int32_t CPackedImageFile::Allocate() {
  const uint32_t type = GetType();
  // The size was checked against width and height, whose 16 bits keep it far below 4 GB.
  m_pixels.reset(new (std::nothrow) BYTE[GetDecodedSize()]());
  if (!m_pixels) return packed::kNoMemory;
  const uint32_t colours = Read16(m_header + packed::kOffsetPaletteCount);
  if (type != packed::kTypeRgb420 && colours > 0) {
    m_palette.reset(new (std::nothrow) RGBQUAD[colours]);
    if (!m_palette) return packed::kNoMemory;
    m_paletteCount = static_cast<int32_t>(colours);
    const BYTE* rgb = m_header + packed::kOffsetPalette;
    for (uint32_t i = 0; i < colours; ++i, rgb += 3) m_palette[i] = {rgb[2], rgb[1], rgb[0], 0};
  }
  if (type == packed::kTypeLzw) {
    m_bits->SetLzwTarget(GetWidth(), GetHeight(), m_pixels.get());
    return packed::kOk;
  }
  m_assembler.reset(new (std::nothrow) CMacroblockRow(type, GetWidth(), GetHeight(), m_pixels.get(),
                                                      m_palette.get(), m_paletteCount));
  if (!m_assembler || !m_assembler->Create()) return packed::kNoMemory;
  m_quant.SetQuality(static_cast<int>(Read16(m_header + packed::kOffsetQuality)));
  return packed::kOk;
}

int32_t CPackedImageFile::Read(HWND progress) {
  if (m_status != packed::kOk) return 0;
  if (m_decoded) return 1;
  if (GetType() == packed::kTypeLzw) {
    const int32_t result = m_bits->DecodeLzw(progress);
    return Finish(result == 1 ? packed::kOk : m_bits->GetStatus());
  }
  return Finish(ReadTransform(progress));
}

int32_t CPackedImageFile::Finish(int32_t status) {
  m_bits->File().Close();
  m_status = status;
  m_decoded = status == packed::kOk;
  return m_decoded ? 1 : 0;
}

int32_t CPackedImageFile::ReadTransform(HWND progress) {
  const uint32_t macroblocks = Read16(m_header + packed::kOffsetMacroblocks);
  const int blocks = packed::BlocksPerMacroblock(GetType());
  // Ten steps over the image; every macroblock when there are fewer than ten.
  ProgressStepper bar(progress, static_cast<int>(macroblocks / 10));
  for (uint32_t mb = 0; mb < macroblocks; ++mb) {
    bar.Count();
    if (!DecodeMacroblock(blocks)) return m_bits->GetStatus();
    m_bits->ByteAlign();
    if (seams::StopRequested()) return packed::kStopped;
  }
  m_assembler->Flush();
  return packed::kOk;
}

bool CPackedImageFile::DecodeMacroblock(int blocks) {
  const uint32_t type = GetType();
  int32_t natural[64];
  uint8_t spare[64];
  for (int b = 0; b < blocks; ++b) {
    const int component = packed::BlockComponent(type, b);
    const bool luminance = component == 0;
    const int32_t* quant = luminance ? m_quant.Luminance() : m_quant.Chrominance();
    int32_t& predictor = m_dcPredictor[component];
    int end = 1;
    std::memset(natural, 0, sizeof(natural));
    // Each coefficient is dequantised by the table entry of its coded index and moved to the
    // format's position for that index. The DC is coded as the difference from the previous
    // block of the same component.
    const bool decoded = m_bits->DecodeCoefficients(luminance, [&](int k, int32_t value) {
      if (k == 0) value = predictor += value;
      natural[packed::kZigzag[k]] = CQuantTables::Multiply(value, quant[k]);
      end = k + 1;
    });
    if (!decoded) return false;
    int32_t stride = 8;
    uint8_t* samples = m_assembler->PlaceBlock(b, &stride);
    if (samples == nullptr) {
      samples = spare;
      stride = 8;
    }
    if (end == 1) {
      packed::InverseTransformDc(natural[0], samples, stride);
    } else {
      packed::InverseTransform(natural, samples, stride);
    }
  }
  return true;
}
