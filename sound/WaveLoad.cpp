// Loading a wave: the RIFF WAVE parse over any CFile (a disk file, or memory in the fuzz target).
//
// A RIFF file is a tree of chunks, each an 8-byte header (four-character id, 32-bit little-endian
// size) followed by its data, padded to an even length. The "RIFF" chunk starts with a form type
// ("WAVE") and holds the "fmt " chunk (the format) and, after it, the "data" chunk (the samples).
// Every size read from the file is checked against the bytes that are really there before it
// moves the position or sizes an allocation.
#include <cstring>
#include <new>

#include "framework/File.h"
#include "seams/Alerts.h"
#include "sound/Wave.h"

#ifdef _WIN32
#include <commdlg.h>
#endif

namespace {

struct ChunkHeader {
  char id[4];
  DWORD size;
};

// A chunk found by the walk: where its data starts and how many bytes it has.
struct Chunk {
  ULONGLONG dataStart = 0;
  DWORD size = 0;
};

bool IdIs(const char id[4], const char* want) { return std::memcmp(id, want, 4) == 0; }

DWORD LittleEndian32(const BYTE b[4]) {
  return static_cast<DWORD>(b[0]) | static_cast<DWORD>(b[1]) << 8 | static_cast<DWORD>(b[2]) << 16 |
         static_cast<DWORD>(b[3]) << 24;
}

bool ReadHeader(CFile& file, ChunkHeader& header) {
  BYTE raw[8];
  if (file.Read(raw, 8) != 8) return false;
  std::memcpy(header.id, raw, 4);
  header.size = LittleEndian32(raw + 4);
  return true;
}

// The position after a chunk's data and its pad byte.
ULONGLONG ChunkEnd(const Chunk& chunk) { return chunk.dataStart + chunk.size + (chunk.size & 1); }

// Walks the chunks from the current position up to `end`, leaving the file at the data of the
// first whose id is `id` (and, for "RIFF", whose form type is `form`).
bool FindChunk(CFile& file, ULONGLONG end, const char* id, const char* form, Chunk& found) {
  for (;;) {
    ULONGLONG at = file.GetPosition();
    ChunkHeader header;
    if (at + 8 > end || !ReadHeader(file, header)) return false;
    Chunk chunk{at + 8, header.size};
    if (IdIs(header.id, id)) {
      if (!form) {
        found = chunk;
        return true;
      }
      char type[4];
      if (header.size >= 4 && file.Read(type, 4) == 4 && IdIs(type, form)) {
        found = chunk;
        return true;
      }
    }
    if (ChunkEnd(chunk) >= end) return false;
    file.Seek(static_cast<LONGLONG>(ChunkEnd(chunk)), CFile::begin);
  }
}

// The format from the "fmt " chunk: at least 16 bytes, PCM, whole bytes per sample.
bool ReadFormat(CFile& file, const Chunk& fmt, PCMWAVEFORMAT& format) {
  if (fmt.size < sizeof format) return false;
  if (file.Read(&format, sizeof format) != sizeof format) return false;
  return format.wf.wFormatTag == WAVE_FORMAT_PCM && format.wBitsPerSample >= 8;
}

// The samples of the "data" chunk, or null when the file does not hold them all.
BYTE* ReadData(CFile& file, const Chunk& data) {
  ULONGLONG length = file.GetLength();
  if (data.size > static_cast<DWORD>(INT32_MAX) || data.dataStart > length ||
      data.size > length - data.dataStart) {
    return nullptr;
  }
  BYTE* bytes = new (std::nothrow) BYTE[data.size > 0 ? data.size : 1];
  if (bytes && file.Read(bytes, data.size) != data.size) {
    delete[] bytes;
    return nullptr;
  }
  return bytes;
}

bool ParseRiffWave(CFile& file, PCMWAVEFORMAT& format, CWaveBlock*& block) {
  ULONGLONG length = file.GetLength();
  Chunk riff, fmt, data;
  if (!FindChunk(file, length, "RIFF", "WAVE", riff)) return false;
  ULONGLONG riffEnd = riff.dataStart + riff.size;
  if (riffEnd > length) riffEnd = length;
  if (!FindChunk(file, riffEnd, "fmt ", nullptr, fmt) || !ReadFormat(file, fmt, format)) {
    return false;
  }
  file.Seek(static_cast<LONGLONG>(ChunkEnd(fmt)), CFile::begin);
  if (!FindChunk(file, riffEnd, "data", nullptr, data)) return false;
  BYTE* bytes = ReadData(file, data);
  if (!bytes) return false;
  LONG size = static_cast<LONG>(data.size);
  block = new CWaveBlock(bytes, size, size / (format.wBitsPerSample / 8));
  return true;
}

#ifdef _WIN32
bool AskForWaveFile(char* path, DWORD size) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFilter = "Wave files (*.WAV)\0*.WAV\0All files (*.*)\0*.*\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = size;
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  return GetOpenFileNameA(&ofn) != FALSE;
}
#else
bool AskForWaveFile(char*, DWORD) { return false; }
#endif

}  // namespace

BOOL CWave::LoadFromFile(CFile& file) {
  m_blocks.DeleteAll();
  PCMWAVEFORMAT format;
  CWaveBlock* block = nullptr;
  try {
    if (!ParseRiffWave(file, format, block)) return FALSE;
  } catch (CFileException&) {
    return FALSE;
  }
  m_format = format;
  m_blocks.AddTail(block);
  return TRUE;
}

BOOL CWave::Load(const char* pszFileName) {
  char chosen[260] = {};
  if (!pszFileName || !*pszFileName) {
    if (!AskForWaveFile(chosen, sizeof chosen)) return FALSE;
    pszFileName = chosen;
  }
  CFile file;
  if (!file.Open(pszFileName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
    seams::Alert("Failed to open file");
    return FALSE;
  }
  BOOL loaded = LoadFromFile(file);
  file.Abort();
  if (!loaded) seams::Alert("Failed to load file");
  return loaded;
}
