// CFile, CStdioFile and CMemFile: binary files, text files and in-memory files.
//
// One portable implementation over <cstdio> with 64-bit seeks. Failures of Open are returned
// (FALSE, with the cause in the optional CFileException); failures of every other operation on an
// open file throw CFileException by value (see Exceptions.h). Reading at the end of a file is not a
// failure: Read returns the bytes it could read, 0 at the end.
//
// Positions and lengths are 64-bit (ULONGLONG); the system's files are far below 4 GB, so callers
// may keep them in DWORDs.
#pragma once

#include <cstdio>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Object.h"
#include "framework/String.h"
#include "framework/Time.h"
#include "framework/WinTypes.h"

// What CFile::GetStatus reports about a path.
struct CFileStatus {
  CTime m_ctime;                // creation time (Windows) or status change time (elsewhere)
  CTime m_mtime;                // last modification
  CTime m_atime;                // last access
  ULONGLONG m_size = 0;         // bytes (0 for a directory)
  BYTE m_attribute = 0;         // CFile::Attribute bits
  char m_szFullName[260] = {};  // the path as given (truncated to fit)
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,  // create; truncate an existing file unless modeNoTruncate
    modeNoTruncate = 0x2000,
    typeText = 0x4000,  // CStdioFile only: text mode (CR-LF translation on Windows)
    typeBinary = 0x8000
  };
  enum Attribute : BYTE {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    directory = 0x10,
    archive = 0x20
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  CFile();
  // Opens the file or throws CFileException.
  CFile(const char* lpszFileName, UINT nOpenFlags);
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  // Closes the file if it is still open (errors ignored).
  ~CFile() override;

  // Opens a file: modeRead/modeWrite/modeReadWrite, optionally modeCreate (with modeNoTruncate),
  // share flags (honoured on Windows, ignored elsewhere), typeBinary. FALSE on failure, with the
  // cause in *pError when given. Modes: modeRead opens an existing file; modeWrite or modeReadWrite
  // without modeCreate open an existing file for update; modeCreate creates or truncates (with
  // modeNoTruncate: creates when missing, keeps the content otherwise).
  virtual BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

  // Reads up to nCount bytes; returns how many it read (fewer only at the end of the file).
  virtual UINT Read(void* lpBuf, UINT nCount);
  // Writes nCount bytes or throws CFileException (diskFull, accessDenied, generic...).
  virtual void Write(const void* lpBuf, UINT nCount);
  // Moves to lOff from begin/current/end and returns the new position; a position before the
  // start throws CFileException(badSeek). Seeking past the end is allowed (a write there extends).
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  // Writes buffered data out to the system.
  virtual void Flush();
  // Closes the file; throws CFileException when the final write fails. Harmless when closed.
  virtual void Close();
  // Closes the file ignoring every error (for cleanup after a failure).
  virtual void Abort();

  virtual BOOL IsOpen() const { return m_pStream != nullptr; }
  // The path given to Open (empty for attached and memory files).
  CString GetFilePath() const { return m_strFileName; }

#ifdef _WIN32
  // The Win32 handle of an open CFile (for mmioOpen on an open file, MMIOINFO::adwInfo[0]); the
  // file is unbuffered, so the handle's position is the CFile's position. INVALID_HANDLE_VALUE
  // when not open.
  HANDLE GetOSHandle() const;
#endif

  // Whether lpszFileName exists (file or directory), with its size, times and attributes.
  static BOOL GetStatus(const char* lpszFileName, CFileStatus& rStatus);

 protected:
  // Opens with the stdio mode for nOpenFlags; bBuffered FALSE makes the stream unbuffered.
  BOOL OpenStream(const char* lpszFileName, UINT nOpenFlags, BOOL bText, BOOL bBuffered,
                  CFileException* pError);
  [[noreturn]] void ThrowErrno(int nErrno) const;
  void CheckOpen() const;

  // stdio needs a seek or flush between a read and a write on the same stream: remember the last.
  enum LastOp { opNone, opRead, opWrite };
  void SwitchTo(LastOp op);

  FILE* m_pStream = nullptr;
  BOOL m_bCloseOnDelete = TRUE;
  LastOp m_lastOp = opNone;
  CString m_strFileName;
};

// A buffered stdio stream, by default in text mode (typeBinary for binary), with line I/O. Also
// wraps a stream the caller opened (not closed by the wrapper's destructor).
class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile();
  explicit CStdioFile(FILE* pOpenStream);
  CStdioFile(const char* lpszFileName, UINT nOpenFlags);  // throws CFileException
  ~CStdioFile() override;

  BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

  // Reads one line into lpsz (at most nMax - 1 characters, the newline kept as fgets does); null at
  // the end of the file. Throws CFileException on a read error.
  virtual char* ReadString(char* lpsz, UINT nMax);
  // Reads one line without its newline (and without a CR before it); FALSE at the end of the file.
  virtual BOOL ReadString(CString& rString);
  // Writes the text as it is (write "\n" to end a line). Throws CFileException on failure.
  virtual void WriteString(const char* lpsz);

  // The stream itself, for formatted input and output (fscanf/fprintf).
  using CFile::m_pStream;
};

// A file in memory: growable and writable (the default), or attached read-only to the caller's
// bytes (kept by the caller for the file's life). For tests, fuzzing and in-memory archives.
class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
 public:
  explicit CMemFile(UINT nGrowBytes = 1024);   // empty, writable; nGrowBytes accepted, unused
  CMemFile(const void* lpData, size_t nSize);  // read-only view of caller bytes
  ~CMemFile() override;

  // Attaches read-only to caller bytes (dropping any owned content), position 0.
  void AttachReadOnly(const void* lpData, size_t nSize);

  BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;  // read-only: CFileException(accessDenied)
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  ULONGLONG GetLength() const override;
  void Flush() override {}
  void Close() override;  // drops the content; the file is empty and writable again
  void Abort() override { Close(); }
  BOOL IsOpen() const override { return TRUE; }

  // The bytes of the file (GetLength() of them); null when empty.
  const BYTE* GetData() const;
  BOOL IsReadOnly() const { return m_pReadOnly != nullptr; }

 private:
  ULONGLONG Size() const;  // the content's size (GetLength may be overridden)

  std::vector<BYTE> m_data;           // owned content (writable mode)
  const BYTE* m_pReadOnly = nullptr;  // attached content (read-only mode)
  size_t m_nReadOnlySize = 0;
  ULONGLONG m_nPosition = 0;
};
