// The module with music on: the music thread plays the sound list on a PulseAudio null sink
// while the saver runs, and a key still ends the process, the music thread
// stopping by itself (an MCI device answers only the thread that opened it, so killing that
// thread would leave the device open for good).
#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"
#include "tests/wine/saverrun/SaverRunFixture.h"

namespace {

using namespace saverrun;

TEST(SaverRunMusic, PlaysWhileTheSaverRunsAndStopsWithIt) {
  const char* pulse = std::getenv("SAVER_TEST_PULSE");
  if (!pulse || pulse[0] != '1') {
    GTEST_SKIP() << "no PulseAudio null sink for this run: "
                 << (pulse && pulse[0] && pulse[1] ? pulse + 2 : "SAVER_TEST_SOUND=pulse not set");
  }
  testsupport::TempFolder folder("music");
  std::string tones[2];
  for (int i = 0; i < 2; ++i) {
    tones[i] = (folder / (i ? "two.wav" : "one.wav")).string();
    ASSERT_TRUE(testsupport::WriteBytes(tones[i], testsupport::ToneWave(5000)));
  }
  InstallDemoSettings({{"TRACEON", "1"},
                       {"SSFN", "7"},
                       {"TIME", "1"},
                       {"SOUND_ON", "1"},
                       {"SOUND_PLAYOPTION", "0"},
                       {"SOUND_SOUND0", tones[0].c_str()},
                       {"SOUND_SOUND1", tones[1].c_str()},
                       {"LASTSOUNDNO", "0"}});
  GatedRun run({0, 2000});
  ASSERT_TRUE(run.Reach(0));
  run.Release(0);
  ASSERT_TRUE(run.Reach(1));
  // The music thread runs in real time between its reads of the clock; give it a moment to
  // open its device and start.
  PumpUntil([] { return ReadTrace().find("start PlaySync") != std::string::npos; }, 60000);
  const std::string playing = ReadTrace();
  EXPECT_NE(playing.find("MUSIC HANDLER THREAD NOW RUNNING"), std::string::npos);
  EXPECT_NE(playing.find("Music Handler - File/Device opened, start PlaySync"), std::string::npos);
  EXPECT_EQ(playing.find("Music Handler - Error"), std::string::npos);

  std::optional<DWORD> exitCode;
  EXPECT_LT(run.EndWithKey(&exitCode), kExitHangMs);
  EXPECT_EQ(exitCode, std::optional<DWORD>(0));
  const std::string trace = ReadTrace();
  EXPECT_EQ(trace.find("killed"), std::string::npos) << "the music thread stopped by itself";
  EXPECT_NE(trace.find("ScreenSaverProc - WM_DESTROY - end"), std::string::npos);
  EXPECT_EQ(GetValue("LASTSOUNDNO"), "1") << "the entry played last is stored";
}

}  // namespace
