// The music and sound dialog driven as a user would: the play list, the play options and the
// file to loop, auditioning through the recorded media device, and what OK and Cancel leave in
// the settings buffers.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/SoundDialog.h"
#include "controls/ControlsSliders.h"
#include "controls/DialogSupport.h"
#include "res/DialogIds.h"
#include "settings/IniSettings.h"
#include "sound/MCIObject.h"
#include "sound/MCISender.h"
#include "tests/support/WaveWriter.h"
#include "tests/wine/config/SoundDialogFixture.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace {

using dialogtest::Driver;
using soundtest::SoundDialogTest;
using soundtest::WorkCopy;

struct Transport {
  bool back, play, stop, forward;
  bool operator==(const Transport& o) const {
    return back == o.back && play == o.play && stop == o.stop && forward == o.forward;
  }
};

std::ostream& operator<<(std::ostream& out, const Transport& t) {
  return out << "back " << t.back << ", play " << t.play << ", stop " << t.stop << ", forward "
             << t.forward;
}

Transport Buttons(Driver& d) {
  return {d.Enabled(IDC_SOUNDBACK), d.Enabled(IDC_SOUNDPLAY), d.Enabled(IDC_SOUNDSTOP),
          d.Enabled(IDC_SOUNDFORWARD)};
}

std::vector<std::string> ListLines(Driver& d, int id) {
  std::vector<std::string> lines;
  const bool combo = id == IDC_SOUNDLOOPFILE;
  const int count = combo ? d.ComboCount(id) : d.ListCount(id);
  for (int i = 0; i < count; ++i) lines.push_back(combo ? d.ComboText(id, i) : d.ListText(id, i));
  return lines;
}

void Timer(Driver& d) { SendMessageA(d.Dialog(), WM_TIMER, kSoundTimerId, 0); }

void Notify(Driver& d, MCIDEVICEID device, WPARAM code = MCI_NOTIFY_SUCCESSFUL) {
  SendMessageA(d.Dialog(), MM_MCINOTIFY, code, static_cast<LPARAM>(device));
}

// The thumb dragged to `position` (held there, so the play's timer leaves the display alone);
// returns the display while it is held.
std::string Track(Driver& d, int position) {
  HWND slider = d.Item(IDC_SOUNDSLIDER);
  auto hold = [&](BOOL dragging) {
    d.OnDialogThread([&] {
      auto* wrapper = dynamic_cast<CRMSliderCtl*>(CWnd::FromHandlePermanent(slider));
      ASSERT_NE(wrapper, nullptr);
      wrapper->position = position;
      wrapper->dragging = dragging;
    });
  };
  hold(TRUE);
  SendMessageA(d.Dialog(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, position),
               reinterpret_cast<LPARAM>(slider));
  const std::string shown = d.Text(IDC_SOUNDTIME);
  hold(FALSE);
  return shown;
}

struct Settings {
  std::vector<std::string> sounds;
  std::string option, loop;
};

Settings Stored() {
  Settings s{{}, IniSettings.SOUND_PLAYOPTION, IniSettings.SOUND_LOOPFILE};
  for (const char* slot : IniSettings.SOUND_SOUND) s.sounds.emplace_back(slot);
  return s;
}

class SoundDialog : public SoundDialogTest {
 protected:
  void SetUp() override {
    SoundDialogTest::SetUp();
    zulu_ = File("zulu.wav");
    alpha_ = File("alpha.mid");
    mike_ = File("Mike.WAV");
    notes_ = File("notes.txt");
    missing_ = (folder_ / "missing.wav").string();
    // Slots 1 and 6-9 free, 3 and 4 kept but not playable.
    SetPlayList({zulu_, "", alpha_, missing_, notes_, mike_});
    std::strcpy(IniSettings.SOUND_PLAYOPTION, "2");
    std::strcpy(IniSettings.SOUND_LOOPFILE, "5");
    device_.lengths[alpha_] = 100000;  // 1:40
  }

