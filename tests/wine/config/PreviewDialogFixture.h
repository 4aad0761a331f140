// What the scaling/border and wallpaper dialog tests share: the settings as the setup program
// installs them over a demo set of 640 x 480 pictures (so that the cached pictures are 160 x 120),
// its own-images folder, every message box recorded instead of shown, the dialogs' global state
// put back before each test, and reading the mini preview back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/DialogDriver.h"

class CDIB;

namespace previewtest {

struct PreviewSet {
  std::string dataFolder, ownFolder;
};
// Made once per program.
const PreviewSet& InstalledPreviewSet();
// A set of 52 pictures (the demo set's twelve again under other titles), made once.
const std::string& FiftyTwoPictureSet();

// The pixels of a bitmap, top row first, as RGB().
struct Pixels {
  int width = 0, height = 0;
  std::vector<COLORREF> rgb;
  COLORREF At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
Pixels PixelsOf(const CDIB& dib);

// The preview control's composed picture, read on the dialog's thread; empty when it shows none.
Pixels PreviewPixels(dialogtest::Driver& driver);
// The identity of the preview's picture: it changes whenever the preview is composed again.
const void* PreviewIdentity(dialogtest::Driver& driver);

// Cached picture n of the current set, as the cache holds it.
std::unique_ptr<CDIB> CachedPicture(int n);

// What a preview control shows for a picture placed on a background (the control's own
// composition, on a control of its own).
Pixels ComposedLikeThePreview(CDIB* picture, int x, int y, CDIB* background, BOOL corner);

bool IsGrey(COLORREF c);

// A click on a control and what it must do: the value it leaves in its field, and whether the
// preview is composed again.
struct ClickCase {
  int id;
  const int32_t* field;
  int value;
  bool recomposes;
};
void CheckClicks(dialogtest::Driver& driver, const std::vector<ClickCase>& cases);

class PreviewDialogTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the dialog of the template with its procedure; the script runs on the driver thread.
  dialogtest::DialogRun Run(int templateId, DLGPROC procedure,
                            const std::function<void(dialogtest::Driver&)>& script);
  // Runs `change` and Cancel, expecting the settings buffers exactly as before, then `change`
  // and OK, leaving what OK stored for the caller to check.
  void CancelThenOk(int templateId, DLGPROC procedure,
                    const std::function<void(dialogtest::Driver&)>& change);
  // Switches to the set's own-images folder (or another folder).
  void UseOwnImages(const std::string& folder);
  // The alert texts so far, taken (TearDown fails on any left).
  std::vector<std::string> TakeAlerts();

  seams::ScopedAlertRecorder alerts_;
  IniSettingsBuffers installed_{};  // the buffers as the test began
};

}  // namespace previewtest
