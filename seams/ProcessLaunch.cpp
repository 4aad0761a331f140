#include "seams/ProcessLaunch.h"

#include <atomic>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace seams {
namespace {

class ShellLauncher : public ProcessLauncher {
 public:
  int Launch(const LaunchRequest& request) override {
#ifdef _WIN32
    const auto result = reinterpret_cast<intptr_t>(::ShellExecuteA(
        nullptr, "open", request.file.c_str(),
        request.parameters.empty() ? nullptr : request.parameters.c_str(),
        request.folder.empty() ? nullptr : request.folder.c_str(), request.showState));
    // Results above 32 mean started; 0 means the system ran out of memory or resources.
    if (result > 32) return 0;
    return result > 0 ? static_cast<int>(result) : ERROR_OUTOFMEMORY;
#else
    (void)request;
    return kLaunchFileNotFound;
#endif
  }
};

ShellLauncher shellLauncher;
std::atomic<ProcessLauncher*> installed{nullptr};

}  // namespace

int LaunchProcess(const LaunchRequest& request) {
  ProcessLauncher* launcher = installed.load();
  return (launcher ? launcher : &shellLauncher)->Launch(request);
}

ProcessLauncher* InstallProcessLauncher(ProcessLauncher* launcher) {
  return installed.exchange(launcher);
}

}  // namespace seams
