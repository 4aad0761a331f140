// CArchive: buffered little-endian values, archive strings and tagged objects over a CFile.
#include "framework/Archive.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <string>

namespace {

const size_t kMinBuffer = 128;
const WORD kNullTag = 0x0000;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kBigClassFlag = 0x80000000u;
const DWORD kMaxMapCount = 0x7FFFFFFEu;
const WORD kMaxClassName = 255;         // longer names never come from a writer of ours
const size_t kStringChunk = 64 * 1024;  // strings are read in pieces of this size

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*) : m_pFile(pFile), m_nMode(nMode) {
  assert(pFile != nullptr);
  if (pFile == nullptr) throw CArchiveException(CArchiveException::generic);
  size_t size =
      nBufSize > static_cast<int>(kMinBuffer) ? static_cast<size_t>(nBufSize) : kMinBuffer;
  m_buffer.resize(size);
  m_loadArray.push_back(LoadEntry{nullptr, nullptr, 0, false});  // index 0: the null tag
}

CArchive::~CArchive() {
  if (m_bClosed || (m_nMode & bNoFlushOnDelete) != 0) return;
  try {
    Flush();
  } catch (...) {
    // A destructor must not throw; Close() reports these failures.
  }
}

void CArchive::ThrowArchive(int cause) const {
  CString name;
  if (m_pFile != nullptr) name = m_pFile->GetFilePath();
  throw CArchiveException(cause, name);
}

void CArchive::CheckUsable() const {
  if (m_bClosed || m_pFile == nullptr) ThrowArchive(CArchiveException::generic);
}

void CArchive::CheckLoading() const {
  CheckUsable();
  if (!IsLoading()) ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const {
  CheckUsable();
  if (!IsStoring()) ThrowArchive(CArchiveException::readOnly);
}

// ---- buffer and raw bytes -------------------------------------------------------------------

void CArchive::Flush() {
  CheckUsable();
  if (IsStoring()) {
    if (m_nBufCur > 0) {
      size_t n = m_nBufCur;
      m_nBufCur = 0;
      m_pFile->Write(m_buffer.data(), static_cast<UINT>(n));
    }
  } else {
    size_t ahead = m_nBufMax - m_nBufCur;
    m_nBufCur = m_nBufMax = 0;
    if (ahead > 0) m_pFile->Seek(-static_cast<LONGLONG>(ahead), CFile::current);
  }
}

void CArchive::Close() {
  if (m_bClosed) return;
  Flush();
  m_bClosed = true;
  m_pFile = nullptr;
}

void CArchive::Abort() {
  m_bClosed = true;
  m_pFile = nullptr;
  m_nBufCur = m_nBufMax = 0;
}

BOOL CArchive::FillBuffer(size_t n) {
  assert(n <= m_buffer.size());
  size_t have = m_nBufMax - m_nBufCur;
  if (have >= n) return TRUE;
  if (m_nBufCur > 0) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_nBufCur, have);
    m_nBufCur = 0;
    m_nBufMax = have;
  }
  while (m_nBufMax < n) {
    UINT got =
        m_pFile->Read(m_buffer.data() + m_nBufMax, static_cast<UINT>(m_buffer.size() - m_nBufMax));
    if (got == 0) return FALSE;
    m_nBufMax += got;
  }
  return TRUE;
}

