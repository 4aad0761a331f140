// The settings dialog on a real X display, for looking at: saved as dialogs-settings.bmp (and in
// own-images mode as dialogs-settings-ownimages.bmp) in the folder named by SAVER_SCREENSHOT_DIR
// (a Windows path), when set. With the substituted dialog font, every control lies inside the
// dialog, no two controls overlap, and each control that a group box encloses in part it
// encloses whole.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "tests/wine/config/SettingsFixture.h"
#include "tests/wine/platform/ScreenCapture.h"

namespace {

using dialogtest::Driver;
using namespace settingstest;

struct Placed {
  HWND window;
  RECT rect;  // screen coordinates
  bool groupBox;
};

bool IsGroupBox(HWND window) {
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, "Button") == 0 &&
         (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

std::vector<Placed> Children(HWND dialog) {
  std::vector<Placed> placed;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Placed p{child, {}, IsGroupBox(child)};
    GetWindowRect(child, &p.rect);
    placed.push_back(p);
  }
  return placed;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common;
  return IntersectRect(&common, &a, &b) != 0;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Describe(const Placed& p) {
  char text[80] = "";
  GetWindowTextA(p.window, text, sizeof text);
  return std::to_string(GetDlgCtrlID(p.window)) + " \"" + text + "\"";
}

void Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

void Shot(const char* name) {
  const ScreenCapture shot = ScreenCapture::Take();
  EXPECT_FALSE(shot.Empty());
  if (const char* folder = std::getenv("SAVER_SCREENSHOT_DIR")) {
    shot.SaveBmp((std::string(folder) + "\\dialogs-" + name + ".bmp").c_str());
  }
}

TEST(SettingsDialogOnScreen, LaidOutCleanly) {
  seams::ScopedAlertRecorder alerts;
  InstallSettings({{"SSFN", "4"}, {"CLOCKON", "1"}, {"SOUND_ON", "0"}, {"TIME", "3"}});
  RunSettingsDialog([](Driver& d) {
    d.OnDialogThread([] { Pump(10); });
    RECT client;
    GetClientRect(d.Dialog(), &client);
    MapWindowPoints(d.Dialog(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    const std::vector<Placed> children = Children(d.Dialog());
    for (const Placed& p : children) {
      EXPECT_TRUE(Inside(p.rect, client)) << Describe(p) << " reaches out of the dialog";
      for (const Placed& q : children) {
        if (&q <= &p) continue;
        if (!p.groupBox && !q.groupBox) {
          EXPECT_FALSE(Overlap(p.rect, q.rect)) << Describe(p) << " overlaps " << Describe(q);
        }
        const Placed* box = p.groupBox ? &p : q.groupBox ? &q : nullptr;
        const Placed* other = box == &p ? &q : &p;
        if (box && !other->groupBox && Overlap(box->rect, other->rect)) {
          EXPECT_TRUE(Inside(other->rect, box->rect))
              << Describe(*other) << " sticks out of the group box " << Describe(*box);
        }
      }
    }
    Shot("settings");
    // Own images with "Combo": the caption and play-list groups and both sliders disabled.
    d.Click(IDC_OWNIMAGES);
    d.SelectCombo(IDC_ROUTINECOMBO, 6);
    d.OnDialogThread([] { Pump(10); });
    Shot("settings-ownimages");
    d.Click(IDCANCEL);
  });
  EXPECT_TRUE(alerts.Records().empty());
}

// The messages bad stored data brings, as a user sees them: a set folder that is gone (the box,
// owned by the settings dialog, then the image-set chooser instead of the wallpaper dialog), and
// settings that cannot be read (the dialog disabled, saying why). Saved as
// dialogs-message-setfolder.bmp, dialogs-message-chooser.bmp and dialogs-settings-unreadable.bmp.
TEST(SettingsDialogOnScreen, TheMessagesOfBadStoredData) {
  InstallSettings();
  const std::string setKey = GetValue("IMAGESETKEY");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, setKey.c_str(), 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const char gone[] = "C:\\moved-away\\demoset";
  RegSetValueExA(key, "DATADIRECTORY", 0, REG_SZ, reinterpret_cast<const BYTE*>(gone), sizeof gone);
  RegCloseKey(key);
  RunSettingsDialog([](Driver& d) {
    d.Post(IDWALLPAPER);
    HWND box = d.WaitForWindow("Screen Saver Image Set");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), d.Dialog()) << "the box is owned by the dialog";
    EXPECT_FALSE(IsWindowEnabled(d.Dialog())) << "and the dialog waits for it";
    d.OnDialogThread([] { Pump(5); });
    Shot("message-setfolder");
    EXPECT_EQ(d.MessageBoxText(true),
              "The image set folder C:\\moved-away\\demoset was not found; choose an image set.");
    HWND chooser = d.WaitForWindow("Select Image Set to be used in Screen Saver");
    ASSERT_NE(chooser, nullptr);
    d.OnDialogThread([] { Pump(5); });
    Shot("message-chooser");
    d.Click(IDCANCEL, chooser);
    EXPECT_TRUE(d.WaitGone(chooser));
    d.Click(IDCANCEL);
  });
  InstallSettings();
  DeleteValue("SSFN");
  seams::ScopedAlertRecorder alerts;
  RunSettingsDialog([](Driver& d) {
    d.OnDialogThread([] { Pump(10); });
    Shot("settings-unreadable");
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(alerts.Records().size(), 1u);
  InstallSettings();
}

}  // namespace
