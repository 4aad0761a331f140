// CTime: a moment in whole seconds since 1970-01-01 00:00 UTC (64-bit inside), broken down in
// local time. CTimeSpan: a signed number of seconds (the difference of two CTimes).
//
// Wall-clock reads go through CTime::GetCurrentTime() only, so that the clock seam can redirect
// them in tests.
#pragma once

#include <cstdint>
#include <ctime>

#include "framework/String.h"
#include "framework/WinTypes.h"

#ifdef GetCurrentTime  // <winbase.h> maps it to GetTickCount
#undef GetCurrentTime
#endif

class CArchive;

class CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(int64_t seconds) : m_span(seconds) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  int64_t GetTotalSeconds() const { return m_span; }
  int64_t GetTotalMinutes() const { return m_span / 60; }
  int64_t GetTotalHours() const { return m_span / 3600; }
  int64_t GetDays() const { return m_span / 86400; }
  int GetHours() const { return static_cast<int>(m_span / 3600 % 24); }
  int GetMinutes() const { return static_cast<int>(m_span / 60 % 60); }
  int GetSeconds() const { return static_cast<int>(m_span % 60); }

  CTimeSpan operator+(CTimeSpan o) const { return CTimeSpan(m_span + o.m_span); }
  CTimeSpan operator-(CTimeSpan o) const { return CTimeSpan(m_span - o.m_span); }
  bool operator==(CTimeSpan o) const { return m_span == o.m_span; }
  bool operator!=(CTimeSpan o) const { return m_span != o.m_span; }
  bool operator<(CTimeSpan o) const { return m_span < o.m_span; }
  bool operator>(CTimeSpan o) const { return m_span > o.m_span; }
  bool operator<=(CTimeSpan o) const { return m_span <= o.m_span; }
  bool operator>=(CTimeSpan o) const { return m_span >= o.m_span; }

 private:
  int64_t m_span = 0;
};

class CTime {
 public:
  CTime() = default;               // 0: 1970-01-01 00:00:00 UTC
  CTime(int64_t t) : m_time(t) {}  // seconds since 1970 (time_t of any width)
  // Local time, as mktime reads it (nDST < 0: let the C library decide daylight saving).
  // Fields out of range are normalised the way mktime does (month 13 = January next year).
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

  // Now. The one wall-clock read of the framework (the clock seam redirects it).
  static CTime GetCurrentTime();

  int64_t GetTime() const { return m_time; }

  // Broken down in local time. A time the C library cannot break down gives 0 fields.
  int GetYear() const;       // e.g. 1996
  int GetMonth() const;      // 1..12
  int GetDay() const;        // 1..31
  int GetHour() const;       // 0..23
  int GetMinute() const;     // 0..59
  int GetSecond() const;     // 0..59 (60 on a leap second)
  int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday
  // Fills *ptm with the local broken-down time; false when the time cannot be broken down.
  bool GetLocalTm(struct tm* ptm) const;

  // strftime of the local time; an empty pattern or a failure gives the empty string.
  CString Format(const char* pFormat) const;

  CTimeSpan operator-(CTime o) const { return CTimeSpan(m_time - o.m_time); }
  CTime operator+(CTimeSpan s) const { return CTime(m_time + s.GetTotalSeconds()); }
  CTime operator-(CTimeSpan s) const { return CTime(m_time - s.GetTotalSeconds()); }
  CTime& operator+=(CTimeSpan s) {
    m_time += s.GetTotalSeconds();
    return *this;
  }
  CTime& operator-=(CTimeSpan s) {
    m_time -= s.GetTotalSeconds();
    return *this;
  }
  bool operator==(CTime o) const { return m_time == o.m_time; }
  bool operator!=(CTime o) const { return m_time != o.m_time; }
  bool operator<(CTime o) const { return m_time < o.m_time; }
  bool operator>(CTime o) const { return m_time > o.m_time; }
  bool operator<=(CTime o) const { return m_time <= o.m_time; }
  bool operator>=(CTime o) const { return m_time >= o.m_time; }

 private:
  int64_t m_time = 0;
};

// Archive form: 32-bit seconds since 1970 (unsigned, little-endian), as descriptor records store
// dates. Storing a time outside 0..0xFFFFFFFF keeps the low 32 bits.
CArchive& operator<<(CArchive& ar, CTime t);
CArchive& operator>>(CArchive& ar, CTime& t);