  std::string zulu_, alpha_, mike_, notes_, missing_;
};

TEST_F(SoundDialog, OpensWithTheValidFilesSortedTheLoopFileAndThePlayOption) {
  Run([&](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), "Select Music/Sound Files");
    const std::vector<std::string> sorted = {alpha_, mike_, zulu_};
    EXPECT_EQ(ListLines(d, IDC_SOUNDPLAYLIST), sorted);
    EXPECT_EQ(ListLines(d, IDC_SOUNDLOOPFILE), sorted);
    EXPECT_EQ(d.ListSelection(IDC_SOUNDPLAYLIST), 0);
    EXPECT_EQ(d.ComboText(IDC_SOUNDLOOPFILE, d.ComboSelection(IDC_SOUNDLOOPFILE)), mike_);
    EXPECT_FALSE(d.Checked(IDC_SOUNDINORDER));
    EXPECT_FALSE(d.Checked(IDC_SOUNDRANDOM));
    EXPECT_TRUE(d.Checked(IDC_SOUNDLOOPFILEOPTION));
    // The first file is open, at its start, nothing playing.
    EXPECT_EQ(device_.Commands(), "OPEN(0):" + alpha_ + " SET(7)");
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:00/01:40");
    EXPECT_TRUE(d.Enabled(IDC_SOUNDSLIDER));
    EXPECT_EQ(d.SliderPosition(IDC_SOUNDSLIDER), 0);
    EXPECT_EQ(Buttons(d), (Transport{false, true, false, true}));
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(device_.Commands().substr(device_.Commands().rfind(' ') + 1), "CLOSE(7)");
}

TEST_F(SoundDialog, SelectingAnotherLineOpensItsFile) {
  device_.lengths[zulu_] = 6000000;  // 100 minutes
  Run([&](Driver& d) {
    const size_t before = device_.Count();
    d.SelectList(IDC_SOUNDPLAYLIST, 2);
    EXPECT_EQ(device_.Commands(before), "STOP(7) CLOSE(7) OPEN(0):" + zulu_ + " SET(8)");
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:00/100:00");
    d.Click(IDCANCEL);
  });
}

