// The transition dialog's tests share this: the settings the setup program installs for a demo
// set, read into the buffers as the settings dialog reads them, with the image-set state of a
// fresh settings dialog; and the mini screen's pixels read back from the dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/Registry.h"
#include "tests/wine/config/DialogDriver.h"

namespace transitiontest {

// Installs the settings for the data folder into the registry in use and reads them into the
// buffers; clears the preview picture, the set's records and the background.
void InstallAndRead(const std::string& dataFolder);

// The settings key path of the screen saver.
std::string SettingsKey();

// The registry, alerts and a virtual clock (the preview's pacing runs at once) for one test.
class TransitionDialogEnvironment {
 public:
  TransitionDialogEnvironment();
  ~TransitionDialogEnvironment();
  seams::MemoryRegistry registry;
  seams::ScopedAlertRecorder alerts;

 private:
  seams::ScopedRegistry scopedRegistry_{&registry};
  seams::TestClock clock_;
  seams::ScopedClock scopedClock_{&clock_};
};

// The w x h pixels at (x, y) of the window's client area, as RGB(), rows from the top.
std::vector<COLORREF> ReadClient(HWND window, const RECT& area);

// The composition the mini screen must show: the background with the picture centred on it
// (cut to the screen), stretched to the mini screen's size as the dialog stretches it.
std::vector<COLORREF> ExpectedMiniScreen(const RECT& mini);

// Waits until the dialog is shown: a modal dialog shows only once WM_INITDIALOG has returned,
// while the "Loading Image..." window it shows meanwhile lets the driver start a script early.
void WaitShown(dialogtest::Driver& d);

// Selects the class of that name in the class list (with its notification).
void SelectClass(dialogtest::Driver& d, const std::string& name);

// The mini screen of a dialog of template 2005 (dialog client coordinates).
RECT MiniScreenOf(HWND dialog);

}  // namespace transitiontest
