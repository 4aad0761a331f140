// The caption-effect dialog run modally from its template and driven from a second thread, over
// the settings the setup program installs: opening shows every stored value, each control
// changes its own buffer on OK and no other, Cancel changes nothing, the stored values that are
// no choice of the dialog, and 50 openings leave no GDI object behind.
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/TextFXDialog.h"
#include "framework/Wnd.h"
#include "res/DialogIds.h"
#include "saver/ControlsSliders.h"
#include "saver/DialogSupport.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/config/InstalledSettings.h"
#include "tests/wine/saver/ControlFixture.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace {

using dialogtest::Driver;
using Buffer = char (IniSettingsBuffers::*)[kNumberBufferSize];

const char* const kColours[] = {"Black",     "Dark Red",     "Dark Green",  "Dark Yellow",
                                "Dark Blue", "Dark Magenta", "Light Gray",  "Money Green",
                                "Sky Blue",  "Cream",        "Medium Gray", "Dark Gray",
                                "Red",       "Green",        "Yellow",      "Blue",
                                "Magenta",   "Cyan",         "White",       "Transparent"};

dialogtest::DialogRun OpenDialog(const std::function<void(Driver&)>& script) {
  return dialogtest::RunModal(DialogInstance(), IDD_TEXTFX, TextFXDlgProc, script);
}

void Store(Buffer buffer, const char* text) { std::strcpy(IniSettings.*buffer, text); }

std::vector<std::string> ComboLines(const Driver& d, int id) {
  std::vector<std::string> lines;
  for (int i = 0; i < d.ComboCount(id); ++i) lines.push_back(d.ComboText(id, i));
  return lines;
}

std::string Selected(const Driver& d, int id) {
  const int line = d.ComboSelection(id);
  return line < 0 ? "(none)" : d.ComboText(id, line);
}

class TextFXDialog : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    dialogtest::LoadInstalledSettings();
  }
  void TearDown() override { ClearSettingBuffers(); }
};

TEST_F(TextFXDialog, OpeningShowsEveryInstalledValueInItsControl) {
  const auto run = OpenDialog([](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), "Determine Text Effects");
    EXPECT_EQ(ComboLines(d, IDC_TEXTFX_DURATION),
              (std::vector<std::string>{"10 Seconds", "30 Seconds", "1 Minute", "2 Minutes",
                                        "5 Minutes", "10 Minutes"}));
    EXPECT_EQ(ComboLines(d, IDC_TEXTFX_TEXTCOLOR),
              std::vector<std::string>(std::begin(kColours), std::end(kColours)));
    EXPECT_EQ(ComboLines(d, IDC_TEXTFX_BACKCOLOR), ComboLines(d, IDC_TEXTFX_TEXTCOLOR));
    EXPECT_EQ(ComboLines(d, IDC_TEXTFX_BORDERSTYLE),
              (std::vector<std::string>{"Windows 95", "Windows 3.1", "Flat 2-D (No border)",
                                        "Embossed"}));
    EXPECT_EQ(ComboLines(d, IDC_TEXTFX_BACKSTYLE),
              (std::vector<std::string>{"Full color (solid)", "Opaque", "Transparent"}));
    EXPECT_EQ(ComboLines(d, IDC_TEXTFX_BOUNCEDURATION),
              (std::vector<std::string>{"1 Minute", "2 Minutes", "5 Minutes", "10 Minutes"}));
    // The installed values: 10 seconds, white on dark blue with shading, Windows 95 border on
    // an opaque box, text and title, title in shadow (5), slide and fade at 50, no bounce
    // (1 minute at 50).
    EXPECT_EQ(Selected(d, IDC_TEXTFX_DURATION), "10 Seconds");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_TEXTCOLOR), "White");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BACKCOLOR), "Dark Blue");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BORDERSTYLE), "Windows 95");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BACKSTYLE), "Opaque");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BOUNCEDURATION), "1 Minute");
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_SHADING));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_TEXTANDTITLE));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_TITLEONLY));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_ITALIC));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_SHADOW));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_UNDERLINE));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_SLIDE));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_FADE));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_SLIDEANDFADE));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_BOUNCEON));
    EXPECT_EQ(d.SliderPosition(IDC_TEXTFX_SPEED), 50);
    EXPECT_EQ(d.SliderPosition(IDC_TEXTFX_BOUNCESPEED), 50);
    d.Click(IDCANCEL);
  });
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(run.result, 0);
}

