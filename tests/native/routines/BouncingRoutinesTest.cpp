// The rolling cylinder, the colliding solids and the bouncing balls on a headless screen and on
// a screen document, in virtual time with the generator seeded from the clock: every way out (a
// normal end, an endless run past its time, a stop after some frames, a missing logo) leaves the
// screen composed from its background with nothing on it, the clock gone and the sounds let go;
// the solids and balls leave the picture behind them as it was, the cylinder prints onto it;
// the sounds follow their table, and a sound that cannot play is reported once.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "imaging/AnimDoc.h"
#include "imaging/DIBSurface.h"
#include "routines/BlocksWorld.h"
#include "routines/BouncingBalls.h"
#include "routines/RoutineFrame.h"
#include "routines/WipeOut.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "settings/IniSettings.h"
#include "sound/WavePlayer.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/BouncingFixture.h"
#include "tests/native/routines/EffectSoundFolder.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/native/sound/FakeWaveOut.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace {

using namespace bouncetest;

using RoutineFn = int (*)(ScreenHost*, const RECT*, int, int, int, int, int, int, int, int, int,
                          int, CString*);

struct Routine {
  const char* name;
  RoutineFn run;
  bool keepsPicture;  // the picture behind is left as it was
};

const Routine kRoutines[] = {
    {"Wipe Out", RunWipeOut, false},
    {"Blocks' World", RunBlocksWorld, true},
    {"Bouncing Balls", RunBouncingBalls, true},
};

constexpr int kW = 480;
constexpr int kH = 360;

// How a test runs a routine; the rest of the arguments are off.
struct RunArgs {
  int infinite = 0;
  int clockOn = 0;
  int soundOn = 0;
  int speed = 60;
  int res = 60;
  int logoOn = 0;
  int runSeconds = 3;
};

class BouncingRoutinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    host.Reset(NewHuePicture(kW, kH));
    picture.reset(NewHuePicture(kW, kH));
  }
  void TearDown() override { seams::ClearStop(); }

  int Run(const Routine& r, const RunArgs& a, ScreenHost* screen = nullptr) {
    error.Empty();
    return r.run(screen ? screen : &host, &area, a.infinite, a.clockOn, a.soundOn, a.speed, a.res,
                 0, 0, a.logoOn, a.runSeconds, 0, &error);
  }

  // The surface is the background (no sprite is left), and the window shows the surface.
  void ExpectScreenAtRest() {
    EXPECT_EQ(host.GetSprites()->GetCount(), 0);
    long surfaceOff = 0, windowOff = 0;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        surfaceOff += host.SurfaceRow(y)[x] != host.BackgroundRow(y)[x];
        windowOff += host.WindowRow(y)[x] != host.SurfaceRow(y)[x];
      }
    }
    EXPECT_EQ(surfaceOff, 0) << "pixels where the surface is not the background";
    EXPECT_EQ(windowOff, 0) << "pixels where the window is not the surface";
  }

  long PictureChanges() { return routinetest::DifferentPixels(*host.GetBackground(), *picture); }

  scenetest::WindowedHost host{kW, kH};
  std::unique_ptr<CDIB> picture;
  RECT area = {0, 0, kW, kH};
  CString error;
  NapClock clock{820454400};
  seams::ScopedClock scoped{&clock};
};

TEST_F(BouncingRoutinesTest, ANormalRunDrawsAndEndsWithTheScreenAtRest) {
  for (const Routine& r : kRoutines) {
    SCOPED_TRACE(r.name);
    host.Reset(NewHuePicture(kW, kH));
    const size_t shownBefore = host.GetShownRects().size();
    // Between two frames the window shows what the surface holds.
    long samples = 0, windowOff = 0;
    clock.onNap = [&] {
      if (clock.naps % 37 != 0) return;
      ++samples;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) windowOff += host.WindowRow(y)[x] != host.SurfaceRow(y)[x];
    };
    RunArgs a;
    a.runSeconds = 6;
    ASSERT_EQ(Run(r, a), 1);
    EXPECT_STREQ(error, "");
    clock.onNap = nullptr;
    EXPECT_GT(host.GetShownRects().size(), shownBefore + 100) << "it drew frames";
    EXPECT_GT(samples, 5);
    EXPECT_EQ(windowOff, 0) << "pixels where the window lagged behind the surface";
    ExpectScreenAtRest();
    if (r.keepsPicture) {
      EXPECT_EQ(PictureChanges(), 0) << "the picture behind is left as it was";
    } else {
      EXPECT_GT(PictureChanges(), 0) << "the cylinder printed its faces onto the picture";
    }
  }
}

