// CDIB::LoadJPEG over arbitrary bytes, through a stdio stream on memory: a load either fails
// leaving the bitmap as it was, or gives a 24-bit bitmap whose every row can be touched; a small
// decoded picture is then quantized to 8 bits, so the median-cut quantizer sees arbitrary
// pictures too.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "imaging/DIB.h"
#include "imaging/JpegError.h"

namespace {

// Pictures above this are left out for speed; the decoder's own limit is far higher and is
// covered by the unit tests. Quantizing costs more per picture, so only small ones are quantized,
// and only for about one input in four (chosen by two bits of the middle byte).
constexpr uint64_t kFuzzMaxPixels = 1 << 16;
constexpr int kQuantizeMaxPixels = 1 << 12;

void Check(bool condition) {
  if (!condition) std::abort();
}

// False when the header cannot be read or declares a picture too large to fuzz quickly.
bool SmallEnough(const uint8_t* data, size_t size) {
  JpegErrorManager errors;
  jpeg_decompress_struct d{};
  d.err = InitJpegErrorManager(errors);
  if (setjmp(errors.returnPoint)) {
    jpeg_destroy_decompress(&d);
    return true;  // let the decoder meet the same failure
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d, TRUE);
  const bool small = uint64_t{d.image_width} * d.image_height <= kFuzzMaxPixels;
  jpeg_destroy_decompress(&d);
  return small;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || !SmallEnough(data, size)) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return 0;
  CDIB dib;
  BITMAPINFO* oldHeader = dib.header;
  BYTE* oldBits = dib.bits;
  const BOOL loaded = dib.LoadJPEG(file, nullptr);
  std::fclose(file);
  if (!loaded) {
    Check(dib.header == oldHeader && dib.bits == oldBits && dib.GetWidth() == 16);
    return 0;
  }

  const int w = dib.GetWidth(), h = dib.GetHeight();
  Check(w > 0 && h > 0 && dib.header->bmiHeader.biBitCount == 24 && dib.ownsBits);
  for (int y = 0; y < h; ++y) {
    BYTE* first = dib.GetPixelAddress(0, y);
    BYTE* last = dib.GetPixelAddress(w - 1, y) + 2;
    *last ^= *first;
  }

  if (w * h > kQuantizeMaxPixels || (data[size / 2] & 6) != 0) return 0;
  CDIB quantized;
  const int colours = 8 + data[size - 1] % 33;  // few colours: the inverse map fills fast
  Check(dib.Quantize(&quantized, colours, data[size / 2] & 1));
  Check(quantized.GetWidth() == w && quantized.GetHeight() == h &&
        quantized.header->bmiHeader.biBitCount == 8);
  return 0;
}
