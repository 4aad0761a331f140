// The settings a dialog test starts from: what the setup program installs for a demo image set,
// written into this test program's own Wine prefix and read into the setting buffers as the
// settings dialog reads them.
#pragma once

#include <string>

namespace dialogtest {

// Installs (overwriting) the settings of both products for the demo set "alpha" and reads them
// into IniSettings. Fails the test when either step fails.
void LoadInstalledSettings();

// The data folder of the installed set.
std::string InstalledDataFolder();

// Makes (or changes) an image-set key whose "DATADIRECTORY" is the folder; returns its path.
std::string RegisterImageSet(const char* name, const std::string& dataFolder);

}  // namespace dialogtest
