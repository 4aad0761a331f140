// CDIB's JPEG loading: a JPEG file decoded through libjpeg into a 24-bit bitmap.
#include <cstdint>

#include "imaging/DIB.h"
#include "imaging/DIBContent.h"
#include "imaging/JpegError.h"
#include "imaging/ProgressStepper.h"
#include "seams/Clock.h"

namespace {

// Pictures larger than this are refused before anything is allocated: a few header bytes could
// otherwise ask for gigabytes.
constexpr uint64_t kMaxJpegPixels = uint64_t{64} << 20;

bool SizeAcceptable(const jpeg_decompress_struct& d) {
  return d.image_width > 0 && d.image_height > 0 && d.image_width <= CDIB::kMaxSide &&
         d.image_height <= CDIB::kMaxSide &&
         uint64_t{d.image_width} * d.image_height <= kMaxJpegPixels;
}

// Decodes the file into `target` (re-created at the picture's size). False when the library gave
// up, the picture is too large, or a stop was requested; `target` then holds a partial picture.
// Only libjpeg's C frames lie between the return point and a jump to it.
bool DecodeJpeg(FILE* file, CDIB& target, HWND progress) {
  JpegErrorManager errors;
  jpeg_decompress_struct decoder{};
  decoder.err = InitJpegErrorManager(errors);
  if (setjmp(errors.returnPoint)) {
    jpeg_destroy_decompress(&decoder);
    return false;
  }
  jpeg_create_decompress(&decoder);
  jpeg_stdio_src(&decoder, file);
  jpeg_read_header(&decoder, TRUE);
  bool ok = SizeAcceptable(decoder);
  if (ok) {
    // Speed over the last bit of quality: the picture is shown at 8 bits per pixel anyway.
    decoder.dct_method = JDCT_IFAST;
    decoder.do_fancy_upsampling = FALSE;
    // RGB samples in the bitmap's byte order: the library writes each row straight into the
    // bitmap, the same bytes as an RGB decode stored blue, green, red, without a copy.
    decoder.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&decoder);
    ok = decoder.output_components == 3 && target.Create24(static_cast<int>(decoder.output_width),
                                                           static_cast<int>(decoder.output_height));
  }
  if (ok) {
    ProgressStepper stepper(progress, static_cast<int>(decoder.output_height / 10));
    while (ok && decoder.output_scanline < decoder.output_height) {
      JSAMPROW row = target.GetPixelAddress(0, static_cast<int>(decoder.output_scanline));
      ok = !seams::StopRequested() && jpeg_read_scanlines(&decoder, &row, 1) == 1;
      if (ok) stepper.Count();
    }
  }
  if (ok) jpeg_finish_decompress(&decoder);
  jpeg_destroy_decompress(&decoder);
  return ok;
}

}  // namespace

BOOL CDIB::LoadJPEGFile(FILE* file) { return LoadJPEG(file, nullptr); }

BOOL CDIB::LoadJPEG(FILE* file, HWND progress) {
  if (!file) return 0;
  // Decoded aside: a file that fails part-way leaves this bitmap as it was.
  CDIB decoded;
  if (!DecodeJpeg(file, decoded, progress)) return 0;
  SwapDIBContent(decoded, *this);
  return 1;
}
