// A scratch image-set folder made the current set's data folder, with alerts recorded and the
// image-set globals emptied afterwards.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "tests/support/ImageSetWriter.h"

class ImageSetFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Unique per run: the same test may run at once in another build of the tree.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("imageset_") + info->test_suite_name() + "_" + info->name() + "_" +
               std::to_string(stamp));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    std::strncpy(IniSettings.DATADIRECTORY, folder_.string().c_str(),
                 sizeof IniSettings.DATADIRECTORY - 1);
  }
  void TearDown() override {
    DeleteImageDescs(&ImageDescArray);
    delete ImageSetLogoDIB;
    ImageSetLogoDIB = nullptr;
    delete ScreenBackgroundDIB;
    ScreenBackgroundDIB = nullptr;
    IniSettings.DATADIRECTORY[0] = '\0';
    std::filesystem::remove_all(folder_);
  }

  std::string Path(const char* name) const {
    return imagesettest::JoinPath(folder_.string(), name);
  }
  void Write(const char* name, const imagesettest::Bytes& bytes) const {
    ASSERT_TRUE(imagesettest::WriteFileBytes(Path(name), bytes));
  }
  bool Alerted(const std::string& text) const {
    for (const auto& record : alerts_.Records())
      if (record.text == text) return true;
    return false;
  }

  std::filesystem::path folder_;
  seams::ScopedAlertRecorder alerts_;
};
