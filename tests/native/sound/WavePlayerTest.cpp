// The wave-out player over a fake device: what it queues, how it counts, what a failed step
// takes back, and when it lets the device go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/File.h"
#include "sound/Wave.h"
#include "sound/WaveOut.h"
#include "sound/WavePlayer.h"
#include "tests/native/sound/FakeWaveOut.h"
#include "tests/support/WaveWriter.h"

namespace {

using soundtest::FakeWaveOut;
using testsupport::Bytes;

class Observer : public CWaveObserver {
 public:
  void OnEndPlay(CWave* wave) override { ends.push_back(wave); }
  std::vector<CWave*> ends;
};

// A wave of `blocks` blocks of 100 bytes each, 8-bit mono at `rate`.
void MakeWave(CWave& wave, int blocks, uint32_t rate = 11025) {
  Bytes file = testsupport::RiffFile(
      "WAVE", {testsupport::FmtChunk(1, 1, rate, 8), testsupport::DataChunk(Bytes(100, 128))});
  CMemFile mem(file.data(), file.size());
  ASSERT_TRUE(wave.LoadFromFile(mem));
  for (int i = 1; i < blocks; ++i)
    wave.GetBlocks().AddTail(new CWaveBlock(new BYTE[100], 100, 100));
}

TEST(WavePlayer, QueuesEveryBlockAndClosesAfterTheLastComesBack) {
  FakeWaveOut device;
  CWavePlayer player;
  CWave wave;
  MakeWave(wave, 3);
  Observer observer;
  ASSERT_TRUE(wave.Play(&player, &observer));
  EXPECT_EQ(device.openRate, 11025u);
  EXPECT_EQ(device.queued.size(), 3u);
  EXPECT_EQ(wave.GetPlayCount(), 3);
  EXPECT_EQ(player.GetQueuedCount(), 3);
  EXPECT_EQ(wave.GetOutputDevice(), &player);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(player.IsOpen());
    EXPECT_TRUE(observer.ends.empty());
    player.BlockDone(&wave, device.queued[i]);
  }
  EXPECT_EQ(wave.GetPlayCount(), 0);
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(device.opens, 0);
  EXPECT_EQ(device.prepared, 0);
  ASSERT_EQ(observer.ends.size(), 1u);
  EXPECT_EQ(observer.ends[0], &wave);
}

TEST(WavePlayer, ASecondWaveGoesToTheDeviceAsTheFirstOpenedIt) {
  FakeWaveOut device;
  CWavePlayer player;
  CWave first, second;
  MakeWave(first, 1, 11025);
  MakeWave(second, 1, 22050);
  ASSERT_TRUE(first.Play(&player));
  ASSERT_TRUE(second.Play(&player));
  EXPECT_EQ(device.openRate, 11025u);
  EXPECT_EQ(device.log, (std::vector<std::string>{"open", "prepare", "write", "query 22050",
                                                  "prepare", "write"}));
  EXPECT_EQ(player.GetQueuedCount(), 2);
  player.Close();
}

TEST(WavePlayer, AFailedStepTakesItsBlockBackAndLeavesTheEarlierOnesQueued) {
  struct Case {
    const char* what;
    int failPrepareAt, failWriteAt;
    int playCount;  // blocks that stay queued
  } cases[] = {
      {"first prepare", 1, 0, 0},
      {"second write", 0, 2, 1},
      {"third prepare", 3, 0, 2},
  };
  for (const Case& c : cases) {
    FakeWaveOut device;
    device.failPrepareAt = c.failPrepareAt;
    device.failWriteAt = c.failWriteAt;
    CWavePlayer player;
    CWave wave;
    MakeWave(wave, 3);
    EXPECT_FALSE(wave.Play(&player)) << c.what;
    EXPECT_EQ(wave.GetPlayCount(), c.playCount) << c.what;
    EXPECT_EQ(player.GetQueuedCount(), c.playCount) << c.what;
    EXPECT_EQ(device.prepared, c.playCount) << c.what << ": every header taken back is unprepared";
    EXPECT_EQ(player.IsOpen(), c.playCount > 0) << c.what << ": nothing queued, device let go";
    player.Close();
    EXPECT_EQ(device.prepared, 0) << c.what;
  }
}

TEST(WavePlayer, AnAutoDeleteWaveHoldsAReferenceOnlyWhileItPlays) {
  FakeWaveOut device;
  CWavePlayer player;
  CWave* wave = new CWave(TRUE);
  MakeWave(*wave, 2);
  wave->AddRef();  // the caller's
  ASSERT_TRUE(wave->Play(&player));
  EXPECT_EQ(wave->GetRefCount(), 2);
  player.BlockDone(wave, device.queued[0]);
  player.BlockDone(wave, device.queued[1]);
  EXPECT_EQ(wave->GetRefCount(), 1);

  device.failPrepareAt = device.prepares + 1;
  EXPECT_FALSE(wave->Play(&player));
  EXPECT_EQ(wave->GetRefCount(), 1) << "a play that queued nothing keeps no reference";
  wave->Release();  // deletes it
}

TEST(WavePlayer, WithoutADeviceNothingPlays) {
  FakeWaveOut device;
  device.failOpen = true;
  CWavePlayer player;
  CWave wave, empty;
  MakeWave(wave, 1);
  EXPECT_FALSE(wave.Play(&player));
  EXPECT_EQ(wave.GetPlayCount(), 0);
  device.failOpen = false;
  EXPECT_FALSE(empty.Play(&player)) << "a wave without blocks";
  EXPECT_FALSE(player.IsOpen());
}

TEST(WavePlayer, StopResetsTheDeviceAndTheCallerEndsThePlay) {
  FakeWaveOut device;
  CWavePlayer player;
  CWave wave;
  Observer observer;
  MakeWave(wave, 2);
  ASSERT_TRUE(wave.Play(&player, &observer));
  wave.Stop();
  EXPECT_EQ(device.log.back(), "reset");
  // A thread without a message loop ends the play itself, as the display routines do.
  while (wave.GetPlayCount() > 0) wave.EndPlay();
  EXPECT_TRUE(observer.ends.empty()) << "Stop forgets the observer";
  player.Close();
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(device.prepared, 0) << "Close frees the headers still queued";
  EXPECT_EQ(device.opens, 0);
}

TEST(WavePlayer, AWaveDeletedWhilePlayingTakesItsHeadersBack) {
  FakeWaveOut device;
  CWavePlayer player;
  CWave other;
  MakeWave(other, 1);
  {
    CWave wave;
    MakeWave(wave, 2);
    ASSERT_TRUE(wave.Play(&player));
    ASSERT_TRUE(other.Play(&player));
    EXPECT_EQ(player.GetQueuedCount(), 3);
  }
  EXPECT_EQ(player.GetQueuedCount(), 1) << "the other wave's block plays on";
  EXPECT_EQ(device.prepared, 1);
  EXPECT_TRUE(player.IsOpen());
  player.BlockDone(&other, device.queued[2]);
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(other.GetPlayCount(), 0);
}

#ifndef _WIN32
TEST(WavePlayer, NativelyThereIsNoDevice) {
  CWave wave;
  MakeWave(wave, 1);
  EXPECT_FALSE(wave.Play());
  EXPECT_EQ(wave.GetOutputDevice(), &DefaultWavePlayer);
  EXPECT_FALSE(DefaultWavePlayer.IsOpen());
}
#endif

}  // namespace
