// CString: an 8-bit character string with value semantics.
//
// Lengths and indexes are int, as the system's code uses them. Characters are bytes; nothing here
// knows about multibyte encodings. The string may hold embedded zero bytes (GetLength counts
// them), but `operator const char*` stops at the first one, as C functions do.
#pragma once

#include <cstdarg>
#include <string>

#include "framework/WinTypes.h"

#if defined(__MINGW32__)
#define SAVER_PRINTF_FORMAT(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#elif defined(__GNUC__)
#define SAVER_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define SAVER_PRINTF_FORMAT(fmt, args)
#endif

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString(const char* lpsz);               // null gives the empty string
  CString(const char* lpch, int nLength);  // nLength bytes (may include zeros)
  CString(char ch, int nRepeat = 1);       // ch repeated (nRepeat <= 0: empty)
  explicit CString(const std::string& s) : m_str(s) {}
  ~CString() = default;

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char* lpsz);
  CString& operator=(char ch);

  // Size and content.
  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty();
  char GetAt(int nIndex) const;     // asserts 0 <= nIndex < GetLength()
  void SetAt(int nIndex, char ch);  // asserts 0 <= nIndex < GetLength()
  char operator[](int nIndex) const { return GetAt(nIndex); }
  operator const char*() const { return m_str.c_str(); }
  const std::string& str() const { return m_str; }

  // Concatenation.
  CString& operator+=(const CString& s);
  CString& operator+=(const char* lpsz);
  CString& operator+=(char ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);
  friend CString operator+(const CString& a, char ch);
  friend CString operator+(char ch, const CString& b);

  // Comparison: byte-wise (unsigned), like strcmp. Compare returns <0, 0 or >0.
  int Compare(const char* lpsz) const;
  int CompareNoCase(const char* lpsz) const;  // ASCII case folding

  // Extraction. Out-of-range counts and starts are clamped (never an error).
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;

  // Case (ASCII letters only) and trimming (spaces, tabs, CR, LF, VT, FF).
  void MakeUpper();
  void MakeLower();
  void TrimLeft();
  void TrimRight();

  // Searching: the index of the first (last) match, or -1. nStart < 0 counts as 0; a start past
  // the end finds nothing. An empty substring is found at nStart when nStart <= GetLength().
  int Find(char ch, int nStart = 0) const;
  int Find(const char* lpszSub, int nStart = 0) const;
  int ReverseFind(char ch) const;

  // printf-style formatting of any length.
  void Format(const char* lpszFormat, ...) SAVER_PRINTF_FORMAT(2, 3);
  void FormatV(const char* lpszFormat, va_list args) SAVER_PRINTF_FORMAT(2, 0);

  // Direct buffer access: GetBuffer(n) returns a writable buffer of at least n characters plus a
  // terminator, keeping the content; ReleaseBuffer(len) sets the length (-1: up to the first zero
  // byte). GetBufferSetLength(n) makes the length exactly n and returns the buffer. The pointer is
  // valid until the next change through any other member.
  char* GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  char* GetBufferSetLength(int nNewLength);

#ifdef _WIN32
  // Loads string resource nID from the module that made the process (or the module set with
  // SetResourceInstance). FALSE, leaving the string empty, when there is none.
  BOOL LoadString(UINT nID);
  // The module LoadString reads (a screen saver's .scr, a test's own exe). Null: the process's exe.
  static void SetResourceInstance(HINSTANCE hInstance);
#endif

 private:
  std::string m_str;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);
