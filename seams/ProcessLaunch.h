// The process-launch seam: the one way the system starts another program.
//
// On Windows the default launcher opens the file with the shell ("open" verb). Natively there is
// nothing to start: every launch fails as for a missing file. Tests install a recorder that
// keeps what would have been started and answers as they choose.
#pragma once

#include <string>
#include <vector>

namespace seams {

// The shell's answer for a file that does not exist (ShellExecute's ERROR_FILE_NOT_FOUND).
constexpr int kLaunchFileNotFound = 2;

struct LaunchRequest {
  std::string file;        // the program
  std::string parameters;  // its command line after the program's name
  std::string folder;      // its working folder
  int showState = 0;       // how its window shows first (an SW_ value)
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // 0 when the program was started, else the failure's number (ShellExecute's result of 32 or
  // less).
  virtual int Launch(const LaunchRequest& request) = 0;
};

// Starts a program through the launcher in force for the process: 0, or the failure's number.
int LaunchProcess(const LaunchRequest& request);

// Replaces the launcher (nullptr restores the default); returns the previous one, or nullptr
// when the default was in force.
ProcessLauncher* InstallProcessLauncher(ProcessLauncher* launcher);

// Records every launch and answers each with `result` (tests), for the lifetime of a scope.
class ScopedLaunchRecorder : public ProcessLauncher {
 public:
  explicit ScopedLaunchRecorder(int result = 0)
      : result_(result), previous_(InstallProcessLauncher(this)) {}
  ~ScopedLaunchRecorder() override { InstallProcessLauncher(previous_); }
  ScopedLaunchRecorder(const ScopedLaunchRecorder&) = delete;
  ScopedLaunchRecorder& operator=(const ScopedLaunchRecorder&) = delete;

  int Launch(const LaunchRequest& request) override {
    requests_.push_back(request);
    return result_;
  }
  const std::vector<LaunchRequest>& Requests() const { return requests_; }

 private:
  int result_;
  ProcessLauncher* previous_;
  std::vector<LaunchRequest> requests_;
};

}  // namespace seams
