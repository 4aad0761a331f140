// CString over std::string.
#include "framework/String.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

namespace {

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsTrimSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// strcmp order (bytes compared as unsigned), for strings that may hold zero bytes.
int CompareBytes(const std::string& a, const char* b, size_t nb) {
  size_t n = std::min(a.size(), nb);
  int r = n == 0 ? 0 : std::memcmp(a.data(), b, n);
  if (r != 0) return r < 0 ? -1 : 1;
  if (a.size() == nb) return 0;
  return a.size() < nb ? -1 : 1;
}

const char* OrEmpty(const char* p) { return p != nullptr ? p : ""; }

}  // namespace

CString::CString(const char* lpsz) : m_str(OrEmpty(lpsz)) {}

CString::CString(const char* lpch, int nLength) {
  if (lpch != nullptr && nLength > 0) m_str.assign(lpch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat) {
  if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(const char* lpsz) {
  m_str = OrEmpty(lpsz);
  return *this;
}

CString& CString::operator=(char ch) {
  m_str.assign(1, ch);
  return *this;
}

void CString::Empty() { m_str.clear(); }

char CString::GetAt(int nIndex) const {
  assert(nIndex >= 0 && nIndex < GetLength() && "CString::GetAt index out of range");
  if (nIndex < 0 || nIndex >= GetLength()) return '\0';
  return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch) {
  assert(nIndex >= 0 && nIndex < GetLength() && "CString::SetAt index out of range");
  if (nIndex < 0 || nIndex >= GetLength()) return;
  m_str[static_cast<size_t>(nIndex)] = ch;
}

CString& CString::operator+=(const CString& s) {
  m_str += s.m_str;
  return *this;
}

CString& CString::operator+=(const char* lpsz) {
  m_str += OrEmpty(lpsz);
  return *this;
}

CString& CString::operator+=(char ch) {
  m_str += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

CString operator+(const CString& a, const char* b) {
  CString r(a);
  r += b;
  return r;
}

CString operator+(const char* a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

CString operator+(const CString& a, char ch) {
  CString r(a);
  r += ch;
  return r;
}

CString operator+(char ch, const CString& b) {
  CString r(ch);
  r += b;
  return r;
}

int CString::Compare(const char* lpsz) const {
  const char* p = OrEmpty(lpsz);
  return CompareBytes(m_str, p, std::strlen(p));
}

int CString::CompareNoCase(const char* lpsz) const {
  const char* p = OrEmpty(lpsz);
  size_t i = 0;
  for (;; ++i) {
    unsigned char a = i < m_str.size() ? static_cast<unsigned char>(ToLowerAscii(m_str[i])) : 0;
    unsigned char b = static_cast<unsigned char>(ToLowerAscii(p[i]));
    bool aEnd = i >= m_str.size();
    if (aEnd || b == 0) {
      if (aEnd && b == 0) return 0;
      return aEnd ? -1 : 1;
    }
    if (a != b) return a < b ? -1 : 1;
  }
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst >= GetLength()) return CString();
  nCount = std::min(nCount, GetLength() - nFirst);
  return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  if (nCount < 0) nCount = 0;
  nCount = std::min(nCount, GetLength());
  return Mid(GetLength() - nCount, nCount);
}

void CString::MakeUpper() {
  std::transform(m_str.begin(), m_str.end(), m_str.begin(), ToUpperAscii);
}

void CString::MakeLower() {
  std::transform(m_str.begin(), m_str.end(), m_str.begin(), ToLowerAscii);
}

void CString::TrimLeft() {
  size_t n = 0;
  while (n < m_str.size() && IsTrimSpace(m_str[n])) ++n;
  m_str.erase(0, n);
}

void CString::TrimRight() {
  size_t n = m_str.size();
  while (n > 0 && IsTrimSpace(m_str[n - 1])) --n;
  m_str.resize(n);
}

int CString::Find(char ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart >= GetLength()) return -1;
  size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* lpszSub, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  size_t pos = m_str.find(OrEmpty(lpszSub), static_cast<size_t>(nStart));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
  size_t pos = m_str.rfind(ch);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

void CString::Format(const char* lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void CString::FormatV(const char* lpszFormat, va_list args) {
  if (lpszFormat == nullptr) {
    m_str.clear();
    return;
  }
  char small[256];
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(small, sizeof(small), lpszFormat, copy);
  va_end(copy);
  if (n < 0) {  // an encoding error: nothing sensible to keep
    m_str.clear();
    return;
  }
  if (static_cast<size_t>(n) < sizeof(small)) {
    m_str.assign(small, static_cast<size_t>(n));
    return;
  }
  std::string out(static_cast<size_t>(n) + 1, '\0');
  va_copy(copy, args);
  std::vsnprintf(&out[0], out.size(), lpszFormat, copy);
  va_end(copy);
  out.resize(static_cast<size_t>(n));
  m_str.swap(out);
}

char* CString::GetBuffer(int nMinBufLength) {
  size_t want = nMinBufLength > 0 ? static_cast<size_t>(nMinBufLength) : 0;
  // Grow with zero bytes, so that ReleaseBuffer(-1) finds the caller's terminator or the old end.
  if (m_str.size() < want) m_str.resize(want, '\0');
  return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
  size_t len;
  if (nNewLength < 0) {
    len = std::strlen(m_str.c_str());
  } else {
    len = std::min(static_cast<size_t>(nNewLength), m_str.size());
  }
  m_str.resize(len);
}

char* CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(nNewLength > 0 ? static_cast<size_t>(nNewLength) : 0, '\0');
  return &m_str[0];
}

#ifdef _WIN32
namespace {
HINSTANCE g_hResourceInstance = nullptr;
}

void CString::SetResourceInstance(HINSTANCE hInstance) { g_hResourceInstance = hInstance; }

BOOL CString::LoadString(UINT nID) {
  HINSTANCE hInst =
      g_hResourceInstance != nullptr ? g_hResourceInstance : ::GetModuleHandleA(nullptr);
  // Strings of the table are at most 65535 characters; try a small buffer first.
  char small[256];
  int n = ::LoadStringA(hInst, nID, small, static_cast<int>(sizeof(small)));
  if (n <= 0) {
    m_str.clear();
    return FALSE;
  }
  if (n < static_cast<int>(sizeof(small)) - 1) {
    m_str.assign(small, static_cast<size_t>(n));
    return TRUE;
  }
  std::string big(65536, '\0');
  n = ::LoadStringA(hInst, nID, &big[0], static_cast<int>(big.size()));
  big.resize(n > 0 ? static_cast<size_t>(n) : 0);
  m_str.swap(big);
  return TRUE;
}
#endif

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) {
  return CompareBytes(a.str(), b.str().data(), b.str().size()) < 0;
}
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return b < a; }
bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return !(b < a); }
bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
bool operator<=(const char* a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return !(a < b); }
bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
bool operator>=(const char* a, const CString& b) { return b.Compare(a) <= 0; }
