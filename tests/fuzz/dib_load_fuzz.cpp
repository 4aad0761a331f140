// The BMP reader over arbitrary bytes: a load either fails leaving the bitmap as it was, or gives
// a bitmap whose every row can be touched and that saves and loads back to the same picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/File.h"
#include "imaging/DIB.h"

namespace {

size_t BitsSize(const CDIB& dib) {
  return static_cast<size_t>(dib.GetStorageWidth()) * static_cast<size_t>(dib.GetHeight());
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CMemFile file(data, size);
  CDIB dib;
  BITMAPINFO* oldHeader = dib.header;
  BYTE* oldBits = dib.bits;
  if (!dib.LoadFromFile(&file)) {
    Check(dib.header == oldHeader && dib.bits == oldBits && dib.GetWidth() == 16);
    return 0;
  }

  // Every row and the last byte of each are inside the bits.
  const int h = dib.GetHeight();
  Check(dib.GetWidth() > 0 && h > 0 && dib.GetNumColors() <= 256);
  for (int y = 0; y < h; ++y) {
    BYTE* first = dib.GetPixelAddress(0, y);
    BYTE* last = dib.GetPixelAddress(dib.GetWidth() - 1, y);
    Check(first && last && first >= dib.bits && last < dib.bits + BitsSize(dib));
    *last ^= *first;
  }

  CMemFile saved;
  Check(dib.SaveToFile(&saved));
  CMemFile again(saved.GetData(), static_cast<size_t>(saved.GetLength()));
  CDIB copy;
  Check(copy.LoadFromFile(&again));
  Check(std::memcmp(copy.header, dib.header, CDIB::kHeaderBlockSize) == 0);
  Check(std::memcmp(copy.bits, dib.bits, BitsSize(dib)) == 0);
  return 0;
}
