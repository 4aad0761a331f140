#include "tests/wine/saver/DemoSets.h"

#include <filesystem>

#include <gtest/gtest.h>

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

}  // namespace dialogtest
