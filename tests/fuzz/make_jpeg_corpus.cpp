// Writes the seed corpus of jpeg_load_fuzz: tiny JPEG files of each coding the decoder meets
// (baseline with 4:2:0, 4:2:2 and 4:4:4 sampling, progressive, arithmetic, greyscale, restart
// markers), each well under 2 KB.
//   make_jpeg_corpus <folder>
#include <cstdio>
#include <string>

#include "tests/support/JpegEncode.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_jpeg_corpus <folder>\n");
    return 2;
  }
  using testsupport::JpegOptions;
  using testsupport::SyntheticPhoto;
  struct Seed {
    const char* name;
    int w, h, components;
    JpegOptions options;
    bool arithmetic;
  } seeds[] = {
      {"baseline420-16x16", 16, 16, 3, {50, false, 2, 2, 0}, false},
      {"baseline422-13x7", 13, 7, 3, {50, false, 2, 1, 0}, false},
      {"baseline444-9x9", 9, 9, 3, {50, false, 1, 1, 0}, false},
      {"progressive-17x11", 17, 11, 3, {50, true, 2, 2, 0}, false},
      {"grey-15x6", 15, 6, 1, {50, false, 1, 1, 0}, false},
      {"restart-24x24", 24, 24, 3, {30, false, 2, 2, 1}, false},
      {"arithmetic-12x10", 12, 10, 3, {50, false, 2, 2, 0}, true},
  };
  for (const Seed& s : seeds) {
    const std::vector<uint8_t> bytes =
        testsupport::EncodeJpeg(SyntheticPhoto(s.w, s.h, s.components), s.options, s.arithmetic);
    if (!Write(std::string(argv[1]) + "/" + s.name + ".jpg", bytes)) {
      std::fprintf(stderr, "cannot write %s\n", s.name);
      return 1;
    }
    std::printf("%s.jpg: %zu bytes\n", s.name, bytes.size());
  }
  return 0;
}
