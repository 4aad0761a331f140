// The music thread with allocations refused after the n-th, for every n up to a run that needs
// no refusal: nothing leaves it as an exception, the error is recorded in its record, and its
// player is closed on its own thread before it returns.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "saver/MusicThread.h"
#include "seams/Clock.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "tests/support/FailingAllocation.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";

// Each play ends at once; the stop comes after the third; closes are counted.
class CountingPlayer : public MusicPlayer {
 public:
  BOOL Open(const char*) override { return TRUE; }
  BOOL StartPlay() override {
    if (++plays >= 3) seams::RequestStop();
    return TRUE;
  }
  Wait WaitForEnd(uint32_t) override { return Wait::Ended; }
  void Stop() override {}
  void Close() override { ++closes; }
  int plays = 0, closes = 0;
};

// Raises the stop on the first wait: a thread that waits for the stop after a failure returns.
class StoppingClock : public seams::TestClock {
 public:
  void IdleUntil(uint32_t) override { seams::RequestStop(); }
  void Idle() override { seams::RequestStop(); }
};

TEST(MusicThreadOutOfMemory, NothingLeavesTheThreadAndTheDeviceIsClosed) {
  ClearSettingBuffers();
  seams::MemoryRegistry registry;
  seams::ScopedRegistry useRegistry{&registry};
  StoppingClock clock;
  seams::ScopedClock useClock{&clock};
  testsupport::TempFolder folder{"musicoom"};
  for (int i : {0, 2, 5}) {
    const std::string path = (folder / ("s" + std::to_string(i) + ".wav").c_str()).string();
    ASSERT_TRUE(testsupport::WriteBytes(path, testsupport::ToneWave(10)));
    std::snprintf(IniSettings.SOUND_SOUND[i], kTextBufferSize, "%s", path.c_str());
  }
  long n = 0;
  for (;; ++n) {
    SCOPED_TRACE(::testing::Message() << "refused after " << n);
    registry.Put(kKey, kLastSoundNoValue, "0");
    SaverInfo info;
    info.nSoundPlayOption = kPlayRandom;
    CountingPlayer player;
    seams::ClearStop();
    bool refused = false;
    {
      alloctest::RefuseAllocationsAfter refuse(n);
      RunMusicThread(info, kKey, player);
      refused = refuse.Refused();
    }
    EXPECT_EQ(player.closes, 1) << "the player is closed once, by the thread itself";
    if (!refused) {
      EXPECT_EQ(info.nRunTimeError, 0);
      EXPECT_EQ(player.plays, 3);
      break;
    }
    // A refusal the thread handles as a failed step (no sound to play) ends it without an error;
    // one that escaped its steps is recorded.
    EXPECT_TRUE(info.nRunTimeError == 0 || info.nRunTimeError == kMusicThreadOutOfMemory);
    ASSERT_LT(n, 100000);
  }
  EXPECT_GT(n, 0);
  seams::ClearStop();
  ClearSettingBuffers();
}

}  // namespace
