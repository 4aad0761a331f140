// CFile, CStdioFile and CMemFile over <cstdio> with 64-bit positions.
#include "framework/File.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#endif

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace {

int SeekStream(FILE* fp, LONGLONG off, int whence) {
#ifdef _WIN32
  return _fseeki64(fp, off, whence);
#else
  return fseeko(fp, static_cast<off_t>(off), whence);
#endif
}

LONGLONG TellStream(FILE* fp) {
#ifdef _WIN32
  return _ftelli64(fp);
#else
  return static_cast<LONGLONG>(ftello(fp));
#endif
}

// The stdio mode for the CFile flags; bTryExisting tells the caller to try opening an existing file
// first (modeCreate | modeNoTruncate) and to fall back to creating it.
std::string StdioMode(UINT nOpenFlags, BOOL bText, bool* bTryExisting) {
  UINT access = nOpenFlags & 3u;
  bool create = (nOpenFlags & CFile::modeCreate) != 0;
  bool noTruncate = (nOpenFlags & CFile::modeNoTruncate) != 0;
  std::string mode;
  *bTryExisting = false;
  if (create && !noTruncate) {
    mode = access == CFile::modeWrite ? "w" : "w+";
  } else if (create) {
    *bTryExisting = true;
    mode = access == CFile::modeRead ? "r" : "r+";
  } else {
    mode = access == CFile::modeRead ? "r" : "r+";
  }
#ifdef _WIN32
  mode += bText ? "t" : "b";
#else
  if (!bText) mode += "b";
#endif
  return mode;
}

FILE* OpenOne(const char* path, const std::string& mode, UINT nOpenFlags) {
#ifdef _WIN32
  int share = _SH_DENYNO;
  switch (nOpenFlags & 0x70u) {
    case CFile::shareExclusive: share = _SH_DENYRW; break;
    case CFile::shareDenyWrite: share = _SH_DENYWR; break;
    case CFile::shareDenyRead: share = _SH_DENYRD; break;
    default: share = _SH_DENYNO; break;
  }
  return _fsopen(path, mode.c_str(), share);
#else
  (void)nOpenFlags;
  return std::fopen(path, mode.c_str());
#endif
}

bool IsDirectoryStream(FILE* fp) {
#ifdef _WIN32
  struct _stat64 st;
  return _fstat64(_fileno(fp), &st) == 0 && (st.st_mode & _S_IFDIR) != 0;
#else
  struct stat st;
  return fstat(fileno(fp), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

void SetError(CFileException* pError, int cause, LONG osError, const char* path) {
  if (pError != nullptr) *pError = CFileException(cause, osError, path);
}

}  // namespace

// ---- CFile ----------------------------------------------------------------------------------

CFile::CFile() = default;

CFile::CFile(const char* lpszFileName, UINT nOpenFlags) {
  CFileException error;
  if (!CFile::Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CFile::~CFile() {
  if (m_pStream != nullptr) {
    if (m_bCloseOnDelete) std::fclose(m_pStream);
    m_pStream = nullptr;
  }
}

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError) {
  return OpenStream(lpszFileName, nOpenFlags & ~static_cast<UINT>(typeText), FALSE, FALSE, pError);
}

BOOL CFile::OpenStream(const char* lpszFileName, UINT nOpenFlags, BOOL bText, BOOL bBuffered,
                       CFileException* pError) {
  if (m_pStream != nullptr) Abort();
  m_strFileName.Empty();
  m_lastOp = opNone;
  if (lpszFileName == nullptr || *lpszFileName == '\0') {
    SetError(pError, CFileException::badPath, -1, lpszFileName);
    return FALSE;
  }
  bool tryExisting = false;
  std::string mode = StdioMode(nOpenFlags, bText, &tryExisting);
  errno = 0;
  FILE* fp = OpenOne(lpszFileName, mode, nOpenFlags);
  if (fp == nullptr && tryExisting && errno == ENOENT) {
    std::string createMode = mode;
    createMode[0] = 'w';
    if (createMode.find('+') == std::string::npos) createMode.insert(1, "+");
    errno = 0;
    fp = OpenOne(lpszFileName, createMode, nOpenFlags);
  }
  if (fp == nullptr) {
    int err = errno;
    SetError(pError, CFileException::ErrnoToException(err != 0 ? err : EACCES), err, lpszFileName);
    return FALSE;
  }
  if (IsDirectoryStream(fp)) {
    std::fclose(fp);
    SetError(pError, CFileException::accessDenied, EISDIR, lpszFileName);
    return FALSE;
  }
  if (!bBuffered) std::setvbuf(fp, nullptr, _IONBF, 0);
  m_pStream = fp;
  m_bCloseOnDelete = TRUE;
  m_strFileName = lpszFileName;
  if (pError != nullptr) *pError = CFileException();
  return TRUE;
}

void CFile::ThrowErrno(int nErrno) const {
  int cause = CFileException::ErrnoToException(nErrno);
  if (cause == CFileException::none) cause = CFileException::generic;
  throw CFileException(cause, nErrno, m_strFileName);
}

void CFile::CheckOpen() const {
  if (m_pStream == nullptr) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
}

void CFile::SwitchTo(LastOp op) {
  if (m_lastOp != opNone && m_lastOp != op) {
    // A seek to the current position is the portable way to switch directions.
    if (SeekStream(m_pStream, 0, SEEK_CUR) != 0) ThrowErrno(errno);
  }
  m_lastOp = op;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  CheckOpen();
  if (nCount == 0) return 0;
  assert(lpBuf != nullptr);
  SwitchTo(opRead);
  errno = 0;
  size_t n = std::fread(lpBuf, 1, nCount, m_pStream);
  if (n < nCount && std::ferror(m_pStream)) {
    int err = errno;
    std::clearerr(m_pStream);
    ThrowErrno(err != 0 ? err : EIO);
  }
  return static_cast<UINT>(n);
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  CheckOpen();
  if (nCount == 0) return;
  assert(lpBuf != nullptr);
  SwitchTo(opWrite);
  errno = 0;
  size_t n = std::fwrite(lpBuf, 1, nCount, m_pStream);
  if (n < nCount) {
    int err = errno;
    std::clearerr(m_pStream);
    ThrowErrno(err != 0 ? err : ENOSPC);
  }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  CheckOpen();
  LONGLONG base = 0;
  if (nFrom == current) {
    base = static_cast<LONGLONG>(GetPosition());
  } else if (nFrom == end) {
    base = static_cast<LONGLONG>(GetLength());
  } else if (nFrom != begin) {
    throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
  }
  if ((lOff < 0 && base < std::numeric_limits<LONGLONG>::min() - lOff) ||
      (lOff > 0 && base > std::numeric_limits<LONGLONG>::max() - lOff) || base + lOff < 0) {
    throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
  }
  LONGLONG target = base + lOff;
  if (SeekStream(m_pStream, target, SEEK_SET) != 0) {
    int err = errno;
    throw CFileException(CFileException::badSeek, err, m_strFileName);
  }
  m_lastOp = opNone;
  return static_cast<ULONGLONG>(target);
}

ULONGLONG CFile::GetPosition() const {
  CheckOpen();
  LONGLONG pos = TellStream(m_pStream);
  if (pos < 0) throw CFileException(CFileException::badSeek, errno, m_strFileName);
  return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const {
  CheckOpen();
  // Buffered data written but not yet passed to the system would be missing from the size.
  if (m_lastOp == opWrite && std::fflush(m_pStream) != 0) ThrowErrno(errno);
#ifdef _WIN32
  struct _stat64 st;
  if (_fstat64(_fileno(m_pStream), &st) != 0) ThrowErrno(errno);
#else
  struct stat st;
  if (fstat(fileno(m_pStream), &st) != 0) ThrowErrno(errno);
#endif
  ULONGLONG size = static_cast<ULONGLONG>(st.st_size);
  // A position past the end (after a seek, before the write lands) does not count as length.
  return size;
}

void CFile::Flush() {
  if (m_pStream == nullptr) return;
  if (std::fflush(m_pStream) != 0) ThrowErrno(errno);
}

void CFile::Close() {
  if (m_pStream == nullptr) return;
  FILE* fp = m_pStream;
  m_pStream = nullptr;
  m_lastOp = opNone;
  errno = 0;
  if (std::fclose(fp) != 0) ThrowErrno(errno != 0 ? errno : EIO);
}

void CFile::Abort() {
  if (m_pStream == nullptr) return;
  std::fclose(m_pStream);
  m_pStream = nullptr;
  m_lastOp = opNone;
}

#ifdef _WIN32
HANDLE CFile::GetOSHandle() const {
  if (m_pStream == nullptr) return INVALID_HANDLE_VALUE;
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(m_pStream)));
}
#endif

BOOL CFile::GetStatus(const char* lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus();
  if (lpszFileName == nullptr || *lpszFileName == '\0') return FALSE;
#ifdef _WIN32
  // The C runtime's stat fails on "folder\" though the folder exists; "C:\" must keep its slash.
  std::string path(lpszFileName);
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/') &&
         !(path.size() == 3 && path[1] == ':')) {
    path.pop_back();
  }
  struct _stat64 st;
  if (_stat64(path.c_str(), &st) != 0) return FALSE;
  bool isDir = (st.st_mode & _S_IFDIR) != 0;
  bool writable = (st.st_mode & _S_IWRITE) != 0;
#else
  struct stat st;
  if (stat(lpszFileName, &st) != 0) return FALSE;
  bool isDir = S_ISDIR(st.st_mode);
  bool writable = (st.st_mode & S_IWUSR) != 0;
#endif
  rStatus.m_ctime = CTime(static_cast<int64_t>(st.st_ctime));
  rStatus.m_mtime = CTime(static_cast<int64_t>(st.st_mtime));
  rStatus.m_atime = CTime(static_cast<int64_t>(st.st_atime));
  rStatus.m_size = isDir ? 0 : static_cast<ULONGLONG>(st.st_size);
  rStatus.m_attribute = static_cast<BYTE>((isDir ? directory : 0) | (writable ? 0 : readOnly));
  std::strncpy(rStatus.m_szFullName, lpszFileName, sizeof(rStatus.m_szFullName) - 1);
  rStatus.m_szFullName[sizeof(rStatus.m_szFullName) - 1] = '\0';
  return TRUE;
}

// ---- CStdioFile -----------------------------------------------------------------------------

CStdioFile::CStdioFile() = default;

CStdioFile::CStdioFile(FILE* pOpenStream) {
  m_pStream = pOpenStream;
  m_bCloseOnDelete = FALSE;
}

CStdioFile::CStdioFile(const char* lpszFileName, UINT nOpenFlags) {
  CFileException error;
  if (!CStdioFile::Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CStdioFile::~CStdioFile() = default;

BOOL CStdioFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError) {
  BOOL bText = (nOpenFlags & typeBinary) == 0;
  return OpenStream(lpszFileName, nOpenFlags, bText, TRUE, pError);
}

char* CStdioFile::ReadString(char* lpsz, UINT nMax) {
  CheckOpen();
  if (lpsz == nullptr || nMax == 0) return nullptr;
  if (nMax > static_cast<UINT>(std::numeric_limits<int>::max()))
    nMax = std::numeric_limits<int>::max();
  SwitchTo(opRead);
  errno = 0;
  char* r = std::fgets(lpsz, static_cast<int>(nMax), m_pStream);
  if (r == nullptr) {
    lpsz[0] = '\0';
    if (std::ferror(m_pStream)) {
      int err = errno;
      std::clearerr(m_pStream);
      ThrowErrno(err != 0 ? err : EIO);
    }
  }
  return r;
}

BOOL CStdioFile::ReadString(CString& rString) {
  rString.Empty();
  std::string line;
  char chunk[256];
  bool any = false;
  while (ReadString(chunk, sizeof(chunk)) != nullptr) {
    any = true;
    size_t n = std::strlen(chunk);
    line.append(chunk, n);
    if (n > 0 && chunk[n - 1] == '\n') break;
  }
  if (!any) return FALSE;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  rString = CString(line);
  return TRUE;
}

void CStdioFile::WriteString(const char* lpsz) {
  CheckOpen();
  if (lpsz == nullptr || *lpsz == '\0') return;
  SwitchTo(opWrite);
  errno = 0;
  if (std::fputs(lpsz, m_pStream) < 0) {
    int err = errno;
    std::clearerr(m_pStream);
    ThrowErrno(err != 0 ? err : ENOSPC);
  }
}

// ---- CMemFile -------------------------------------------------------------------------------

CMemFile::CMemFile(UINT) {}

CMemFile::CMemFile(const void* lpData, size_t nSize) { AttachReadOnly(lpData, nSize); }

CMemFile::~CMemFile() = default;

void CMemFile::AttachReadOnly(const void* lpData, size_t nSize) {
  std::vector<BYTE>().swap(m_data);
  // A null view of length 0 still counts as read-only: point at a static empty byte.
  static const BYTE kEmpty = 0;
  m_pReadOnly = lpData != nullptr ? static_cast<const BYTE*>(lpData) : &kEmpty;
  m_nReadOnlySize = lpData != nullptr ? nSize : 0;
  m_nPosition = 0;
}

BOOL CMemFile::Open(const char* lpszFileName, UINT, CFileException* pError) {
  SetError(pError, CFileException::generic, -1, lpszFileName);
  return FALSE;
}

ULONGLONG CMemFile::GetLength() const { return Size(); }

ULONGLONG CMemFile::Size() const {
  return m_pReadOnly != nullptr ? static_cast<ULONGLONG>(m_nReadOnlySize)
                                : static_cast<ULONGLONG>(m_data.size());
}

const BYTE* CMemFile::GetData() const {
  if (m_pReadOnly != nullptr) return m_nReadOnlySize > 0 ? m_pReadOnly : nullptr;
  return m_data.empty() ? nullptr : m_data.data();
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  ULONGLONG length = Size();
  if (nCount == 0 || m_nPosition >= length) return 0;
  assert(lpBuf != nullptr);
  ULONGLONG avail = length - m_nPosition;
  UINT n = avail < nCount ? static_cast<UINT>(avail) : nCount;
  const BYTE* data = m_pReadOnly != nullptr ? m_pReadOnly : m_data.data();
  std::memcpy(lpBuf, data + m_nPosition, n);
  m_nPosition += n;
  return n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (m_pReadOnly != nullptr) throw CFileException(CFileException::accessDenied, -1, nullptr);
  if (nCount == 0) return;
  assert(lpBuf != nullptr);
  ULONGLONG endPos = m_nPosition + nCount;
  // Keep well inside size_t on 32-bit builds.
  if (endPos > static_cast<ULONGLONG>(std::numeric_limits<size_t>::max() / 2)) {
    throw CFileException(CFileException::diskFull, -1, nullptr);
  }
  if (endPos > m_data.size()) {
    try {
      m_data.resize(static_cast<size_t>(endPos));
    } catch (const std::bad_alloc&) {
      ThrowMemoryException();
    }
  }
  std::memcpy(m_data.data() + m_nPosition, lpBuf, nCount);
  m_nPosition = endPos;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG base = 0;
  if (nFrom == current) {
    base = static_cast<LONGLONG>(m_nPosition);
  } else if (nFrom == end) {
    base = static_cast<LONGLONG>(Size());
  } else if (nFrom != begin) {
    throw CFileException(CFileException::badSeek, EINVAL, nullptr);
  }
  if ((lOff > 0 && base > std::numeric_limits<LONGLONG>::max() - lOff) || base + lOff < 0) {
    throw CFileException(CFileException::badSeek, EINVAL, nullptr);
  }
  m_nPosition = static_cast<ULONGLONG>(base + lOff);
  return m_nPosition;
}

void CMemFile::Close() {
  std::vector<BYTE>().swap(m_data);
  m_pReadOnly = nullptr;
  m_nReadOnlySize = 0;
  m_nPosition = 0;
}
