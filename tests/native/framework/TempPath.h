// A unique file path in the temporary folder, removed when the holder goes out of scope.
// Portable (std::filesystem): the same tests run natively and under Wine.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

class TempPath {
 public:
  explicit TempPath(const char* suffix = ".bin") {
    static int counter = 0;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "fwtest_";
    if (info != nullptr) name += std::string(info->test_suite_name()) + "_" + info->name();
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    name += "_" + std::to_string(ticks) + "_" + std::to_string(++counter) + suffix;
    m_path = (std::filesystem::temp_directory_path() / name).string();
  }
  TempPath(const TempPath&) = delete;
  TempPath& operator=(const TempPath&) = delete;
  ~TempPath() {
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
  }
  const char* c_str() const { return m_path.c_str(); }
  const std::string& str() const { return m_path; }

 private:
  std::string m_path;
};