TEST_F(BouncingRoutinesTest, AnEndlessRunEndsOnceItsTimeIsUp) {
  for (const Routine& r : kRoutines) {
    SCOPED_TRACE(r.name);
    host.Reset(NewHuePicture(kW, kH));
    clock.stopAfterNaps = clock.naps + 200000;  // a run that never ends is stopped, and fails
    const uint32_t start = clock.Peek();
    RunArgs a;
    a.infinite = 1;
    a.runSeconds = 2;
    ASSERT_EQ(Run(r, a), 1);
    EXPECT_FALSE(seams::StopRequested()) << "the run ended by its time, not by the stop";
    const uint32_t took = clock.Peek() - start;
    EXPECT_GT(took, 2000u);
    EXPECT_LT(took, 60000u) << "it ended soon after its two seconds";
    ExpectScreenAtRest();
    clock.stopAfterNaps = 0;
  }
}

TEST_F(BouncingRoutinesTest, AStopAfterSomeFramesEndsAtOnceWithEverythingReleased) {
  for (const Routine& r : kRoutines) {
    for (const long frames : {1L, 40L, 400L}) {
      SCOPED_TRACE(testing::Message() << r.name << " stopped after " << frames << " naps");
      seams::ClearStop();
      host.Reset(NewHuePicture(kW, kH));
      clock.stopAfterNaps = clock.naps + frames;
      long napsAfterStop = -1;
      clock.onNap = [&] {
        if (seams::StopRequested()) ++napsAfterStop;
      };
      RunArgs a;
      a.runSeconds = 0;
      a.infinite = 1;
      ASSERT_EQ(Run(r, a), 1);
      EXPECT_STREQ(error, "");
      EXPECT_LE(napsAfterStop, 1) << "no further flights after the stop";
      ExpectScreenAtRest();
      if (r.keepsPicture) {
        EXPECT_EQ(PictureChanges(), 0);
      }
    }
  }
  clock.stopAfterNaps = 0;
}

// A run with no time limit that is not endless takes exactly one pass of the routine's steps.
// Counted on a screen of a few pixels at the slowest speed: the steps are the same whatever the
// screen and the pace, and the frames fewest.
long stepsCounted = 0;
void CountStep() { ++stepsCounted; }

TEST_F(BouncingRoutinesTest, ARunWithoutTimeOrEndlessnessTakesOnePassOfSteps) {
  constexpr int kTinyW = 16, kTinyH = 12, kSlowest = 1;
  const struct {
    const Routine& routine;
    long steps;
  } cases[] = {{kRoutines[0], 1000}, {kRoutines[1], 10000}, {kRoutines[2], 1000}};
  struct HookInstalled {
    CRoutineFrame::StepHook previous = CRoutineFrame::SetStepHook(CountStep);
    ~HookInstalled() { CRoutineFrame::SetStepHook(previous); }
  } installed;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.routine.name);
    scenetest::WindowedHost tiny(kTinyW, kTinyH);
    tiny.Reset(NewHuePicture(kTinyW, kTinyH));
    const RECT tinyArea = {0, 0, kTinyW, kTinyH};
    stepsCounted = 0;
    clock.stopAfterNaps = clock.naps + 1000000;  // only a hang reaches it (ten times the naps)
    ASSERT_EQ(c.routine.run(&tiny, &tinyArea, 0, 0, 0, kSlowest, 60, 0, 0, 0, 0, 0, &error), 1);
    EXPECT_FALSE(seams::StopRequested()) << "the run ended by itself";
    EXPECT_EQ(stepsCounted, c.steps);
    clock.stopAfterNaps = 0;
    seams::ClearStop();
  }
}

