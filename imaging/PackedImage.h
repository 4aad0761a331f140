// CPackedImageFile: reads one image of the system's packed image format (an 804-byte header and
// the coded pixels) into a buffer of pixel rows that CDIB::CreateFromPixels takes as it is.
//
// Created on a file and the image's byte offset in it: the constructor reads and checks the
// header and allocates the buffers, recording the first failure in the status; Read decodes.
// Every size comes from the header and is checked against the others before anything is
// allocated, and a file that is corrupt or ends early gives a status, never a partial success.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/File.h"
#include "framework/WinTypes.h"
#include "imaging/PackedFormat.h"
#include "imaging/QuantTables.h"

class CBitStream;
class CMacroblockRow;

class CPackedImageFile {
 public:
  // Opens the named file (others may read it, not write it) at the image's offset.
  CPackedImageFile(const char* fileName, DWORD offset);
  // Reads from a file the caller opened (a CMemFile in tests and the fuzzer), taken over.
  CPackedImageFile(std::unique_ptr<CFile> file, DWORD offset);
  CPackedImageFile(const CPackedImageFile&) = delete;
  CPackedImageFile& operator=(const CPackedImageFile&) = delete;
  virtual ~CPackedImageFile();

  // Decodes the image into the pixel buffer and closes the file: 1 when decoded, 0 when the
  // status was not 0 or decoding failed (the status then says why). progress: a progress-bar
  // control stepped ten times over the image, or none.
  int32_t Read(HWND progress);

  // 0 (packed::kOk) when usable, else a packed::Status code.
  int32_t GetStatus() const { return m_status; }
  const BYTE* GetHeader() const { return m_header; }
  uint32_t GetType() const;
  int32_t GetWidth() const;
  int32_t GetHeight() const;
  // Bytes per decoded row: width x bytes per pixel (3 for type 3, else 1), padded to 4.
  int32_t GetRowStride() const;
  // The colours held: the header's count for the types that carry a palette, else 0.
  int32_t GetPaletteCount() const { return m_palette ? m_paletteCount : 0; }
  // Blue, green, red, 0 per entry; null when there is none.
  const RGBQUAD* GetPalette() const { return m_palette.get(); }
  // Height rows of the row stride, first row first; null unless the status is 0.
  BYTE* GetPixels() const { return m_pixels.get(); }
  DWORD GetDecodedSize() const;

 private:
  void Open(bool opened);
  int32_t CheckHeader() const;
  int32_t Allocate();
  int32_t ReadTransform(HWND progress);
  bool DecodeMacroblock(int blocks);
  int32_t Finish(int32_t status);

  int32_t m_status = packed::kOk;
  BYTE m_header[packed::kHeaderSize] = {};
  std::unique_ptr<BYTE[]> m_pixels;
  std::unique_ptr<CMacroblockRow> m_assembler;
  CQuantTables m_quant;
  std::unique_ptr<CBitStream> m_bits;
  int32_t m_dcPredictor[3] = {0, 0, 0};  // luminance, Cb, Cr
  std::unique_ptr<RGBQUAD[]> m_palette;
  int32_t m_paletteCount = 0;
  bool m_decoded = false;
};
