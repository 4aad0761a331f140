// The music thread's play-list order and loop over a stub player: which entries it plays, what
// it stores as "LASTSOUNDNO", and when it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "saver/MusicThread.h"
#include "seams/Clock.h"
#include "seams/Random.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";

// Plays every file at once to its end; records what it was asked, and what "LASTSOUNDNO" held
// when each play started. Raises the stop request after `stopAfter` plays.
class StubPlayer : public MusicPlayer {
 public:
  explicit StubPlayer(seams::MemoryRegistry& registry) : registry_(registry) {}

  BOOL Open(const char* name) override {
    log.push_back(std::string("open ") + name);
    return failOpen ? FALSE : TRUE;
  }
  BOOL StartPlay() override {
    std::string last = "<none>";
    registry_.Get(kKey, kLastSoundNoValue, &last);
    stored.push_back(last);
    log.push_back("play");
    ++plays;
    if (plays >= stopAfter) seams::RequestStop();
    return failStart ? FALSE : TRUE;
  }
  Wait WaitForEnd(uint32_t) override {
    ++waits;
    if (waits <= pendingWaits) return Wait::Playing;
    return endWith;
  }
  void Stop() override { log.push_back("stop"); }
  void Close() override { log.push_back("close"); }

  // The entries played, from the file names "s<n>.wav".
  std::vector<int> Played() const {
    std::vector<int> entries;
    int current = -1;
    for (const std::string& line : log) {
      if (line.rfind("open ", 0) == 0) current = line[line.size() - 5] - '0';
      if (line == "play") entries.push_back(current);
    }
    return entries;
  }
  int Opens() const {
    return static_cast<int>(std::count_if(
        log.begin(), log.end(), [](const std::string& l) { return l.rfind("open ", 0) == 0; }));
  }

  std::vector<std::string> log;
  std::vector<std::string> stored;
  int plays = 0, waits = 0;
  int stopAfter = 1000000;
  int pendingWaits = 0;
  bool failOpen = false, failStart = false;
  Wait endWith = Wait::Ended;

 private:
  seams::MemoryRegistry& registry_;
};

class MusicThreadTest : public ::testing::Test {
 public:
  void SetUp() override {
    seams::ClearStop();
    ClearSettingBuffers();
    registry.Put(kKey, kLastSoundNoValue, "0");
  }
  void TearDown() override {
    seams::ClearStop();
    ClearSettingBuffers();
  }
  // Entry i of the play list names an existing file "s<i>.wav".
  void AddSound(int i) {
    std::string path = (folder / ("s" + std::to_string(i) + ".wav").c_str()).string();
    ASSERT_TRUE(testsupport::WriteBytes(path, testsupport::ToneWave(10)));
    std::snprintf(IniSettings.SOUND_SOUND[i], kTextBufferSize, "%s", path.c_str());
  }
  void Run(StubPlayer& player) { RunMusicThread(info, kKey, player); }
  int LastSoundWrites() const { return registry.Calls(seams::RegOp::Set); }

  testsupport::TempFolder folder{"music"};
  seams::MemoryRegistry registry;
  seams::ScopedRegistry useRegistry{&registry};
  SaverInfo info;
};

TEST_F(MusicThreadTest, InOrderContinuesAfterTheLastEntryAndStoresEach) {
  for (int i : {1, 4, 7}) AddSound(i);
  registry.Put(kKey, kLastSoundNoValue, "4");
  info.nSoundPlayOption = kPlayInOrder;
  StubPlayer player(registry);
  player.stopAfter = 4;
  Run(player);
  EXPECT_EQ(player.Played(), (std::vector<int>{7, 1, 4, 7}));
  EXPECT_EQ(player.stored, (std::vector<std::string>{"7", "1", "4", "7"}));
  EXPECT_EQ(player.Opens(), 4) << "each change of entry opens the next file";
  EXPECT_EQ(player.log.back(), "close");
}

