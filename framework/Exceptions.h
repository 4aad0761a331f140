// The framework's exceptions: file, archive and memory failures.
//
// Convention: exceptions are THROWN BY VALUE and CAUGHT BY REFERENCE, never by pointer and never
// deleted by the catcher:
//
//   try { ar >> count; }
//   catch (CArchiveException& e) { if (e.m_cause == CArchiveException::endOfFile) ... }
//   catch (CException&) { ... }      // any framework failure
//
// Each class is a CObject with a run-time class record, so `e.IsKindOf(RUNTIME_CLASS(...))` works.
#pragma once

#include "framework/Object.h"
#include "framework/String.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException() = default;
  CException(const CException&) = default;
  CException& operator=(const CException&) = default;
  ~CException() override;

  // Writes a short English description (always terminated when nMaxError > 0); TRUE when there is
  // one. pnHelpContext, when given, receives 0.
  virtual BOOL GetErrorMessage(char* lpszError, UINT nMaxError,
                               UINT* pnHelpContext = nullptr) const;
  // The same description as a string.
  CString GetErrorMessage() const;
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, const char* lpszFileName = nullptr);
  ~CFileException() override;

  BOOL GetErrorMessage(char* lpszError, UINT nMaxError,
                       UINT* pnHelpContext = nullptr) const override;
  using CException::GetErrorMessage;

  // The cause for a C runtime errno value (ENOENT -> fileNotFound...).
  static int ErrnoToException(int nErrno);
  // Throws CFileException(ErrnoToException(nErrno), nErrno, lpszFileName).
  [[noreturn]] static void ThrowErrno(int nErrno, const char* lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;        // errno (or the OS error) when known, else -1
  CString m_strFileName;  // may be empty
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

  explicit CArchiveException(int cause = none, const char* lpszArchiveName = nullptr);
  ~CArchiveException() override;

  BOOL GetErrorMessage(char* lpszError, UINT nMaxError,
                       UINT* pnHelpContext = nullptr) const override;
  using CException::GetErrorMessage;

  int m_cause;
  CString m_strFileName;  // the archive file's path when known
};

// Allocation failure where the framework allocates on behalf of the caller.
class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException() = default;
  ~CMemoryException() override;

  BOOL GetErrorMessage(char* lpszError, UINT nMaxError,
                       UINT* pnHelpContext = nullptr) const override;
  using CException::GetErrorMessage;
};

// Convenience throwers (the conventional names).
[[noreturn]] void ThrowFileException(int cause, LONG lOsError = -1,
                                     const char* lpszFileName = nullptr);
[[noreturn]] void ThrowArchiveException(int cause, const char* lpszArchiveName = nullptr);
[[noreturn]] void ThrowMemoryException();
