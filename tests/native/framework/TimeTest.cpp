// CTime and CTimeSpan.
#include <gtest/gtest.h>

#include <ctime>

#include "framework/Time.h"

TEST(Time, LocalConstructionRoundTrip) {
  CTime t(1996, 1, 1, 0, 0, 0);  // the descriptor records' default date, local time
  EXPECT_EQ(1996, t.GetYear());
  EXPECT_EQ(1, t.GetMonth());
  EXPECT_EQ(1, t.GetDay());
  EXPECT_EQ(0, t.GetHour());
  EXPECT_EQ(0, t.GetMinute());
  EXPECT_EQ(0, t.GetSecond());
  EXPECT_EQ(2, t.GetDayOfWeek());  // a Monday
  CTime u(2004, 7, 15, 13, 45, 30);
  EXPECT_EQ(2004, u.GetYear());
  EXPECT_EQ(7, u.GetMonth());
  EXPECT_EQ(15, u.GetDay());
  EXPECT_EQ(13, u.GetHour());
  EXPECT_EQ(45, u.GetMinute());
  EXPECT_EQ(30, u.GetSecond());
  EXPECT_EQ(5, u.GetDayOfWeek());  // a Thursday
  // The same moment again from its seconds.
  CTime again(u.GetTime());
  EXPECT_EQ(u, again);
  EXPECT_EQ(CString("2004-07-15 13:45:30"), again.Format("%Y-%m-%d %H:%M:%S"));
  // One day later by arithmetic is the next calendar day at noon (no DST change in mid-July).
  CTime later = u + CTimeSpan(1, 0, 0, 0);
  EXPECT_EQ(16, later.GetDay());
  EXPECT_EQ(86400, (later - u).GetTotalSeconds());
}

TEST(Time, NormalisesLikeMktime) {
  CTime t(1999, 12, 32, 0, 0, 0);  // December 32nd is January 1st
  EXPECT_EQ(2000, t.GetYear());
  EXPECT_EQ(1, t.GetMonth());
  EXPECT_EQ(1, t.GetDay());
}

TEST(Time, CurrentTimeAndComparisons) {
  std::time_t before = std::time(nullptr);
  CTime now = CTime::GetCurrentTime();
  std::time_t after = std::time(nullptr);
  EXPECT_GE(now.GetTime(), static_cast<int64_t>(before));
  EXPECT_LE(now.GetTime(), static_cast<int64_t>(after));
  CTime earlier(now.GetTime() - 5);
  EXPECT_TRUE(earlier < now);
  EXPECT_TRUE(now > earlier);
  EXPECT_TRUE(earlier != now);
  EXPECT_TRUE(earlier <= now && now >= earlier);
  CTimeSpan span = now - earlier;
  EXPECT_EQ(5, span.GetTotalSeconds());
  EXPECT_EQ(3725 % 3600 / 60, CTimeSpan(3725).GetMinutes());
  EXPECT_EQ(5, CTimeSpan(3725).GetSeconds());
  EXPECT_EQ(1, CTimeSpan(3725).GetHours());
}

TEST(Time, FormatEdges) {
  CTime t(2001, 2, 3, 4, 5, 6);
  EXPECT_TRUE(t.Format("").IsEmpty());
  EXPECT_TRUE(t.Format(nullptr).IsEmpty());
  EXPECT_EQ(CString("03/02/2001"), t.Format("%d/%m/%Y"));
  CString longer =
      t.Format("%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y");
  EXPECT_EQ(35 * 4, longer.GetLength());
}
