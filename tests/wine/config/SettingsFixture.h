// What the settings dialog's tests share: the settings installed by the setup program over a
// small demo set in this test program's private prefix, reading and writing single values, a
// byte-exact copy of the settings key with its "TRANSFX" subkey, and running the dialog modally
// through the driver.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/wine/config/DialogDriver.h"

namespace settingstest {

constexpr char kSettingsKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";
constexpr char kCaption[] = "Settings for Tarvosa Screen Saver";

// The demo set's data folder (made once per program).
const std::string& DataFolder();

// Installs every setting afresh over the demo set, then the given values over them.
void InstallSettings(const std::vector<std::pair<const char*, const char*>>& values = {});
void SetValue(const char* name, const char* value);
void DeleteValue(const char* name);
std::string GetValue(const char* name);

// Every value of the settings key and its "TRANSFX" subkey: name -> type and bytes.
using RegistryImage = std::map<std::string, std::pair<DWORD, std::string>>;
RegistryImage ReadRegistryImage();
// The names whose value differs between two images (or is in only one).
std::vector<std::string> ChangedValues(const RegistryImage& before, const RegistryImage& after);

// The module's procedure, which returns BOOL, as a dialog procedure (INT_PTR).
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the dialog classes (again: a second registration counts) and runs the settings
// dialog with the script.
dialogtest::DialogRun RunSettingsDialog(const std::function<void(dialogtest::Driver&)>& script);

}  // namespace settingstest