TEST_F(SoundDialog, AddDeleteAndDefaultChangeTheListsAndTheWorkCopy) {
  const std::string bravo = File("bravo.wav");
  const std::string oscar = File("oscar.mid");
  const std::string tango = File("tango.wav");
  SetDefaultPlayList({tango, "", oscar});
  chooser_.answers = {bravo, ""};
  const Settings before = Stored();
  Run([&](Driver& d) {
    d.Click(IDC_SOUNDADD);  // bravo goes into the first free slot, 1, and is selected
    EXPECT_EQ(WorkCopy(d)[1], bravo);
    EXPECT_EQ(ListLines(d, IDC_SOUNDPLAYLIST),
              (std::vector<std::string>{alpha_, bravo, mike_, zulu_}));
    EXPECT_EQ(d.ListText(IDC_SOUNDPLAYLIST, d.ListSelection(IDC_SOUNDPLAYLIST)), bravo);
    EXPECT_EQ(d.ComboCount(IDC_SOUNDLOOPFILE), 4);
    EXPECT_EQ(device_.OpenDevice(), 8u) << "the new line's file is opened";

    d.Click(IDC_SOUNDADD);  // cancelled in the chooser: nothing changes
    EXPECT_EQ(d.ListCount(IDC_SOUNDPLAYLIST), 4);

    d.Click(IDC_SOUNDDELETE);  // bravo again; the line now at its place is selected
    EXPECT_EQ(WorkCopy(d)[1], "");
    EXPECT_EQ(ListLines(d, IDC_SOUNDPLAYLIST), (std::vector<std::string>{alpha_, mike_, zulu_}));
    EXPECT_EQ(d.ListSelection(IDC_SOUNDPLAYLIST), 1);
    EXPECT_EQ(ListLines(d, IDC_SOUNDLOOPFILE), (std::vector<std::string>{alpha_, mike_, zulu_}));

    d.Click(IDC_SOUNDDELETE);  // Mike, the loop file: the combo falls back to its first line
    EXPECT_EQ(WorkCopy(d)[5], "");
    EXPECT_EQ(ListLines(d, IDC_SOUNDLOOPFILE), (std::vector<std::string>{alpha_, zulu_}));
    EXPECT_EQ(d.ComboSelection(IDC_SOUNDLOOPFILE), 0);
    // The files that do not play stay in their slots.
    EXPECT_EQ(WorkCopy(d)[3], missing_);
    EXPECT_EQ(WorkCopy(d)[4], notes_);

    const size_t mark = device_.Count();
    d.Click(IDC_SOUNDDEFAULT);
    EXPECT_EQ(device_.Commands(mark), "STOP(11) CLOSE(11) OPEN(0):" + oscar + " SET(12)");
    const std::vector<std::string> defaults = {tango, "", oscar, "", "", "", "", "", "", ""};
    EXPECT_EQ(WorkCopy(d), defaults);
    EXPECT_EQ(ListLines(d, IDC_SOUNDPLAYLIST), (std::vector<std::string>{oscar, tango}));
    EXPECT_EQ(d.ComboSelection(IDC_SOUNDLOOPFILE), -1) << "loop file 5 is no longer listed";
    EXPECT_TRUE(d.Checked(IDC_SOUNDLOOPFILEOPTION));
    d.Click(IDCANCEL);
  });
  // Cancel leaves the buffers exactly as they were.
  const Settings after = Stored();
  EXPECT_EQ(after.sounds, before.sounds);
  EXPECT_EQ(after.option, before.option);
  EXPECT_EQ(after.loop, before.loop);
  // The chooser was asked as the dialog asks: music first, "wav" appended to a bare name.
  ASSERT_EQ(chooser_.requests.size(), 2u);
  const seams::OpenFileRequest& r = chooser_.requests[0];
  EXPECT_EQ(r.title, "Select Sound File for Screen Saver");
  ASSERT_EQ(r.filters.size(), 2u);
  EXPECT_EQ(r.filters[0].description, "Music Files (*.MID)");
  EXPECT_EQ(r.filters[0].pattern, "*.MID");
  EXPECT_EQ(r.filters[1].description, "Sound Files (*.WAV)");
  EXPECT_EQ(r.filters[1].pattern, "*.WAV");
  EXPECT_EQ(r.filterIndex, 1);
  EXPECT_EQ(r.defaultExtension, "wav");
  EXPECT_EQ(r.flags,
            static_cast<unsigned>(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT));
  EXPECT_EQ(r.initialFolder, "");
  EXPECT_EQ(r.initialFile, "");
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(SoundDialog, TenFilesAreTheMostAndAddThenAsksForNoFile) {
  std::vector<std::string> ten;
  for (int i = 0; i < kSoundListSize; ++i) ten.push_back(File("s" + std::to_string(i) + ".wav"));
  SetPlayList(ten);
  chooser_.answers = {File("eleven.wav")};
  Run([&](Driver& d) {
    d.Click(IDC_SOUNDADD);
    EXPECT_EQ(d.ListCount(IDC_SOUNDPLAYLIST), 10);
    d.Click(IDCANCEL);
  });
  EXPECT_TRUE(chooser_.requests.empty());
  ASSERT_EQ(alerts_.Records().size(), 1u);
  EXPECT_EQ(alerts_.Records()[0].text,
            "Unable to another sound file to the sound play list (10 files maximum).");
  EXPECT_EQ(alerts_.Records()[0].caption, "Sound Play List Message");
  EXPECT_NE(alerts_.Records()[0].owner, nullptr) << "owned by the sound dialog, which waits for it";
}

// A path the settings buffer cannot hold (256 characters or more) would make every later
// reading of the settings fail; a file the music thread would skip is no use in the list.
TEST_F(SoundDialog, AddRefusesLongPathsAndFilesThatWouldNotPlay) {
  // Folders deep enough for a path of exactly 255 and one of 256 characters.
  std::filesystem::path deep = folder_ / "";
  while (deep.string().size() < 200) deep /= "nested-folder";
  std::filesystem::create_directories(deep);
  auto fileOfLength = [&](size_t length) {
    const std::string base = (deep / "").string();
    const std::string path = base + std::string(length - base.size() - 4, 'x') + ".wav";
    EXPECT_TRUE(testsupport::WriteBytes(path, testsupport::ToneWave(100))) << path;
    return path;
  };
  const std::string fits = fileOfLength(255);
  const std::string tooLong = fileOfLength(256);
  ASSERT_EQ(fits.size(), 255u);
  ASSERT_EQ(tooLong.size(), 256u);
  chooser_.answers = {tooLong, File("song.wave"), fits};
  Run([&](Driver& d) {
    d.Click(IDC_SOUNDADD);
    d.Click(IDC_SOUNDADD);
    EXPECT_EQ(d.ListCount(IDC_SOUNDPLAYLIST), 3);
    EXPECT_EQ(WorkCopy(d)[1], "");
    d.Click(IDC_SOUNDADD);
    EXPECT_EQ(WorkCopy(d)[1], fits);
    d.Click(IDOK);
  });
  ASSERT_EQ(alerts_.Records().size(), 2u);
  EXPECT_EQ(alerts_.Records()[0].text,
            "The path of this sound file is too long for the sound play list "
            "(255 characters at most).");
  EXPECT_EQ(alerts_.Records()[1].text,
            "Only WAV and MID files can be added to the sound play list.");
  EXPECT_EQ(std::string(IniSettings.SOUND_SOUND[1]), fits);
}

TEST_F(SoundDialog, OkStoresTheWorkCopyAndTheChoices) {
  struct Case {
    const char* storedOption;
    int click;     // the radio clicked, 0 for none
    int loopLine;  // the combo line chosen, -1 for none
    const char* option;
    const char* loop;
  } cases[] = {
      {"2", IDC_SOUNDINORDER, 2, "0", "0"},  // zulu is slot 0
      {"2", IDC_SOUNDRANDOM, 0, "1", "2"},   // alpha is slot 2
      {"0", IDC_SOUNDLOOPFILEOPTION, 1, "2", "5"},
      {"7", 0, -1, "2", "5"},  // no radio checked stores 2; the stored loop stays
  };
  for (const Case& c : cases) {
    std::strcpy(IniSettings.SOUND_PLAYOPTION, c.storedOption);
    std::strcpy(IniSettings.SOUND_SOUND[1], "");
    chooser_.answers = {File("bravo.wav")};
    chooser_.requests.clear();
    Run([&](Driver& d) {
      if (c.click) d.Click(c.click);
      if (c.loopLine >= 0) d.SelectCombo(IDC_SOUNDLOOPFILE, c.loopLine);
      d.Click(IDC_SOUNDADD);
      d.Click(IDOK);
    });
    const Settings s = Stored();
    EXPECT_EQ(s.option, c.option) << c.storedOption << " then " << c.click;
    EXPECT_EQ(s.loop, c.loop) << c.storedOption << " then " << c.click;
    const std::vector<std::string> expected = {
        zulu_, (folder_ / "bravo.wav").string(), alpha_, missing_, notes_, mike_, "", "", "", ""};
    EXPECT_EQ(s.sounds, expected);
  }
}

TEST_F(SoundDialog, CancelLeavesEveryBufferByteAsItWas) {
  const IniSettingsBuffers before = IniSettings;
  chooser_.answers = {File("bravo.wav")};
  Run([&](Driver& d) {
    d.Click(IDC_SOUNDADD);
    d.Click(IDC_SOUNDDELETE);
    d.Click(IDC_SOUNDDELETE);
    d.Click(IDC_SOUNDRANDOM);
    d.SelectCombo(IDC_SOUNDLOOPFILE, 0);
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(std::memcmp(&before, &IniSettings, sizeof before), 0);
}

TEST_F(SoundDialog, TransportButtonsAndTheTimerDriveTheDevice) {
  Run([&](Driver& d) {
    const HWND dialog = d.Dialog();
    size_t mark = device_.Count();
    d.Click(IDC_SOUNDPLAY);
    EXPECT_EQ(device_.Commands(mark), "PLAY(7)");
    EXPECT_EQ(device_.LastCallback(), reinterpret_cast<DWORD_PTR>(dialog));
    EXPECT_EQ(Buttons(d), (Transport{false, false, true, true}));

    device_.SetPosition(5000);
    Timer(d);
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:05/01:40");
    EXPECT_EQ(d.SliderPosition(IDC_SOUNDSLIDER), 50);
    EXPECT_EQ(Buttons(d), (Transport{true, false, true, true}));

    mark = device_.Count();
    d.Click(IDC_SOUNDFORWARD);  // playing: seek a tenth on and play on from there
    EXPECT_EQ(device_.Commands(mark), "SEEK(7):15000 PLAY(7)");

    mark = device_.Count();
    d.Click(IDC_SOUNDSTOP);
    EXPECT_EQ(device_.Commands(mark), "STOP(7)");
    EXPECT_EQ(Buttons(d), (Transport{true, true, false, true}));

    // Paused at 0:05: back goes to the start, forward shows 0:15.
    device_.SetPosition(5000);
    mark = device_.Count();
    d.Click(IDC_SOUNDBACK);
    EXPECT_EQ(device_.Commands(mark), "SEEK(7):0");
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:00/01:40");
    EXPECT_EQ(d.SliderPosition(IDC_SOUNDSLIDER), 0);
    EXPECT_EQ(Buttons(d), (Transport{false, true, false, true}));
    device_.SetPosition(5000);
    d.Click(IDC_SOUNDFORWARD);
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:15/01:40");
    EXPECT_EQ(d.SliderPosition(IDC_SOUNDSLIDER), 150);

    // Play on to the end: the timer reads the position, the end notice shows the whole length.
    d.Click(IDC_SOUNDPLAY);
    device_.SetPosition(99000);
    Timer(d);
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "01:39/01:40");
    Notify(d, device_.OpenDevice());
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "01:40/01:40");
    EXPECT_EQ(d.SliderPosition(IDC_SOUNDSLIDER), 1000);
    d.Click(IDOK);
  });
}

TEST_F(SoundDialog, TheSliderShowsWhileDraggedAndSeeksOneSecondOnWhenReleased) {
  device_.lengths[alpha_] = 180000;  // 3:00
  Run([&](Driver& d) {
    d.Click(IDC_SOUNDPLAY);
    EXPECT_EQ(Track(d, 120), "00:12/03:00");
    const size_t mark = device_.Count();
    d.ReleaseSlider(IDC_SOUNDSLIDER, 120);  // released at 0:12 while playing: on from 0:13
    EXPECT_EQ(device_.Commands(mark), "SEEK(7):13000 PLAY(7)");
    d.Click(IDC_SOUNDSTOP);
    const size_t end = device_.Count();
    d.ReleaseSlider(IDC_SOUNDSLIDER, 1795);  // the second after it is the end; stays paused
    EXPECT_EQ(device_.Commands(end), "SEEK(7):end");
    d.Click(IDCANCEL);
  });
}

TEST_F(SoundDialog, LongFilesShowStepAndSeekInMilliseconds) {
  const std::string longest = File("aardvark.wav");
  device_.lengths[longest] = 36000000;  // ten hours: the slider's product outgrows 32 bits
  device_.lengths[zulu_] = 150 * 60000;
  SetPlayList({zulu_, longest});
  Run([&](Driver& d) {
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:00/600:00");
    size_t mark = device_.Count();
    d.ReleaseSlider(IDC_SOUNDSLIDER, 180000);  // half way
    EXPECT_EQ(device_.Commands(mark), "SEEK(7):18001000");

    d.SelectList(IDC_SOUNDPLAYLIST, 1);  // 150 minutes, paused at 50:00
    device_.SetPosition(50 * 60000);
    mark = device_.Count();
    d.Click(IDC_SOUNDFORWARD);
    EXPECT_EQ(device_.Commands(mark), "SEEK(8):3900000");
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "65:00/150:00");
    device_.SetPosition(100 * 60000 + 5000);
    d.Click(IDC_SOUNDBACK);
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "85:05/150:00");
    d.Click(IDCANCEL);
  });
}

