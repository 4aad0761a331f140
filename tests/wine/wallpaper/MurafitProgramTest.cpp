// murafit.exe end to end, as a user runs it: the demo set made by demo_imageset, the settings
// installed by the setup program, then the program itself, twice, all in this test's private
// Wine prefix. A run that shows a message box fails with the box's text instead of hanging.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "imaging/DIB.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/support/ProgramRunner.h"
#include "tests/wine/wallpaper/WallpaperFixture.h"

namespace wallpapertest {
namespace {

namespace fs = std::filesystem;

using wintest::BuildTreeProgram;
using wintest::RunProgram;

int StoredImageNo() {
  const std::string text = WallpaperValue(kWallpaperImageNoValue);
  return text.empty() || text[0] == '(' ? -99 : std::stoi(text);
}

TEST(MurafitProgram, RotatesTheDemoSetsWallpaper) {
  testsupport::TempFolder parent("murafit-program");
  ASSERT_EQ(RunProgram(BuildTreeProgram(DEMO_PROGRAM), "\"" + parent.str() + "\""), 0);
  const std::string dataFolder = (parent / "demoset").string();
  ASSERT_EQ(RunProgram(BuildTreeProgram(SETUP_PROGRAM), "\"" + dataFolder + "\""), 0);
  ASSERT_EQ(StoredImageNo(), -1);
  const std::string wallpaper = dataFolder + "\\WALLPAPER.BMP";

  double withCacheBuild = 0, withCache = 0;
  ASSERT_EQ(RunProgram(BuildTreeProgram(MURAFIT_PROGRAM), "", 60000, &withCacheBuild), 0);
  EXPECT_TRUE(fs::exists(dataFolder + "\\imx4.dat"));
  const int first = StoredImageNo();
  EXPECT_GE(first, 0);
  EXPECT_LT(first, 12);
  EXPECT_EQ(DesktopWallpaper(), wallpaper);
  CDIB written;
  ASSERT_TRUE(written.Load(wallpaper.c_str()));
  EXPECT_EQ(written.GetWidth(), 1024);
  EXPECT_EQ(written.GetHeight(), 768);

  ASSERT_EQ(RunProgram(BuildTreeProgram(MURAFIT_PROGRAM), "", 60000, &withCache), 0);
  const int second = StoredImageNo();
  EXPECT_GE(second, 0);
  EXPECT_NE(second, first);
  std::printf("murafit.exe: %.2f s building the thumbnail cache, %.2f s with it\n", withCacheBuild,
              withCache);
}

}  // namespace
}  // namespace wallpapertest
