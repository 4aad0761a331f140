// The settings dialog under Wine's null display driver, run modally from its template and driven
// from a second thread, over the settings the setup program installs in this program's private
// prefix. Every case checks what reaches the registry (byte for byte where nothing should).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/ConfigureDialog.h"
#include "config/SubDialogs.h"
#include "controls/ControlsSliders.h"
#include "controls/DialogSupport.h"
#include "imageset/ImageSet.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/ProcessLaunch.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/config/SettingsFixture.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "wallpaper/WallpaperComposer.h"

namespace {

using dialogtest::Driver;
using namespace settingstest;
namespace fs = std::filesystem;

// A known starting point: image-set mode, routine 2 with its own speed and size, every switch
// on, two minutes per picture, a wallpaper picture chosen.
const std::vector<std::pair<const char*, const char*>> kStart = {
    {"OWNIMAGES_ON", "0"},      {"SSFN", "2"},
    {"SPEED2", "17"},           {"RES2", "83"},
    {"SPEED4", "61"},           {"RES4", "12"},
    {"CLOCKON", "1"},           {"TEXTFX_TEXTON", "1"},
    {"SOUND_ON", "0"},          {"LOGOSON", "1"},
    {"TOPTEN_ON", "1"},         {"TIME", "2"},
    {"WALLPAPER_IMAGENO", "5"}, {"WALLPAPER_IMAGEFX", "2"},
    {"IMAGE_SIZE", "3"},        {"IMAGE_BACKSTYLE", "1"},
    {"IMAGE_BORDERSTYLE", "2"}, {"INTERPON", "1"},
};

class SettingsDialog : public testing::Test {
 protected:
  void SetUp() override { InstallSettings(kStart); }

  seams::ScopedAlertRecorder alerts_;
};

using Values = std::vector<std::pair<std::string, std::string>>;

void ExpectValues(const Values& expected) {
  for (const auto& value : expected) {
    EXPECT_EQ(GetValue(value.first.c_str()), value.second) << value.first;
  }
}

TEST_F(SettingsDialog, OpensShowingTheStoredValues) {
  const auto run = RunSettingsDialog([](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), kCaption);
    EXPECT_EQ(d.Text(IDC_PRODUCTLINE).rfind("Tarvosa", 0), 0u);
    EXPECT_TRUE(d.Checked(IDC_KELVANEIMAGES));
    EXPECT_FALSE(d.Checked(IDC_OWNIMAGES));
    const std::pair<int, int> switches[] = {
        {IDC_CLOCKON, 1}, {IDC_TEXTFXON, 1}, {IDC_SOUNDON, 0}, {IDC_LOGOSON, 1}, {IDC_TOPTENON, 1}};
    for (const auto& item : switches)
      EXPECT_EQ(d.SwitchState(item.first), item.second) << item.first;
    ASSERT_EQ(d.ComboCount(IDC_TIMECOMBO), 5);
    EXPECT_EQ(d.ComboText(IDC_TIMECOMBO, 0), "Random");
    EXPECT_EQ(d.ComboText(IDC_TIMECOMBO, 4), "10 Minutes");
    EXPECT_EQ(d.ComboSelection(IDC_TIMECOMBO), 2);
    ASSERT_EQ(d.ComboCount(IDC_ROUTINECOMBO), 8);
    EXPECT_EQ(d.ComboText(IDC_ROUTINECOMBO, d.ComboSelection(IDC_ROUTINECOMBO)),
              "Flying Puzzle Cube");
    EXPECT_EQ(d.SliderPosition(IDC_SPEEDSLIDER), 17);
    EXPECT_EQ(d.SliderPosition(IDC_SIZESLIDER), 83);
    for (int id : {IDC_SPEEDSLIDER, IDC_SIZESLIDER, IDC_SPEEDLABEL, IDC_SIZEMIN, IDTEXTFX,
                   IDSELECTTOPTEN, IDC_TEXTFXON, IDC_TOPTENGROUP, IDC_PREVIEW}) {
      EXPECT_TRUE(d.Enabled(id)) << id;
    }
    d.Click(IDCANCEL);
  });
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(run.result, FALSE);
  EXPECT_TRUE(alerts_.Records().empty());
}

