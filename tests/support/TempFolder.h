// A fresh folder under the temporary directory for one test, removed with everything in it.
// Portable (std::filesystem): the same tests run natively and under Wine.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

class TempFolder {
 public:
  explicit TempFolder(const char* prefix = "test") {
    static int serial = 0;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = prefix;
    if (info) name += std::string("-") + info->test_suite_name() + "-" + info->name();
    name += "-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
            "-" + std::to_string(++serial);
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(const char* name) const { return path_ / name; }
  // The names of the entries in the folder, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace testsupport
