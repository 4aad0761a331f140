#include "sound/Wave.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "framework/Archive.h"
#include "framework/Exceptions.h"

IMPLEMENT_SERIAL(CWaveBlock, CObject, 0)
IMPLEMENT_SERIAL(CWaveBlockList, CObList, 0)
IMPLEMENT_SERIAL(CWave, CObject, 0)

// ---- CWaveBlock

CWaveBlock::CWaveBlock(LONG nBytes) {
  if (nBytes < 0) return;
  m_pData = new (std::nothrow) BYTE[nBytes > 0 ? nBytes : 1];
  if (m_pData) m_nSize = nBytes;
}

CWaveBlock::CWaveBlock(BYTE* pData, LONG nSize, LONG nSamples)
    : m_pData(pData), m_nSize(nSize), m_nSamples(nSamples) {}

CWaveBlock::~CWaveBlock() { delete[] m_pData; }

namespace {

// Reads the bytes of a stored block a piece at a time, so that a size that lies about the
// archive allocates no more than the archive holds before the read comes up short.
BYTE* ReadBlockBytes(CArchive& ar, DWORD size) {
  constexpr DWORD kPiece = 64 * 1024;
  std::vector<BYTE> bytes;
  while (bytes.size() < size) {
    DWORD piece = std::min<DWORD>(kPiece, size - static_cast<DWORD>(bytes.size()));
    size_t at = bytes.size();
    bytes.resize(at + piece);
    if (ar.Read(bytes.data() + at, piece) != piece) {
      ThrowArchiveException(CArchiveException::endOfFile);
    }
  }
  BYTE* data = new BYTE[size > 0 ? size : 1];
  if (size > 0) std::memcpy(data, bytes.data(), size);
  return data;
}

}  // namespace

void CWaveBlock::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_nSamples) << static_cast<DWORD>(m_nSize);
    if (m_nSize > 0) ar.Write(m_pData, static_cast<UINT>(m_nSize));
    return;
  }
  DWORD samples = 0, size = 0;
  ar >> samples >> size;
  if (size > INT32_MAX || samples > INT32_MAX) ThrowArchiveException(CArchiveException::generic);
  BYTE* data = ReadBlockBytes(ar, size);
  delete[] m_pData;
  m_pData = data;
  m_nSize = static_cast<LONG>(size);
  m_nSamples = static_cast<LONG>(samples);
}

// ---- CWaveBlockList

CWaveBlockList::CWaveBlockList() : CObList(10) {}

CWaveBlockList::~CWaveBlockList() { DeleteAll(); }

void CWaveBlockList::DeleteAll() {
  while (!IsEmpty()) delete static_cast<CWaveBlock*>(RemoveHead());
}

// ---- CWave

namespace {

PCMWAVEFORMAT DefaultFormat() {
  PCMWAVEFORMAT format = {};
  format.wf.wFormatTag = WAVE_FORMAT_PCM;
  format.wf.nChannels = 1;
  format.wf.nSamplesPerSec = 11025;
  format.wf.nAvgBytesPerSec = 11025;
  format.wf.nBlockAlign = 1;
  format.wBitsPerSample = 8;
  return format;
}

}  // namespace

CWave::CWave(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete), m_format(DefaultFormat()) {}

void CWave::Release() {
  if (m_nRefs > 0 && --m_nRefs == 0 && m_bAutoDelete) delete this;
}

void CWave::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.Write(&m_format, sizeof m_format);
  } else if (ar.Read(&m_format, sizeof m_format) != sizeof m_format) {
    ThrowArchiveException(CArchiveException::endOfFile);
  }
  m_blocks.Serialize(ar);
}

namespace {

constexpr int kMaxVolumePercent = 1000;

int Clamp(int64_t v, int low, int high) {
  return static_cast<int>(std::min<int64_t>(std::max<int64_t>(v, low), high));
}

void Scale8(BYTE* data, LONG count, int percent) {
  for (LONG i = 0; i < count; ++i) {
    int64_t v = (static_cast<int64_t>(data[i]) - 128) * percent / 100;
    data[i] = static_cast<BYTE>(Clamp(v, -128, 127) + 128);
  }
}

// 16-bit samples are little-endian and may sit at any address: copied, not cast.
void Scale16(BYTE* data, LONG count, int percent) {
  for (LONG i = 0; i < count; ++i) {
    int16_t s;
    std::memcpy(&s, data + 2 * i, 2);
    s = static_cast<int16_t>(Clamp(static_cast<int64_t>(s) * percent / 100, -32768, 32767));
    std::memcpy(data + 2 * i, &s, 2);
  }
}

}  // namespace

void CWave::ScaleVolume(int nPercent) {
  int bits = m_format.wBitsPerSample;
  if (bits != 8 && bits != 16) return;
  int percent = std::min(std::max(nPercent, 0), kMaxVolumePercent);
  int bytesPerSample = bits / 8;
  POSITION pos = m_blocks.GetHeadPosition();
  while (pos) {
    CWaveBlock* block = static_cast<CWaveBlock*>(m_blocks.GetNext(pos));
    if (!block->GetData()) continue;
    // A block read from an archive may claim more samples than it has bytes.
    LONG count = std::min(block->GetNumSamples(), block->GetSize() / bytesPerSample);
    if (bits == 8) {
      Scale8(block->GetData(), count, percent);
    } else {
      Scale16(block->GetData(), count, percent);
    }
  }
}

void CWave::EndPlay() {
  if (m_nPlayCount <= 0 || --m_nPlayCount > 0) return;
  if (m_pObserver) m_pObserver->OnEndPlay(this);
  if (m_bAutoDelete) Release();
}