// Each control reaches its own setting and nothing else changes.
TEST_F(SettingsDialog, EachControlChangesItsSettingAndOkStoresThem) {
  const RegistryImage before = ReadRegistryImage();
  const auto run = RunSettingsDialog([](Driver& d) {
    for (int id : {IDC_CLOCKON, IDC_TEXTFXON, IDC_SOUNDON, IDC_LOGOSON, IDC_TOPTENON}) {
      d.ClickSwitch(id);
    }
    d.SelectCombo(IDC_TIMECOMBO, 4);
    d.SelectCombo(IDC_ROUTINECOMBO, 4);
    EXPECT_EQ(d.SliderPosition(IDC_SPEEDSLIDER), 61) << "routine 4's stored speed";
    EXPECT_EQ(d.SliderPosition(IDC_SIZESLIDER), 12);
    d.ReleaseSlider(IDC_SPEEDSLIDER, 33);
    d.ReleaseSlider(IDC_SIZESLIDER, 99);
    d.Click(IDOK);
  });
  EXPECT_EQ(run.result, TRUE);
  ExpectValues({{"CLOCKON", "0"},
                {"TEXTFX_TEXTON", "0"},
                {"SOUND_ON", "1"},
                {"LOGOSON", "0"},
                {"TOPTEN_ON", "0"},
                {"TIME", "4"},
                {"SSFN", "4"},
                {"SPEED4", "33"},
                {"RES4", "99"},
                {"SPEED2", "17"},
                {"RES2", "83"}});
  const std::vector<std::string> expected = {"CLOCKON",       "LOGOSON", "RES4",
                                             "SOUND_ON",      "SPEED4",  "SSFN",
                                             "TEXTFX_TEXTON", "TIME",    "TOPTEN_ON"};
  EXPECT_EQ(ChangedValues(before, ReadRegistryImage()), expected);
}