// Other stored values reach the right controls too (none of them is an install default).
TEST_F(TextFXDialog, OpeningShowsOtherStoredValues) {
  Store(&IniSettingsBuffers::TEXTFX_TEXTDURATION, "5");
  Store(&IniSettingsBuffers::TEXTFX_TEXTCOLOR, "13");
  Store(&IniSettingsBuffers::TEXTFX_BACKGROUNDCOLOR, "0");
  Store(&IniSettingsBuffers::TEXTFX_BACKDROPSHADING, "0");
  Store(&IniSettingsBuffers::TEXTFX_BORDERSTYLE, "3");
  Store(&IniSettingsBuffers::TEXTFX_BACKGROUNDSTYLE, "2");
  Store(&IniSettingsBuffers::TEXTFX_CONTENTSTYLE, "0");
  Store(&IniSettingsBuffers::TEXTFX_TITLESTYLE, "11");
  Store(&IniSettingsBuffers::TEXTFX_TRANSSELECTION, "1");
  Store(&IniSettingsBuffers::TEXTFX_TRANSSPEED, "100");
  Store(&IniSettingsBuffers::TEXTFX_BOUNCEON, "1");
  Store(&IniSettingsBuffers::TEXTFX_BOUNCEDURATION, "3");
  Store(&IniSettingsBuffers::TEXTFX_BOUNCESPEED, "1");
  OpenDialog([](Driver& d) {
    EXPECT_EQ(Selected(d, IDC_TEXTFX_DURATION), "10 Minutes");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_TEXTCOLOR), "Red");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BACKCOLOR), "Black");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BORDERSTYLE), "Embossed");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BACKSTYLE), "Transparent");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BOUNCEDURATION), "10 Minutes");
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_SHADING));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_TEXTANDTITLE));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_TITLEONLY));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_ITALIC));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_SHADOW));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_UNDERLINE));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_FADE));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_SLIDE));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_SLIDEANDFADE));
    EXPECT_TRUE(d.Checked(IDC_TEXTFX_BOUNCEON));
    EXPECT_EQ(d.SliderPosition(IDC_TEXTFX_SPEED), 100);
    EXPECT_EQ(d.SliderPosition(IDC_TEXTFX_BOUNCESPEED), 1);
    d.Click(IDCANCEL);
  });
}

// One user action on an installed dialog, then OK: exactly one buffer changes, to `stored`.
struct ControlCase {
  const char* name;
  std::function<void(Driver&)> act;
  Buffer buffer;
  const char* stored;
};

TEST_F(TextFXDialog, EachControlChangesItsOwnBufferOnOk) {
  using B = IniSettingsBuffers;
  const ControlCase cases[] = {
      {"duration", [](Driver& d) { d.SelectCombo(IDC_TEXTFX_DURATION, 3); },
       &B::TEXTFX_TEXTDURATION, "3"},
      {"text colour", [](Driver& d) { d.SelectCombo(IDC_TEXTFX_TEXTCOLOR, 6); },
       &B::TEXTFX_TEXTCOLOR, "7"},
      {"background colour", [](Driver& d) { d.SelectCombo(IDC_TEXTFX_BACKCOLOR, 19); },
       &B::TEXTFX_BACKGROUNDCOLOR, "6"},
      {"shading", [](Driver& d) { d.Click(IDC_TEXTFX_SHADING); }, &B::TEXTFX_BACKDROPSHADING, "0"},
      {"border", [](Driver& d) { d.SelectCombo(IDC_TEXTFX_BORDERSTYLE, 2); },
       &B::TEXTFX_BORDERSTYLE, "2"},
      {"background style", [](Driver& d) { d.SelectCombo(IDC_TEXTFX_BACKSTYLE, 0); },
       &B::TEXTFX_BACKGROUNDSTYLE, "0"},
      {"title only", [](Driver& d) { d.Click(IDC_TEXTFX_TITLEONLY); }, &B::TEXTFX_CONTENTSTYLE,
       "0"},
      {"italic", [](Driver& d) { d.Click(IDC_TEXTFX_ITALIC); }, &B::TEXTFX_TITLESTYLE, "7"},
      {"shadow off", [](Driver& d) { d.Click(IDC_TEXTFX_SHADOW); }, &B::TEXTFX_TITLESTYLE, "1"},
      {"underline", [](Driver& d) { d.Click(IDC_TEXTFX_UNDERLINE); }, &B::TEXTFX_TITLESTYLE, "13"},
      {"slide", [](Driver& d) { d.Click(IDC_TEXTFX_SLIDE); }, &B::TEXTFX_TRANSSELECTION, "0"},
      {"fade", [](Driver& d) { d.Click(IDC_TEXTFX_FADE); }, &B::TEXTFX_TRANSSELECTION, "1"},
      {"speed", [](Driver& d) { d.ReleaseSlider(IDC_TEXTFX_SPEED, 83); }, &B::TEXTFX_TRANSSPEED,
       "83"},
      {"bounce", [](Driver& d) { d.Click(IDC_TEXTFX_BOUNCEON); }, &B::TEXTFX_BOUNCEON, "1"},
      {"bounce duration", [](Driver& d) { d.SelectCombo(IDC_TEXTFX_BOUNCEDURATION, 2); },
       &B::TEXTFX_BOUNCEDURATION, "2"},
      {"bounce speed", [](Driver& d) { d.ReleaseSlider(IDC_TEXTFX_BOUNCESPEED, 7); },
       &B::TEXTFX_BOUNCESPEED, "7"},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.name);
    dialogtest::LoadInstalledSettings();
    IniSettingsBuffers expected = IniSettings;
    ASSERT_STRNE(expected.*c.buffer, c.stored) << "the case must change the value";
    std::strcpy(expected.*c.buffer, c.stored);
    const auto run = OpenDialog([&](Driver& d) {
      c.act(d);
      d.Click(IDOK);
    });
    EXPECT_FALSE(run.forcedClose);
    EXPECT_EQ(run.result, 0);
    EXPECT_STREQ(IniSettings.*c.buffer, c.stored);
    EXPECT_EQ(std::memcmp(&expected, &IniSettings, sizeof expected), 0) << "another buffer changed";
  }
}

