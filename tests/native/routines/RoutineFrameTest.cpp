// The display-routine frame: elapsed seconds on the tick counter (no hour wrap, across the
// counter's wrap), settings kept to 1..100, the trace lines, the end steps on every return (a
// failure leaves no clock and no sprite behind, only the end trace is left out), and the effect
// sounds from the data folder, played on the default player and let go at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging/ClockOverlay.h"
#include "imaging/DIB.h"
#include "imaging/HeadlessScreenHost.h"
#include "imaging/HostServices.h"
#include "imaging/Sprite.h"
#include "routines/RoutineFrame.h"
#include "routines/RoutineMotion.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "settings/IniSettings.h"
#include "sound/WavePlayer.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/EffectSoundFolder.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/native/sound/FakeWaveOut.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace {

using namespace routinetest;

void ErrorText(int code, CString* text) {
  const RoutineErrorMessage table[] = {{2, "System has run out of memory"}, {7, "Seven"}};
  FormatRoutineErrorText("Test Routine Error Message: ", table, 2, "Unknown error", code, text);
}

TEST(RoutineFrameTest, ElapsedSecondsAreTheSignedTickDifferenceWithoutAnHourWrap) {
  const struct {
    uint32_t start;
    uint32_t advance;
    int seconds;
  } cases[] = {
      {5000, 999, 0},
      {5000, 1000, 1},
      {5000, 3600 * 1000, 3600},  // an hour is an hour, not 0
      {5000, 3700 * 1000 + 500, 3700},
      {0xFFFFF000u, 10 * 1000, 10},  // across the tick counter's wrap
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " + " << c.advance);
    seams::TestClock clock(c.start, 0, 0);
    seams::ScopedClock scoped(&clock);
    CRoutineFrame frame(nullptr, "Test", ErrorText, 0, nullptr);
    frame.StartTime();
    clock.Advance(c.advance);
    EXPECT_EQ(frame.ElapsedSeconds(), c.seconds);
    EXPECT_FALSE(frame.PastSeconds(0)) << "0 is no limit";
    EXPECT_EQ(frame.PastSeconds(c.seconds), false);
    EXPECT_EQ(frame.PastSeconds(c.seconds - 1), c.seconds > 1);
  }
}

TEST(RoutineFrameTest, SettingsAreKeptToOneToAHundredAndErrorTextsFollowTheirTable) {
  const int settings[][2] = {{-5, 1},    {0, 1},     {1, 1},     {50, 50},
                             {100, 100}, {106, 100}, {9999, 100}};
  for (const auto& s : settings) EXPECT_EQ(ClampRoutinePercent(s[0]), s[1]) << s[0];
  CString text;
  ErrorText(7, &text);
  EXPECT_STREQ(text, "Test Routine Error Message: Seven");
  ErrorText(3, &text);
  EXPECT_STREQ(text, "Test Routine Error Message: Unknown error");
  ErrorText(3, nullptr);  // no text wanted
}

class RoutineFrameDocTest : public ScreenDocFixture {
 protected:
  JumpClock clock{LocalSeconds(10, 0, 0)};
  seams::ScopedClock scoped{&clock};
};

TEST_F(RoutineFrameDocTest, EndStepsRunOnEveryReturnAndAFailureLeavesOutOnlyTheEndTrace) {
  for (const bool fail : {false, true}) {
    SCOPED_TRACE(fail ? "failure" : "normal end");
    CString error;
    const std::string trace = TraceOf([&] {
      CRoutineFrame frame(&doc, "Test Routine", ErrorText, 1, &error);
      frame.TraceStart(RoutineTraceArguments{1, 1, 0, 50, 60, 70, 0, 1, 30});
      ASSERT_EQ(frame.StartSceneAndClock(0, 1), 1);
      ASSERT_NE(frame.scene(), nullptr) << "the clock needs the scene's grey ramp";
      EXPECT_EQ(doc.clockOn, 1);
      auto* sprite = new CSprite;
      sprite->Create(20, 20, nullptr);
      doc.sprites.Insert(sprite);
      UpdateClockOverlay(&doc);
      if (fail) frame.Fail(2);
    });
    EXPECT_EQ(doc.clockOn, 0);
    EXPECT_EQ(doc.clock, nullptr);
    EXPECT_EQ(doc.sprites.GetCount(), 0);
    ExpectSurfaceComposed();  // the clock's corner shows the background again
    const std::string start =
        "Test Routine - start - \n"
        "bInfiniteOn=1,bClockOn=1,bSoundOn=0,Speed=50,Res=60,Volume=70,bSpare=0,bLogoOn=1,"
        "RunSeconds=30\n";
    if (fail) {
      EXPECT_EQ(trace, start);
      EXPECT_STREQ(error, "Test Routine Error Message: System has run out of memory");
    } else {
      EXPECT_EQ(trace, start + "Test Routine - end - \n\n");
      EXPECT_STREQ(error, "");
    }
  }
}

