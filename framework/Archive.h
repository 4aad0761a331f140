// CArchive: a buffered, typed reader or writer over a CFile.
//
// Numbers are little-endian with fixed widths whatever the platform: BYTE/char 8 bits, WORD/SHORT
// 16 bits, LONG/DWORD/int/UINT 32 bits, float and double in IEEE form. Strings (CString) use the
// archive string form: the length as one byte when below 255; otherwise 0xFF and a 16-bit length
// when below 0xFFFE; otherwise 0xFF, 0xFFFF and a 32-bit length; then one byte per character, no
// terminator. A reader also accepts a wide string, 0xFF 0xFFFE before the length (the same length
// form again), two bytes per character, each brought to 8 bits (the low byte, '?' above 255).
//
// Reading past the end of the file throws CArchiveException(endOfFile); a value is never read
// partly from beyond the end. File failures come through as CFileException. Both by value.
//
// The archive owns a buffer: while an archive is open on a file, read and write the file through
// the archive, or call Flush() first. After Flush() the file's position is exactly the archive's
// logical position (for loading it seeks back over read-ahead bytes), so a caller may read or
// write the file directly and then go on with the archive (CDIB::Serialize does so).
//
// Objects: WriteObject / ReadObject (and << / >> on CObject pointers) store a class tag before
// each object: a null tag; a new-class tag with the schema and the class name (then the object's
// Serialize data); back references to a class or to an object seen before in this archive, so an
// object written twice is read back as one object. Tag format (16-bit little-endian words):
//   0x0000                        null pointer
//   0xFFFF, schema, nameLen, name new class, then the object's data; the class and then the object
//                                 each take the next index (indexes start at 1)
//   0x8000 | i  (i < 0x7FFF)      class with index i, then a new object's data (object takes next)
//   i  (1 <= i < 0x7FFF)          the object with index i, read before
//   0x7FFF, 32-bit value          index too big for a word: bit 31 set = class, clear = object
// A stored schema must equal the class's schema unless the class is versionable
// (VERSIONABLE_SCHEMA): then Serialize calls GetObjectSchema() to learn the stored one.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/Object.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

class CDocument;

class CArchive {
 public:
  enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  // pFile stays the caller's and must outlive the archive. nBufSize below 128 is raised to 128;
  // lpBuf is accepted and ignored (the archive always uses its own buffer).
  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;
  // A storing archive still open flushes its buffer (unless bNoFlushOnDelete); errors are dropped
  // here, so call Close() to see them. The file itself is never closed by the archive.
  ~CArchive();

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  BOOL IsBufferEmpty() const { return m_nBufCur == m_nBufMax; }
  CFile* GetFile() const { return m_pFile; }

  // Storing: writes the buffer to the file. Loading: seeks the file back to the archive's logical
  // position and empties the buffer. Either way, afterwards file position == archive position.
  void Flush();
  // Flushes and detaches from the file (the file stays open). Further use throws.
  void Close();
  // Detaches without writing anything (after a failure).
  void Abort();

  // Raw bytes. Read returns the count read, fewer only at the end of the file (no exception).
  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);

  // Object I/O (see the tag format above). ReadObject returns a new object (owned by the caller;
  // an object read twice through back references is the same pointer) or null for a null tag.
  // Failures: CArchiveException badClass (unknown or not creatable class, or not derived from
  // pClassRefRequested), badSchema, badIndex, endOfFile. An object whose Serialize fails is
  // deleted before the exception goes on.
  void WriteObject(const CObject* pOb);
  CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
  // The schema stored for the object being read (for versionable classes); (UINT)-1 when not
  // reading an object. Call it once per object: it resets to (UINT)-1.
  UINT GetObjectSchema();
  void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

  // The compact count form of collections: a WORD, or 0xFFFF then a DWORD when >= 0xFFFF.
  void WriteCount(DWORD dwCount);
  DWORD ReadCount();

  // Numbers.
  CArchive& operator<<(BYTE by);
  CArchive& operator<<(char ch);
  CArchive& operator<<(WORD w);
  CArchive& operator<<(short n);
  CArchive& operator<<(int i);
  CArchive& operator<<(unsigned int u);
#ifdef _WIN32  // LONG and DWORD are long types there, 32-bit; elsewhere they are int and unsigned
  CArchive& operator<<(long l);
  CArchive& operator<<(unsigned long dw);
#endif
  CArchive& operator<<(float f);
  CArchive& operator<<(double d);
  CArchive& operator<<(const CString& s);
  CArchive& operator<<(const CObject* pOb) {
    WriteObject(pOb);
    return *this;
  }

  CArchive& operator>>(BYTE& by);
  CArchive& operator>>(char& ch);
  CArchive& operator>>(WORD& w);
  CArchive& operator>>(short& n);
  CArchive& operator>>(int& i);
  CArchive& operator>>(unsigned int& u);
#ifdef _WIN32
  CArchive& operator>>(long& l);
  CArchive& operator>>(unsigned long& dw);
#endif
  CArchive& operator>>(float& f);
  CArchive& operator>>(double& d);
  CArchive& operator>>(CString& s);
  CArchive& operator>>(CObject*& pOb) {
    pOb = ReadObject(nullptr);
    return *this;
  }
  CArchive& operator>>(const CObject*& pOb) {
    pOb = ReadObject(nullptr);
    return *this;
  }

  CDocument* m_pDocument = nullptr;  // for the document's Serialize; unused by the archive

 private:
  void CheckUsable() const;
  void CheckLoading() const;
  void CheckStoring() const;
  [[noreturn]] void ThrowArchive(int cause) const;
  // Reads exactly n bytes or throws endOfFile. Requests that fit the buffer (every number) consume
  // nothing when they fail; longer ones may have consumed the bytes that were there.
  void ReadExact(void* p, size_t n);
  // Makes at least n (<= buffer size) bytes available in the buffer; FALSE when the file ends
  // first.
  BOOL FillBuffer(size_t n);
  void WriteBytes(const void* p, size_t n);
  void WriteTag(DWORD index, bool bClass);
  void ReadStringBody(CString& s, DWORD nLength, bool bWide);
  DWORD ReadStringLength(bool* pbWide);
  // Bytes left to read (buffer and file) when the file can tell, else the largest value.
  ULONGLONG RemainingBytes() const;

  CFile* m_pFile;
  UINT m_nMode;
  std::vector<BYTE> m_buffer;
  size_t m_nBufCur = 0;  // next byte to read, or end of pending data when storing
  size_t m_nBufMax = 0;  // end of valid read data (loading)
  bool m_bClosed = false;
  UINT m_nObjectSchema = static_cast<UINT>(-1);

  // Storing: index of each class and object written. Loading: what each index refers to.
  std::unordered_map<const void*, DWORD> m_storeMap;
  struct LoadEntry {
    const CRuntimeClass* pClass;  // the class (of the object, for an object entry)
    CObject* pObject;             // null for a class entry and for an object that failed to load
    UINT nSchema;                 // stored schema (class entries)
    bool bClass;
  };
  std::vector<LoadEntry> m_loadArray;  // index 0 unused
  DWORD m_nMapCount = 1;
};