TEST_F(MusicThreadTest, RandomOrderNeverRepeatsAnEntry) {
  int table[kSoundListSize] = {-1, 1, -1, 3, 4, -1, -1, -1, 8, -1};
  seams::Srand(12345);
  CString error;
  int last = 3;
  std::set<int> seen;
  for (int pick = 0; pick < 1000; ++pick) {
    int next = GetNextSoundNo(last, table, kPlayRandom, error, kKey);
    ASSERT_NE(next, last) << "pick " << pick;
    ASSERT_EQ(table[next], next) << "pick " << pick << " gave an invalid entry";
    seen.insert(next);
    last = next;
  }
  EXPECT_EQ(seen, (std::set<int>{1, 3, 4, 8}));
  std::string stored;
  ASSERT_TRUE(registry.Get(kKey, kLastSoundNoValue, &stored));
  EXPECT_EQ(stored, std::to_string(last));
  // Any option other than 0 and 2 is random order too.
  EXPECT_NE(GetNextSoundNo(last, table, 7, error, kKey), last);
}

TEST_F(MusicThreadTest, OneValidEntryReplaysWithoutReopeningOrStoring) {
  AddSound(5);
  registry.Put(kKey, kLastSoundNoValue, "5");
  for (int option : {kPlayInOrder, kPlayRandom}) {
    info.nSoundPlayOption = option;
    StubPlayer player(registry);
    player.stopAfter = 3;
    seams::ClearStop();
    Run(player);
    EXPECT_EQ(player.Played(), (std::vector<int>{5, 5, 5})) << "option " << option;
    EXPECT_EQ(player.Opens(), 1) << "option " << option;
  }
  EXPECT_EQ(LastSoundWrites(), 0);
}

TEST_F(MusicThreadTest, LoopOptionPlaysItsEntryForeverAndStoresNothing) {
  for (int i : {1, 3, 6}) AddSound(i);
  info.nSoundPlayOption = kPlayLoopFile;
  info.nSoundLoopFile = 3;
  StubPlayer player(registry);
  player.stopAfter = 50;
  Run(player);
  EXPECT_EQ(player.Played(), std::vector<int>(50, 3));
  EXPECT_EQ(player.Opens(), 1);
  EXPECT_EQ(LastSoundWrites(), 0);
}

TEST_F(MusicThreadTest, ALoopEntryThatNamesNoValidFileEndsTheThread) {
  AddSound(3);
  info.nSoundPlayOption = kPlayLoopFile;
  for (int loop : {10, 11, -1, 4 /* empty */, 1000}) {
    info.nSoundLoopFile = loop;
    StubPlayer player(registry);
    Run(player);
    EXPECT_EQ(player.log, std::vector<std::string>{"close"}) << "loop entry " << loop;
  }
  EXPECT_EQ(LastSoundWrites(), 0);
}

TEST_F(MusicThreadTest, AFailedPlayEndsTheThreadAfterOneStore) {
  for (int i : {0, 2}) AddSound(i);
  info.nSoundPlayOption = kPlayInOrder;
  struct Case {
    const char* what;
    bool failStart;
    MusicPlayer::Wait end;
  } cases[] = {{"refused at once", true, MusicPlayer::Wait::Ended},
               {"failure notice", false, MusicPlayer::Wait::Failed}};
  for (const Case& c : cases) {
    seams::MemoryRegistry fresh;
    seams::ScopedRegistry use(&fresh);
    fresh.Put(kKey, kLastSoundNoValue, "0");
    StubPlayer player(fresh);
    player.failStart = c.failStart;
    player.endWith = c.end;
    player.stopAfter = 5;  // a thread that played on would be stopped here, not hang the test
    Run(player);
    EXPECT_EQ(player.Played(), std::vector<int>{2}) << c.what;
    EXPECT_EQ(fresh.Calls(seams::RegOp::Set), 1) << c.what;
    EXPECT_EQ(player.log.back(), "close") << c.what;
  }
}

TEST_F(MusicThreadTest, AStopRequestDuringAPlayStopsAndClosesTheDevice) {
  AddSound(0);
  AddSound(1);
  StubPlayer player(registry);
  player.stopAfter = 1;
  player.pendingWaits = 1000000;  // the play never ends by itself
  Run(player);
  EXPECT_EQ(player.Played(), std::vector<int>{1});
  EXPECT_EQ(player.log, (std::vector<std::string>{"open " + std::string(IniSettings.SOUND_SOUND[1]),
                                                  "play", "stop", "close"}));
}

