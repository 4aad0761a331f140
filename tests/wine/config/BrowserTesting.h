// What the image browser, viewer and top-ten tests share: the demo set "alpha" with its
// quarter-size cache, putting the image set's state back, reading cached pictures and failing a
// test on every message box it did not expect.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "controls/SelectedImage.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "saver/DrawingThread.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/controls/DemoSets.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tests/wine/support/WindowTesting.h"

namespace browsertest {

constexpr int kJpegRecord = 11;  // the demo set's last picture is a JPEG record (24 bits)

using dialogtest::CachedSet;
using dialogtest::CopyOfSet;

// A 52-image set for the open-time figures: the demo set's twelve pictures four times over and
// four more, each with a title of its own, with its cache. Made once per program.
inline const std::string& FiftyTwoImageSet() {
  static testsupport::TempFolder parent("set52");
  static const std::string folder = [] {
    const std::string copy = (parent / "set").string();
    std::filesystem::copy(CachedSet(), copy, std::filesystem::copy_options::recursive);
    std::filesystem::remove(std::filesystem::path(copy) / kQuarterCacheFileName);
    CObArray twelve;
    GetImageDescArray(imagesettest::JoinPath(copy, "Imagedes.dat").c_str(), &twelve);
    const imagesettest::Bytes original =
        imagesettest::ReadFileBytes(imagesettest::JoinPath(copy, "Imagedes.dat"));
    uint32_t setId = 0;
    std::memcpy(&setId, original.data(), sizeof setId);
    std::vector<CImageDesc> records;
    for (int i = 0; i < 52; ++i) {
      records.push_back(*static_cast<const CImageDesc*>(twelve.GetAt(i % twelve.GetSize())));
      records.back().title += (" " + std::to_string(i / twelve.GetSize() + 1)).c_str();
    }
    std::vector<const CImageDesc*> pointers;
    for (const CImageDesc& record : records) pointers.push_back(&record);
    imagesettest::WriteFileBytes(imagesettest::JoinPath(copy, "Imagedes.dat"),
                                 imagesettest::WriteImageDescriptions(setId, 52, pointers));
    DeleteImageDescs(&twelve);
    std::strcpy(IniSettings.DATADIRECTORY, copy.c_str());
    BuildQuarterImageCache(nullptr);
    return copy;
  }();
  return folder;
}

// Makes the folder the current set with its descriptions loaded and its cache index unloaded.
inline void UseSet(const std::string& folder) {
  DeleteImageDescs(&ImageDescArray);
  QuarterImageCount = 0;
  std::strcpy(IniSettings.DATADIRECTORY, folder.c_str());
  ASSERT_TRUE(EnsureImageDescArray(&ImageDescArray));
}

inline void ResetImageState() {
  delete ScreenBackgroundDIB;
  ScreenBackgroundDIB = nullptr;
  DeleteImageDescs(&ImageDescArray);
  QuarterImageCount = 0;
  SelectedImageNo = -1;
}

inline void FailOnAlerts(const seams::RecordingAlertSink& alerts) {
  for (const seams::AlertRecord& alert : alerts.Records())
    ADD_FAILURE() << "unexpected message box: \"" << alert.text << "\" (" << alert.caption << ")";
}

// The image number of a line of a title list (its item data is the image's record).
inline int NumberAt(HWND list, int line) {
  const auto* desc = reinterpret_cast<const CObject*>(SendMessageA(list, LB_GETITEMDATA, line, 0));
  for (int i = 0; i < ImageDescArray.GetSize(); ++i)
    if (ImageDescArray.GetAt(i) == desc) return i;
  return -1;
}

// Picture n of the current set's cache; null when it cannot be read.
inline std::unique_ptr<CDIB> CachedPicture(int n) {
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  CFile cache;
  if (!cache.Open(ImageSetFilePath(kQuarterCacheFileName), CFile::modeRead)) return nullptr;
  return std::unique_ptr<CDIB>(ReadQuarterImage(&cache, n));
}

// The texts of the alerts recorded so far, which are then forgotten (so that a test's TearDown
// finds only those it did not expect).
inline std::vector<std::string> TakeAlertTexts(seams::RecordingAlertSink& alerts) {
  std::vector<std::string> texts;
  for (const seams::AlertRecord& alert : alerts.Records()) texts.push_back(alert.text);
  alerts.Clear();
  return texts;
}

using Script = std::function<void(dialogtest::Driver&)>;

inline dialogtest::DialogRun RunDialog(int templateId, DLGPROC procedure, const Script& script) {
  const dialogtest::DialogRun run =
      dialogtest::RunModal(GetModuleHandleA(nullptr), templateId, procedure, script);
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
  return run;
}

// The GDI objects that 50 runs of the dialog (each through the script, which closes it) leave
// behind, counted after a first run has made what lives as long as the process.
inline int GdiObjectsLeftByFiftyRuns(int templateId, DLGPROC procedure, const Script& script) {
  RunDialog(templateId, procedure, script);
  const int before = wintest::FreeGdiHandles();
  for (int i = 0; i < 50; ++i) RunDialog(templateId, procedure, script);
  return before - wintest::FreeGdiHandles();
}

// Not a check: prints the mean time over ten runs from asking for the dialog until its script
// starts (the dialog made, its lists filled and sorted, the first preview shown). The script
// closes the dialog.
inline void PrintOpenTime(const char* name, int templateId, DLGPROC procedure,
                          const Script& script) {
  constexpr int kRounds = 10;
  double total = 0;
  for (int i = 0; i < kRounds; ++i) {
    std::chrono::steady_clock::time_point opened;
    const auto start = std::chrono::steady_clock::now();
    RunDialog(templateId, procedure, [&](dialogtest::Driver& d) {
      opened = std::chrono::steady_clock::now();
      script(d);
    });
    total += std::chrono::duration<double, std::milli>(opened - start).count();
  }
  std::printf("%s open time (%d images, mean of %d): %.1f ms\n", name,
              static_cast<int>(ImageDescArray.GetSize()), kRounds, total / kRounds);
}

inline bool IsGrey(uint32_t rgb) {
  const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r == g && g == b;
}

inline uint32_t AsImagePixel(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The screen as the viewer must show it, built from the same inputs: the background with the
// separately decoded picture centred on it (cut to the background).
inline wintest::Image ExpectedScreen(const CDIB& background, const CDIB& picture) {
  const int w = background.GetWidth(), h = background.GetHeight();
  const int ox = w / 2 - picture.GetWidth() / 2, oy = h / 2 - picture.GetHeight() / 2;
  wintest::Image screen(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int px = x - ox, py = y - oy;
      const bool inPicture =
          px >= 0 && py >= 0 && px < picture.GetWidth() && py < picture.GetHeight();
      screen[static_cast<size_t>(y) * w + x] =
          AsImagePixel(inPicture ? controltest::PixelOf(picture, px, py)
                                 : controltest::PixelOf(background, x, y));
    }
  return screen;
}

// The mean brightness of the upper and the lower half of a region of an image.
inline std::pair<double, double> HalfMeans(const wintest::Image& image, int stride, int x0, int y0,
                                           int w, int h) {
  double sums[2] = {0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = image[static_cast<size_t>(y0 + y) * stride + x0 + x];
      sums[y >= h / 2] += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }
  const double half = static_cast<double>(w) * (h / 2);
  return {sums[0] / half, sums[1] / half};
}

}  // namespace browsertest
