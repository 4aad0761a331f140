// One image change of the drawing thread at 1024 x 768, step by step: GetImage of a set's
// picture of that size (each of the set's three data formats), the colour reduction of a 24-bit
// picture to the screen's 204 colours with dithering, and the copy of the finished screen back
// into the screen background.
//
// Then a 1600 x 1200 photograph for a 1920 x 1080 screen, side by side with libjpeg-turbo's own
// plain decode of the same JPEG (accurate transform, fancy upsampling, RGB): GetImage of it as
// a JPEG, the drawing thread's whole load (GetImage and the reduction to the screen's colours),
// and GetImage of the same picture as an 8-bit BMP with palette interpolation. The photograph is
// Debian's YellowFlower when mate-backgrounds is unpacked in the dependency cache, else a
// photograph-like picture of the test support.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/Arrays.h"
#include "imageset/GetImage.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/Resample.h"
#include "seams/ScreenSize.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/SyntheticPhoto.h"
#include "tools/demo/DemoImageSet.h"
#include "transitions/LayoutRects.h"

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

// ---- A 1600 x 1200 photograph on a 1920 x 1080 screen -------------------------------------

constexpr int kPhotoWidth = 1600, kPhotoHeight = 1200;
constexpr int kWideWidth = 1920, kWideHeight = 1080;
constexpr char kPhoto[] =
    "/var/cache/photo-saver-deps/mate-backgrounds/root/usr/share/backgrounds/mate/nature/"
    "YellowFlower.jpg";

// The photograph at 1600 x 1200, 24-bit.
bool LoadPhoto(CDIB& photo) {
  if (FILE* file = std::fopen(kPhoto, "rb")) {
    CDIB original;
    const BOOL loaded = original.LoadJPEG(file, nullptr);
    std::fclose(file);
    if (loaded && photo.Create24(kPhotoWidth, kPhotoHeight) && StretchDIB24(&original, &photo))
      return true;
  }
  return testsupport::ToDIB24(testsupport::SyntheticPhoto(kPhotoWidth, kPhotoHeight), photo);
}