TEST_F(TextFXDialog, CancelLeavesEveryBufferExactlyAsItWas) {
  const IniSettingsBuffers before = IniSettings;
  const auto run = OpenDialog([](Driver& d) {
    d.SelectCombo(IDC_TEXTFX_DURATION, 5);
    d.SelectCombo(IDC_TEXTFX_TEXTCOLOR, 1);
    d.SelectCombo(IDC_TEXTFX_BACKCOLOR, 2);
    d.SelectCombo(IDC_TEXTFX_BORDERSTYLE, 3);
    d.SelectCombo(IDC_TEXTFX_BACKSTYLE, 2);
    d.SelectCombo(IDC_TEXTFX_BOUNCEDURATION, 3);
    for (int id : {IDC_TEXTFX_SHADING, IDC_TEXTFX_TITLEONLY, IDC_TEXTFX_ITALIC,
                   IDC_TEXTFX_UNDERLINE, IDC_TEXTFX_SLIDE, IDC_TEXTFX_BOUNCEON})
      d.Click(id);
    d.ReleaseSlider(IDC_TEXTFX_SPEED, 3);
    d.ReleaseSlider(IDC_TEXTFX_BOUNCESPEED, 97);
    d.Click(IDCANCEL);
  });
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(std::memcmp(&before, &IniSettings, sizeof before), 0);
}

TEST_F(TextFXDialog, TransparentShowsLastAndWhiteStoresNineteen) {
  Store(&IniSettingsBuffers::TEXTFX_TEXTCOLOR, "6");
  OpenDialog([](Driver& d) {
    EXPECT_EQ(d.ComboSelection(IDC_TEXTFX_TEXTCOLOR), 19);
    EXPECT_EQ(Selected(d, IDC_TEXTFX_TEXTCOLOR), "Transparent");
    d.SelectCombo(IDC_TEXTFX_TEXTCOLOR, 18);
    EXPECT_EQ(Selected(d, IDC_TEXTFX_TEXTCOLOR), "White");
    d.Click(IDOK);
  });
  EXPECT_STREQ(IniSettings.TEXTFX_TEXTCOLOR, "19");
}

