// The caption-effect dialog run modally from its template and driven from a second thread, over
// the settings the setup program installs: opening shows every stored value, each control
// changes its own buffer on OK and no other, Cancel changes nothing, the stored values that are
// no choice of the dialog, and 50 openings leave no GDI object behind.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/TextFXDialog.h"
#include "controls/DialogSupport.h"
#include "res/DialogIds.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/config/DialogLeakCheck.h"
#include "tests/wine/config/InstalledSettings.h"
#include "tests/wine/controls/ControlFixture.h"

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

TEST_F(TextFXDialog, OpeningFillsTheListsFromTheStringTable) {
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
    d.Click(IDCANCEL);
  });
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(run.result, 0);
}

// What the dialog shows: the lists' selected texts, the boxes and radios checked, the sliders.
struct Shown {
  const char* duration;
  const char* textColour;
  const char* backColour;
  const char* border;
  const char* backStyle;
  const char* bounceDuration;
  std::vector<int> checked;  // of the boxes and radios below; the others are clear
  int speed, bounceSpeed;
};

constexpr int kButtons[] = {IDC_TEXTFX_SHADING, IDC_TEXTFX_TEXTANDTITLE, IDC_TEXTFX_TITLEONLY,
                            IDC_TEXTFX_ITALIC,  IDC_TEXTFX_SHADOW,       IDC_TEXTFX_UNDERLINE,
                            IDC_TEXTFX_SLIDE,   IDC_TEXTFX_FADE,         IDC_TEXTFX_SLIDEANDFADE,
                            IDC_TEXTFX_BOUNCEON};

void ExpectShown(Driver& d, const Shown& shown) {
  EXPECT_EQ(Selected(d, IDC_TEXTFX_DURATION), shown.duration);
  EXPECT_EQ(Selected(d, IDC_TEXTFX_TEXTCOLOR), shown.textColour);
  EXPECT_EQ(Selected(d, IDC_TEXTFX_BACKCOLOR), shown.backColour);
  EXPECT_EQ(Selected(d, IDC_TEXTFX_BORDERSTYLE), shown.border);
  EXPECT_EQ(Selected(d, IDC_TEXTFX_BACKSTYLE), shown.backStyle);
  EXPECT_EQ(Selected(d, IDC_TEXTFX_BOUNCEDURATION), shown.bounceDuration);
  for (int id : kButtons) {
    const bool wanted =
        std::find(shown.checked.begin(), shown.checked.end(), id) != shown.checked.end();
    EXPECT_EQ(d.Checked(id), wanted) << "button " << id;
  }
  EXPECT_EQ(d.SliderPosition(IDC_TEXTFX_SPEED), shown.speed);
  EXPECT_EQ(d.SliderPosition(IDC_TEXTFX_BOUNCESPEED), shown.bounceSpeed);
}

TEST_F(TextFXDialog, OpeningShowsEveryStoredValueInItsControl) {
  struct Case {
    const char* name;
    std::vector<const char*> stored;  // the 13 values in the order of the table, or none
    Shown shown;
  } cases[] = {
      // The installed values: 10 seconds, white on dark blue with shading, Windows 95 border
      // on an opaque box, text and title, title in shadow (5), slide and fade at 50, no
      // bounce (1 minute at 50).
      {"installed",
       {},
       {"10 Seconds",
        "White",
        "Dark Blue",
        "Windows 95",
        "Opaque",
        "1 Minute",
        {IDC_TEXTFX_SHADING, IDC_TEXTFX_TEXTANDTITLE, IDC_TEXTFX_SHADOW, IDC_TEXTFX_SLIDEANDFADE},
        50,
        50}},
      {"others",
       {"5", "13", "0", "0", "3", "2", "0", "11", "1", "100", "1", "3", "1"},
       {"10 Minutes",
        "Red",
        "Black",
        "Embossed",
        "Transparent",
        "10 Minutes",
        {IDC_TEXTFX_TITLEONLY, IDC_TEXTFX_ITALIC, IDC_TEXTFX_UNDERLINE, IDC_TEXTFX_FADE,
         IDC_TEXTFX_BOUNCEON},
        100,
        1}},
  };
  using B = IniSettingsBuffers;
  const Buffer order[] = {
      &B::TEXTFX_TEXTDURATION,    &B::TEXTFX_TEXTCOLOR,   &B::TEXTFX_BACKGROUNDCOLOR,
      &B::TEXTFX_BACKDROPSHADING, &B::TEXTFX_BORDERSTYLE, &B::TEXTFX_BACKGROUNDSTYLE,
      &B::TEXTFX_CONTENTSTYLE,    &B::TEXTFX_TITLESTYLE,  &B::TEXTFX_TRANSSELECTION,
      &B::TEXTFX_TRANSSPEED,      &B::TEXTFX_BOUNCEON,    &B::TEXTFX_BOUNCEDURATION,
      &B::TEXTFX_BOUNCESPEED};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogtest::LoadInstalledSettings();
    for (size_t i = 0; i < c.stored.size(); ++i) Store(order[i], c.stored[i]);
    OpenDialog([&](Driver& d) {
      ExpectShown(d, c.shown);
      d.Click(IDCANCEL);
    });
  }
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

TEST_F(TextFXDialog, FiftyOpeningsLeaveNoGdiObjectAlive) {
  dialogtest::ExpectOpeningsLeaveNoGdiObject(
      IDD_TEXTFX, TextFXDlgProc,
      [](Driver& d) {
        std::vector<HGDIOBJ> made = dialogtest::DialogFont(d);
        for (int id : {IDC_TEXTFX_SPEED, IDC_TEXTFX_BOUNCESPEED}) {
          const std::vector<HGDIOBJ> buffers = dialogtest::ControlBuffers(d, id);
          EXPECT_EQ(buffers.size(), 4u) << "slider " << id;
          made.insert(made.end(), buffers.begin(), buffers.end());
        }
        return made;
      },
      IDCANCEL, IDOK);
}

}  // namespace
