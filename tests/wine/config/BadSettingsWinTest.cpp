// The settings dialog and every sub-dialog over damaged stored data, as a user meets it: a set
// folder that was moved away, a missing value, a value of the wrong type, numbers out of range,
// an unknown routine. Whatever the user presses, no stored value the user did not change may
// change, and each case shows at most one message, owned by the dialog that shows it.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "tests/wine/config/SettingsFixture.h"

namespace {

using dialogtest::Driver;
using namespace settingstest;

constexpr char kChooserCaption[] = "Select Image Set to be used in Screen Saver";

// Each sub-dialog button with its caption, and the button that closes it as "OK" and "Cancel"
// (About, the browser and the own-images browser only have a closing OK).
struct SubDialog {
  int button;
  const char* caption;
  int ok, cancel;
};
const SubDialog kSubDialogs[] = {
    {IDABOUT, "About the Tarvosa Screen Saver", IDOK, IDOK},
    {IDC_BROWSEIMAGES, "Browse Kelvane Image Set(s)", IDOK, IDOK},
    {IDWALLPAPER, "Determine Wallpaper Style", IDOK, IDCANCEL},
    {IDTRANSITION, "Select Transition Effects And Settings Between Images", IDOK, IDCANCEL},
    {IDTEXTFX, "Determine Text Effects", IDOK, IDCANCEL},
    {IDSELECTTOPTEN, "Select Top 10 Image Play List", IDOK, IDCANCEL},
    {IDSCALINGBORDER, "Determine Image Scaling and Border Effects", IDOK, IDCANCEL},
    {IDSOUNDFX, "Select Music/Sound Files", IDOK, IDCANCEL},
    {IDC_BROWSEOWNIMAGES, "Browse Images In Selected Directory", IDOK, IDOK},
};

// The first of the captions to show as a dialog of this process, polled; null after 20 s.
HWND WaitForOneOf(const std::vector<const char*>& captions) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < until) {
    for (const char* caption : captions) {
      HWND window = FindWindowA("#32770", caption);
      if (window && IsWindowVisible(window)) return window;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return nullptr;
}

// Opens each enabled sub-dialog and closes it with its OK (or Cancel); where the chooser opens
// instead (the set cannot be shown), cancels the chooser. Returns the captions that opened.
std::vector<std::string> OpenEverySubDialog(Driver& d, bool ok) {
  std::vector<std::string> opened;
  for (const SubDialog& sub : kSubDialogs) {
    if (!d.Enabled(sub.button)) continue;
    d.Post(sub.button);
    HWND window = WaitForOneOf({sub.caption, kChooserCaption});
    EXPECT_NE(window, nullptr) << sub.caption;
    if (!window) return opened;
    const std::string caption = d.WindowText(window);
    opened.push_back(caption);
    d.Click(caption == kChooserCaption ? IDCANCEL : ok ? sub.ok : sub.cancel, window);
    EXPECT_TRUE(d.WaitGone(window)) << caption;
    d.Sync();
  }
  return opened;
}

void SetImageSetFolder(const std::string& folder) {
  const std::string setKey = GetValue("IMAGESETKEY");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, setKey.c_str(), 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS)
      << setKey;
  RegSetValueExA(key, "DATADIRECTORY", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);
}

