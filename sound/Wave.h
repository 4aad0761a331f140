// CWave: a sampled PCM sound held in memory as a list of sample blocks, loaded from a RIFF WAVE
// file, scaled in volume in place and played on a wave-out player (sound/WavePlayer.h).
//
// The display routines load their effect sounds into waves, scale them by the volume setting,
// play them on DefaultWavePlayer and close that player when they end.
//
// The player stands on the wave, never the other way round: the members that deal with a player
// (the destructor, Play and Stop) are defined beside it in sound/WavePlayer.cpp.
#pragma once

#include "framework/Lists.h"
#include "framework/Object.h"
#include "sound/MMTypes.h"

class CFile;
class CWave;
class CWavePlayer;

// The samples of one block, owned by it.
class CWaveBlock : public CObject {
  DECLARE_SERIAL(CWaveBlock)
 public:
  CWaveBlock() = default;
  // Allocates nBytes bytes; the size stays 0 when the allocation fails. Sample count 0.
  explicit CWaveBlock(LONG nBytes);
  // Takes over pData (allocated with new[]).
  CWaveBlock(BYTE* pData, LONG nSize, LONG nSamples);
  CWaveBlock(const CWaveBlock&) = delete;
  CWaveBlock& operator=(const CWaveBlock&) = delete;
  ~CWaveBlock() override;
  // The sample count (32 bits), the byte size (32 bits), then the bytes.
  void Serialize(CArchive& ar) override;

  BYTE* GetData() const { return m_pData; }
  LONG GetSize() const { return m_nSize; }
  LONG GetNumSamples() const { return m_nSamples; }

 private:
  BYTE* m_pData = nullptr;
  LONG m_nSize = 0;
  LONG m_nSamples = 0;  // a stereo frame counts as two
};

// The blocks of one wave, in play order.
class CWaveBlockList : public CObList {
  DECLARE_SERIAL(CWaveBlockList)
 public:
  CWaveBlockList();
  ~CWaveBlockList() override;
  // Removes and deletes every block.
  void DeleteAll();
};

// Told when a play of a wave has finished.
class CWaveObserver {
 public:
  virtual ~CWaveObserver() = default;
  virtual void OnEndPlay(CWave* pWave) = 0;
};

class CWave : public CObject {
  DECLARE_SERIAL(CWave)
 public:
  explicit CWave(BOOL bAutoDelete = FALSE);
  CWave(const CWave&) = delete;
  CWave& operator=(const CWave&) = delete;
  // Stops a play still counted and takes its headers back from the player, then deletes the
  // blocks.
  ~CWave() override;
  // The 16 format bytes, then the block list.
  void Serialize(CArchive& ar) override;

  void AddRef() { ++m_nRefs; }
  // Drops a reference; an auto-delete wave deletes itself when the last one goes.
  void Release();

  // Loads a RIFF WAVE file; a null or empty name asks for one with the file-open dialog (Windows).
  // Failures are shown in a message box: "Failed to open file" or "Failed to load file".
  BOOL Load(const char* pszFileName);
  // Parses a RIFF WAVE file from the open file's current position (below). FALSE, with no blocks
  // left, when the file is not a PCM WAVE file this system can play.
  BOOL LoadFromFile(CFile& file);

  // Scales every sample by percent / 100 (clamped to 0..1000), saturating at the sample range.
  void ScaleVolume(int nPercent);

  // Plays on the player (DefaultWavePlayer when null); the observer, when given, is told at the
  // end. The result is the player's.
  BOOL Play(CWavePlayer* pPlayer = nullptr, CWaveObserver* pObserver = nullptr);
  // Resets the output device (its queued blocks come back as finished) and forgets the observer.
  void Stop();
  // One block finished: when it was the last, the observer is told and an auto-delete wave drops
  // the reference its play held. Callers on a thread without a message loop call it themselves.
  void EndPlay();

  const PCMWAVEFORMAT& GetFormat() const { return m_format; }
  CWaveBlockList& GetBlocks() { return m_blocks; }
  const CWaveBlockList& GetBlocks() const { return m_blocks; }
  BOOL IsAutoDelete() const { return m_bAutoDelete; }
  int GetPlayCount() const { return m_nPlayCount; }
  int GetRefCount() const { return m_nRefs; }
  CWavePlayer* GetOutputDevice() const { return m_pOutputDevice; }

 private:
  friend class CWavePlayer;

  BOOL m_bAutoDelete;
  PCMWAVEFORMAT m_format;
  CWaveBlockList m_blocks;
  CWavePlayer* m_pOutputDevice = nullptr;
  int m_nRefs = 0;
  int m_nPlayCount = 0;  // blocks queued on a device and not yet finished
  CWaveObserver* m_pObserver = nullptr;
};
