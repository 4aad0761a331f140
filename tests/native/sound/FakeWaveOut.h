// A wave-out device for tests: installed while it lives, it logs every call, keeps the headers
// written, counts what is open and prepared, and can be told to fail single steps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/WaveOut.h"

namespace soundtest {

class FakeWaveOut : public WaveOutDevice {
 public:
  FakeWaveOut() : scoped_(this) {}

  MMRESULT Open(HWAVEOUT* phWaveOut, const WAVEFORMATEX* pFormat, HWND) override {
    log.push_back("open");
    if (failOpen) return MMSYSERR_BADDEVICEID;
    openRate = pFormat->nSamplesPerSec;
    *phWaveOut = Handle();
    ++opens;
    return MMSYSERR_NOERROR;
  }
  MMRESULT Query(const WAVEFORMATEX* pFormat) override {
    log.push_back("query " + std::to_string(pFormat->nSamplesPerSec));
    return MMSYSERR_NOERROR;
  }
  MMRESULT Prepare(HWAVEOUT, WAVEHDR* pHeader) override {
    log.push_back("prepare");
    if (++prepares == failPrepareAt) return 11;
    ++prepared;
    (void)pHeader;
    return MMSYSERR_NOERROR;
  }
  MMRESULT Write(HWAVEOUT, WAVEHDR* pHeader) override {
    log.push_back("write");
    if (++writes == failWriteAt) return 11;
    queued.push_back(pHeader);
    return MMSYSERR_NOERROR;
  }
  MMRESULT Unprepare(HWAVEOUT, WAVEHDR*) override {
    log.push_back("unprepare");
    --prepared;
    return MMSYSERR_NOERROR;
  }
  MMRESULT Reset(HWAVEOUT) override {
    log.push_back("reset");
    return MMSYSERR_NOERROR;
  }
  MMRESULT Close(HWAVEOUT) override {
    log.push_back("close");
    --opens;
    return MMSYSERR_NOERROR;
  }
  static HWAVEOUT Handle() { return reinterpret_cast<HWAVEOUT>(static_cast<uintptr_t>(0x77)); }

  std::vector<std::string> log;
  std::vector<WAVEHDR*> queued;  // written, in order (never dereferenced after their end)
  int opens = 0, prepared = 0, prepares = 0, writes = 0;
  int failPrepareAt = 0, failWriteAt = 0;
  bool failOpen = false;
  DWORD openRate = 0;

 private:
  ScopedWaveOut scoped_;
};

}  // namespace soundtest