void SetDwordValue(const char* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

struct BadCase {
  const char* name;
  std::function<void()> damage;
  // The stored values the case damaged: OK in a dialog that shows one may store the nearest
  // valid value in its place. Every other value stays byte for byte.
  std::set<std::string> damaged;
  bool readFails;
  std::function<void(Driver&)> check;  // what the settings dialog shows, before anything else
};

const std::string kMissingFolder = "C:\\moved-away\\demoset";

std::vector<BadCase> Cases() {
  return {
      {"missing set folder", [] { SetImageSetFolder(kMissingFolder); }, {}, false, nullptr},
      {"missing value", [] { DeleteValue("SSFN"); }, {}, true, nullptr},
      {"value of the wrong type", [] { SetDwordValue("TIME", 2); }, {}, true, nullptr},
      {"numbers out of range",
       [] {
         for (auto value :
              std::vector<std::pair<const char*, const char*>>{{"IMAGE_SIZE", "9"},
                                                               {"IMAGE_BACKSTYLE", "-3"},
                                                               {"IMAGE_BORDERSTYLE", "12"},
                                                               {"SPEED2", "0"},
                                                               {"RES2", "250"},
                                                               {"TIME", "9"},
                                                               {"WALLPAPER_IMAGETONE", "999"},
                                                               {"WALLPAPER_BORDERSTYLE", "40"},
                                                               {"WALLPAPER_SCREENSTYLE", "-1"},
                                                               {"WALLPAPER_IMAGESIZE", "77"}}) {
           SetValue(value.first, value.second);
         }
       },
       {"IMAGE_SIZE", "IMAGE_BACKSTYLE", "IMAGE_BORDERSTYLE", "SPEED2", "RES2", "TIME",
        "WALLPAPER_IMAGETONE", "WALLPAPER_BORDERSTYLE", "WALLPAPER_SCREENSTYLE",
        "WALLPAPER_IMAGESIZE"},
       false,
       [](Driver& d) {
         EXPECT_EQ(d.SliderPosition(IDC_SPEEDSLIDER), 1) << "speed 0 shows as the slowest end";
         EXPECT_EQ(d.SliderPosition(IDC_SIZESLIDER), 100) << "size 250 shows as the largest";
         EXPECT_EQ(d.ComboSelection(IDC_TIMECOMBO), 4) << "time code 9 shows as the last";
       }},
      {"unknown routine",
       [] { SetValue("SSFN", "42"); },
       {"SSFN"},
       false,
       [](Driver& d) {
         EXPECT_EQ(d.ComboText(IDC_ROUTINECOMBO, d.ComboSelection(IDC_ROUTINECOMBO)),
                   d.ComboText(IDC_ROUTINECOMBO, d.ComboCount(IDC_ROUTINECOMBO) - 1))
             << "routine 42 shows as the last routine";
       }},
  };
}

const std::vector<std::pair<const char*, const char*>> kStart = {{"OWNIMAGES_ON", "0"},
                                                                 {"SSFN", "2"},
                                                                 {"SPEED2", "17"},
                                                                 {"RES2", "83"},
                                                                 {"TIME", "2"},
                                                                 {"WALLPAPER_IMAGENO", "5"},
                                                                 {"WALLPAPER_IMAGEFX", "2"},
                                                                 {"IMAGE_SIZE", "1"}};

class BadSettings : public testing::TestWithParam<bool> {
 protected:
  void TearDown() override { InstallSettings(kStart); }  // the set's folder back for others
  seams::ScopedAlertRecorder alerts_;
};

// For each case: open the settings dialog, open every sub-dialog and close it with OK (or
// Cancel), then OK (or Cancel) in the settings dialog.
TEST_P(BadSettings, EveryDialogKeepsWhatTheUserDidNotChangeAndSaysSoOnce) {
  const bool ok = GetParam();
  for (const BadCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    InstallSettings(kStart);
    c.damage();
    const RegistryImage before = ReadRegistryImage();
    alerts_.Clear();
    std::set<HWND> dialogs;
    std::vector<std::string> opened;
    const auto run = RunSettingsDialog([&](Driver& d) {
      dialogs.insert(d.Dialog());
      if (c.check) c.check(d);
      if (c.readFails) {
        for (int id : {IDC_CLOCKON, IDC_TIMECOMBO, IDC_ROUTINECOMBO, IDC_OWNIMAGES, IDC_SPEEDSLIDER,
                       IDWALLPAPER, IDC_PREVIEW})
          EXPECT_FALSE(d.Enabled(id)) << id << ": nothing can be saved, so nothing edits";
        EXPECT_NE(d.Text(IDC_PRODUCTLINE).find("could not be read"), std::string::npos)
            << d.Text(IDC_PRODUCTLINE);
        RECT box;
        GetWindowRect(d.Dialog(), &box);
        const int screenMiddle = GetSystemMetrics(SM_CXSCREEN) / 2;
        EXPECT_NEAR((box.left + box.right) / 2, screenMiddle, 2) << "centred";
      }
      opened = OpenEverySubDialog(d, ok);
      d.Click(ok ? IDOK : IDCANCEL);
    });
    EXPECT_FALSE(run.forcedClose);
    const RegistryImage after = ReadRegistryImage();
    for (const std::string& name : ChangedValues(before, after)) {
      const auto shown = [](const RegistryImage& image, const std::string& value) {
        return image.count(value) ? image.at(value).second.c_str() : "<none>";
      };
      EXPECT_TRUE(ok && c.damaged.count(name))
          << name << " changed: " << shown(before, name) << " -> " << shown(after, name);
    }
    // The demo set's pictures are small (160 pixels wide): the scaling dialog's mini preview
    // cannot shrink their quarter-size copies to the mini screen and says so once.
    EXPECT_LE(alerts_.Records().size(), 1u);
    for (const seams::AlertRecord& alert : alerts_.Records()) {
      EXPECT_NE(alert.owner, nullptr) << alert.text;
      std::printf("[ message ] %s: \"%s\" (%s)\n", c.name, alert.text.c_str(),
                  alert.caption.c_str());
    }
    if (std::string(c.name) == "missing set folder") {
      ASSERT_EQ(alerts_.Records().size(), 1u);
      EXPECT_EQ(alerts_.Records()[0].text,
                "The image set folder " + kMissingFolder + " was not found; choose an image set.");
      EXPECT_EQ(alerts_.Records()[0].owner, *dialogs.begin());
      EXPECT_EQ(std::count(opened.begin(), opened.end(), std::string(kChooserCaption)), 5)
          << "each dialog that shows the set opens the chooser instead";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(OkAndCancel, BadSettings, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& param) {
                           return param.param ? "Ok" : "Cancel";
                         });

}  // namespace
