// The music thread: plays the sound play list ("SOUND_SOUND0".."SOUND_SOUND9") in list order,
// in random order, or one entry in a loop ("SOUND_PLAYOPTION" 0, 1, 2), remembers the entry
// played last in "LASTSOUNDNO" and ends itself when a file cannot be opened or played.
//
// Stopping: the thread plays with a completion notice and waits for it in slices that a stop
// request wakes at once, looking at the stop request between waits. On a stop it stops and closes
// its own device and returns: an MCI device answers only the thread that opened it, so nobody else
// may close it and nothing kills the thread.
#pragma once

#include <cstdint>

#include "framework/String.h"
#include "framework/WinTypes.h"

struct SaverInfo;

constexpr int kSoundListSize = 10;

// Play options ("SOUND_PLAYOPTION"); any other value plays in random order.
constexpr int kPlayInOrder = 0;
constexpr int kPlayRandom = 1;
constexpr int kPlayLoopFile = 2;

// TRUE when the file exists and its name ends in "wav" or "mid", without regard to case.
BOOL IsValidSoundFile(const char* pszFileName);

// The entry to play after `nLast`, or -1 with the reason in errorText. validTable[i] is i when
// entry i is usable, else -1. A new choice among two or more valid entries is stored as
// "LASTSOUNDNO" under keyPath. Option 2 returns nLast unchanged.
int GetNextSoundNo(int nLast, const int validTable[kSoundListSize], int nPlayOption,
                   CString& errorText, const char* keyPath);

// What the thread plays through: the media object with a notice window on Windows, a stub in
// tests.
class MusicPlayer {
 public:
  enum class Wait { Playing, Ended, Failed };
  virtual ~MusicPlayer() = default;
  // Opens a file (closing the one open before); FALSE when it cannot be opened.
  virtual BOOL Open(const char* pszFileName) = 0;
  // Starts the open file from its start; FALSE when the device refuses at once.
  virtual BOOL StartPlay() = 0;
  // Waits at most `ms` milliseconds for the end of the play started last.
  virtual Wait WaitForEnd(uint32_t ms) = 0;
  virtual void Stop() = 0;
  virtual void Close() = 0;
};

// The longest single wait of the thread: how late it notices a stop request.
constexpr uint32_t kMusicWaitSliceMs = 100;

// The run-time error a failure that escaped the music thread's work is recorded as (in its own
// record's nRunTimeError, when none was recorded before).
constexpr int kMusicThreadOutOfMemory = 6;
// Records such a failure without allocating; the thread procedure's last resort too.
void RecordMusicThreadFailure(SaverInfo& info);

// The thread's work on its own SaverInfo with the settings key path; returns when the thread
// ends (no sound to play, a file that fails, or a stop request), with the player closed. Nothing
// leaves it as an exception: after a failure that escaped its work (memory exhausted) it records
// the error, closes the player and waits for the stop.
void RunMusicThread(SaverInfo& info, const char* keyPath, MusicPlayer& player);

#ifdef _WIN32
// The thread procedure (CreateThread, below-normal priority): plays through MusicMCIObject on a
// message-only window of its own. Exit code 0.
DWORD WINAPI MusicHandler(LPVOID pInfo);
#endif
