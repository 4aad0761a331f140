// The wallpaper program's tests: a demo image set installed with the setup program's defaults in
// this test program's private Wine prefix, the program's settings key, and alerts recorded so
// that a test that meets a message box fails with its text instead of waiting for a click.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "seams/Alerts.h"

class CDIB;

namespace wallpapertest {

// The demo set (320 x 240 pictures) and its own-images folder, built once per program.
struct DemoSet {
  std::string dataFolder, ownImagesFolder;
};
const DemoSet& InstalledDemoSet();

// The wallpaper program's settings key ("SOFTWARE\KLV\SCREENSAVER\" + its product code).
std::string WallpaperKeyPath();
void SetWallpaperValue(const char* name, const std::string& text);
std::string WallpaperValue(const char* name);

// The desktop wallpaper's file as the system reports it.
std::string DesktopWallpaper();

// The colour of pixel (x, y) from the top of an 8- or 24-bit bitmap, as RGB().
COLORREF PixelAt(const CDIB& dib, int x, int y);

class WallpaperTest : public testing::Test {
 protected:
  // Installs the settings afresh (every value its default), removes the wallpaper file.
  void SetUp() override;
  // Every alert so far, "caption: text" one a line; empty when there was none.
  std::string AlertTexts() const;
  std::string WallpaperFile() const { return InstalledDemoSet().dataFolder + "\\WALLPAPER.BMP"; }

  seams::ScopedAlertRecorder alerts_;
};

}  // namespace wallpapertest
