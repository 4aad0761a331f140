#include "sound/MCIObject.h"

#include <cstdio>

#include "framework/Archive.h"
#include "seams/Trace.h"
#include "sound/MCISender.h"

IMPLEMENT_SERIAL(CMCIObject, CObject, 0)

CMCIObject MusicMCIObject;

CMCIObject::CMCIObject() : m_open() {}

CMCIObject::~CMCIObject() { Close(); }

void CMCIObject::Serialize(CArchive& ar) { (void)ar; }

MCIERROR CMCIObject::Send(UINT message, DWORD_PTR flags, void* params) {
  return CurrentMCISender().SendCommand(m_open.wDeviceID, message, flags,
                                        reinterpret_cast<DWORD_PTR>(params));
}

BOOL CMCIObject::Open(const char* pszFileName) {
  if (IsOpen()) Close();
  if (IsOpen()) return FALSE;
  m_elementName = pszFileName ? pszFileName : "";
  m_open = MCI_OPEN_PARMS();
  m_stopped = false;
  m_open.lpstrElementName = m_elementName;
  MCIERROR error = CurrentMCISender().SendCommand(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                                                  reinterpret_cast<DWORD_PTR>(&m_open));
  if (error != 0) {
    ReportError(error);
    m_open.wDeviceID = 0;
    return FALSE;
  }
  MCI_SET_PARMS set = {};
  set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
  error = Send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &set);
  if (error != 0) {
    ReportError(error);
    // The device is open: close it, or it stays open with nobody holding its identifier.
    MCI_GENERIC_PARMS close = {};
    Send(MCI_CLOSE, MCI_WAIT, &close);
    m_open.wDeviceID = 0;
    return FALSE;
  }
  return TRUE;
}

void CMCIObject::Close() {
  if (!IsOpen()) return;
  // A stop costs a second or more under some drivers: one the caller sent is not sent again.
  if (!m_stopped) Stop();
  MCI_GENERIC_PARMS close = {};
  MCIERROR error = Send(MCI_CLOSE, MCI_WAIT, &close);
  if (error != 0) ReportError(error);
  m_open.wDeviceID = 0;
}

BOOL CMCIObject::PlayWait() {
  if (!IsOpen()) return FALSE;
  MCI_SEEK_PARMS seek = {};
  Send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &seek);
  MCI_PLAY_PARMS play = {};
  m_stopped = false;
  MCIERROR error = Send(MCI_PLAY, MCI_WAIT, &play);
  if (error != 0) ReportError(error);
  return error == 0;
}

BOOL CMCIObject::Play(HWND hWndNotify) {
  if (!IsOpen()) return FALSE;
  MCI_PLAY_PARMS play = {};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(hWndNotify);
  m_stopped = false;
  MCIERROR error = Send(MCI_PLAY, MCI_NOTIFY, &play);
  if (error != 0) ReportError(error);
  return error == 0;
}

void CMCIObject::Stop() {
  if (!IsOpen()) return;
  MCI_GENERIC_PARMS stop = {};
  MCIERROR error = Send(MCI_STOP, MCI_WAIT, &stop);
  if (error != 0) ReportError(error);
  m_stopped = true;
}

void CMCIObject::Pause() {
  if (!IsOpen()) return;
  MCI_GENERIC_PARMS pause = {};
  Send(MCI_PAUSE, MCI_WAIT, &pause);
}

DWORD CMCIObject::QueryStatus(DWORD item) {
  if (!IsOpen()) return 0;
  MCI_STATUS_PARMS status = {};
  status.dwItem = item;
  if (Send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status) != 0) return 0;
  return static_cast<DWORD>(status.dwReturn);
}

DWORD CMCIObject::GetPosition() { return QueryStatus(MCI_STATUS_POSITION); }

DWORD CMCIObject::GetLength() { return QueryStatus(MCI_STATUS_LENGTH); }

BOOL CMCIObject::IsPlaying() { return QueryStatus(MCI_STATUS_MODE) == MCI_MODE_PLAY; }

BOOL CMCIObject::SeekWith(DWORD_PTR flags, DWORD dwPosition) {
  if (!IsOpen()) return FALSE;
  MCI_SEEK_PARMS seek = {};
  seek.dwTo = dwPosition;
  return Send(MCI_SEEK, flags | MCI_WAIT, &seek) == 0;
}

BOOL CMCIObject::Seek(DWORD dwPosition) { return SeekWith(MCI_TO, dwPosition); }

BOOL CMCIObject::SeekToEnd() { return SeekWith(MCI_SEEK_TO_END, 0); }

void CMCIObject::ReportError(MCIERROR dwError) {
  char text[256];
  if (!CurrentMCISender().GetErrorString(dwError, text, sizeof text) || text[0] == '\0') {
    std::snprintf(text, sizeof text, "%s", "Unknown error");
  }
  seams::Trace::Printf("CMCIObject - MCI error %lu: %s\n", static_cast<unsigned long>(dwError),
                       text);
}