TEST_F(RoutineFrameDocTest, AScreenWithoutADocumentRunsWithoutAClock) {
  HeadlessScreenHost host;
  host.SetBackground(NewBackground(200, 100));
  CRoutineFrame frame(&host, "Test", ErrorText, 0, nullptr);
  EXPECT_EQ(frame.StartSceneAndClock(0, 1), 1);
  EXPECT_EQ(host.GetSprites()->GetCount(), 0);
}

// A screen host that is no document but has services of its own: it owns the clock it is given
// and hands out 8 x 8 logos, noting the ratios asked for.
class ServicedHost : public HeadlessScreenHost, public HostServices {
 public:
  ~ServicedHost() override { DeleteClock(); }  // before the sprites go
  HostServices* GetServices() override { return this; }
  BOOL IsClockOn() const override { return clockOn; }
  CObject* GetClock() const override { return clock; }
  void SetClock(CObject* overlay) override {
    clockOn = 1;
    clock = overlay;
  }
  void DeleteClock() override {
    delete clock;
    clock = nullptr;
    clockOn = 0;
  }
  void SetSoundOn(BOOL on) override { soundOn = on; }
  BOOL LoadLogoDescs(const char*, const char*) override { return 1; }
  BOOL OpenRandomLogoFile(double ratio, CDIB* target) override {
    ratios.push_back(ratio);
    return target->Create(8, 8, nullptr);
  }

  BOOL clockOn = 0;
  CObject* clock = nullptr;
  BOOL soundOn = 0;
  std::vector<double> ratios;
};

TEST_F(RoutineFrameDocTest, AnyHostWithServicesGetsTheClockTheSoundFlagAndLogos) {
  ServicedHost host;
  host.SetBackground(NewBackground(200, 100));
  {
    CRoutineFrame frame(&host, "Test", ErrorText, 0, nullptr);
    ASSERT_EQ(frame.StartSceneAndClock(0, 1), 1);
    ASSERT_NE(host.clock, nullptr);
    EXPECT_EQ(GetClockOverlay(&host), host.clock);
    EXPECT_EQ(host.GetSprites()->GetCount(), 2) << "the dial and the hands";
    frame.StartSounds(1, 0, nullptr, 0);
    EXPECT_EQ(host.soundOn, 1);
    const std::unique_ptr<CDIB> logo(OpenRoutineLogo(&host, 1.5, "nothing"));
    EXPECT_NE(logo, nullptr);
    EXPECT_EQ(host.ratios, std::vector<double>{1.5});
  }
  EXPECT_EQ(host.clock, nullptr) << "the end steps take the clock down";
  EXPECT_EQ(host.clockOn, 0);
  EXPECT_EQ(host.GetSprites()->GetCount(), 0);
}

// Effect sounds in a data folder: wavfx3 a 16-bit wave of samples 10000, wavfx5 missing.
class RoutineSoundsTest : public ScreenDocFixture {
 protected:
  void SetUp() override {
    ScreenDocFixture::SetUp();
    ASSERT_TRUE(sounds.Write("wavfx3", 10000));
  }

  static constexpr const char* kNames[2] = {"wavfx3", "wavfx5"};
  EffectSoundFolder sounds{"wavfx"};
  soundtest::FakeWaveOut device;
  seams::ScopedAlertRecorder alerts;
};

