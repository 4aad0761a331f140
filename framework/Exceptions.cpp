// The framework's exceptions and their English descriptions.
#include "framework/Exceptions.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)

namespace {

BOOL CopyMessage(char* lpszError, UINT nMaxError, UINT* pnHelpContext, const char* text) {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  if (lpszError == nullptr || nMaxError == 0) return FALSE;
  std::snprintf(lpszError, nMaxError, "%s", text);
  return TRUE;
}

const char* FileCauseText(int cause) {
  static const char* const kTexts[] = {"No error",
                                       "Unspecified file error",
                                       "File not found",
                                       "Bad path",
                                       "Too many open files",
                                       "Access denied",
                                       "Invalid file",
                                       "Cannot remove the current directory",
                                       "Directory full",
                                       "Seek failed",
                                       "Hardware I/O error",
                                       "Sharing violation",
                                       "Lock violation",
                                       "Disk full",
                                       "Unexpected end of file"};
  if (cause < 0 || cause >= static_cast<int>(sizeof(kTexts) / sizeof(kTexts[0]))) return kTexts[1];
  return kTexts[cause];
}

const char* ArchiveCauseText(int cause) {
  static const char* const kTexts[] = {"No error",
                                       "Unspecified archive error",
                                       "Archive is read-only (storing into a loading archive)",
                                       "Unexpected end of archive",
                                       "Archive is write-only (loading from a storing archive)",
                                       "Bad object index in archive",
                                       "Bad or unknown class in archive",
                                       "Unsupported schema in archive"};
  if (cause < 0 || cause >= static_cast<int>(sizeof(kTexts) / sizeof(kTexts[0]))) return kTexts[1];
  return kTexts[cause];
}

}  // namespace

CException::~CException() = default;

BOOL CException::GetErrorMessage(char* lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  return CopyMessage(lpszError, nMaxError, pnHelpContext, "Unspecified error");
}

CString CException::GetErrorMessage() const {
  char text[512];
  if (!GetErrorMessage(text, sizeof(text))) return CString();
  return CString(text);
}

CFileException::CFileException(int cause, LONG lOsError, const char* lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

CFileException::~CFileException() = default;

BOOL CFileException::GetErrorMessage(char* lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  char text[512];
  if (m_strFileName.IsEmpty()) {
    std::snprintf(text, sizeof(text), "%s", FileCauseText(m_cause));
  } else {
    std::snprintf(text, sizeof(text), "%s: %s", FileCauseText(m_cause),
                  static_cast<const char*>(m_strFileName));
  }
  return CopyMessage(lpszError, nMaxError, pnHelpContext, text);
}

int CFileException::ErrnoToException(int nErrno) {
  switch (nErrno) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return accessDenied;
    case EBADF: return invalidFile;
    case ENOSPC:
    case EFBIG: return diskFull;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    default: return generic;
  }
}

void CFileException::ThrowErrno(int nErrno, const char* lpszFileName) {
  throw CFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

CArchiveException::CArchiveException(int cause, const char* lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

CArchiveException::~CArchiveException() = default;

BOOL CArchiveException::GetErrorMessage(char* lpszError, UINT nMaxError,
                                        UINT* pnHelpContext) const {
  char text[512];
  if (m_strFileName.IsEmpty()) {
    std::snprintf(text, sizeof(text), "%s", ArchiveCauseText(m_cause));
  } else {
    std::snprintf(text, sizeof(text), "%s: %s", ArchiveCauseText(m_cause),
                  static_cast<const char*>(m_strFileName));
  }
  return CopyMessage(lpszError, nMaxError, pnHelpContext, text);
}

CMemoryException::~CMemoryException() = default;

BOOL CMemoryException::GetErrorMessage(char* lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  return CopyMessage(lpszError, nMaxError, pnHelpContext, "Out of memory");
}

void ThrowFileException(int cause, LONG lOsError, const char* lpszFileName) {
  throw CFileException(cause, lOsError, lpszFileName);
}

void ThrowArchiveException(int cause, const char* lpszArchiveName) {
  throw CArchiveException(cause, lpszArchiveName);
}

void ThrowMemoryException() { throw CMemoryException(); }
