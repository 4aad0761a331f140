// Sound under Wine on a PulseAudio null sink, where it plays in real time: MCI notices at the
// end of a play and after a stop, the music thread's stop, and a wave on the default player.
// Only the real clock shows a device playing, so a sound's length is a lower bound; every upper
// bound only catches a hang (ten times the expected time), whatever else runs on the machine.
// The latencies themselves are printed as figures; nothing asserts them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "sound/MCIObject.h"
#include "sound/Wave.h"
#include "sound/WavePlayer.h"
#include "tests/wine/sound/SoundFixture.h"

namespace {

constexpr DWORD kHangFactor = 10;

class PulseSink : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* pulse = std::getenv("SAVER_TEST_PULSE");
    if (!pulse || pulse[0] != '1') {
      const char* why = pulse && pulse[0] && pulse[1]
                            ? pulse + 2
                            : "run through scripts/wine-run.sh with SAVER_TEST_SOUND=pulse";
      GTEST_SKIP() << "no PulseAudio null sink for this run: " << why;
    }
    ASSERT_GT(::waveOutGetNumDevs(), 0u) << "the null sink is up but Wine sees no device";
  }
  testsupport::TempFolder folder{"pulse"};
};

TEST_F(PulseSink, ATwoSecondWaveEndsWithSuccessfulAfterAboutTwoSeconds) {
  std::string tone = soundtest::WriteTone(folder, "two.wav", 2000);
  soundtest::NoticeWindow window;
  CMCIObject mci;
  DWORD start = ::GetTickCount();
  ASSERT_TRUE(mci.Open(tone.c_str()));
  EXPECT_EQ(mci.GetLength(), 2000u);
  ASSERT_TRUE(mci.Play(window.hwnd()));
  // The position leaves 0 once the device really plays.
  DWORD sounding = 0;
  while (mci.GetPosition() == 0 && ::GetTickCount() - start < 2000) ::Sleep(1);
  sounding = ::GetTickCount() - start;
  EXPECT_EQ(window.Wait(kHangFactor * 2000), static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  DWORD total = ::GetTickCount() - start;
  EXPECT_GE(total, 1800u) << "the sink plays in real time";
  EXPECT_LT(total, kHangFactor * 2000);
  EXPECT_FALSE(mci.IsPlaying());
  std::printf("MCI open-to-sound latency: %lu ms; 2 s play ended after %lu ms\n",
              static_cast<unsigned long>(sounding), static_cast<unsigned long>(total));
}

TEST_F(PulseSink, AStopGivesAborted) {
  std::string tone = soundtest::WriteTone(folder, "two.wav", 2000);
  soundtest::NoticeWindow window;
  CMCIObject mci;
  ASSERT_TRUE(mci.Open(tone.c_str()));
  ASSERT_TRUE(mci.Play(window.hwnd()));
  EXPECT_EQ(window.Wait(300), 0u) << "still playing";
  EXPECT_TRUE(mci.IsPlaying());
  DWORD start = ::GetTickCount();
  mci.Stop();
  DWORD stopped = ::GetTickCount() - start;
  EXPECT_EQ(window.Wait(kHangFactor * 1000), static_cast<WPARAM>(MCI_NOTIFY_ABORTED));
  EXPECT_LT(mci.GetPosition(), 2000u) << "stopped before its end";
  std::printf("MCI stop of a playing WAV took %lu ms\n", static_cast<unsigned long>(stopped));
}

TEST_F(PulseSink, TheMusicThreadJoinsSoonAfterAStopRequest) {
  for (int round = 0; round < 3; ++round) {
    soundtest::MusicRun run;
    run.registry.Put(soundtest::kKey, kLastSoundNoValue, "2");
    // Ten seconds each: a thread that played on instead of stopping would take seconds more.
    run.SetSound(2, soundtest::WriteTone(folder, "a.wav", 10000));
    run.SetSound(5, soundtest::WriteTone(folder, "b.wav", 10000));
    ASSERT_TRUE(run.Start());
    EXPECT_FALSE(run.Join(700 + 200 * round)) << "the thread plays on until it is asked to stop";
    DWORD asked = ::GetTickCount();
    seams::RequestStop();
    EXPECT_TRUE(run.Join(kHangFactor * 1000)) << "a stop ends the music wait at once";
    DWORD joined = ::GetTickCount() - asked;
    EXPECT_FALSE(MusicMCIObject.IsOpen()) << "the thread stopped and closed its own device";
    EXPECT_EQ(run.registry.Calls(seams::RegOp::Set), 1);
    std::printf("music thread stop-to-join: %lu ms\n", static_cast<unsigned long>(joined));
  }
}

TEST_F(PulseSink, AWaveOnTheDefaultPlayerEndsAndThePlayerLetsGo) {
  CWave wave;
  ASSERT_TRUE(wave.Load(soundtest::WriteTone(folder, "short.wav", 300).c_str()));
  DWORD start = ::GetTickCount();
  ASSERT_TRUE(wave.Play());
  EXPECT_TRUE(DefaultWavePlayer.IsOpen());
  EXPECT_NE(DefaultWavePlayer.GetSafeHwnd(), nullptr);
  while (wave.GetPlayCount() > 0 && ::GetTickCount() - start < kHangFactor * 300) {
    soundtest::PumpFor(20);
  }
  DWORD played = ::GetTickCount() - start;
  EXPECT_EQ(wave.GetPlayCount(), 0);
  EXPECT_GE(played, 250u) << "the null sink plays in real time";
  EXPECT_FALSE(DefaultWavePlayer.IsOpen());
  EXPECT_EQ(DefaultWavePlayer.GetSafeHwnd(), nullptr);
}

}  // namespace