// On a screen document: the clock shows while the routine runs and is gone with it.
class BouncingRoutinesDocTest : public routinetest::ScreenDocFixture {
 protected:
  void SetUp() override {
    ScreenDocFixture::SetUp();
    seams::ClearStop();
  }
  void TearDown() override {
    seams::ClearStop();
    ScreenDocFixture::TearDown();
  }
  NapClock clock{routinetest::LocalSeconds(10, 0, 0)};
  seams::ScopedClock scoped{&clock};
  seams::ScopedAlertRecorder alerts;  // the sounds' files are missing here: reported, not shown
  RECT area = {0, 0, kWidth, kHeight};
  CString error;
};

TEST_F(BouncingRoutinesDocTest, TheClockRunsWithTheRoutineAndGoesWithIt) {
  for (const Routine& r : kRoutines) {
    SCOPED_TRACE(r.name);
    bool clockSeen = false;
    clock.onNap = [&] { clockSeen = clockSeen || doc.clockOn; };
    ASSERT_EQ(r.run(&doc, &area, 0, 1, 0, 50, 50, 0, 0, 0, 2, 0, &error), 1);
    EXPECT_TRUE(clockSeen);
    EXPECT_EQ(doc.clockOn, 0);
    EXPECT_EQ(doc.clock, nullptr);
    EXPECT_EQ(doc.sprites.GetCount(), 0);
    ExpectSurfaceComposed();
  }
}

TEST_F(BouncingRoutinesDocTest, LogosOnWithNonePresent) {
  // A missing logo ends no routine: the cylinder carries the picture, the solids keep the logo
  // faces lit grey, and the trace says so; the balls wear no logo.
  const struct {
    RoutineFn run;
    const char* why;
  } cases[] = {
      {RunWipeOut,
       "No logo of aspect ratio 3.77 in the image set: the cylinder carries the picture"},
      {RunBlocksWorld, "No logo of aspect ratio 1.00 in the image set: the cubes' logo faces"},
      {RunBouncingBalls, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why ? c.why : "balls");
    for (const int clockOn : {0, 1}) {
      error.Empty();
      const std::string trace = routinetest::TraceOf(
          [&] { EXPECT_EQ(c.run(&doc, &area, 0, clockOn, 0, 50, 50, 0, 0, 1, 1, 0, &error), 1); });
      EXPECT_STREQ(error, "");
      if (c.why) {
        EXPECT_NE(trace.find(c.why), std::string::npos) << trace;
      }
      EXPECT_EQ(doc.clockOn, 0);
      EXPECT_EQ(doc.sprites.GetCount(), 0);
      ExpectSurfaceComposed();
    }
  }
}

TEST_F(BouncingRoutinesDocTest, TraceLinesAndErrorTextsCarryEachRoutinesName) {
  const struct {
    RoutineFn run;
    RoutineErrorTextFn errorText;
    const char* trace;
    const char* prefix;
    const char* unknown;
    int lastCode;
  } cases[] = {
      {RunWipeOut, GetWipeOutErrorText, "Wipe Out", "Wipe Out Error Message: ", "Unknown error", 2},
      {RunBlocksWorld, GetBlocksWorldErrorText, "Blocks' World:Collisions",
       "Blocks' World Error Message: ", "Unknown error", 2},
      {RunBouncingBalls, GetBouncingBallsErrorText, "Richochet - Bouncing Balls",
       "Bouncing Balls Error Message: ", "Unrecognized error", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trace);
    const std::string trace = routinetest::TraceOf(
        [&] { EXPECT_EQ(c.run(&doc, &area, 0, 1, 1, 40, 60, 30, 0, 0, 1, 1, &error), 1); });
    const std::string name = c.trace;
    EXPECT_EQ(
        trace.rfind(name + " - start - \n"
                           "bInfiniteOn=0,bClockOn=1,bSoundOn=1,Speed=40,Res=60,Volume=30,bSpare=0,"
                           "bLogoOn=0,RunSeconds=1\n",
                    0),
        0u)
        << trace;
    EXPECT_EQ(trace.substr(trace.size() - name.size() - 11), name + " - end - \n\n");
    CString text;
    c.errorText(1, &text);
    EXPECT_EQ(std::string(text), std::string(c.prefix) + "System has run out of memory");
    c.errorText(c.lastCode + 1, &text);
    EXPECT_EQ(std::string(text), std::string(c.prefix) + c.unknown);
  }
}

