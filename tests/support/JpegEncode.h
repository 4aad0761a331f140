// JPEG files made in memory with libjpeg's own compressor, and libjpeg's own decode of them,
// for tests and benchmarks that compare the system's decoding with the library's.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/WinTypes.h"  // before jpeglib.h: Windows' "boolean" must come first

#include <jpeglib.h>

#include "tests/support/SyntheticPhoto.h"

namespace testsupport {

struct JpegOptions {
  int quality = 85;
  bool progressive = false;
  int lumaH = 2, lumaV = 2;  // sampling factors of the first component: 2 x 2 is 4:2:0
  int restartRows = 0;
};

// arithmetic: arithmetic coding instead of Huffman coding.
inline std::vector<uint8_t> EncodeJpeg(const Picture& p, const JpegOptions& options = {},
                                       bool arithmetic = false) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(p.width);
  c.image_height = static_cast<JDIMENSION>(p.height);
  c.input_components = p.components;
  c.in_color_space = p.components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, options.quality, TRUE);
  if (p.components == 3) {
    c.comp_info[0].h_samp_factor = options.lumaH;
    c.comp_info[0].v_samp_factor = options.lumaV;
  }
  c.restart_in_rows = options.restartRows;
  c.arith_code = arithmetic ? TRUE : FALSE;
  if (options.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(p.Row(static_cast<int>(c.next_scanline)));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  std::free(buffer);
  return bytes;
}

// libjpeg's decode into `out` (made the picture's size; a buffer of that size is reused): with
// `systemOptions` the options the system uses (fast integer transform, plain upsampling), else
// the library's defaults (accurate transform, fancy upsampling); RGB, rows from the top.
inline void ReferenceDecodeInto(const std::vector<uint8_t>& jpeg, bool systemOptions,
                                Picture& out) {
  jpeg_decompress_struct d;
  jpeg_error_mgr err;
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&d, TRUE);
  if (systemOptions) {
    d.dct_method = JDCT_IFAST;
    d.do_fancy_upsampling = FALSE;
  }
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  out.width = static_cast<int>(d.output_width);
  out.height = static_cast<int>(d.output_height);
  out.components = 3;
  out.samples.resize(static_cast<size_t>(out.width) * out.height * 3);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = out.samples.data() + static_cast<size_t>(d.output_scanline) * out.width * 3;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
}

// libjpeg's decode with the options the system uses: rows from the top, three samples per pixel.
inline Picture ReferenceDecode(const std::vector<uint8_t>& jpeg) {
  Picture out;
  ReferenceDecodeInto(jpeg, true, out);
  return out;
}

// A temporary file holding the bytes, positioned at its start; deleted when closed.
inline FILE* TempFileWith(const std::vector<uint8_t>& bytes) {
  FILE* file = std::tmpfile();
  if (!file) return nullptr;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::fclose(file);
    return nullptr;
  }
  std::rewind(file);
  return file;
}

}  // namespace testsupport
