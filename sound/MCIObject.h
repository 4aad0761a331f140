// CMCIObject: one media file (the play list's WAV and MID files) played through MCI.
//
// The object opens the file as an MCI element, plays it to its end while the caller waits or in
// the background with a completion notice (MM_MCINOTIFY) to a window, stops, seeks and reports
// position, length and play mode in milliseconds. Every command goes through the replaceable
// sender (sound/MCISender.h).
//
// An MCI device answers only the thread that opened it: stop and close from any other thread
// fail, and a device whose thread was killed can never be closed. So the thread that opens the
// object is the one that stops and closes it.
#pragma once

#include "framework/Object.h"
#include "framework/String.h"
#include "sound/MMTypes.h"

class CMCIObject : public CObject {
  DECLARE_SERIAL(CMCIObject)
 public:
  CMCIObject();
  CMCIObject(const CMCIObject&) = delete;
  CMCIObject& operator=(const CMCIObject&) = delete;
  // Closes an open device.
  ~CMCIObject() override;
  // Writes and reads nothing.
  void Serialize(CArchive& ar) override;

  // Closes a device that is open, then opens the file (MCI picks the device from it) and sets
  // the time format to milliseconds. FALSE, closed, when either step fails.
  BOOL Open(const char* pszFileName);
  // Stops and closes the device (no second stop when Stop came last after a play); closed
  // afterwards whatever the device answered.
  void Close();
  // Plays from the start to the end while the caller waits; TRUE when the play succeeded.
  BOOL PlayWait();
  // Plays from the current position and returns at once; at the end MCI posts MM_MCINOTIFY to
  // the window. TRUE when the play command was accepted.
  BOOL Play(HWND hWndNotify);
  void Stop();
  // Pauses a play (MCI_PAUSE, waiting; a device that cannot pause is not reported). A stop after
  // a pause is quick where a driver otherwise lets the buffers it queued play out first.
  void Pause();
  // Position and length in milliseconds; 0 when closed or when the device does not answer.
  DWORD GetPosition();
  DWORD GetLength();
  // FALSE when closed or when the device refuses.
  BOOL Seek(DWORD dwPosition);
  BOOL SeekToEnd();
  // TRUE only while the device is playing (not paused, stopped or seeking).
  BOOL IsPlaying();
  // Looks up the text of a failed command's error code (the text is not shown).
  void ReportError(MCIERROR dwError);

  BOOL IsOpen() const { return m_open.wDeviceID != 0; }
  MCIDEVICEID GetDeviceID() const { return m_open.wDeviceID; }
  // The file opened last ("" before the first open).
  const CString& GetElementName() const { return m_elementName; }

 private:
  MCIERROR Send(UINT message, DWORD_PTR flags, void* params);
  DWORD QueryStatus(DWORD item);
  BOOL SeekWith(DWORD_PTR flags, DWORD dwPosition);

  // The open command's parameter block; its device identifier is 0 exactly when closed.
  MCI_OPEN_PARMS m_open;
  // The element name the block points at: the object's own copy, so a caller's buffer that
  // changes or goes away after Open cannot change what the object names.
  CString m_elementName;
  // Stop was sent after the last open or play: Close need not stop the device again.
  bool m_stopped = false;
};

// The one media object of the music thread and the sound settings dialog.
extern CMCIObject MusicMCIObject;
