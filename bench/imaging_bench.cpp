// The median-cut quantizer against libjpeg's two-pass quantizer, and the screen scalers, on one
// 1600 x 1200 photograph-like picture.
//
// libjpeg quantizes only inside a decode, so its quantizer's cost is the difference between
// LibjpegDecodeTwoPass (decode, 256 colours) and LibjpegDecodeRgb (the same decode to RGB). The
// decodes use the system's options: fast integer transform, plain upsampling.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/Resample.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/SyntheticPhoto.h"

namespace {

constexpr int kWidth = 1600, kHeight = 1200;
constexpr int kScreenWidth = 1920, kScreenHeight = 1080;

struct Fixture {
  CDIB photo24;  // the picture
  CDIB photo8;   // the picture at 256 colours (median cut, dithered)
  CDIB small8;   // a 640 x 480 picture at 256 colours, the size the scaler's steps suit
  std::vector<uint8_t> jpeg;  // the picture as a baseline JPEG of quality 85

  Fixture() {
    const testsupport::Picture picture = testsupport::SyntheticPhoto(kWidth, kHeight);
    testsupport::ToDIB24(picture, photo24);
    photo24.Quantize(&photo8, 256, 1);
    CDIB small24;
    testsupport::ToDIB24(testsupport::SyntheticPhoto(640, 480), small24);
    small24.Quantize(&small8, 256, 1);
    jpeg = testsupport::EncodeJpeg(picture, testsupport::JpegOptions{});
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void SetPixels(benchmark::State& state, int64_t perIteration) {
  state.counters["Mpixel/s"] = benchmark::Counter(
      static_cast<double>(perIteration) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

// libjpeg's decode of the picture; quantized to 256 colours when `twoPass`.
void LibjpegDecode(const std::vector<uint8_t>& jpeg, bool twoPass, bool dither) {
  jpeg_decompress_struct d;
  jpeg_error_mgr err;
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&d, TRUE);
  d.dct_method = JDCT_IFAST;
  d.do_fancy_upsampling = FALSE;
  d.out_color_space = JCS_RGB;
  if (twoPass) {
    d.quantize_colors = TRUE;
    d.two_pass_quantize = TRUE;
    d.desired_number_of_colors = 256;
    d.dither_mode = dither ? JDITHER_FS : JDITHER_NONE;
  }
  jpeg_start_decompress(&d);
  std::vector<JSAMPLE> row(static_cast<size_t>(d.output_width) * d.output_components);
  JSAMPROW rows[1] = {row.data()};
  while (d.output_scanline < d.output_height) jpeg_read_scanlines(&d, rows, 1);
  benchmark::DoNotOptimize(row.data());
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
}

void BM_LibjpegDecodeRgb(benchmark::State& state) {
  const Fixture& f = Shared();
  for (auto _ : state) LibjpegDecode(f.jpeg, false, false);
  SetPixels(state, int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_LibjpegDecodeRgb)->Unit(benchmark::kMillisecond);

void BM_LibjpegDecodeTwoPass(benchmark::State& state) {
  const Fixture& f = Shared();
  for (auto _ : state) LibjpegDecode(f.jpeg, true, state.range(0) != 0);
  SetPixels(state, int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_LibjpegDecodeTwoPass)
    ->ArgName("dither")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_LoadJPEG(benchmark::State& state) {
  const Fixture& f = Shared();
  FILE* file = testsupport::TempFileWith(f.jpeg);
  for (auto _ : state) {
    std::rewind(file);
    CDIB dib;
    if (!dib.LoadJPEG(file, nullptr)) state.SkipWithError("LoadJPEG failed");
  }
  std::fclose(file);
  SetPixels(state, int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_LoadJPEG)->Unit(benchmark::kMillisecond);

void BM_MedianCutQuantize(benchmark::State& state) {
  Fixture& f = Shared();
  CDIB out;
  out.Create(kWidth, kHeight, nullptr);
  for (auto _ : state) {
    if (!f.photo24.Quantize(&out, 256, static_cast<int>(state.range(0))))
      state.SkipWithError("Quantize failed");
  }
  SetPixels(state, int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_MedianCutQuantize)->ArgName("dither")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// arg 0: the 1600 x 1200 picture (factor 2, a 3200 x 2400 result); 1: the 640 x 480 one (factor
// 2, 1280 x 960 centred on the screen).
void BM_InterpolateToScreen(benchmark::State& state) {
  const Fixture& f = Shared();
  const CDIB& source = state.range(0) == 0 ? f.photo8 : f.small8;
  int64_t pixels = 0;
  for (auto _ : state) {
    CDIB* result = nullptr;
    if (!InterpolateToScreen(&source, kScreenWidth, kScreenHeight, &result, RGBQUAD{}, nullptr))
      state.SkipWithError("InterpolateToScreen failed");
    pixels = int64_t{result ? result->GetWidth() : 0} * (result ? result->GetHeight() : 0);
    delete result;
  }
  SetPixels(state, pixels);
}
BENCHMARK(BM_InterpolateToScreen)->ArgName("small")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// arg 0: 8-bit (nearest neighbour, proportions kept); 1: 24-bit (bilinear, fills the screen).
void BM_StretchToScreen(benchmark::State& state) {
  const Fixture& f = Shared();
  const CDIB& source = state.range(0) == 0 ? f.photo8 : f.photo24;
  for (auto _ : state) {
    CDIB* result = nullptr;
    if (!StretchToScreen(&source, kScreenWidth, kScreenHeight, &result, RGBQUAD{}))
      state.SkipWithError("StretchToScreen failed");
    delete result;
  }
  SetPixels(state, int64_t{kScreenWidth} * kScreenHeight);
}
BENCHMARK(BM_StretchToScreen)->ArgName("rgb")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
