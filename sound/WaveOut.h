// The wave-out device behind a replaceable seam.
//
// On Windows the default is the waveOut functions on the device the system chooses
// (WAVE_MAPPER) with completion notices to a window. Natively there is no device: opening fails
// with MMSYSERR_NODRIVER. Tests install a fake device to follow what a player queues and to make
// single steps fail.
#pragma once

#include "sound/MMTypes.h"

class WaveOutDevice {
 public:
  virtual ~WaveOutDevice() = default;
  // waveOutOpen(WAVE_MAPPER) with the window as CALLBACK_WINDOW, instance 0.
  virtual MMRESULT Open(HWAVEOUT* phWaveOut, const WAVEFORMATEX* pFormat, HWND hWndCallback) = 0;
  // waveOutOpen(WAVE_MAPPER) with WAVE_FORMAT_QUERY: whether the format could play.
  virtual MMRESULT Query(const WAVEFORMATEX* pFormat) = 0;
  virtual MMRESULT Prepare(HWAVEOUT hWaveOut, WAVEHDR* pHeader) = 0;
  virtual MMRESULT Write(HWAVEOUT hWaveOut, WAVEHDR* pHeader) = 0;
  virtual MMRESULT Unprepare(HWAVEOUT hWaveOut, WAVEHDR* pHeader) = 0;
  virtual MMRESULT Reset(HWAVEOUT hWaveOut) = 0;
  virtual MMRESULT Close(HWAVEOUT hWaveOut) = 0;
};

WaveOutDevice& CurrentWaveOut();
// Replaces the device (nullptr restores the default); returns the previous one.
WaveOutDevice* InstallWaveOut(WaveOutDevice* device);

class ScopedWaveOut {
 public:
  explicit ScopedWaveOut(WaveOutDevice* device) : previous_(InstallWaveOut(device)) {}
  ~ScopedWaveOut() { InstallWaveOut(previous_); }
  ScopedWaveOut(const ScopedWaveOut&) = delete;
  ScopedWaveOut& operator=(const ScopedWaveOut&) = delete;

 private:
  WaveOutDevice* previous_;
};