void CArchive::ReadExact(void* p, size_t n) {
  CheckLoading();
  if (n == 0) return;
  BYTE* out = static_cast<BYTE*>(p);
  if (n <= m_buffer.size()) {
    if (!FillBuffer(n)) ThrowArchive(CArchiveException::endOfFile);
    std::memcpy(out, m_buffer.data() + m_nBufCur, n);
    m_nBufCur += n;
    return;
  }
  size_t got = Read(out, static_cast<UINT>(std::min<size_t>(n, std::numeric_limits<UINT>::max())));
  if (got != n) ThrowArchive(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  CheckLoading();
  if (nMax == 0) return 0;
  BYTE* out = static_cast<BYTE*>(lpBuf);
  size_t want = nMax;
  size_t done = 0;
  // What the buffer holds first.
  size_t have = std::min(m_nBufMax - m_nBufCur, want);
  std::memcpy(out, m_buffer.data() + m_nBufCur, have);
  m_nBufCur += have;
  done += have;
  // Large remainders straight from the file, whole buffers' worth at a time.
  while (want - done >= m_buffer.size()) {
    size_t whole = (want - done) / m_buffer.size() * m_buffer.size();
    UINT got = m_pFile->Read(out + done, static_cast<UINT>(whole));
    done += got;
    if (got == 0) return static_cast<UINT>(done);
  }
  // The rest through the buffer.
  if (done < want) {
    FillBuffer(want - done);
    size_t n = std::min(m_nBufMax - m_nBufCur, want - done);
    std::memcpy(out + done, m_buffer.data() + m_nBufCur, n);
    m_nBufCur += n;
    done += n;
  }
  return static_cast<UINT>(done);
}

void CArchive::WriteBytes(const void* p, size_t n) {
  CheckStoring();
  if (n == 0) return;
  const BYTE* in = static_cast<const BYTE*>(p);
  if (m_buffer.size() - m_nBufCur < n) Flush();
  if (n >= m_buffer.size()) {
    m_pFile->Write(in, static_cast<UINT>(n));
    return;
  }
  std::memcpy(m_buffer.data() + m_nBufCur, in, n);
  m_nBufCur += n;
}

void CArchive::Write(const void* lpBuf, UINT nMax) { WriteBytes(lpBuf, nMax); }

// ---- numbers --------------------------------------------------------------------------------

namespace {

template <typename U>
void PutLE(BYTE* p, U v) {
  for (size_t i = 0; i < sizeof(U); ++i)
    p[i] = static_cast<BYTE>(static_cast<uint64_t>(v) >> (8 * i));
}

template <typename U>
U GetLE(const BYTE* p) {
  uint64_t v = 0;
  for (size_t i = 0; i < sizeof(U); ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
  return static_cast<U>(v);
}

}  // namespace

#define SAVER_ARCHIVE_STORE(UType, value)           \
  do {                                              \
    BYTE bytes[sizeof(UType)];                      \
    PutLE<UType>(bytes, static_cast<UType>(value)); \
    WriteBytes(bytes, sizeof(bytes));               \
  } while (0)

#define SAVER_ARCHIVE_LOAD(UType, target) \
  do {                                    \
    BYTE bytes[sizeof(UType)];            \
    ReadExact(bytes, sizeof(bytes));      \
    target = GetLE<UType>(bytes);         \
  } while (0)

CArchive& CArchive::operator<<(BYTE by) {
  WriteBytes(&by, 1);
  return *this;
}

CArchive& CArchive::operator<<(char ch) { return *this << static_cast<BYTE>(ch); }

CArchive& CArchive::operator<<(WORD w) {
  SAVER_ARCHIVE_STORE(uint16_t, w);
  return *this;
}

CArchive& CArchive::operator<<(short n) {
  SAVER_ARCHIVE_STORE(uint16_t, static_cast<uint16_t>(n));
  return *this;
}

CArchive& CArchive::operator<<(int i) {
  SAVER_ARCHIVE_STORE(uint32_t, static_cast<uint32_t>(i));
  return *this;
}

CArchive& CArchive::operator<<(unsigned int u) {
  SAVER_ARCHIVE_STORE(uint32_t, u);
  return *this;
}

#ifdef _WIN32
CArchive& CArchive::operator<<(long l) { return *this << static_cast<int>(l); }
CArchive& CArchive::operator<<(unsigned long dw) { return *this << static_cast<unsigned int>(dw); }
#endif

CArchive& CArchive::operator<<(float f) {
  static_assert(sizeof(float) == 4, "IEEE single");
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof(bits));
  SAVER_ARCHIVE_STORE(uint32_t, bits);
  return *this;
}

CArchive& CArchive::operator<<(double d) {
  static_assert(sizeof(double) == 8, "IEEE double");
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof(bits));
  SAVER_ARCHIVE_STORE(uint64_t, bits);
  return *this;
}

CArchive& CArchive::operator>>(BYTE& by) {
  ReadExact(&by, 1);
  return *this;
}

CArchive& CArchive::operator>>(char& ch) {
  BYTE by;
  ReadExact(&by, 1);
  ch = static_cast<char>(by);
  return *this;
}

CArchive& CArchive::operator>>(WORD& w) {
  SAVER_ARCHIVE_LOAD(uint16_t, w);
  return *this;
}

CArchive& CArchive::operator>>(short& n) {
  uint16_t v;
  SAVER_ARCHIVE_LOAD(uint16_t, v);
  n = static_cast<short>(v);
  return *this;
}

CArchive& CArchive::operator>>(int& i) {
  uint32_t v;
  SAVER_ARCHIVE_LOAD(uint32_t, v);
  i = static_cast<int>(v);
  return *this;
}

CArchive& CArchive::operator>>(unsigned int& u) {
  SAVER_ARCHIVE_LOAD(uint32_t, u);
  return *this;
}

