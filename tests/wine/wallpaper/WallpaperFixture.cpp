#include "tests/wine/wallpaper/WallpaperFixture.h"

#include <filesystem>

#include "framework/String.h"
#include "imaging/DIB.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tools/demo/DemoImageSet.h"
#include "tools/setup/SettingsInstaller.h"

namespace wallpapertest {

namespace fs = std::filesystem;

const DemoSet& InstalledDemoSet() {
  static testsupport::TempFolder parent("murafit");
  static const DemoSet set = [] {
    demoset::Options options;
    options.width = 320;
    options.height = 240;
    EXPECT_EQ(demoset::BuildDemoImageSet(parent.str(), options), "");
    return DemoSet{(parent / demoset::kDataFolderName).string(),
                   (parent / demoset::kOwnImagesFolderName).string()};
  }();
  return set;
}

std::string WallpaperKeyPath() {
  CString path;
  BuildRegistryKeyPath(path, kWallpaperProductCode);
  return path.str();
}

void SetWallpaperValue(const char* name, const std::string& text) {
  seams::RegistryKey key;
  ASSERT_EQ(key.Open(WallpaperKeyPath().c_str(), seams::RegAccess::SetValue), 0) << name;
  ASSERT_EQ(key.SetString(name, text.c_str()), 0) << name;
}

std::string WallpaperValue(const char* name) {
  seams::RegistryKey key;
  char text[kTextBufferSize] = "";
  if (key.Open(WallpaperKeyPath().c_str(), seams::RegAccess::Read) != 0) return "(no key)";
  if (key.QueryString(name, text, sizeof text) != 0) return "(no value)";
  return text;
}

std::string DesktopWallpaper() {
  char path[MAX_PATH] = "";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof path, path, 0);
  return path;
}

COLORREF PixelAt(const CDIB& dib, int x, int y) {
  const BYTE* p = dib.GetPixelAddress(x, y);
  if (!p) return CLR_INVALID;
  if (dib.header->bmiHeader.biBitCount == 8) {
    const RGBQUAD& q = dib.header->bmiColors[*p];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  }
  return RGB(p[2], p[1], p[0]);
}

void WallpaperTest::SetUp() {
  const DemoSet& set = InstalledDemoSet();
  ASSERT_TRUE(InstallSettings(set.dataFolder, true).ok);
  std::error_code ignored;
  fs::remove_all(WallpaperFile(), ignored);
}

std::string WallpaperTest::AlertTexts() const {
  std::string texts;
  for (const seams::AlertRecord& record : alerts_.Records())
    texts += record.caption + ": " + record.text + "\n";
  return texts;
}

}  // namespace wallpapertest