TEST_F(SoundDialog, OnlyTheOpenDevicesEndOfPlayCounts) {
  Run([&](Driver& d) {
    d.Click(IDC_SOUNDPLAY);
    device_.SetPosition(30000);
    Timer(d);
    const MCIDEVICEID open = device_.OpenDevice();
    Notify(d, open + 1);  // a device closed since
    Notify(d, open, MCI_NOTIFY_ABORTED);
    Notify(d, open, MCI_NOTIFY_SUPERSEDED);
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:30/01:40");
    EXPECT_EQ(d.SliderPosition(IDC_SOUNDSLIDER), 300);

    d.Click(IDC_SOUNDLOOPON);  // audition in a loop: the end starts it again
    const size_t mark = device_.Count();
    Notify(d, open);
    EXPECT_EQ(device_.Commands(mark), "SEEK(7):0 PLAY(7)");
    d.Click(IDCANCEL);
  });
  // Cancel stopped the play before closing.
  const std::string commands = device_.Commands();
  EXPECT_EQ(commands.substr(commands.size() - 16), "STOP(7) CLOSE(7)");
}

TEST_F(SoundDialog, AnEmptyListDisablesTheSliderAndEveryTransportButton) {
  SetPlayList({missing_, notes_});
  Run([&](Driver& d) {
    EXPECT_EQ(d.ListCount(IDC_SOUNDPLAYLIST), 0);
    EXPECT_FALSE(d.Enabled(IDC_SOUNDSLIDER));
    EXPECT_EQ(Buttons(d), (Transport{false, false, false, false}));
    d.Click(IDC_SOUNDDELETE);
    EXPECT_EQ(device_.Commands(), "");
    d.Click(IDOK);
  });
  EXPECT_EQ(std::string(IniSettings.SOUND_SOUND[0]), missing_) << "kept though not playable";
  EXPECT_EQ(std::string(IniSettings.SOUND_LOOPFILE), "-1");
}

