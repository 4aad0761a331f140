// The packed image decoder against libjpeg-turbo on the same 1600 x 1200 photograph: the packed
// 24-bit type and a baseline JPEG of the same quality (4:2:0, the typical tables, the accurate
// integer transform), both decoded from memory to blue-green-red or red-green-blue rows. Also the
// palette types and LZW, in pixels per second.
//
// libjpeg-turbo picks its SIMD code once per process: run this program as it is and again with
// JSIMD_FORCENONE=1; the JPEG benchmarks' names say which was in force.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

#include "framework/File.h"
#include "imaging/PackedImage.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/PackedImageWriter.h"
#include "tests/support/TestPictures.h"

namespace {

using packedtest::Bytes;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int kQuality = 75;

struct Pictures {
  Bytes rgb;
  Bytes packedRgb;      // type 3
  Bytes packedPalette;  // type 2
  Bytes packedLzw;      // type 5
  Bytes jpeg;
};

// The same picture as a baseline JPEG of the same quality (4:2:0, the typical Huffman tables, as
// the packed format uses).
Bytes EncodeJpeg(const Bytes& rgb) {
  testsupport::JpegOptions options;
  options.quality = kQuality;
  return testsupport::EncodeJpeg(testsupport::Picture{kWidth, kHeight, 3, rgb}, options);
}

const Pictures& TestPictures() {
  static const Pictures pictures = [] {
    Pictures p;
    p.rgb = packedtest::MakePhotoRgb(kWidth, kHeight, 1);
    packedtest::PackedPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    picture.quality = kQuality;
    picture.type = 3;
    picture.pixels = p.rgb;
    p.packedRgb = packedtest::WritePackedImage(picture);
    picture.type = 2;
    picture.palette = packedtest::MakeCubePalette();
    p.packedPalette = packedtest::WritePackedImage(picture);
    picture.type = 5;
    picture.pixels = packedtest::MapToPalette(p.rgb, picture.palette);
    p.packedLzw = packedtest::WritePackedImage(picture);
    p.jpeg = EncodeJpeg(p.rgb);
    return p;
  }();
  return pictures;
}

void DecodePacked(benchmark::State& state, const Bytes& file) {
  for (auto _ : state) {
    CPackedImageFile image(std::make_unique<CMemFile>(file.data(), file.size()), 0);
    if (image.Read(nullptr) != 1) throw std::runtime_error("packed decode failed");
    benchmark::DoNotOptimize(image.GetPixels());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  state.counters["bytes"] = static_cast<double>(file.size());
}

void DecodeJpeg(benchmark::State& state) {
  const Bytes& file = TestPictures().jpeg;
  Bytes rows(static_cast<size_t>(kWidth) * 3 * kHeight);
  for (auto _ : state) {
    jpeg_decompress_struct d;
    jpeg_error_mgr error;
    d.err = jpeg_std_error(&error);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, const_cast<unsigned char*>(file.data()), file.size());
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    while (d.output_scanline < d.output_height) {
      JSAMPROW row = rows.data() + static_cast<size_t>(d.output_scanline) * kWidth * 3;
      jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  state.counters["bytes"] = static_cast<double>(file.size());
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const char* forceNone = std::getenv("JSIMD_FORCENONE");
  const std::string simd = forceNone != nullptr && std::string(forceNone) == "1" ? "off" : "on";
  TestPictures();
  benchmark::RegisterBenchmark("PackedDecode/rgb420_q75", [](benchmark::State& s) {
    DecodePacked(s, TestPictures().packedRgb);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("JpegDecode/rgb420_q75/simd_" + simd).c_str(), DecodeJpeg)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PackedDecode/palette420_q75", [](benchmark::State& s) {
    DecodePacked(s, TestPictures().packedPalette);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PackedDecode/lzw", [](benchmark::State& s) {
    DecodePacked(s, TestPictures().packedLzw);
  })->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
