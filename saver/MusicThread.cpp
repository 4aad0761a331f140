#include "saver/MusicThread.h"

#include <cstring>

#include "framework/File.h"
#include "seams/Clock.h"
#include "seams/Random.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"

namespace {

constexpr char kNoValidSounds[] = "No valid sounds found in play list";
constexpr char kBadLoopFile[] = "Music Handler Error Message - Loop file is not a valid sound";
constexpr char kPlayFailed[] = "Music Handler Error Message - Sound file could not be played";

void BuildValidityTable(int table[kSoundListSize]) {
  for (int i = 0; i < kSoundListSize; ++i) {
    table[i] = IsValidSoundFile(IniSettings.SOUND_SOUND[i]) ? i : -1;
  }
}

// The entry the thread starts from: the loop entry, which must name a valid file (an entry of
// 10 or more would read past the play list), or the entry played last.
int StartNumber(const SaverInfo& info, const int table[kSoundListSize], const char* keyPath,
                CString& errorText) {
  if (info.nSoundPlayOption != kPlayLoopFile) return GetLastSoundNoIniSetting(keyPath, &errorText);
  int loop = info.nSoundLoopFile;
  if (loop < 0 || loop >= kSoundListSize || table[loop] < 0) {
    errorText = kBadLoopFile;
    return -1;
  }
  return loop;
}

enum class PlayEnd { Finished, Failed, Stopped };

// Plays the open file from its start to its end, watching the stop request between waits.
PlayEnd PlayToEnd(MusicPlayer& player) {
  if (!player.StartPlay()) return PlayEnd::Failed;
  for (;;) {
    if (seams::StopRequested()) {
      player.Stop();
      return PlayEnd::Stopped;
    }
    switch (player.WaitForEnd(kMusicWaitSliceMs)) {
      case MusicPlayer::Wait::Ended: return PlayEnd::Finished;
      case MusicPlayer::Wait::Failed: return PlayEnd::Failed;
      case MusicPlayer::Wait::Playing: break;
    }
    seams::Idle();
  }
}

// Opens the entry unless it is the file still open; FALSE when it cannot be opened.
bool OpenUnlessOpen(MusicPlayer& player, int next, int last, bool& opened) {
  if (next == last && opened) {
    seams::Trace::Printf("Music Handler - Start PlaySync\n");
    return true;
  }
  seams::Trace::Printf("Music Handler - Open File \n");
  opened = player.Open(IniSettings.SOUND_SOUND[next]) != FALSE;
  seams::Trace::Printf("Music Handler - File/Device opened, start PlaySync\n");
  return opened;
}

void PlayList(const SaverInfo& info, const char* keyPath, MusicPlayer& player,
              const int table[kSoundListSize], int last) {
  bool opened = false;
  CString errorText;
  while (!seams::StopRequested()) {
    int next = GetNextSoundNo(last, table, info.nSoundPlayOption, errorText, keyPath);
    seams::Trace::Printf("Music Handler - nNextSound=%d\n", next);
    if (next < 0) {
      seams::Trace::Printf("Music Handler - Error:%s\n", static_cast<const char*>(errorText));
      return;
    }
    if (!OpenUnlessOpen(player, next, last, opened)) return;
    PlayEnd end = PlayToEnd(player);
    if (end == PlayEnd::Stopped) return;
    if (end == PlayEnd::Failed) {
      // Without a device every play fails at once: ending here keeps the thread from reopening
      // files and writing "LASTSOUNDNO" in a tight loop.
      seams::Trace::Printf("Music Handler - Error:%s\n", kPlayFailed);
      return;
    }
    seams::Trace::Printf("Music Handler - PlaySync finished\n");
    last = next;
  }
}

}  // namespace

BOOL IsValidSoundFile(const char* pszFileName) {
  if (!pszFileName || !*pszFileName) return FALSE;
  CFileStatus status;
  if (!CFile::GetStatus(pszFileName, status)) return FALSE;
  size_t length = std::strlen(pszFileName);
  CString tail(length >= 3 ? pszFileName + length - 3 : pszFileName);
  return tail.CompareNoCase("wav") == 0 || tail.CompareNoCase("mid") == 0;
}

int GetNextSoundNo(int nLast, const int validTable[kSoundListSize], int nPlayOption,
                   CString& errorText, const char* keyPath) {
  if (nPlayOption == kPlayLoopFile) return nLast;
  int valid[kSoundListSize];
  int validCount = 0;
  for (int i = 0; i < kSoundListSize; ++i) {
    if (validTable[i] >= 0) valid[validCount++] = validTable[i];
  }
  if (validCount == 0) {
    errorText = kNoValidSounds;
    return -1;
  }
  int lastPos = 0;
  while (lastPos < validCount && valid[lastPos] != nLast) ++lastPos;
  if (lastPos == validCount) return valid[0];
  if (validCount == 1) return nLast;
  int nextPos = (lastPos + 1) % validCount;
  if (nPlayOption != kPlayInOrder) {
    do {
      nextPos = seams::Rand() % validCount;
    } while (nextPos == lastPos);
  }
  SetLastSoundNoIniSetting(keyPath, valid[nextPos], nullptr);
  return valid[nextPos];
}

namespace {

void PlayFromSettings(const SaverInfo& info, const char* keyPath, MusicPlayer& player) {
  int table[kSoundListSize];
  BuildValidityTable(table);
  CString errorText;
  int last = StartNumber(info, table, keyPath, errorText);
  seams::Trace::Printf("Music Handler - nLastSound=%d\n", last);
  if (last < 0) {
    seams::Trace::Printf("Music Handler - Error:%s\n", static_cast<const char*>(errorText));
    return;
  }
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  PlayList(info, keyPath, player, table, last);
}

}  // namespace

void RecordMusicThreadFailure(SaverInfo& info) {
  if (info.nRunTimeError == 0) info.nRunTimeError = kMusicThreadOutOfMemory;
  seams::Trace::Printf("Music Handler - Error: out of memory\n");
}

void RunMusicThread(SaverInfo& info, const char* keyPath, MusicPlayer& player) {
  seams::Trace::Printf("MUSIC HANDLER THREAD NOW RUNNING (=%x)\n\n",
                       static_cast<unsigned>(info.dwThreadId));
  seams::Trace::Printf("Music Handler - start:\n");
  bool failed = false;
  try {
    PlayFromSettings(info, keyPath, player);
  } catch (...) {
    RecordMusicThreadFailure(info);
    failed = true;
  }
  seams::Trace::Printf("Music Handler - ExitThread=%x\n", static_cast<unsigned>(info.dwThreadId));
  player.Close();
  if (failed) seams::WaitForStop();
}