// Deleting the last line while it plays stops it: the stop button goes with the slider, so the
// file would play on with no way to stop it.
TEST_F(SoundDialog, DeletingThePlayingLastLineStopsIt) {
  SetPlayList({alpha_});
  Run([&](Driver& d) {
    d.Click(IDC_SOUNDPLAY);
    const size_t mark = device_.Count();
    d.Click(IDC_SOUNDDELETE);
    EXPECT_EQ(d.ListCount(IDC_SOUNDPLAYLIST), 0);
    EXPECT_NE(device_.Commands(mark).find("STOP(7)"), std::string::npos) << device_.Commands(mark);
    EXPECT_EQ(Buttons(d), (Transport{false, false, false, false}));
    d.Click(IDCANCEL);
  });
}

TEST_F(SoundDialog, AFileThatCannotBeOpenedShowsNoLengthAndPlaysNothing) {
  device_.failures[MCI_OPEN] = MCIERR_CANNOT_LOAD_DRIVER;
  Run([&](Driver& d) {
    EXPECT_EQ(d.Text(IDC_SOUNDTIME), "00:00/00:00");
    EXPECT_TRUE(d.Enabled(IDC_SOUNDSLIDER));
    EXPECT_EQ(Buttons(d), (Transport{false, true, false, true}));
    const size_t mark = device_.Count();
    d.Click(IDC_SOUNDPLAY);
    Timer(d);
    d.Click(IDC_SOUNDFORWARD);
    EXPECT_EQ(device_.Commands(mark), "") << "nothing reaches a device that is not open";
    d.Click(IDOK);
  });
}

