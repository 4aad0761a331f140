// Sound under Wine with no sound device: wave-out cannot open, MCI opens but cannot play, and the
// music thread ends after its first failed play instead of cycling through the list.
#include <gtest/gtest.h>

#include <windows.h>

#include "sound/MCIObject.h"
#include "sound/Wave.h"
#include "sound/WavePlayer.h"
#include "tests/wine/sound/SoundFixture.h"

namespace {

class NoSoundDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::waveOutGetNumDevs() > 0) {
      GTEST_SKIP() << "this machine has a sound device: the behaviour without one cannot be seen";
    }
    tone = soundtest::WriteTone(folder, "tone.wav", 1000);
  }
  testsupport::TempFolder folder{"nosound"};
  std::string tone;
};

TEST_F(NoSoundDevice, AWaveCannotOpenTheDeviceAndLeavesNothingQueued) {
  CWave wave;
  ASSERT_TRUE(wave.Load(tone.c_str()));
  EXPECT_FALSE(wave.Play());
  EXPECT_EQ(wave.GetPlayCount(), 0);
  EXPECT_FALSE(DefaultWavePlayer.IsOpen());
  DefaultWavePlayer.Close();
  EXPECT_EQ(DefaultWavePlayer.GetSafeHwnd(), nullptr);
}

TEST_F(NoSoundDevice, AWaitingPlayFailsAndANotifiedPlayPostsFailure) {
  CMCIObject mci;
  ASSERT_TRUE(mci.Open(tone.c_str())) << "MCI opens a WAV even without a device";
  DWORD start = ::GetTickCount();
  EXPECT_FALSE(mci.PlayWait());
  DWORD waited = ::GetTickCount() - start;
  EXPECT_LT(waited, 1000u) << "the failed play returns without playing the second of sound";
  soundtest::NoticeWindow window;
  ASSERT_TRUE(mci.Seek(0));
  ASSERT_TRUE(mci.Play(window.hwnd())) << "the notified play is accepted";
  EXPECT_EQ(window.Wait(2000), static_cast<WPARAM>(MCI_NOTIFY_FAILURE));
  mci.Close();
  EXPECT_FALSE(mci.IsOpen());
  std::printf("no device: failed waiting play after %lu ms\n", static_cast<unsigned long>(waited));
}

TEST_F(NoSoundDevice, TheMusicThreadEndsAfterItsFirstFailedPlayAndStoresOnce) {
  soundtest::MusicRun run;
  run.SetSound(0, tone);
  run.SetSound(1, soundtest::WriteTone(folder, "other.wav", 1000));
  run.info.nSoundPlayOption = kPlayInOrder;
  ASSERT_TRUE(run.Start());
  ASSERT_TRUE(run.Join(5000)) << "the thread should end by itself";
  EXPECT_EQ(run.registry.Calls(seams::RegOp::Set), 1) << "LASTSOUNDNO written once";
  std::string last;
  ASSERT_TRUE(run.registry.Get(soundtest::kKey, kLastSoundNoValue, &last));
  EXPECT_EQ(last, "1");
  EXPECT_FALSE(MusicMCIObject.IsOpen()) << "the thread closes its device before it ends";
}

}  // namespace
