// CTime and CTimeSpan.
#include "framework/Time.h"

#include "seams/Clock.h"

#include <string>

#include "framework/Archive.h"

namespace {

// Local broken-down time, thread-safe on both builds.
bool LocalTm(int64_t t, struct tm* out) {
#ifdef _WIN32
  __time64_t t64 = static_cast<__time64_t>(t);
  return _localtime64_s(out, &t64) == 0;
#else
  time_t tt = static_cast<time_t>(t);
  if (static_cast<int64_t>(tt) != t) return false;
  return localtime_r(&tt, out) != nullptr;
#endif
}

}  // namespace

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_span(((static_cast<int64_t>(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs) {}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  struct tm tm = {};
  tm.tm_year = nYear - 1900;
  tm.tm_mon = nMonth - 1;
  tm.tm_mday = nDay;
  tm.tm_hour = nHour;
  tm.tm_min = nMin;
  tm.tm_sec = nSec;
  tm.tm_isdst = nDST;
  time_t t = std::mktime(&tm);
  // mktime's failure value (-1) is also one second before 1970; either way keep what it said.
  m_time = static_cast<int64_t>(t);
}

// Through the clock seam, so that tests run in virtual time.
CTime CTime::GetCurrentTime() { return CTime(seams::WallSeconds()); }

bool CTime::GetLocalTm(struct tm* ptm) const { return LocalTm(m_time, ptm); }

int CTime::GetYear() const {
  struct tm tm = {};
  return LocalTm(m_time, &tm) ? tm.tm_year + 1900 : 0;
}

int CTime::GetMonth() const {
  struct tm tm = {};
  return LocalTm(m_time, &tm) ? tm.tm_mon + 1 : 0;
}

int CTime::GetDay() const {
  struct tm tm = {};
  return LocalTm(m_time, &tm) ? tm.tm_mday : 0;
}

int CTime::GetHour() const {
  struct tm tm = {};
  return LocalTm(m_time, &tm) ? tm.tm_hour : 0;
}

int CTime::GetMinute() const {
  struct tm tm = {};
  return LocalTm(m_time, &tm) ? tm.tm_min : 0;
}

int CTime::GetSecond() const {
  struct tm tm = {};
  return LocalTm(m_time, &tm) ? tm.tm_sec : 0;
}

int CTime::GetDayOfWeek() const {
  struct tm tm = {};
  return LocalTm(m_time, &tm) ? tm.tm_wday + 1 : 0;
}

CString CTime::Format(const char* pFormat) const {
  struct tm tm = {};
  if (pFormat == nullptr || *pFormat == '\0' || !LocalTm(m_time, &tm)) return CString();
  // strftime gives 0 both for "too small" and for an empty result; grow a few times, then stop.
  for (size_t size = 128; size <= 65536; size *= 8) {
    std::string out(size, '\0');
    // The pattern is the caller's by design.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    size_t n = std::strftime(&out[0], out.size(), pFormat, &tm);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (n > 0) {
      out.resize(n);
      return CString(out);
    }
  }
  return CString();
}

CArchive& operator<<(CArchive& ar, CTime t) {
  return ar << static_cast<DWORD>(static_cast<uint64_t>(t.GetTime()) & 0xFFFFFFFFu);
}

CArchive& operator>>(CArchive& ar, CTime& t) {
  DWORD seconds = 0;
  ar >> seconds;
  t = CTime(static_cast<int64_t>(seconds));
  return ar;
}