// Opening and closing many times leaves no GDI object behind: the eight faces are deleted with
// the dialog.
TEST_F(SoundDialog, FiftyOpeningsLeaveNoFaceBitmapAlive) {
  std::vector<HBITMAP> faces;
  auto cycle = [&](int i) {
    Run([&](Driver& d) {
      d.OnDialogThread([&] {
        const HBITMAP* loaded = SoundButtonFaces();
        faces.insert(faces.end(), loaded, loaded + kSoundFaceCount);
      });
      d.Click(i % 2 ? IDOK : IDCANCEL);
    });
  };
  cycle(0);  // the first opening loads what stays loaded for the process (classes, fonts)
  const int before = wintest::FreeGdiHandles();
  for (int i = 1; i < 50; ++i) cycle(i);
  EXPECT_EQ(wintest::FreeGdiHandles(), before) << "GDI objects left behind";
  ASSERT_EQ(faces.size(), 50u * kSoundFaceCount);
  for (HBITMAP face : faces) {
    EXPECT_NE(face, nullptr);
    EXPECT_EQ(GetObjectType(face), 0u) << "a face bitmap outlived its dialog";
  }
  for (const HBITMAP* loaded = SoundButtonFaces(); loaded != SoundButtonFaces() + kSoundFaceCount;
       ++loaded) {
    EXPECT_EQ(*loaded, nullptr);
  }
}