TEST_F(MusicThreadTest, AStopRequestedBeforeTheFirstPlayPlaysNothing) {
  AddSound(0);
  AddSound(1);
  seams::RequestStop();
  StubPlayer player(registry);
  Run(player);
  EXPECT_EQ(player.log, std::vector<std::string>{"close"});
  EXPECT_EQ(LastSoundWrites(), 0);
}

TEST_F(MusicThreadTest, WaitsInSlicesUntilThePlayEnds) {
  AddSound(0);
  AddSound(1);
  StubPlayer player(registry);
  player.stopAfter = 2;
  player.pendingWaits = 25;  // the first play ends on the 26th wait
  Run(player);
  EXPECT_EQ(player.Played(), (std::vector<int>{1, 0}));
  EXPECT_GE(player.waits, 26);
}

TEST_F(MusicThreadTest, EndsWhenThereIsNothingToPlay) {
  struct Case {
    const char* what;
    std::function<void(MusicThreadTest&)> prepare;
  } cases[] = {
      {"no valid entry", [](MusicThreadTest&) {}},
      {"entries of missing or other files",
       [](MusicThreadTest& t) {
         std::snprintf(IniSettings.SOUND_SOUND[0], kTextBufferSize, "%s",
                       (t.folder / "gone.wav").string().c_str());
         std::string text = (t.folder / "t.txt").string();
         testsupport::WriteBytes(text, {1});
         std::snprintf(IniSettings.SOUND_SOUND[1], kTextBufferSize, "%s", text.c_str());
       }},
      {"LASTSOUNDNO cannot be read",
       [](MusicThreadTest& t) {
         t.AddSound(2);
         t.registry.Remove(kKey, kLastSoundNoValue);
       }},
  };
  for (const Case& c : cases) {
    ClearSettingBuffers();
    registry.Put(kKey, kLastSoundNoValue, "0");
    c.prepare(*this);
    StubPlayer player(registry);
    Run(player);
    EXPECT_EQ(player.log, std::vector<std::string>{"close"}) << c.what;
  }
}

TEST_F(MusicThreadTest, AFileThatFailsToOpenEndsTheThread) {
  AddSound(0);
  AddSound(1);
  StubPlayer player(registry);
  player.failOpen = true;
  Run(player);
  EXPECT_EQ(player.Opens(), 1);
  EXPECT_EQ(player.plays, 0);
  EXPECT_EQ(player.log.back(), "close");
}

TEST_F(MusicThreadTest, AnEmptiedLastEntryStartsAtTheFirstValidOneWithoutStoring) {
  AddSound(2);
  AddSound(6);
  registry.Put(kKey, kLastSoundNoValue, "4");  // entry 4 is empty
  StubPlayer player(registry);
  player.stopAfter = 2;
  Run(player);
  EXPECT_EQ(player.Played(), (std::vector<int>{2, 6}));
  EXPECT_EQ(player.stored, (std::vector<std::string>{"4", "6"}));
}

TEST(SoundFileNames, OnlyExistingWavAndMidFilesAreValid) {
  testsupport::TempFolder folder("names");
  struct Case {
    const char* name;
    bool create;
    BOOL valid;
  } cases[] = {
      {"a.WAV", true, TRUE},   {"b.Mid", true, TRUE},  {"c.wav", true, TRUE},
      {"d.wave", true, FALSE}, {"e.mp3", true, FALSE}, {"fwav", true, TRUE},
      {"g.wav", false, FALSE},
  };
  for (const Case& c : cases) {
    std::string path = (folder / c.name).string();
    if (c.create) {
      ASSERT_TRUE(testsupport::WriteBytes(path, {0}));
    }
    EXPECT_EQ(IsValidSoundFile(path.c_str()), c.valid) << c.name;
  }
  EXPECT_FALSE(IsValidSoundFile(""));
  EXPECT_FALSE(IsValidSoundFile(nullptr));
}

}  // namespace
