// The quarter-size cache "imx4.dat" as a damaged or hostile file: the index reader parses its
// header, then every image it lists is read back. A header that cannot be trusted loads no index;
// a trusted one lists images that lie inside the file, in order, ending at its end; an image
// that does not load gives null. No crash, no read outside the file, no huge allocation.
// make_cache_corpus.py writes the seeds again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/File.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "tests/fuzz/ScratchFolder.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const std::string& Folder() { return fuzzscratch::Folder("quarter_cache_fuzz"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path =
      fuzzscratch::WriteFile("quarter_cache_fuzz", kQuarterCacheFileName, data, size);

  QuarterImageCount = 0;
  if (LoadQuarterImageIndexFrom(Folder().c_str())) {
    Check(QuarterImageCount >= 1 && QuarterImageCount <= kQuarterCacheCapacity);
    for (int n = 0; n < QuarterImageCount; ++n) {
      Check(QuarterImageOffsets[n] > 0 && static_cast<size_t>(QuarterImageOffsets[n]) < size);
      if (n > 0) Check(QuarterImageOffsets[n] > QuarterImageOffsets[n - 1]);
    }
    CFile file;
    Check(file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary));
    for (int n = -1; n <= QuarterImageCount; ++n) {
      std::unique_ptr<CDIB> image(ReadQuarterImage(&file, n));
      if (n < 0 || n == QuarterImageCount) Check(image == nullptr);
      if (image) Check(image->GetWidth() > 0 && image->GetHeight() > 0 && image->bits);
    }
    file.Close();
  } else {
    Check(QuarterImageCount == 0);
  }
  std::filesystem::remove(path);
  return 0;
}
