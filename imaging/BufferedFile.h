// CBufferedFile: reads a file through a 2560-byte buffer, a byte at a time for the bit readers.
//
// The bytes come from a CFile: a file on disk opened by name, or any CFile the caller hands over
// (a CMemFile for tests and the fuzzer). Errors are kept as a last-status code; nothing throws.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/File.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

class CBufferedFile {
 public:
  enum State : int32_t { kClosed = 0, kOpenRead = 1, kOpenWrite = 2 };
  // Last-status codes.
  enum : int32_t {
    kSuccess = 0,
    kNotAllowed = -1,  // not open, or already open
    kCannotOpen = -2,
    kCloseFailed = -4,
    kReadFailed = -6  // a read error, or the end of the file
  };
  static constexpr int kBufferSize = 2560;

  CBufferedFile() = default;
  CBufferedFile(const CBufferedFile&) = delete;
  CBufferedFile& operator=(const CBufferedFile&) = delete;
  ~CBufferedFile();

  // Opens the named file for reading (others may read, not write) and moves to offset.
  bool OpenRead(const char* fileName, DWORD offset);
  // Reads from a file the caller opened (taken over and closed here), from offset on.
  bool OpenRead(std::unique_ptr<CFile> file, DWORD offset);

  // The next byte, or -1 at the end of the file or on a read error.
  int32_t ReadByte() {
    if (m_left > 0) {
      --m_left;
      return m_buffer[m_next++];
    }
    return ReadByteSlow();
  }
  // Reads exactly count bytes; false (and kReadFailed) when fewer were there.
  bool Read(BYTE* buffer, int32_t count);
  bool Close();

  int32_t GetState() const { return m_state; }
  int32_t GetLastStatus() const { return m_lastStatus; }
  const CString& GetFileName() const { return m_fileName; }

 private:
  int32_t ReadByteSlow();
  // Refills the buffer from the file; false at the end or on an error.
  bool Fill();
  bool Seek(DWORD offset);

  int32_t m_state = kClosed;
  std::unique_ptr<CFile> m_file;
  CString m_fileName;  // as given, whatever its length
  int32_t m_lastStatus = kSuccess;
  BYTE m_buffer[kBufferSize] = {};
  int32_t m_next = 0;
  int32_t m_left = 0;
};
