// CWavePlayer: the wave-out device and the hidden window "Wave Wnd" that receives its
// completion notices (MM_WOM_DONE).
//
// The player opens the device with the first wave's format and keeps it while blocks are queued;
// a second wave played meanwhile goes to the device as it was opened (its format is only asked
// about). When the last queued block finishes, the player closes the device and destroys its
// window; the next play opens both again.
//
// The notices arrive only while the thread that made the window dispatches messages. A thread
// without a message loop (the drawing thread) ends its plays itself with CWave::Stop and
// CWave::EndPlay and closes the player.
#pragma once

#include "framework/Lists.h"
#include "framework/Wnd.h"
#include "sound/MMTypes.h"

class CWave;

class CWavePlayer : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  CWavePlayer() = default;
  // Destroys a remaining window; the device is left as it is.
  ~CWavePlayer() override;

  // Creates the never-shown popup window "Wave Wnd". Natively there are no windows: TRUE, and
  // the player works without one.
  BOOL CreateHiddenWindow();
  BOOL IsOpen() const { return m_hWaveOut != nullptr; }
  // Opens the device with the format (creating the window first), or, when it is already open,
  // only asks whether the format could play.
  BOOL Open(const PCMWAVEFORMAT& format);
  // Queues every block of the wave; FALSE when the device or the wave cannot play. A block that
  // cannot be prepared or written is taken back; blocks queued before it play on.
  BOOL Play(CWave* pWave);
  // Every queued block comes back as finished.
  void Reset();
  // Resets and closes the device, frees the headers still queued and destroys the window.
  BOOL Close();
  // One block finished: unprepares and frees its header; closes the player after the last one;
  // then tells the wave.
  void BlockDone(CWave* pWave, WAVEHDR* pHeader);

  // Takes back every header of a wave that is going away, so that no late notice reaches it;
  // closes the player when nothing else is queued.
  void DropWave(CWave* pWave);

  int GetQueuedCount() const { return m_nQueued; }

 protected:
  LRESULT OnWaveDone(WPARAM wParam, LPARAM lParam);

 private:
  BOOL QueueBlock(CWave* pWave, BYTE* pData, LONG nSize);
  void DestroyHiddenWindow();

  HWAVEOUT m_hWaveOut = nullptr;
  int m_nQueued = 0;
  CPtrList m_headers;  // the WAVEHDRs queued and not yet finished
};

// The player of the display routines' effect sounds.
extern CWavePlayer DefaultWavePlayer;
