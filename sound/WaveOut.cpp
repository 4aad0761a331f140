#include "sound/WaveOut.h"

#include <atomic>

namespace {

#ifdef _WIN32
class SystemWaveOut : public WaveOutDevice {
 public:
  MMRESULT Open(HWAVEOUT* phWaveOut, const WAVEFORMATEX* pFormat, HWND hWndCallback) override {
    return ::waveOutOpen(phWaveOut, WAVE_MAPPER, pFormat, reinterpret_cast<DWORD_PTR>(hWndCallback),
                         0, CALLBACK_WINDOW);
  }
  MMRESULT Query(const WAVEFORMATEX* pFormat) override {
    return ::waveOutOpen(nullptr, WAVE_MAPPER, pFormat, 0, 0, WAVE_FORMAT_QUERY);
  }
  MMRESULT Prepare(HWAVEOUT hWaveOut, WAVEHDR* pHeader) override {
    return ::waveOutPrepareHeader(hWaveOut, pHeader, sizeof(WAVEHDR));
  }
  MMRESULT Write(HWAVEOUT hWaveOut, WAVEHDR* pHeader) override {
    return ::waveOutWrite(hWaveOut, pHeader, sizeof(WAVEHDR));
  }
  MMRESULT Unprepare(HWAVEOUT hWaveOut, WAVEHDR* pHeader) override {
    return ::waveOutUnprepareHeader(hWaveOut, pHeader, sizeof(WAVEHDR));
  }
  MMRESULT Reset(HWAVEOUT hWaveOut) override { return ::waveOutReset(hWaveOut); }
  MMRESULT Close(HWAVEOUT hWaveOut) override { return ::waveOutClose(hWaveOut); }
};
#else
// No wave-out device natively.
class SystemWaveOut : public WaveOutDevice {
 public:
  MMRESULT Open(HWAVEOUT*, const WAVEFORMATEX*, HWND) override { return MMSYSERR_NODRIVER; }
  MMRESULT Query(const WAVEFORMATEX*) override { return MMSYSERR_NODRIVER; }
  MMRESULT Prepare(HWAVEOUT, WAVEHDR*) override { return MMSYSERR_NODRIVER; }
  MMRESULT Write(HWAVEOUT, WAVEHDR*) override { return MMSYSERR_NODRIVER; }
  MMRESULT Unprepare(HWAVEOUT, WAVEHDR*) override { return MMSYSERR_NODRIVER; }
  MMRESULT Reset(HWAVEOUT) override { return MMSYSERR_NODRIVER; }
  MMRESULT Close(HWAVEOUT) override { return MMSYSERR_NODRIVER; }
};
#endif

SystemWaveOut systemWaveOut;
std::atomic<WaveOutDevice*> installed{nullptr};

}  // namespace

WaveOutDevice& CurrentWaveOut() {
  WaveOutDevice* device = installed.load(std::memory_order_acquire);
  return device ? *device : systemWaveOut;
}

WaveOutDevice* InstallWaveOut(WaveOutDevice* device) {
  return installed.exchange(device, std::memory_order_acq_rel);
}
