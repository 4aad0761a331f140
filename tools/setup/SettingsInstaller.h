// Installs the settings that the system reads but never creates: the image-set key of a data
// folder, and under both product codes every settings value, the threads' last numbers and the
// "TRANSFX" class values, each with its install default. Existing values are kept unless asked
// to overwrite, so a reinstall loses no one's settings.
#pragma once

#include <string>

struct InstallResult {
  bool ok = false;
  std::string error;       // what failed, when not ok
  std::string setKeyPath;  // the image-set key written
  int written = 0;         // values set
  int kept = 0;            // values left as they were
};

// The image-set key of a data folder: the root key followed by the folder's last name
// ("DEFAULT" when it has none).
std::string ImageSetKeyPathFor(const std::string& dataFolder);

// dataFolder: the image set's data folder; trailing backslashes are dropped. force: overwrite
// values that exist.
InstallResult InstallSettings(const std::string& dataFolder, bool force);