testsupport::Picture PictureOf(const CDIB& dib) {
  testsupport::Picture picture{dib.GetWidth(), dib.GetHeight(), 3, {}};
  picture.samples.resize(static_cast<size_t>(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    for (int x = 0; x < picture.width; ++x)
      for (int c = 0; c < 3; ++c)
        picture.samples[(static_cast<size_t>(y) * picture.width + x) * 3 + c] = row[3 * x + 2 - c];
  }
  return picture;
}

// The photograph as a JPEG and as an 8-bit BMP, each alone in a data file of its own.
struct Photo {
  std::filesystem::path folder;
  std::vector<uint8_t> jpeg;
  std::string jpegFile, bmpFile;
  CImageDesc jpegDesc, bmpDesc;

  Photo() {
    folder = std::filesystem::temp_directory_path() / "drawing_change_bench_photo";
    std::filesystem::create_directories(folder);
    CDIB photo, indexed;
    LoadPhoto(photo);
    jpeg = testsupport::EncodeJpeg(PictureOf(photo));
    jpegFile = (folder / "jpeg.dat").string();
    imagesettest::WriteFileBytes(jpegFile, jpeg);
    jpegDesc.dataOffset = 0;
    jpegDesc.dataFormat = kImageDataJpeg;
    photo.Quantize(&indexed, 236, 1);
    bmpFile = (folder / "bmp.dat").string();
    imagesettest::WriteFileBytes(bmpFile, imagesettest::BmpFileBytes(indexed));
    bmpDesc.dataOffset = 0;
    bmpDesc.dataFormat = kImageDataBmp;
  }
  ~Photo() { std::filesystem::remove_all(folder); }
};

Photo& SharedPhoto() {
  static Photo photo;
  return photo;
}

void BM_Wide_LibjpegPlainDecode(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = SharedPhoto().jpeg;
  testsupport::Picture decoded;
  for (auto _ : state) {
    testsupport::ReferenceDecodeInto(jpeg, false, decoded);
    benchmark::DoNotOptimize(decoded.samples.data());
  }
}
BENCHMARK(BM_Wide_LibjpegPlainDecode)->Unit(benchmark::kMillisecond);

// GetImage for the full screen; with `reduce`, the drawing thread's reduction of a picture that
// is not 8-bit to the screen's 204 colours, dithered.
void RunWideLoad(benchmark::State& state, const std::string& file, const CImageDesc& desc,
                 BOOL interpolate, bool reduce) {
  ScopedScreenSize screen(kWideWidth, kWideHeight);
  for (auto _ : state) {
    CString error;
    std::unique_ptr<CDIB> image(
        GetImage(file.c_str(), &desc, 0, interpolate, 0, nullptr, nullptr, FALSE, error));
    if (!image) state.SkipWithError(error);
    if (reduce && image && image->header->bmiHeader.biBitCount != 8) {
      CDIB reduced;
      if (!image->Quantize(&reduced, 204, 1)) state.SkipWithError("reduction failed");
      benchmark::DoNotOptimize(reduced.bits);
    }
    benchmark::DoNotOptimize(image.get());
  }
}

void BM_Wide_GetImageJpeg(benchmark::State& state) {
  RunWideLoad(state, SharedPhoto().jpegFile, SharedPhoto().jpegDesc, TRUE, false);
}
BENCHMARK(BM_Wide_GetImageJpeg)->Unit(benchmark::kMillisecond);

void BM_Wide_GetImageJpegAndReduction(benchmark::State& state) {
  RunWideLoad(state, SharedPhoto().jpegFile, SharedPhoto().jpegDesc, TRUE, true);
}
BENCHMARK(BM_Wide_GetImageJpegAndReduction)->Unit(benchmark::kMillisecond);

void BM_Wide_GetImageBmpInterpolated(benchmark::State& state) {
  RunWideLoad(state, SharedPhoto().bmpFile, SharedPhoto().bmpDesc, TRUE, true);
}
BENCHMARK(BM_Wide_GetImageBmpInterpolated)->Unit(benchmark::kMillisecond);

// ---- A 6000 x 4000 own picture ------------------------------------------------------------

constexpr int kBigWidth = 6000, kBigHeight = 4000;

struct BigOwnPicture {
  std::filesystem::path folder;
  static constexpr char kName[] = "big.jpg";

  BigOwnPicture() {
    folder = std::filesystem::temp_directory_path() / "drawing_change_bench_own";
    std::filesystem::create_directories(folder);
    CDIB photo, big;
    LoadPhoto(photo);
    if (!big.Create24(kBigWidth, kBigHeight) || !StretchDIB24(&photo, &big)) return;
    imagesettest::WriteFileBytes((folder / kName).string(),
                                 testsupport::EncodeJpeg(PictureOf(big)));
  }
  ~BigOwnPicture() { std::filesystem::remove_all(folder); }
};

// The kB of a line of /proc/self/status ("VmRSS:", "VmHWM:"); 0 when it cannot be read.
long StatusKb(const char* field) {
  long kb = 0;
  if (FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status))
      if (std::strncmp(line, field, std::strlen(field)) == 0)
        kb = std::strtol(line + std::strlen(field), nullptr, 10);
    std::fclose(status);
  }
  return kb;
}

// Starts the resident-memory high-water mark afresh from the current size.
void ResetPeakMemory() {
  if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

void BM_Wide_OwnPicture6000x4000AndReduction(benchmark::State& state) {
  static BigOwnPicture picture;
  ScopedScreenSize screen(kWideWidth, kWideHeight);
  const long before = StatusKb("VmRSS:");
  ResetPeakMemory();
  for (auto _ : state) {
    CPtrList rects;
    CString error;
    std::unique_ptr<CDIB> image(GetFullScreenOwnImageDIB(&rects, picture.folder.string().c_str(),
                                                         BigOwnPicture::kName, &error));
    DeleteAllPtrListElements(&rects);
    if (!image) {
      state.SkipWithError(error);
      break;
    }
    CDIB reduced;
    if (!image->Quantize(&reduced, 204, 1)) state.SkipWithError("reduction failed");
    benchmark::DoNotOptimize(reduced.bits);
  }
  // A label rather than a counter: the CSV reporter wants every run to carry the same counters.
  char peak[64];
  std::snprintf(peak, sizeof peak, "peak %.1f MiB",
                static_cast<double>(StatusKb("VmHWM:") - before) / 1024.0);
  state.SetLabel(peak);
}
BENCHMARK(BM_Wide_OwnPicture6000x4000AndReduction)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