// The open time with a full default play list, through Wine's own media devices (real WAV and
// MID files): CreateDialogParam with the template and WM_INITDIALOG, which checks the ten files,
// fills the lists and opens the first file for its length. Printed, never asserted.
TEST_F(SoundDialog, OpenTimeWithTheDefaultPlayList) {
  std::vector<std::string> defaults;
  for (int i = 0; i < kSoundListSize; ++i) {
    const std::string name = "default" + std::to_string(i) + (i % 2 ? ".mid" : ".wav");
    defaults.push_back((folder_ / name.c_str()).string());
    const testsupport::Bytes bytes =
        i % 2 ? testsupport::ShortMidi(4) : testsupport::ToneWave(2000);
    ASSERT_TRUE(testsupport::WriteBytes(defaults.back(), bytes));
  }
  SetDefaultPlayList(defaults);
  SetPlayList(defaults);
  // The median and the fastest of `runs` openings: the machine may be busy with other work.
  struct Times {
    double median, fastest;
  };
  auto openMs = [&](int runs, std::string* display) -> Times {
    std::vector<double> times;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < runs; ++i) {
      QueryPerformanceCounter(&start);
      HWND dialog = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_SOUNDFX), nullptr,
                                       SoundFXDlgProc, 0);
      QueryPerformanceCounter(&end);
      if (!dialog) {
        ADD_FAILURE() << "the dialog did not open";
        return {0, 0};
      }
      char text[32] = "";
      GetDlgItemTextA(dialog, IDC_SOUNDTIME, text, sizeof text);
      *display = text;
      DestroyWindow(dialog);
      MusicMCIObject.Close();
      times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
  };
  std::string shown;
  SetPlayList({});
  const Times empty = openMs(20, &shown);
  SetPlayList(defaults);
  const Times recorded = openMs(20, &shown);
  Times real{};
  {
    ScopedMCISender system(nullptr);  // Wine's own devices
    real = openMs(20, &shown);
  }
  EXPECT_EQ(shown, "00:00/00:02") << "the first file, a 2 s wave, through Wine's wave device";
  std::printf(
      "sound dialog open time in ms (median / fastest of 20), default play list of 10 "
      "files: %.1f / %.1f with Wine's media devices, %.1f / %.1f with the recorded "
      "device; empty play list: %.1f / %.1f\n",
      real.median, real.fastest, recorded.median, recorded.fastest, empty.median, empty.fastest);
}

}  // namespace
