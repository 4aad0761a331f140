// The drawing thread run natively: the demo image set in a folder of the test's own, the settings
// the setup program installs in the in-memory registry, a screen document with its view over a
// desktop picture in memory, and a virtual clock whose waits jump to their deadlines and let the
// test act on every wait (to request the stop).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "framework/String.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "saver/DrawingThread.h"
#include "seams/Clock.h"
#include "seams/Registry.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "settings/TransFXTables.h"
#include "tests/native/transitions/CaptionScreen.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/TempFolder.h"
#include "tools/demo/DemoImageSet.h"
#include "tools/setup/SettingsInstaller.h"

namespace drawtest {

// Waits jump to their deadlines; every wait calls onIdle.
class JumpingClock : public seams::TestClock {
 public:
  JumpingClock() : TestClock(1000, 1, 1) {}
  void Idle() override {
    TestClock::Idle();
    ++waits;
    if (onIdle) onIdle();
  }
  void IdleUntil(uint32_t deadline) override {
    const uint32_t now = Peek();
    if (seams::TickBefore(now, deadline)) Advance(deadline - now);
    Idle();
  }
  std::function<void()> onIdle;
  long waits = 0;
};

// A desktop of coloured stripes on a colour table of its own.
inline CDIB* NewDesktop(int w, int h) {
  auto* dib = new CDIB;
  EXPECT_TRUE(dib->Create(w, h, nullptr));
  for (int i = 0; i < 256; ++i) {
    dib->header->bmiColors[i] =
        RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 7), 0};
  }
  for (int y = 0; y < h; ++y) {
    BYTE* row = dib->GetPixelAddress(0, y);  // a row at a time: the sweeps make one per run
    for (int x = 0; x < w; ++x) row[x] = static_cast<BYTE>((x / 16 + y) % 256);
  }
  return dib;
}

// The screen document with its view showing the desktop copy; effects draw into a window in
// memory through the plain blit layer.
class MemoryScreen : public captiontest::CaptionScreen {
 public:
  MemoryScreen(int w, int h) : CaptionScreen(w, h, 0) {
    EXPECT_TRUE(doc.SetBackgroundNoDraw(NewDesktop(w, h)));
  }
};

// The demo set, built once per test program, copied into each test's own folder.
inline const std::filesystem::path& DemoSetMaster() {
  static testsupport::TempFolder* master = [] {
    auto* folder = new testsupport::TempFolder("demoset");
    const demoset::Options options;  // no photographs: the builder draws its own, 640 x 480
    EXPECT_EQ(demoset::BuildDemoImageSet(folder->str(), options), "");
    return folder;
  }();
  static const std::filesystem::path path(master->str());
  return path;
}

class DrawingThreadTest : public ::testing::Test {
 public:
  void SetUp() override {
    info_ = SaverInfo();
    std::filesystem::remove_all(Root());
    std::filesystem::copy(DemoSetMaster(), Root(), std::filesystem::copy_options::recursive);
    InstallSettings(DataFolder(), true);
    BuildRegistryKeyPath(keyPath_, kScreenSaverProductCode);
    // The runs' own defaults: the slide show for a minute a picture, no caption, no clock or
    // logos, pictures of 640 x 480, no trace; a stored "-1" starts at picture 0.
    Put("SSFN", "7");
    Put("TIME", "1");
    Put("TEXTFX_TEXTON", "0");
    Put("CLOCKON", "0");
    Put("LOGOSON", "0");
    Put("IMAGE_SIZE", "1");
    Put("TRACEON", "0");
    Put(kLastImageNoValue, "-1");
    Put("OWNIMAGES_DIR", OwnFolder());
  }
  void TearDown() override {
    onWait_ = nullptr;
    seams::ClearStop();
    seams::Trace::Close();
    delete info_.pCurrentImage;
    info_.pCurrentImage = nullptr;
    DeleteImageDescs(&ImageDescArray);
    delete ImageSetLogoDIB;
    ImageSetLogoDIB = nullptr;
    delete ScreenBackgroundDIB;
    ScreenBackgroundDIB = nullptr;
    DrawingThreadColourReducer = savedReducer_;
    ResetTransFXClassTable();
    ClearSettingBuffers();
  }

