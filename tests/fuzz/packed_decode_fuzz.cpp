// The packed image decoder over arbitrary bytes, read from memory: every header the reader
// accepts must decode or fail inside its buffers, and a decoded image must be whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "framework/File.h"
#include "imaging/PackedFormat.h"
#include "imaging/PackedImage.h"

namespace {

// Bigger pictures only take longer to decode, not other paths: skip them.
constexpr uint64_t kMaxPixels = uint64_t{1} << 18;

uint32_t Read16(const uint8_t* p) { return p[0] | (uint32_t{p[1]} << 8); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= packed::kOffsetHeight + 2) {
    const uint64_t pixels =
        uint64_t{Read16(data + packed::kOffsetWidth)} * Read16(data + packed::kOffsetHeight);
    if (pixels > kMaxPixels) return 0;
  }
  CPackedImageFile image(std::make_unique<CMemFile>(data, size), 0);
  const int32_t result = image.Read(nullptr);
  if (result != 1) {
    if (image.GetStatus() == packed::kOk) std::abort();  // a failure must say why
    return 0;
  }
  // Touch every decoded byte and colour: the sanitizers check they were all allocated.
  const BYTE* pixels = image.GetPixels();
  unsigned sum = 0;
  for (DWORD i = 0; i < image.GetDecodedSize(); ++i) sum += pixels[i];
  const RGBQUAD* palette = image.GetPalette();
  if (image.GetPaletteCount() > 256) std::abort();
  for (int32_t i = 0; i < image.GetPaletteCount(); ++i) sum += palette[i].rgbRed;
  volatile unsigned keep = sum;
  (void)keep;
  return 0;
}