// Stored values that are no choice of the dialog: what shows, and what OK untouched stores.
TEST_F(TextFXDialog, StoredValuesThatAreNoChoiceShowAndStoreByTheirRules) {
  using B = IniSettingsBuffers;
  Store(&B::TEXTFX_TEXTCOLOR, "25");
  Store(&B::TEXTFX_BACKGROUNDCOLOR, "-3");
  Store(&B::TEXTFX_TITLESTYLE, "0");
  Store(&B::TEXTFX_TEXTDURATION, "9");
  Store(&B::TEXTFX_BOUNCEDURATION, "-1");
  Store(&B::TEXTFX_BORDERSTYLE, "9");       // no line: stores 0, not -1
  Store(&B::TEXTFX_BACKGROUNDSTYLE, "-1");  // likewise
  Store(&B::TEXTFX_CONTENTSTYLE, "5");      // no radio: both clear
  Store(&B::TEXTFX_TRANSSELECTION, "7");
  OpenDialog([](Driver& d) {
    EXPECT_EQ(Selected(d, IDC_TEXTFX_TEXTCOLOR), "Black");
    EXPECT_EQ(Selected(d, IDC_TEXTFX_BACKCOLOR), "Black");
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_ITALIC));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_SHADOW));
    EXPECT_FALSE(d.Checked(IDC_TEXTFX_UNDERLINE));
    for (int id : {IDC_TEXTFX_DURATION, IDC_TEXTFX_BOUNCEDURATION, IDC_TEXTFX_BORDERSTYLE,
                   IDC_TEXTFX_BACKSTYLE})
      EXPECT_EQ(d.ComboSelection(id), -1) << id;
    for (int id : {IDC_TEXTFX_TEXTANDTITLE, IDC_TEXTFX_TITLEONLY, IDC_TEXTFX_SLIDE, IDC_TEXTFX_FADE,
                   IDC_TEXTFX_SLIDEANDFADE})
      EXPECT_FALSE(d.Checked(id)) << id;
    d.Click(IDOK);
  });
  EXPECT_STREQ(IniSettings.TEXTFX_TEXTCOLOR, "0");
  EXPECT_STREQ(IniSettings.TEXTFX_BACKGROUNDCOLOR, "0");
  EXPECT_STREQ(IniSettings.TEXTFX_TITLESTYLE, "1");
  EXPECT_STREQ(IniSettings.TEXTFX_TEXTDURATION, "-1");
  EXPECT_STREQ(IniSettings.TEXTFX_BOUNCEDURATION, "-1");
  EXPECT_STREQ(IniSettings.TEXTFX_BORDERSTYLE, "0");
  EXPECT_STREQ(IniSettings.TEXTFX_BACKGROUNDSTYLE, "0");
  EXPECT_STREQ(IniSettings.TEXTFX_CONTENTSTYLE, "1");
  EXPECT_STREQ(IniSettings.TEXTFX_TRANSSELECTION, "2");
}

// The GDI objects one opening makes that the test can reach: the dialog's font and each
// slider's two buffers with their bitmaps.
std::vector<HGDIOBJ> RecordHandles(Driver& d) {
  std::vector<HGDIOBJ> handles;
  d.OnDialogThread([&] {
    handles.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(d.Dialog(), WM_GETFONT, 0, 0)));
    for (int id : {IDC_TEXTFX_SPEED, IDC_TEXTFX_BOUNCESPEED}) {
      auto* slider = static_cast<CRVSliderCtl*>(CWnd::FromHandlePermanent(d.Item(id)));
      if (!slider) continue;
      for (CDIBSurface* surface : {&slider->workSurface, &slider->backgroundSurface}) {
        HDC dc = surface->memoryDC.GetSafeHdc();
        handles.push_back(dc);
        handles.push_back(GetCurrentObject(dc, OBJ_BITMAP));
      }
    }
  });
  return handles;
}

TEST_F(TextFXDialog, FiftyOpeningsLeaveNoGdiObjectAlive) {
  OpenDialog([](Driver& d) { d.Click(IDCANCEL); });  // the first opening's one-time objects
  const int headroom = wintest::FreeGdiHandles();
  std::vector<HGDIOBJ> recorded;
  for (int i = 0; i < 50; ++i) {
    const auto run = OpenDialog([&](Driver& d) {
      const std::vector<HGDIOBJ> made = RecordHandles(d);
      recorded.insert(recorded.end(), made.begin(), made.end());
      d.Click(i % 2 ? IDOK : IDCANCEL);
    });
    ASSERT_FALSE(run.forcedClose);
  }
  ASSERT_EQ(recorded.size(), 50u * 9);
  for (HGDIOBJ handle : recorded) {
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetObjectType(handle), 0u) << handle << " is still alive";
  }
  EXPECT_EQ(wintest::FreeGdiHandles(), headroom) << "GDI objects left behind";
}

}  // namespace