  // The copy of the demo set: its data folder and own-images folder, and the trace file.
  std::string Root() const { return imagesettest::JoinPath(folder_.str(), "set"); }
  std::string DataFolder() const {
    return imagesettest::JoinPath(Root(), demoset::kDataFolderName);
  }
  std::string OwnFolder() const {
    return imagesettest::JoinPath(Root(), demoset::kOwnImagesFolderName);
  }
  std::string DataFile(const char* name) const {
    return imagesettest::JoinPath(DataFolder(), name);
  }
  void Put(const char* name, const std::string& text) { registry_.Put(keyPath_.str(), name, text); }
  std::string Stored(const char* name) const {
    std::string text;
    return registry_.Get(keyPath_.str(), name, &text) ? text : "<missing>";
  }
  // Image changes so far: each stores the new picture's number.
  int Changes() const { return registry_.Calls(seams::RegOp::Set) - setsBefore_; }
  // The trace file's text with its lines ending in "\n" alone (the Windows builds write "\r\n").
  std::string TraceText() const {
    const imagesettest::Bytes bytes =
        imagesettest::ReadFileBytes(imagesettest::JoinPath(Root(), kTraceFileName));
    std::string text;
    for (const auto byte : bytes)
      if (byte != '\r') text.push_back(static_cast<char>(byte));
    return text;
  }

  // Reads the settings as the saver window does and runs the thread on a w x h screen until
  // `stop` says so (tested on every wait) or `limit` seconds of virtual time have passed.
  int Run(const std::function<bool()>& stop, int w = 800, int h = 600, uint32_t limit = 3600) {
    info_.nRunTimeError = GetIniSettings(keyPath_);
    bInitInfo(&info_);
    ScopedScreenSize size(w, h);
    screen_ = std::make_unique<MemoryScreen>(w, h);
    const uint32_t start = clock_.Peek();
    clock_.onIdle = [&] {
      screen_->doc.shown.clear();  // the document records what it shows; a long run keeps none
      if (onWait_) onWait_();
      if (stop() || clock_.Peek() - start > limit * 1000u) seams::RequestStop();
    };
    setsBefore_ = registry_.Calls(seams::RegOp::Set);
    const int result = RunDrawingThread(&info_, keyPath_, *screen_);
    clock_.onIdle = nullptr;
    seams::ClearStop();
    if (const char* dump = std::getenv("SAVER_DRAWING_DUMP")) {
      const std::string name = std::string(dump) + "/" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                               ".bmp";
      imagesettest::WriteFileBytes(name, imagesettest::BmpFileBytes(*screen_->doc.GetSurface()));
      if (info_.pCurrentImage)
        imagesettest::WriteFileBytes(name + ".current.bmp",
                                     imagesettest::BmpFileBytes(*info_.pCurrentImage));
      if (ScreenBackgroundDIB)
        imagesettest::WriteFileBytes(name + ".background.bmp",
                                     imagesettest::BmpFileBytes(*ScreenBackgroundDIB));
    }
    return result;
  }

  testsupport::TempFolder folder_{"drawing"};
  seams::MemoryRegistry registry_;
  seams::ScopedRegistry scopedRegistry_{&registry_};
  JumpingClock clock_;
  seams::ScopedClock scopedClock_{&clock_};
  CString keyPath_;
  SaverInfo info_;
  std::unique_ptr<MemoryScreen> screen_;
  std::function<void()> onWait_;  // acts on the screen at every wait of a Run
  int setsBefore_ = 0;
  ColourReducer savedReducer_ = DrawingThreadColourReducer;
};

}  // namespace drawtest
