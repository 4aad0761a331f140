// Writes the seed corpus of packed_decode_fuzz: small images of every type from the test-support
// writer. Usage: make_packed_corpus <folder>
#include <cstdio>
#include <string>

#include "tests/support/PackedImageWriter.h"
#include "tests/support/TestPictures.h"

namespace {

using packedtest::Bytes;
using packedtest::PackedPicture;

PackedPicture Picture(uint32_t type, int w, int h, int quality, uint32_t seed) {
  PackedPicture p;
  p.type = type;
  p.width = w;
  p.height = h;
  p.quality = quality;
  const Bytes rgb = packedtest::MakePhotoRgb(w, h, seed);
  if (type != 3) p.palette = packedtest::MakeCubePalette();
  if (type == 1)
    p.pixels = packedtest::ToGrey(rgb);
  else if (type == 5)
    p.pixels = packedtest::MapToPalette(rgb, p.palette);
  else
    p.pixels = rgb;
  return p;
}

bool Save(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  packedtest::LzwOptions clearing;
  clearing.clearAfterCodes = 40;
  const struct {
    const char* name;
    Bytes bytes;
  } seeds[] = {
      {"grey-17x9-q50", packedtest::WritePackedImage(Picture(1, 17, 9, 50, 1))},
      {"grey-16x16-q100", packedtest::WritePackedImage(Picture(1, 16, 16, 100, 2))},
      {"palette420-21x18-q75", packedtest::WritePackedImage(Picture(2, 21, 18, 75, 3))},
      {"rgb420-24x20-q75", packedtest::WritePackedImage(Picture(3, 24, 20, 75, 4))},
      {"rgb420-9x33-q30", packedtest::WritePackedImage(Picture(3, 9, 33, 30, 5))},
      {"palette444-19x17-q90", packedtest::WritePackedImage(Picture(4, 19, 17, 90, 6))},
      {"lzw-23x19", packedtest::WritePackedImage(Picture(5, 23, 19, 0, 7))},
      {"lzw-32x24-clears", packedtest::WritePackedImage(Picture(5, 32, 24, 0, 8), clearing)},
  };
  for (const auto& seed : seeds) {
    if (!Save(dir + "/" + seed.name, seed.bytes)) {
      std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), seed.name);
      return 1;
    }
  }
  return 0;
}