TEST(WipeOutSounds, TheSoundOfEachStateFollowsTheTable) {
  const int k = 100;
  const struct {
    int state;
    const char* sound;
  } cases[] = {
      {0, "wavfx5"},  {1, "wavfx7"},  {95, "wavfx7"},  {96, "wavfx8"},  {97, "wavfx8"},
      {98, "wavfx5"}, {99, "wavfx8"}, {100, "wavfx8"}, {101, "wavfx7"}, {150, "wavfx7"},
  };
  for (const auto& c : cases) EXPECT_STREQ(WipeOutSoundName(c.state, k), c.sound) << c.state;
}

// Effect sounds in a data folder, each a wave whose samples tell which it is.
class BouncingSoundsTest : public BouncingRoutinesTest {
 protected:
  void SetUp() override {
    BouncingRoutinesTest::SetUp();
    for (const int n : {4, 5, 7, 8})
      ASSERT_TRUE(sounds.Write("wavfx" + std::to_string(n), static_cast<int16_t>(n * 1000), 32));
  }

  // The device, which notes the name of every wave written to it (from its samples).
  class NamingWaveOut : public soundtest::FakeWaveOut {
   public:
    MMRESULT Write(HWAVEOUT handle, WAVEHDR* header) override {
      const int sample = reinterpret_cast<const int16_t*>(header->lpData)[0];
      played.push_back("wavfx" + std::to_string(sample / 1000));
      return FakeWaveOut::Write(handle, header);
    }
    std::vector<std::string> played;
  };

  routinetest::EffectSoundFolder sounds{"bouncefx"};
  NamingWaveOut device;
  seams::ScopedAlertRecorder alerts;
};

TEST_F(BouncingSoundsTest, EachRoutinePlaysItsOwnSoundsAndLetsThemGo) {
  // Four seconds of rolling do not reach the cylinder's last states, where wavfx5 sounds (the
  // table of states is WipeOutSounds').
  const struct {
    const Routine& routine;
    std::set<std::string> played;
  } cases[] = {
      {kRoutines[0], {"wavfx7", "wavfx8"}},
      {kRoutines[1], {"wavfx4", "wavfx7"}},  // wavfx8 is loaded, never played
      {kRoutines[2], {}},                    // silent
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.routine.name);
    device.played.clear();
    RunArgs a;
    a.soundOn = 1;
    a.runSeconds = 4;
    ASSERT_EQ(Run(c.routine, a), 1);
    const std::vector<std::string> played = device.played;
    EXPECT_EQ(std::set<std::string>(played.begin(), played.end()), c.played);
    EXPECT_TRUE(alerts.Records().empty());
    EXPECT_EQ(device.opens, 0) << "the player was closed";
    EXPECT_EQ(device.prepared, 0) << "every block was taken back";
    if (c.routine.run == RunWipeOut) {
      EXPECT_EQ(played.front(), "wavfx8") << "the rehearsal's rolls";
    }
  }
}

TEST_F(BouncingSoundsTest, ASoundThatCannotPlayIsReportedOnceAndNotPlayedAgain) {
  device.failOpen = true;  // no sound device: every start fails
  const struct {
    const Routine& routine;
    std::set<std::string> reported;
  } cases[] = {
      {kRoutines[0], {"wavfx7", "wavfx8"}},
      {kRoutines[1], {"wavfx4", "wavfx7"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.routine.name);
    alerts.Clear();
    device.log.clear();
    RunArgs a;
    a.soundOn = 1;
    a.runSeconds = 4;
    ASSERT_EQ(Run(c.routine, a), 1);
    std::vector<std::string> texts;
    for (const auto& record : alerts.Records()) texts.push_back(record.text);
    std::set<std::string> expected;
    for (const std::string& name : c.reported) expected.insert("Failed to play sound - " + name);
    EXPECT_EQ(texts.size(), c.reported.size()) << "one report per wave";
    EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()), expected);
    long opens = 0;
    for (const std::string& call : device.log) opens += call == "open";
    EXPECT_EQ(opens, static_cast<long>(c.reported.size())) << "a failed wave is not tried again";
  }
}

}  // namespace
