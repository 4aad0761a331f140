// What the display-routine tests share: a clock whose waits jump straight to their deadlines (a
// minute of routine runs in moments, and every nap is measured), a colour table of 256 distinct
// colours, a picture and a grey backdrop on it, and pixel comparisons.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "framework/Geometry.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "tests/support/TempFolder.h"

namespace routinetest {

// Every tick read takes 1 ms and every Idle() 1 ms; IdleUntil jumps to its deadline. The longest
// nap asked for and the number of naps are kept; a stop can be raised after a number of naps.
class JumpClock : public seams::Clock {
 public:
  explicit JumpClock(int64_t wallStart = 820454400) : wallStart_(wallStart) {}
  uint32_t TickCount() override { return now_ += 1; }
  int64_t WallSeconds() override { return wallStart_ + (now_ - start_) / 1000; }
  void Idle() override {
    now_ += 1;
    ++idles;
  }
  void IdleUntil(uint32_t deadline) override {
    const int32_t nap = static_cast<int32_t>(deadline - now_);
    longestNap = std::max(longestNap, nap);
    ++naps;
    if (nap > 0) now_ = deadline;
    if (stopAfterNaps > 0 && naps >= stopAfterNaps) seams::RequestStop();
  }
  uint32_t Peek() const { return now_; }
  void Advance(uint32_t ms) { now_ += ms; }

  int32_t longestNap = 0;
  long naps = 0;
  long idles = 0;
  long stopAfterNaps = 0;

 private:
  uint32_t start_ = 5000;
  uint32_t now_ = 5000;
  int64_t wallStart_;
};

// 256 distinct colours, so that a copy by colour between two pictures on it keeps every index.
inline void DistinctPalette(CColorPalette* palette) {
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) {
    entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0};
  }
  palette->CreateGreyRamp(0);
  palette->SetPaletteEntries(0, 256, entries);
}

// A picture (indexes 100..199 in a pattern that differs cell by cell) or a backdrop (a flat grey
// of index 12) of w x h on the distinct colours.
inline CDIB* NewPicture(int w, int h) {
  CColorPalette palette;
  DistinctPalette(&palette);
  auto* dib = new CDIB;
  dib->Create(w, h, &palette);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>(100 + (x * 3 + y * 11 + x * y) % 100);
  return dib;
}
constexpr int kBackdropIndex = 12;
inline CDIB* NewBackdrop(int w, int h) {
  CColorPalette palette;
  DistinctPalette(&palette);
  auto* dib = new CDIB;
  dib->Create(w, h, &palette);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) *dib->GetPixelAddress(x, y) = kBackdropIndex;
  return dib;
}

// The number of pixels where two pictures of the same size differ (all of them when the sizes
// differ).
// Row by row: the out-of-memory sweeps compare whole pictures after every refused run.
inline long DifferentPixels(const CDIB& a, const CDIB& b) {
  const int w = a.GetWidth(), h = a.GetHeight();
  if (w != b.GetWidth() || h != b.GetHeight()) return -1;
  const int step = a.header ? a.header->bmiHeader.biBitCount / 8 : 0;
  long n = 0;
  for (int y = 0; y < h; ++y) {
    if (step == 0 || b.header->bmiHeader.biBitCount != a.header->bmiHeader.biBitCount) {
      for (int x = 0; x < w; ++x) n += *a.GetPixelAddress(x, y) != *b.GetPixelAddress(x, y);
      continue;
    }
    const BYTE* rowA = a.GetPixelAddress(0, y);
    const BYTE* rowB = b.GetPixelAddress(0, y);
    for (int x = 0; x < w; ++x) n += rowA[x * step] != rowB[x * step];
  }
  return n;
}

// The number of pixels of an 8-bit picture that are not that index.
inline long PixelsOtherThan(const CDIB& dib, BYTE index) {
  long n = 0;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    for (int x = 0; x < dib.GetWidth(); ++x) n += row[x] != index;
  }
  return n;
}

// What `run` writes to the trace file, the banner left out.
inline std::string TraceOf(const std::function<void()>& run) {
  testsupport::TempFolder folder("trace");
  const std::string path = (folder / "KLVTRACE.TXT").string();
  seams::Trace::Open(path.c_str(), "BANNER");
  run();
  seams::Trace::Close();
  std::ifstream in(path);  // text mode: the trace is a text file, with CR LF on Windows
  std::stringstream text;
  text << in.rdbuf();
  const std::string all = text.str();
  return all.substr(all.find('\n') + 1);
}

}  // namespace routinetest
