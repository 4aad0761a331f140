// One image change of the drawing thread at 1024 x 768, step by step: GetImage of a set's
// picture of that size (each of the set's three data formats), the colour reduction of a 24-bit
// picture to the screen's 204 colours with dithering, and the copy of the finished screen back
// into the screen background.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/Arrays.h"
#include "imageset/GetImage.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "seams/ScreenSize.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/SyntheticPhoto.h"
#include "tools/demo/DemoImageSet.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kSizeCode = 3;  // 1024 x 768

// The demo set drawn at 1024 x 768, built once in a temporary folder.
struct DemoSet {
  std::filesystem::path folder;
  std::string imfull;
  CObArray descs;

  DemoSet() {
    folder = std::filesystem::temp_directory_path() / "drawing_change_bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    demoset::Options options;
    options.width = kWidth;
    options.height = kHeight;
    const std::string error = demoset::BuildDemoImageSet(folder.string(), options);
    if (!error.empty()) std::fprintf(stderr, "demo set: %s\n", error.c_str());
    const std::string data = imagesettest::JoinPath(folder.string(), demoset::kDataFolderName);
    imfull = imagesettest::JoinPath(data, "imfull.dat");
    GetImageDescArray(imagesettest::JoinPath(data, "Imagedes.dat").c_str(), &descs);
  }
  ~DemoSet() {
    DeleteImageDescs(&descs);
    std::filesystem::remove_all(folder);
  }
  // The first picture of the format.
  const CImageDesc* First(int32_t format) const {
    for (int i = 0; i < descs.GetSize(); ++i) {
      const auto* desc = static_cast<const CImageDesc*>(descs.GetAt(i));
      if (desc->dataFormat == format) return desc;
    }
    return nullptr;
  }
};

DemoSet& Set() {
  static DemoSet set;
  return set;
}

void BM_GetImage(benchmark::State& state) {
  ScopedScreenSize screen(kWidth, kHeight);
  const CImageDesc* desc = Set().First(static_cast<int32_t>(state.range(0)));
  if (!desc) {
    state.SkipWithError("no picture of that format");
    return;
  }
  for (auto _ : state) {
    CString error;
    std::unique_ptr<CDIB> image(
        GetImage(Set().imfull.c_str(), desc, kSizeCode, TRUE, 31, nullptr, nullptr, FALSE, error));
    if (!image) state.SkipWithError(error);
    benchmark::DoNotOptimize(image.get());
  }
}
BENCHMARK(BM_GetImage)
    ->Arg(kImageDataPacked)
    ->Arg(kImageDataBmp)
    ->Arg(kImageDataJpeg)
    ->ArgName("format")
    ->Unit(benchmark::kMillisecond);

void BM_ReduceWithDither(benchmark::State& state) {
  CDIB photo;
  testsupport::ToDIB24(testsupport::SyntheticPhoto(kWidth, kHeight), photo);
  for (auto _ : state) {
    CDIB reduced;
    if (!photo.Quantize(&reduced, 204, 1)) state.SkipWithError("reduction failed");
    benchmark::DoNotOptimize(reduced.bits);
  }
}
BENCHMARK(BM_ReduceWithDither)->Unit(benchmark::kMillisecond);

void BM_CopyBack(benchmark::State& state) {
  CDIB surface, background;
  surface.Create(kWidth, kHeight, nullptr);
  background.Create(kWidth, kHeight, nullptr);
  for (auto _ : state) {
    surface.CopyBits(&background, 0, 0, kWidth, kHeight, 0, 0, -1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyBack)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
