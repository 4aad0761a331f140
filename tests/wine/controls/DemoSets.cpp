#include "tests/wine/controls/DemoSets.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "imaging/QuarterCache.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tools/demo/DemoImageSet.h"

namespace dialogtest {
namespace {

namespace fs = std::filesystem;

std::string MakeSet(const testsupport::TempFolder& parent, const char* name) {
  demoset::Options options;
  options.width = 160;
  options.height = 120;
  const fs::path folder = parent / name;
  fs::create_directories(folder);
  EXPECT_EQ(demoset::BuildDemoImageSet(folder.string(), options), "");
  return (folder / demoset::kDataFolderName).string();
}

}  // namespace

const DemoSets& InstalledSets() {
  static testsupport::TempFolder parent("imagesets");
  static const DemoSets sets = [] {
    DemoSets made{MakeSet(parent, "a"), MakeSet(parent, "b"), MakeSet(parent, "c")};
    fs::remove(made.broken + "\\cover.bmp");
    return made;
  }();
  return sets;
}

const std::string& CachedSet() {
  static const std::string folder = [] {
    const std::string set = InstalledSets().alpha;
    std::strcpy(IniSettings.DATADIRECTORY, set.c_str());
    if (!QuarterImageCacheExistsIn(set.c_str())) BuildQuarterImageCache(nullptr);
    return set;
  }();
  return folder;
}

std::string CopyOfSet(const testsupport::TempFolder& into) {
  const std::string copy = (into / "set").string();
  fs::copy(CachedSet(), copy, fs::copy_options::recursive);
  return copy;
}

}  // namespace dialogtest
