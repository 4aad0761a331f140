// The multimedia types and numbers (MCI and wave-out) for code that must also build natively.
//
// Under MinGW this is <mmsystem.h>; natively it declares the blocks with the same fields and the
// commands, flags and replies with the published values, so the media player object, the waves
// and their tests compile and run unchanged over recorded devices.
#pragma once

#include "framework/WinTypes.h"

#ifdef _WIN32
#include <mmsystem.h>
#else
typedef UINT MCIDEVICEID;
typedef DWORD MCIERROR;
typedef uintptr_t DWORD_PTR;

struct MCI_GENERIC_PARMS {
  DWORD_PTR dwCallback;
};
struct MCI_OPEN_PARMS {
  DWORD_PTR dwCallback;
  MCIDEVICEID wDeviceID;
  LPCSTR lpstrDeviceType;
  LPCSTR lpstrElementName;
  LPCSTR lpstrAlias;
};
struct MCI_PLAY_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwFrom;
  DWORD dwTo;
};
struct MCI_SEEK_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwTo;
};
struct MCI_SET_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwTimeFormat;
  DWORD dwAudio;
};
struct MCI_STATUS_PARMS {
  DWORD_PTR dwCallback;
  DWORD_PTR dwReturn;
  DWORD dwItem;
  DWORD dwTrack;
};

// Commands.
#define MCI_OPEN 0x0803
#define MCI_CLOSE 0x0804
#define MCI_PLAY 0x0806
#define MCI_SEEK 0x0807
#define MCI_STOP 0x0808
#define MCI_PAUSE 0x0809
#define MCI_SET 0x080D
#define MCI_STATUS 0x0814
// Flags of every command.
#define MCI_NOTIFY 0x00000001L
#define MCI_WAIT 0x00000002L
#define MCI_FROM 0x00000004L
#define MCI_TO 0x00000008L
// Flags of single commands.
#define MCI_OPEN_ELEMENT 0x00000200L
#define MCI_SEEK_TO_START 0x00000100L
#define MCI_SEEK_TO_END 0x00000200L
#define MCI_SET_TIME_FORMAT 0x00000400L
#define MCI_STATUS_ITEM 0x00000100L
// Values.
#define MCI_FORMAT_MILLISECONDS 0
#define MCI_STATUS_LENGTH 0x00000001L
#define MCI_STATUS_POSITION 0x00000002L
#define MCI_STATUS_MODE 0x00000004L
#define MCI_MODE_PLAY 526
// The completion notice and its codes (wParam).
#define MM_MCINOTIFY 0x3B9
#define MCI_NOTIFY_SUCCESSFUL 0x0001
#define MCI_NOTIFY_SUPERSEDED 0x0002
#define MCI_NOTIFY_ABORTED 0x0004
#define MCI_NOTIFY_FAILURE 0x0008
// Errors the system's own code names.
#define MCIERR_BASE 256
#define MCIERR_CANNOT_LOAD_DRIVER (MCIERR_BASE + 10)

typedef UINT MMRESULT;
typedef struct HWAVEOUT__* HWAVEOUT;

// The RIFF "fmt " chunk's first 16 bytes, as stored in the file.
#pragma pack(push, 1)
struct WAVEFORMAT {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
};
struct PCMWAVEFORMAT {
  WAVEFORMAT wf;
  WORD wBitsPerSample;
};
struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
};
#pragma pack(pop)

struct WAVEHDR {
  LPSTR lpData;
  DWORD dwBufferLength;
  DWORD dwBytesRecorded;
  DWORD_PTR dwUser;
  DWORD dwFlags;
  DWORD dwLoops;
  WAVEHDR* lpNext;
  DWORD_PTR reserved;
};

#define WAVE_FORMAT_PCM 1
#define WAVE_MAPPER ((UINT)-1)
#define WAVE_FORMAT_QUERY 0x0001
#define CALLBACK_WINDOW 0x00010000L
#define MM_WOM_DONE 0x3BD
#define MMSYSERR_NOERROR 0
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_NODRIVER 6
#endif

static_assert(sizeof(PCMWAVEFORMAT) == 16, "the fmt chunk's PCM part is 16 bytes");