#ifdef _WIN32
CArchive& CArchive::operator>>(long& l) {
  int v;
  *this >> v;
  l = v;
  return *this;
}

CArchive& CArchive::operator>>(unsigned long& dw) {
  unsigned int v;
  *this >> v;
  dw = v;
  return *this;
}
#endif

CArchive& CArchive::operator>>(float& f) {
  uint32_t bits;
  SAVER_ARCHIVE_LOAD(uint32_t, bits);
  std::memcpy(&f, &bits, sizeof(f));
  return *this;
}

CArchive& CArchive::operator>>(double& d) {
  uint64_t bits;
  SAVER_ARCHIVE_LOAD(uint64_t, bits);
  std::memcpy(&d, &bits, sizeof(d));
  return *this;
}

void CArchive::WriteCount(DWORD dwCount) {
  if (dwCount < 0xFFFFu) {
    *this << static_cast<WORD>(dwCount);
  } else {
    *this << static_cast<WORD>(0xFFFF) << dwCount;
  }
}

DWORD CArchive::ReadCount() {
  WORD w;
  *this >> w;
  if (w != 0xFFFF) return w;
  DWORD dw;
  *this >> dw;
  return dw;
}

// ---- strings --------------------------------------------------------------------------------

CArchive& CArchive::operator<<(const CString& s) {
  DWORD n = static_cast<DWORD>(s.GetLength());
  if (n < 0xFFu) {
    *this << static_cast<BYTE>(n);
  } else if (n < 0xFFFEu) {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(n);
  } else {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << n;
  }
  WriteBytes(s.str().data(), n);
  return *this;
}

DWORD CArchive::ReadStringLength(bool* pbWide) {
  *pbWide = false;
  BYTE b;
  *this >> b;
  if (b < 0xFF) return b;
  WORD w;
  *this >> w;
  if (w == 0xFFFE) {
    // A wide string: the length form starts over after the marker.
    *pbWide = true;
    *this >> b;
    if (b < 0xFF) return b;
    *this >> w;
  }
  if (w < 0xFFFF) return w;
  DWORD dw;
  *this >> dw;
  return dw;
}

ULONGLONG CArchive::RemainingBytes() const {
  ULONGLONG buffered = m_nBufMax - m_nBufCur;
  try {
    ULONGLONG length = m_pFile->GetLength();
    ULONGLONG position = m_pFile->GetPosition();
    return buffered + (length > position ? length - position : 0);
  } catch (const CException&) {
    return std::numeric_limits<ULONGLONG>::max();
  }
}

void CArchive::ReadStringBody(CString& s, DWORD nLength, bool bWide) {
  ULONGLONG bytes = static_cast<ULONGLONG>(nLength) * (bWide ? 2u : 1u);
  // A corrupt length fails here, before anything is allocated for it, when the file knows its
  // length; otherwise the text is read in pieces, so that memory follows the bytes really there.
  if (bytes > m_nBufMax - m_nBufCur && bytes > RemainingBytes())
    ThrowArchive(CArchiveException::endOfFile);
  const size_t kMaxText =
      static_cast<size_t>(std::numeric_limits<int>::max());  // CString lengths are int
  std::string text;
  std::vector<BYTE> chunk;
  ULONGLONG left = bytes;
  while (left > 0) {
    size_t n = static_cast<size_t>(std::min<ULONGLONG>(left, kStringChunk));
    chunk.resize(n);
    ReadExact(chunk.data(), n);
    if (text.size() + n / (bWide ? 2 : 1) > kMaxText) ThrowArchive(CArchiveException::generic);
    if (!bWide) {
      text.append(reinterpret_cast<const char*>(chunk.data()), n);
    } else {
      for (size_t i = 0; i + 1 < n; i += 2) {
        unsigned wc = chunk[i] | (static_cast<unsigned>(chunk[i + 1]) << 8);
        text += wc > 0xFF ? '?' : static_cast<char>(wc);
      }
    }
    left -= n;
  }
  s = CString(text);
}

CArchive& CArchive::operator>>(CString& s) {
  bool wide = false;
  DWORD n = ReadStringLength(&wide);
  ReadStringBody(s, n, wide);
  return *this;
}

// ---- objects --------------------------------------------------------------------------------

UINT CArchive::GetObjectSchema() {
  UINT n = m_nObjectSchema;
  m_nObjectSchema = static_cast<UINT>(-1);
  return n;
}

void CArchive::WriteTag(DWORD index, bool bClass) {
  if (index < kBigObjectTag) {
    *this << static_cast<WORD>(bClass ? (kClassTag | index) : index);
  } else {
    *this << kBigObjectTag << static_cast<DWORD>(bClass ? (kBigClassFlag | index) : index);
  }
}