TEST_F(RoutineSoundsTest, SoundsLoadScaledFromTheDataFolderPlayAndAreLetGoAtTheEnd) {
  {
    CRoutineFrame frame(&doc, "Test", ErrorText, 0, nullptr);
    frame.StartSounds(1, 30, kNames, 2);
    EXPECT_EQ(doc.soundOn, 1);
    ASSERT_EQ(alerts.Records().size(), 1u);
    EXPECT_EQ(alerts.Records()[0].text, "Failed to open file") << "the missing wavfx5";
    frame.PlayEffectSound(0);
    ASSERT_EQ(device.queued.size(), 1u);
    const auto* played = reinterpret_cast<const int16_t*>(device.queued[0]->lpData);
    EXPECT_EQ(played[0], 7000) << "scaled by 100 - volume percent";
    EXPECT_EQ(device.opens, 1);
    frame.PlayEffectSound(1);
    ASSERT_EQ(alerts.Records().size(), 2u);
    EXPECT_EQ(alerts.Records()[1].text, "Failed to play sound - wavfx5");
  }
  EXPECT_EQ(device.opens, 0) << "the player was closed";
  EXPECT_EQ(device.prepared, 0) << "every block was taken back";
  EXPECT_FALSE(DefaultWavePlayer.IsOpen());
}

TEST_F(RoutineSoundsTest, AWaveThatFailsIsReportedOnceARunAndNotStartedAgain) {
  device.failOpen = true;  // no sound device
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    alerts.Clear();
    device.log.clear();
    {
      CRoutineFrame frame(&doc, "Test", ErrorText, 0, nullptr);
      frame.StartSounds(1, 0, kNames, 2);
      alerts.Clear();  // the missing wavfx5's load report
      for (int i = 0; i < 5; ++i) {
        frame.PlayEffectSound(0);
        frame.PlayEffectSound(1);
        frame.StopEffectSound(0);
      }
    }
    ASSERT_EQ(alerts.Records().size(), 2u) << "one report per wave, each run";
    EXPECT_EQ(alerts.Records()[0].text, "Failed to play sound - wavfx3");
    EXPECT_EQ(alerts.Records()[1].text, "Failed to play sound - wavfx5");
    long opens = 0;
    for (const std::string& call : device.log) opens += call == "open";
    EXPECT_EQ(opens, 2) << "only each wave's first start reached the device";
  }
}

TEST_F(RoutineSoundsTest, AStoppedWavePlaysAgainAndTheEndTakesEveryBlockBack) {
  {
    CRoutineFrame frame(&doc, "Test", ErrorText, 0, nullptr);
    frame.StartSounds(1, 0, kNames, 2);
    frame.PlayEffectSound(0);
    frame.StopEffectSound(0);
    EXPECT_NE(std::find(device.log.begin(), device.log.end(), "reset"), device.log.end())
        << "the device was told to stop";
    EXPECT_EQ(device.log.back(), "close") << "nothing else was playing";
    frame.StopEffectSound(0);  // not playing: nothing happens
    frame.StopEffectSound(7);  // no such sound
    EXPECT_EQ(device.prepared, 0) << "the stopped blocks were let go";
    frame.PlayEffectSound(0);
    EXPECT_EQ(device.prepared, 1) << "only the new play's block is held";
  }
  EXPECT_EQ(device.prepared, 0);
  EXPECT_EQ(device.opens, 0);
}

TEST_F(RoutineSoundsTest, WithTheSoundOffNothingIsLoadedOrPlayed) {
  doc.soundOn = 1;  // the last routine's value
  {
    CRoutineFrame frame(&doc, "Test", ErrorText, 0, nullptr);
    frame.StartSounds(0, 30, kNames, 2);
    EXPECT_EQ(doc.soundOn, 0);
    frame.PlayEffectSound(0);
    frame.PlayEffectSound(1);
  }
  EXPECT_TRUE(alerts.Records().empty());
  EXPECT_TRUE(device.log.empty());
}

}  // namespace