TEST_F(SettingsDialog, CancelWritesBackExactlyWhatWasStored) {
  const RegistryImage before = ReadRegistryImage();
  const auto run = RunSettingsDialog([](Driver& d) {
    d.ClickSwitch(IDC_CLOCKON);
    d.SelectCombo(IDC_ROUTINECOMBO, 0);
    d.ReleaseSlider(IDC_SPEEDSLIDER, 5);
    d.Click(IDC_OWNIMAGES);
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(run.result, FALSE);
  EXPECT_EQ(ChangedValues(before, ReadRegistryImage()), std::vector<std::string>{});
}

// "Combo" and "Slide Show" have no sliders: both show 50, disabled, with their labels; going back
// to a routine with sliders shows its stored values again.
TEST_F(SettingsDialog, RoutinesWithoutSlidersShowFiftyDisabled) {
  RunSettingsDialog([](Driver& d) {
    for (int routine : {6, 7}) {
      d.SelectCombo(IDC_ROUTINECOMBO, routine);
      EXPECT_EQ(d.SliderPosition(IDC_SPEEDSLIDER), 50) << routine;
      EXPECT_EQ(d.SliderPosition(IDC_SIZESLIDER), 50) << routine;
      for (int id : {IDC_SPEEDSLIDER, IDC_SPEEDLABEL, IDC_SPEEDMAX, IDC_SPEEDMIN, IDC_SIZESLIDER,
                     IDC_SIZELABEL, IDC_SIZEMAX, IDC_SIZEMIN}) {
        EXPECT_FALSE(d.Enabled(id)) << id << " with routine " << routine;
      }
    }
    d.SelectCombo(IDC_ROUTINECOMBO, 2);
    EXPECT_EQ(d.SliderPosition(IDC_SPEEDSLIDER), 17);
    EXPECT_EQ(d.SliderPosition(IDC_SIZESLIDER), 83);
    EXPECT_TRUE(d.Enabled(IDC_SPEEDSLIDER));
    EXPECT_TRUE(d.Enabled(IDC_SIZEMAX));
    d.Click(IDOK);
  });
  EXPECT_EQ(GetValue("SSFN"), "2");
}

// Own images: the caption and play-list switches show off and are disabled, their states kept
// in their settings; the image settings take the fixed own-images values; the wallpaper picture
// starts again. Back to the image set, the switches show their kept states.
TEST_F(SettingsDialog, TheOwnImagesRadioKeepsTheSwitchesAndFixesTheImageSettings) {
  RunSettingsDialog([](Driver& d) {
    d.Click(IDC_OWNIMAGES);
    for (int id : {IDC_TEXTFXON, IDC_TOPTENON}) {
      EXPECT_EQ(d.SwitchState(id), 0) << id;
      EXPECT_FALSE(d.Enabled(id)) << id;
    }
    for (int id : {IDTEXTFX, IDSELECTTOPTEN, IDC_TEXTFXGROUP, IDC_TEXTFXONOFF, IDC_TOPTENGROUP,
                   IDC_TOPTENONOFF}) {
      EXPECT_FALSE(d.Enabled(id)) << id;
    }
    std::string kept;
    ImageSetSettings copies;
    WallpaperSettingsValues wallpaper;
    d.OnDialogThread([&] {
      kept = std::string(IniSettings.TEXTFX_TEXTON) + "," + IniSettings.TOPTEN_ON + "," +
             IniSettings.WALLPAPER_IMAGENO + "," + IniSettings.WALLPAPER_IMAGEFX;
      copies = ImageSettings;
      wallpaper = WallpaperSettings;
    });
    EXPECT_EQ(kept, "1,1,0,0");
    EXPECT_EQ(copies.IMAGE_SIZE, 0);
    EXPECT_EQ(copies.IMAGE_BACKSTYLE, 4);
    EXPECT_EQ(copies.IMAGE_BORDERSTYLE, 6);
    EXPECT_EQ(copies.INTERPON, 0);
    EXPECT_EQ(wallpaper.WALLPAPER_IMAGEFX, 0);

    d.Click(IDC_KELVANEIMAGES);
    for (int id : {IDC_TEXTFXON, IDC_TOPTENON}) {
      EXPECT_EQ(d.SwitchState(id), 1) << id;
      EXPECT_TRUE(d.Enabled(id)) << id;
    }
    d.Click(IDC_OWNIMAGES);
    d.Click(IDOK);
  });
  // The switches show off in own-images mode, and OK stores what they show.
  ExpectValues({{"OWNIMAGES_ON", "1"},
                {"TEXTFX_TEXTON", "0"},
                {"TOPTEN_ON", "0"},
                {"IMAGE_SIZE", "0"},
                {"IMAGE_BACKSTYLE", "4"},
                {"IMAGE_BORDERSTYLE", "6"},
                {"IMAGE_BORDERTHICKNESS", "0"},
                {"IMAGE_BORDERSHADOWON", "0"},
                {"INTERPON", "0"},
                {"WALLPAPER_IMAGENO", "0"},
                {"WALLPAPER_IMAGEFX", "0"}});
}

// A second click on the checked radio is no change of mode: it used to store the disabled
// switches' (off) states over the kept ones and reset the wallpaper picture.
TEST_F(SettingsDialog, ClickingTheCheckedRadioChangesNothing) {
  SetValue("OWNIMAGES_ON", "1");
  RunSettingsDialog([](Driver& d) {
    ASSERT_TRUE(d.Checked(IDC_OWNIMAGES));
    d.Click(IDC_OWNIMAGES);
    std::string kept;
    d.OnDialogThread([&] {
      kept = std::string(IniSettings.TEXTFX_TEXTON) + "," + IniSettings.TOPTEN_ON + "," +
             IniSettings.WALLPAPER_IMAGENO;
    });
    EXPECT_EQ(kept, "1,1,5");
    d.Click(IDC_KELVANEIMAGES);
    EXPECT_EQ(d.SwitchState(IDC_TEXTFXON), 1) << "the kept state comes back";
    d.Click(IDC_KELVANEIMAGES);
    d.Click(IDOK);
  });
  ExpectValues({{"OWNIMAGES_ON", "0"},
                {"TEXTFX_TEXTON", "1"},
                {"TOPTEN_ON", "1"},
                {"WALLPAPER_IMAGENO", "0"}});
}

// A stored routine or time that no list item carries shows as the nearest item (a blank list
// looked like nothing was chosen); OK stores what the lists show, Cancel keeps the stored values.
// A stored -1 routine once stopped every later start.
TEST_F(SettingsDialog, AnUnknownRoutineOrTimeShowsTheNearestItem) {
  struct Case {
    const char* routine;
    const char* time;
    int routineShown, timeShown;
  };
  const Case cases[] = {{"9", "7", 7, 4}, {"-1", "-3", 0, 0}};
  for (const Case& c : cases) {
    for (int button : {IDOK, IDCANCEL}) {
      SetValue("SSFN", c.routine);
      SetValue("TIME", c.time);
      const RegistryImage before = ReadRegistryImage();
      RunSettingsDialog([&](Driver& d) {
        EXPECT_EQ(d.ComboSelection(IDC_ROUTINECOMBO), c.routineShown) << c.routine;
        EXPECT_EQ(d.ComboSelection(IDC_TIMECOMBO), c.timeShown) << c.time;
        d.Click(button);
      });
      const std::vector<std::string> expected =
          button == IDOK ? std::vector<std::string>{"SSFN", "TIME"} : std::vector<std::string>{};
      EXPECT_EQ(ChangedValues(before, ReadRegistryImage()), expected) << c.routine;
      if (button == IDOK) {
        ExpectValues(
            {{"SSFN", std::to_string(c.routineShown)}, {"TIME", std::to_string(c.timeShown)}});
      }
    }
  }
  EXPECT_TRUE(alerts_.Records().empty());
}

// Settings that cannot be read: the alert, nothing that edits or starts anything enabled, and
// OK and Cancel only close, leaving the registry byte for byte as it was (Cancel used to write
// an empty backup over every value).
TEST_F(SettingsDialog, AfterAFailedReadOkAndCancelOnlyClose) {
  DeleteValue("SSFN");
  const RegistryImage before = ReadRegistryImage();
  for (int button : {IDOK, IDCANCEL}) {
    alerts_.Clear();
    const auto run = RunSettingsDialog([button](Driver& d) {
      for (int id : {IDABOUT, IDC_BROWSEIMAGES, IDWALLPAPER, IDTRANSITION, IDTEXTFX, IDSELECTTOPTEN,
                     IDSCALINGBORDER, IDSOUNDFX, IDC_BROWSEOWNIMAGES, IDC_PREVIEW}) {
        EXPECT_FALSE(d.Enabled(id)) << id;
      }
      EXPECT_TRUE(d.Enabled(IDOK));
      EXPECT_TRUE(d.Enabled(IDCANCEL));
      d.Click(IDC_OWNIMAGES);
      d.Command(IDC_PREVIEW);  // even a command that arrives starts nothing
      d.Click(button);
    });
    EXPECT_FALSE(run.forcedClose);
    ASSERT_EQ(alerts_.Records().size(), 1u);
    EXPECT_EQ(alerts_.Records()[0].text,
              "Unable to read Screen Saver registry values (Error:28) - screen saver needs to be "
              "reinstalled");
    EXPECT_EQ(alerts_.Records()[0].caption, "Screen Saver Error");
    EXPECT_EQ(ChangedValues(before, ReadRegistryImage()), std::vector<std::string>{}) << button;
  }
}

std::string ModulePath() {
  char path[MAX_PATH + 1] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// Records each launch with the registry's routine at that moment.
class PreviewRecorder : public seams::ScopedLaunchRecorder {
 public:
  using ScopedLaunchRecorder::ScopedLaunchRecorder;
  int Launch(const seams::LaunchRequest& request) override {
    routineAtLaunch = GetValue("SSFN");
    return ScopedLaunchRecorder::Launch(request);
  }
  std::string routineAtLaunch;
};

// Screen Preview saves the choices, then starts this module's own file with "/s", maximised, in
// the set's data folder; a later Cancel writes the backup over what Preview saved.
TEST_F(SettingsDialog, ScreenPreviewSavesAndStartsThisModuleWithS) {
  PreviewRecorder launches;
  const RegistryImage before = ReadRegistryImage();
  RunSettingsDialog([](Driver& d) {
    d.SelectCombo(IDC_ROUTINECOMBO, 5);
    d.Click(IDC_PREVIEW);
    d.Click(IDCANCEL);
  });
  ASSERT_EQ(launches.Requests().size(), 1u);
  const seams::LaunchRequest& request = launches.Requests()[0];
  EXPECT_EQ(request.file, ModulePath());
  EXPECT_EQ(request.parameters, "/s");
  EXPECT_EQ(request.folder, DataFolder());
  EXPECT_EQ(request.showState, SW_SHOWMAXIMIZED);
  EXPECT_EQ(launches.routineAtLaunch, "5") << "saved before the start";
  EXPECT_EQ(ChangedValues(before, ReadRegistryImage()), std::vector<std::string>{});
  EXPECT_TRUE(alerts_.Records().empty());
}

// In own-images mode Preview saves the switches as they show (off) but keeps their states for the
// image set: switching back shows them on again.
TEST_F(SettingsDialog, ScreenPreviewInOwnImagesModeKeepsTheSwitchesForTheImageSet) {
  PreviewRecorder launches;
  RunSettingsDialog([](Driver& d) {
    d.Click(IDC_OWNIMAGES);
    d.Click(IDC_PREVIEW);
    d.Click(IDC_KELVANEIMAGES);
    for (int id : {IDC_TEXTFXON, IDC_TOPTENON}) EXPECT_EQ(d.SwitchState(id), 1) << id;
    d.Click(IDCANCEL);
  });
  ASSERT_EQ(launches.Requests().size(), 1u);
}

TEST_F(SettingsDialog, ScreenPreviewAlertsWhenTheStartFailsOrNoSetIsInstalled) {
  struct Case {
    const char* screenSaverKey;
    int launchResult;
    size_t launches;
    const char* alertStart;
  };
  const Case cases[] = {
      {nullptr, seams::kLaunchFileNotFound, 1, "Unable to start the screen saver preview"},
      {"SOFTWARE\\KLV\\IMAGESET\\Gone", 0, 0, "No image set is installed"},
  };
  for (const Case& c : cases) {
    InstallSettings(kStart);
    if (c.screenSaverKey) SetValue("SCREENSAVERKEY", c.screenSaverKey);
    alerts_.Clear();
    seams::ScopedLaunchRecorder launches(c.launchResult);
    HWND dialog = nullptr;
    RunSettingsDialog([&](Driver& d) {
      dialog = d.Dialog();
      d.Click(IDC_PREVIEW);
      d.Click(IDOK);
    });
    EXPECT_EQ(launches.Requests().size(), c.launches);
    ASSERT_EQ(alerts_.Records().size(), 1u);
    EXPECT_EQ(alerts_.Records()[0].text.rfind(c.alertStart, 0), 0u) << alerts_.Records()[0].text;
    EXPECT_EQ(alerts_.Records()[0].owner, dialog);
  }
}

// Every sub-dialog button opens its dialog modally, owned by the settings dialog, and the settings
// dialog goes on once it is closed.
TEST_F(SettingsDialog, EachSubDialogButtonOpensItsDialogOwnedByTheDialog) {
  struct Case {
    int button;
    const char* caption;
    int close;
  };
  const Case cases[] = {
      {IDABOUT, "About the Tarvosa Screen Saver", IDOK},
      {IDC_BROWSEIMAGES, "Browse Kelvane Image Set(s)", IDOK},
      {IDWALLPAPER, "Determine Wallpaper Style", IDCANCEL},
      {IDTRANSITION, "Select Transition Effects And Settings Between Images", IDCANCEL},
      {IDTEXTFX, "Determine Text Effects", IDCANCEL},
      {IDSELECTTOPTEN, "Select Top 10 Image Play List", IDCANCEL},
      {IDSCALINGBORDER, "Determine Image Scaling and Border Effects", IDCANCEL},
      {IDSOUNDFX, "Select Music/Sound Files", IDCANCEL},
      {IDC_BROWSEOWNIMAGES, "Browse Images In Selected Directory", IDOK},
  };
  const auto run = RunSettingsDialog([&](Driver& d) {
    for (const Case& c : cases) {
      d.Post(c.button);
      HWND opened = d.WaitForWindow(c.caption);
      ASSERT_NE(opened, nullptr) << c.caption;
      EXPECT_EQ(GetWindow(opened, GW_OWNER), d.Dialog()) << c.caption;
      EXPECT_FALSE(IsWindowEnabled(d.Dialog())) << c.caption << ": the settings dialog waits";
      d.Click(c.close, opened);
      EXPECT_TRUE(d.WaitGone(opened)) << c.caption;
      d.Sync();
    }
    d.Click(IDCANCEL);
  });
  EXPECT_FALSE(run.forcedClose);
}

// The cache rules of the sub-dialog table, on a row of the test's own: the dialog ends itself
// with 7 as soon as it opens.
INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  EndDialog(dialog, 7);
  return TRUE;
}

TEST_F(SettingsDialog, SubDialogsNeedingTheCacheBuildItFirstAndOpenOnlyWithIt) {
  // A set whose files are there but empty: usable as a set folder, yet no cache can be built.
  testsupport::TempFolder empty("nocache");
  for (const char* name : {"imfull.dat", "imagedes.dat", "cover.bmp", "imagedoc.dat"})
    std::ofstream(fs::path(empty.str()) / name).put('\0');
  struct Case {
    std::string folder;
    CacheRule rule;
    INT_PTR result;
    bool cacheAfter;
  };
  const Case cases[] = {
      {DataFolder(), CacheRule::kRequired, 7, true},
      {empty.str(), CacheRule::kRequired, -1, false},
      {empty.str(), CacheRule::kWanted, 7, false},
      {empty.str(), CacheRule::kNone, 7, false},
  };
  for (const Case& c : cases) {
    fs::remove(fs::path(DataFolder()) / "imx4.dat");
    std::strcpy(IniSettings.DATADIRECTORY, c.folder.c_str());
    const SubDialogRow row{IDABOUT, IDD_OWNIMAGES, EndAtOnce, c.rule};
    EXPECT_EQ(OpenSubDialog(nullptr, row), c.result) << c.folder;
    EXPECT_EQ(QuarterImageCacheExists(), c.cacheAfter) << c.folder;
  }
}

// With tracing on, the dialog traces its messages and commands, and OK closes the trace.
TEST_F(SettingsDialog, TracesItsWorkAndOkClosesTheTrace) {
  SetValue("TRACEON", "1");
  RunSettingsDialog([](Driver& d) {
    d.SelectCombo(IDC_ROUTINECOMBO, 1);
    d.Click(IDOK);
  });
  EXPECT_FALSE(seams::Trace::IsOn());
  std::ifstream in(static_cast<const char*>(TraceFilePath(DataFolder().c_str(), kTraceFileName)));
  std::stringstream trace;
  trace << in.rdbuf();
  for (const char* line :
       {"InitConfigureDialog - end", "ScreenSaverConfigureDialog - Starting Message=111",
        "ScreenSaverConfigureDialog IDOK - start", "bReadDlgItems - start",
        "vSaveIniSettings - start"}) {
    EXPECT_NE(trace.str().find(line), std::string::npos) << line;
  }
}

// Every class, in order with its trace line; registering again in the same process succeeds.
TEST(DialogClasses, RegisterInOrderWithTraceLinesAndAgain) {
  testsupport::TempFolder folder("classes");
  const std::string tracePath = (fs::path(folder.str()) / "trace.txt").string();
  ASSERT_TRUE(seams::Trace::Open(tracePath.c_str(), "TRACE"));
  EXPECT_TRUE(RegisterDialogClasses(DialogInstance()));
  EXPECT_TRUE(RegisterDialogClasses(DialogInstance()));
  seams::Trace::Close();
  std::ifstream in(tracePath);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("RegisterDialogClasses - ", 0) == 0) lines.push_back(line.substr(24));
  }
  const std::vector<std::string> once = {"RGrnBtn",
                                         "RVSlider",
                                         "RMSlider",
                                         "RRTFCtl",
                                         "RDIBCtl",
                                         "RegisterFullScreenImageWnd",
                                         "RegisterFullScreenOwnImageWnd",
                                         "RegisterFullScreenWallpaperWnd"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(lines, twice);
  EXPECT_TRUE(CRGrnBtnCtl::Register()) << "a class registered before counts as registered";
  WNDCLASSA found;
  for (const char* name :
       {"RGrnBtn", "RVSlider", "RMSlider", "RRTFCtl", "RDIBCtl", "RichEdit", "FullScreenImageWnd",
        "FullScreenOwnImageWnd", "FullScreenWallpaperWnd"}) {
    EXPECT_TRUE(GetClassInfoA(DialogInstance(), name, &found)) << name;
  }
}

// Records the device contexts and bitmaps of the dialog's custom controls.
void RecordControlObjects(HWND dialog, std::vector<HGDIOBJ>* recorded) {
  for (int id : {IDC_SPEEDSLIDER, IDC_SIZESLIDER, IDC_CLOCKON, IDC_TOPTENON, IDC_LOGOSON,
                 IDC_TEXTFXON, IDC_SOUNDON}) {
    auto* control = static_cast<CRControlFrame*>(CWnd::FromHandlePermanent(GetDlgItem(dialog, id)));
    ASSERT_NE(control, nullptr);
    for (CDIBSurface* surface : {&control->workSurface, &control->backgroundSurface}) {
      HDC dc = surface->memoryDC.GetSafeHdc();
      recorded->push_back(dc);
      recorded->push_back(GetCurrentObject(dc, OBJ_BITMAP));
    }
  }
}

// One opening: a routine, a switch, Cancel.
void OpenAndClose(int cycle, std::vector<HGDIOBJ>* recorded) {
  RunSettingsDialog([&](Driver& d) {
    d.OnDialogThread([&] { RecordControlObjects(d.Dialog(), recorded); });
    d.SelectCombo(IDC_ROUTINECOMBO, cycle % 8);
    d.ClickSwitch(IDC_CLOCKON);
    d.Click(IDCANCEL);
  });
}

// The GDI headroom once Wine's caches are full: its device-context cache, and the first-use
// objects a round of openings makes, so that only the dialog's own objects move the count.
int SettledGdiHeadroom(std::vector<HGDIOBJ>* recorded) {
  wintest::FillDeviceContextCache();
  for (int cycle = 0; cycle < 8; ++cycle) OpenAndClose(cycle, recorded);
  return wintest::FreeGdiHandles();
}

// Fifty openings and closings: every device context and bitmap the controls made is gone, and
// the process can make exactly as many GDI objects as before.
TEST_F(SettingsDialog, FiftyOpeningsLeaveNoGdiObjectAlive) {
  constexpr int kCycles = 50;
  std::vector<HGDIOBJ> recorded;
  const int freeBefore = SettledGdiHeadroom(&recorded);
  recorded.clear();
  const DWORD start = GetTickCount();
  for (int cycle = 0; cycle < kCycles; ++cycle) OpenAndClose(cycle, &recorded);
  std::printf("[ figure ] settings dialog open, three actions and Cancel: %.1f ms per cycle\n",
              (GetTickCount() - start) / static_cast<double>(kCycles));
  ASSERT_EQ(recorded.size(), kCycles * 7u * 4u);
  int alive = 0;
  for (HGDIOBJ object : recorded) alive += GetObjectType(object) != 0;
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(wintest::FreeGdiHandles(), freeBefore);
}

// How long the dialog takes to open (template, controls, every setting read and shown), made
// modeless so that no driver is in the measure.
TEST_F(SettingsDialog, OpenTime) {
  RegisterDialogClasses(DialogInstance());
  constexpr int kOpenings = 20;
  LARGE_INTEGER frequency, begin, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  for (int i = 0; i < kOpenings; ++i) {
    HWND dialog = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(DLG_SCRNSAVECONFIGURE),
                                     nullptr, SettingsDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    DestroyWindow(dialog);
  }
  QueryPerformanceCounter(&end);
  std::printf(
      "[ figure ] settings dialog open and destroy: %.2f ms\n",
      1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / frequency.QuadPart / kOpenings);
}

// The module's version resource, as the About dialog reads it.
TEST(ModuleVersion, TheProductVersionIsReadable) {
  CString version;
  ASSERT_TRUE(GetProductVersion(version));
  EXPECT_STREQ(version, "1.2");
}

}  // namespace