void CArchive::WriteObject(const CObject* pOb) {
  CheckStoring();
  if (pOb == nullptr) {
    *this << kNullTag;
    return;
  }
  auto seen = m_storeMap.find(pOb);
  if (seen != m_storeMap.end()) {
    WriteTag(seen->second, false);
    return;
  }
  const CRuntimeClass* pClass = pOb->GetRuntimeClass();
  if (!pClass->IsSerializable()) ThrowArchive(CArchiveException::badClass);
  if (m_nMapCount + 1 > kMaxMapCount) ThrowArchive(CArchiveException::generic);
  auto known = m_storeMap.find(pClass);
  if (known != m_storeMap.end()) {
    WriteTag(known->second, true);
  } else {
    size_t nameLength = std::strlen(pClass->m_lpszClassName);
    if (nameLength > kMaxClassName) ThrowArchive(CArchiveException::badClass);
    *this << kNewClassTag << static_cast<WORD>(pClass->GetSchemaNumber() & 0xFFFFu)
          << static_cast<WORD>(nameLength);
    WriteBytes(pClass->m_lpszClassName, nameLength);
    m_storeMap.emplace(pClass, m_nMapCount++);
  }
  m_storeMap.emplace(pOb, m_nMapCount++);
  // Serialize is not const, but storing only reads the object.
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  CheckLoading();
  WORD tag;
  *this >> tag;
  if (tag == kNullTag) return nullptr;

  const CRuntimeClass* pClass = nullptr;
  UINT nSchema = 0;
  if (tag == kNewClassTag) {
    WORD schema, nameLength;
    *this >> schema >> nameLength;
    if (nameLength == 0 || nameLength > kMaxClassName) ThrowArchive(CArchiveException::badClass);
    char name[kMaxClassName + 1];
    ReadExact(name, nameLength);
    name[nameLength] = '\0';
    pClass = CRuntimeClass::FromName(name);
    if (pClass == nullptr || !pClass->IsSerializable()) ThrowArchive(CArchiveException::badClass);
    if (!pClass->IsVersionable() && schema != pClass->GetSchemaNumber())
      ThrowArchive(CArchiveException::badSchema);
    if (m_nMapCount > kMaxMapCount) ThrowArchive(CArchiveException::generic);
    m_loadArray.push_back(LoadEntry{pClass, nullptr, schema, true});
    ++m_nMapCount;
    nSchema = schema;
  } else {
    DWORD index;
    bool bClass;
    if (tag == kBigObjectTag) {
      DWORD big;
      *this >> big;
      bClass = (big & kBigClassFlag) != 0;
      index = big & ~kBigClassFlag;
    } else {
      bClass = (tag & kClassTag) != 0;
      index = tag & ~static_cast<DWORD>(kClassTag);
    }
    if (index == 0 || index >= m_loadArray.size() || m_loadArray[index].bClass != bClass) {
      ThrowArchive(CArchiveException::badIndex);
    }
    const LoadEntry& entry = m_loadArray[index];
    if (!bClass) {
      // An object read before: the same pointer again.
      if (entry.pObject == nullptr) ThrowArchive(CArchiveException::badIndex);
      if (pClassRefRequested != nullptr && !entry.pObject->IsKindOf(pClassRefRequested)) {
        ThrowArchive(CArchiveException::badClass);
      }
      return entry.pObject;
    }
    pClass = entry.pClass;
    nSchema = entry.nSchema;
  }

  // A new object of pClass follows.
  if (pClassRefRequested != nullptr && !pClass->IsDerivedFrom(pClassRefRequested)) {
    ThrowArchive(CArchiveException::badClass);
  }
  if (m_nMapCount > kMaxMapCount) ThrowArchive(CArchiveException::generic);
  CObject* pOb = pClass->CreateObject();
  if (pOb == nullptr) ThrowArchive(CArchiveException::badClass);
  // Entered before its data, so that the object's own data may refer back to it.
  size_t index = m_loadArray.size();
  try {
    m_loadArray.push_back(LoadEntry{pClass, pOb, 0, false});
  } catch (const std::bad_alloc&) {
    delete pOb;
    ThrowMemoryException();
  }
  ++m_nMapCount;
  UINT nSchemaSave = m_nObjectSchema;
  m_nObjectSchema = nSchema;
  try {
    pOb->Serialize(*this);
  } catch (...) {
    m_nObjectSchema = nSchemaSave;
    m_loadArray[index].pObject = nullptr;
    delete pOb;
    throw;
  }
  m_nObjectSchema = nSchemaSave;
  return pOb;
}
