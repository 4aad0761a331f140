#include "sound/WavePlayer.h"

#include <new>

#include "sound/Wave.h"
#include "sound/WaveOut.h"

CWavePlayer DefaultWavePlayer;

BEGIN_MESSAGE_MAP(CWavePlayer, CWnd)
ON_MESSAGE(MM_WOM_DONE, CWavePlayer::OnWaveDone)
END_MESSAGE_MAP()

namespace {

WAVEFORMATEX FormatEx(const PCMWAVEFORMAT& format) {
  WAVEFORMATEX ex = {};
  ex.wFormatTag = format.wf.wFormatTag;
  ex.nChannels = format.wf.nChannels;
  ex.nSamplesPerSec = format.wf.nSamplesPerSec;
  ex.nAvgBytesPerSec = format.wf.nAvgBytesPerSec;
  ex.nBlockAlign = format.wf.nBlockAlign;
  ex.wBitsPerSample = format.wBitsPerSample;
  return ex;
}

#ifdef _WIN32
constexpr char kWaveWindowClass[] = "SaverWaveWnd";

LRESULT CALLBACK WaveWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (CWnd::RouteMessage(hWnd, message, wParam, lParam, &result)) return result;
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

bool RegisterWaveWindowClass() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WaveWindowProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = kWaveWindowClass;
  return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
#endif

}  // namespace

// ---- The wave's side of a play: what a wave asks of the player it plays on lives here, so
// that the wave itself needs nothing of the player.

CWave::~CWave() {
  if (m_nPlayCount != 0) Stop();
  // The device has given the blocks back; its headers must not outlive the samples they name.
  if (m_pOutputDevice) m_pOutputDevice->DropWave(this);
  m_blocks.DeleteAll();
}

BOOL CWave::Play(CWavePlayer* pPlayer, CWaveObserver* pObserver) {
  m_pOutputDevice = pPlayer ? pPlayer : &DefaultWavePlayer;
  m_pObserver = pObserver;
  return m_pOutputDevice->Play(this);
}

void CWave::Stop() {
  if (m_pOutputDevice) m_pOutputDevice->Reset();
  m_pObserver = nullptr;
}

// ---- CWavePlayer

CWavePlayer::~CWavePlayer() { DestroyHiddenWindow(); }

BOOL CWavePlayer::CreateHiddenWindow() {
#ifdef _WIN32
  if (m_hWnd) return TRUE;
  if (!RegisterWaveWindowClass()) return FALSE;
  HWND hWnd = ::CreateWindowExA(0, kWaveWindowClass, "Wave Wnd", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!hWnd) return FALSE;
  if (!Attach(hWnd)) {
    ::DestroyWindow(hWnd);
    return FALSE;
  }
#endif
  return TRUE;
}

void CWavePlayer::DestroyHiddenWindow() {
#ifdef _WIN32
  if (HWND hWnd = Detach()) ::DestroyWindow(hWnd);
#endif
}

BOOL CWavePlayer::Open(const PCMWAVEFORMAT& format) {
  if (!CreateHiddenWindow()) return FALSE;
  WAVEFORMATEX ex = FormatEx(format);
  if (IsOpen()) return CurrentWaveOut().Query(&ex) == MMSYSERR_NOERROR;
  HWAVEOUT hWaveOut = nullptr;
  if (CurrentWaveOut().Open(&hWaveOut, &ex, m_hWnd) != MMSYSERR_NOERROR) return FALSE;
  m_hWaveOut = hWaveOut;
  return TRUE;
}

BOOL CWavePlayer::QueueBlock(CWave* pWave, BYTE* pData, LONG nSize) {
  WAVEHDR* header = new (std::nothrow) WAVEHDR();
  if (!header) return FALSE;
  header->lpData = reinterpret_cast<LPSTR>(pData);
  header->dwBufferLength = static_cast<DWORD>(nSize);
  header->dwUser = reinterpret_cast<DWORD_PTR>(pWave);
  if (CurrentWaveOut().Prepare(m_hWaveOut, header) != MMSYSERR_NOERROR) {
    delete header;
    return FALSE;
  }
  ++pWave->m_nPlayCount;
  if (CurrentWaveOut().Write(m_hWaveOut, header) != MMSYSERR_NOERROR) {
    // Take the block back whole: a header left prepared or counted would never come back.
    CurrentWaveOut().Unprepare(m_hWaveOut, header);
    delete header;
    --pWave->m_nPlayCount;
    return FALSE;
  }
  m_headers.AddTail(header);
  ++m_nQueued;
  return TRUE;
}

BOOL CWavePlayer::Play(CWave* pWave) {
  if (!Open(pWave->GetFormat())) return FALSE;
  CWaveBlockList& blocks = pWave->GetBlocks();
  if (blocks.IsEmpty()) {
    if (m_nQueued == 0) Close();
    return FALSE;
  }
  if (pWave->IsAutoDelete()) pWave->AddRef();
  int queuedBefore = pWave->m_nPlayCount;
  POSITION pos = blocks.GetHeadPosition();
  while (pos) {
    CWaveBlock* block = static_cast<CWaveBlock*>(blocks.GetNext(pos));
    if (QueueBlock(pWave, block->GetData(), block->GetSize())) continue;
    // Nothing of this play queued: no end will drop its reference or close the device.
    if (pWave->m_nPlayCount == queuedBefore && pWave->IsAutoDelete()) pWave->Release();
    if (m_nQueued == 0) Close();
    return FALSE;
  }
  return TRUE;
}

void CWavePlayer::Reset() {
  if (IsOpen()) CurrentWaveOut().Reset(m_hWaveOut);
}

BOOL CWavePlayer::Close() {
  if (IsOpen()) {
    CurrentWaveOut().Reset(m_hWaveOut);
    while (!m_headers.IsEmpty()) {
      WAVEHDR* header = static_cast<WAVEHDR*>(m_headers.RemoveHead());
      CurrentWaveOut().Unprepare(m_hWaveOut, header);
      delete header;
    }
    m_nQueued = 0;
    CurrentWaveOut().Close(m_hWaveOut);
    m_hWaveOut = nullptr;
  }
  DestroyHiddenWindow();
  return TRUE;
}

void CWavePlayer::DropWave(CWave* pWave) {
  POSITION pos = m_headers.GetHeadPosition();
  while (pos) {
    POSITION at = pos;
    WAVEHDR* header = static_cast<WAVEHDR*>(m_headers.GetNext(pos));
    if (reinterpret_cast<CWave*>(header->dwUser) != pWave) continue;
    m_headers.RemoveAt(at);
    CurrentWaveOut().Unprepare(m_hWaveOut, header);
    delete header;
    --m_nQueued;
  }
  if (IsOpen() && m_nQueued == 0) Close();
}

void CWavePlayer::BlockDone(CWave* pWave, WAVEHDR* pHeader) {
  POSITION at = m_headers.Find(pHeader);
  // A header the player no longer holds (freed by Close) is not touched again.
  if (!at) return;
  m_headers.RemoveAt(at);
  CurrentWaveOut().Unprepare(m_hWaveOut, pHeader);
  delete pHeader;
  if (--m_nQueued == 0) Close();
  pWave->EndPlay();
}

LRESULT CWavePlayer::OnWaveDone(WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  // The notice comes from this player's device, so the header is one of its own (or one that
  // Close already freed, which BlockDone leaves alone).
  WAVEHDR* header = reinterpret_cast<WAVEHDR*>(lParam);
  if (!header || !m_headers.Find(header)) return 0;
  BlockDone(reinterpret_cast<CWave*>(header->dwUser), header);
  return 0;
}
