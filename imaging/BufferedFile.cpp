#include "imaging/BufferedFile.h"

#include <cstring>

#include "framework/Exceptions.h"

CBufferedFile::~CBufferedFile() { Close(); }

bool CBufferedFile::OpenRead(const char* fileName, DWORD offset) {
  if (m_state != kClosed) {
    m_lastStatus = kNotAllowed;
    return false;
  }
  auto file = std::make_unique<CFile>();
  if (fileName == nullptr ||
      !file->Open(fileName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
    m_lastStatus = kCannotOpen;
    return false;
  }
  m_fileName = fileName;
  return OpenRead(std::move(file), offset);
}

bool CBufferedFile::OpenRead(std::unique_ptr<CFile> file, DWORD offset) {
  if (m_state != kClosed || file == nullptr) {
    m_lastStatus = kNotAllowed;
    return false;
  }
  m_file = std::move(file);
  m_state = kOpenRead;
  m_next = 0;
  m_left = 0;
  m_lastStatus = kSuccess;
  // A failed seek leaves the file open but refuses it, without a status code of its own.
  return Seek(offset);
}

bool CBufferedFile::Seek(DWORD offset) {
  try {
    m_file->Seek(static_cast<LONGLONG>(offset), CFile::begin);
    return true;
  } catch (const CFileException&) {
    return false;
  }
}

bool CBufferedFile::Fill() {
  m_next = 0;
  m_left = 0;
  if (m_state != kOpenRead) {
    m_lastStatus = kNotAllowed;
    return false;
  }
  UINT got = 0;
  try {
    got = m_file->Read(m_buffer, kBufferSize);
  } catch (const CFileException&) {
    got = 0;
  }
  if (got == 0) {
    m_lastStatus = kReadFailed;
    return false;
  }
  m_left = static_cast<int32_t>(got);
  m_lastStatus = kSuccess;
  return true;
}

int32_t CBufferedFile::ReadByteSlow() {
  if (!Fill()) return -1;
  --m_left;
  return m_buffer[m_next++];
}

bool CBufferedFile::Read(BYTE* buffer, int32_t count) {
  while (count > 0) {
    if (m_left == 0 && !Fill()) return false;
    const int32_t n = count < m_left ? count : m_left;
    std::memcpy(buffer, m_buffer + m_next, static_cast<size_t>(n));
    buffer += n;
    count -= n;
    m_next += n;
    m_left -= n;
  }
  m_lastStatus = kSuccess;
  return true;
}

bool CBufferedFile::Close() {
  if (m_state == kClosed) {
    m_lastStatus = kNotAllowed;
    return false;
  }
  m_state = kClosed;
  m_next = 0;
  m_left = 0;
  bool closed = true;
  try {
    m_file->Close();
  } catch (const CFileException&) {
    closed = false;
  }
  m_file.reset();
  m_lastStatus = closed ? kSuccess : kCloseFailed;
  return closed;
}
