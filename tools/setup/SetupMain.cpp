// setup [/force] <data folder>
//
// Installs the image set in <data folder> and the saver's and the wallpaper program's settings
// with their defaults. Values that exist are kept unless /force is given. Exit code 0 when
// everything was written or kept, 1 when the registry refused, 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "settings/ImageSetKey.h"
#include "tools/setup/SettingsInstaller.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: setup [/force] <image set data folder>\n");
  return 2;
}

bool IsForceFlag(const char* arg) {
  return (arg[0] == '/' || arg[0] == '-') && _stricmp(arg + 1, "force") == 0;
}

std::string FullPath(const char* path) {
  char full[MAX_PATH];
  DWORD length = ::GetFullPathNameA(path, sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : std::string(path);
}

}  // namespace

int main(int argc, char** argv) {
  bool force = false;
  const char* folder = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (IsForceFlag(argv[i])) {
      force = true;
    } else if (!folder && argv[i][0] != '/') {
      folder = argv[i];
    } else {
      return Usage();
    }
  }
  if (!folder || !*folder) return Usage();

  std::string dataFolder = FullPath(folder);
  InstallResult result = InstallSettings(dataFolder, force);
  if (!result.ok) {
    std::fprintf(stderr, "setup: %s\n", result.error.c_str());
    return 1;
  }
  std::printf("setup: image set %s -> %s\n", result.setKeyPath.c_str(), dataFolder.c_str());
  std::printf("setup: %d values written, %d kept%s\n", result.written, result.kept,
              result.kept > 0 ? " (use /force to overwrite them)" : "");
  if (!IsImageSetDirectory(dataFolder.c_str())) {
    std::printf(
        "setup: note: %s does not hold an image set yet (imfull.dat, imagedes.dat, "
        "cover.bmp, imagedoc.dat)\n",
        dataFolder.c_str());
  }
  return 0;
}
