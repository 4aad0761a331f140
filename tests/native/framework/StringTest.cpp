// CString essentials.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/String.h"

TEST(String, ConstructionAndBasics) {
  CString empty;
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(0, empty.GetLength());
  EXPECT_STREQ("", empty);
  CString fromNull(static_cast<const char*>(nullptr));
  EXPECT_TRUE(fromNull.IsEmpty());
  CString s("hello");
  EXPECT_EQ(5, s.GetLength());
  EXPECT_EQ('e', s[1]);
  EXPECT_EQ('o', s.GetAt(4));
  s.SetAt(0, 'H');
  EXPECT_STREQ("Hello", s);
  EXPECT_EQ(CString("xxx"), CString('x', 3));
  EXPECT_TRUE(CString('x', 0).IsEmpty());
  EXPECT_EQ(CString("ab"), CString("abcdef", 2));
  CString copy(s);
  copy += " world";
  EXPECT_STREQ("Hello", s);  // value semantics
  EXPECT_STREQ("Hello world", copy);
  copy.Empty();
  EXPECT_TRUE(copy.IsEmpty());
  CString assigned;
  assigned = 'c';
  EXPECT_STREQ("c", assigned);
  assigned = "text";
  EXPECT_STREQ("text", assigned);
}

TEST(String, ConcatenationAndComparison) {
  CString a("abc");
  EXPECT_EQ(CString("abcdef"), a + "def");
  EXPECT_EQ(CString("xyzabc"), "xyz" + a);
  EXPECT_EQ(CString("abc!"), a + '!');
  EXPECT_EQ(CString("!abc"), '!' + a);
  EXPECT_EQ(CString("abcabc"), a + a);
  CString b = a;
  b += 'd';
  b += CString("e");
  EXPECT_STREQ("abcde", b);
  EXPECT_TRUE(a == "abc");
  EXPECT_TRUE("abc" == a);
  EXPECT_TRUE(a != "abd");
  EXPECT_TRUE(a < "abd");
  EXPECT_TRUE(a < CString("abcd"));
  EXPECT_TRUE(CString("b") > a);
  EXPECT_TRUE(a <= "abc" && a >= "abc");
  EXPECT_LT(a.Compare("abd"), 0);
  EXPECT_GT(a.Compare("ab"), 0);
  EXPECT_EQ(0, a.Compare("abc"));
  EXPECT_GT(CString("\xE9").Compare("z"), 0);  // bytes compare unsigned
  EXPECT_EQ(0, CString("JpG").CompareNoCase("jpg"));
  EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
  EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
  EXPECT_LT(CString("ab").CompareNoCase("ABC"), 0);
}

TEST(String, MidLeftRightEdges) {
  CString s("abcdef");
  EXPECT_EQ(CString("cdef"), s.Mid(2));
  EXPECT_EQ(CString("cd"), s.Mid(2, 2));
  EXPECT_EQ(CString("ef"), s.Mid(4, 100));
  EXPECT_TRUE(s.Mid(6).IsEmpty());
  EXPECT_TRUE(s.Mid(100).IsEmpty());
  EXPECT_EQ(CString("ab"), s.Mid(-3, 2));
  EXPECT_TRUE(s.Mid(1, -1).IsEmpty());
  EXPECT_EQ(CString("abc"), s.Left(3));
  EXPECT_EQ(s, s.Left(99));
  EXPECT_TRUE(s.Left(-1).IsEmpty());
  EXPECT_EQ(CString("JPG"), CString("image.JPG").Right(3));
  EXPECT_EQ(CString("ab"), CString("ab").Right(3));  // shorter than three: the whole
  EXPECT_TRUE(s.Right(0).IsEmpty());
}

TEST(String, FindEdges) {
  CString s("a\\b\\c.wav");
  EXPECT_EQ(1, s.Find('\\'));
  EXPECT_EQ(3, s.Find('\\', 2));
  EXPECT_EQ(-1, s.Find('\\', 4));
  EXPECT_EQ(-1, s.Find('z'));
  EXPECT_EQ(1, s.Find('\\', -5));
  EXPECT_EQ(-1, s.Find('a', 100));
  EXPECT_EQ(3, s.ReverseFind('\\'));
  EXPECT_EQ(-1, s.ReverseFind('z'));
  EXPECT_EQ(5, s.Find(".wav"));
  EXPECT_EQ(-1, s.Find(".wav", 6));
  EXPECT_EQ(0, s.Find(""));
  EXPECT_EQ(9, s.Find("", 9));
  EXPECT_EQ(-1, s.Find("", 10));
  EXPECT_EQ(-1, CString().Find('a'));
  EXPECT_EQ(0, CString().Find(""));
}

TEST(String, CaseAndTrim) {
  CString s(" \t Mixed Case 123 \r\n");
  s.TrimLeft();
  EXPECT_STREQ("Mixed Case 123 \r\n", s);
  s.TrimRight();
  EXPECT_STREQ("Mixed Case 123", s);
  s.MakeUpper();
  EXPECT_STREQ("MIXED CASE 123", s);
  s.MakeLower();
  EXPECT_STREQ("mixed case 123", s);
  CString blank("   ");
  blank.TrimRight();
  EXPECT_TRUE(blank.IsEmpty());
  CString high("\xC9t\xE9");
  high.MakeUpper();
  EXPECT_STREQ("\xC9T\xE9", high);  // only ASCII letters change
}

TEST(String, FormatAnyLength) {
  CString s;
  s.Format("%d-%s-%c-%.2f", 42, "x", 'y', 1.5);
  EXPECT_STREQ("42-x-y-1.50", s);
  std::string big(10000, 'q');
  s.Format("[%s]%d", big.c_str(), 7);
  EXPECT_EQ(10003, s.GetLength());
  EXPECT_EQ('[', s[0]);
  EXPECT_EQ(']', s[10001]);
  EXPECT_EQ('7', s[10002]);
  s.Format("%s", "");
  EXPECT_TRUE(s.IsEmpty());
  // Exactly at the first attempt's buffer edge (255 and 256 characters).
  s.Format("%s", std::string(255, 'e').c_str());
  EXPECT_EQ(255, s.GetLength());
  s.Format("%s", std::string(256, 'e').c_str());
  EXPECT_EQ(256, s.GetLength());
  s.Format("FXParameters selected: delay=%d,colwidth=%d\n\n", 10, 80);
  EXPECT_STREQ("FXParameters selected: delay=10,colwidth=80\n\n", s);
}

TEST(String, GetBufferAndRelease) {
  CString s("abc");
  char* p = s.GetBuffer(11);  // 11 characters and a terminator
  EXPECT_STREQ("abc", p);     // the content is kept
  std::strcpy(p, "longer text");
  s.ReleaseBuffer();
  EXPECT_STREQ("longer text", s);
  EXPECT_EQ(11, s.GetLength());
  p = s.GetBuffer(0);
  p[3] = '\0';
  s.ReleaseBuffer();
  EXPECT_STREQ("lon", s);
  p = s.GetBuffer(20);
  std::memcpy(p, "12345", 5);
  s.ReleaseBuffer(4);
  EXPECT_STREQ("1234", s);
  p = s.GetBufferSetLength(2);
  EXPECT_EQ(2, s.GetLength());
  p[0] = 'z';
  EXPECT_STREQ("z2", s);
  CString empty;
  p = empty.GetBuffer(0);
  EXPECT_EQ('\0', p[0]);
  empty.ReleaseBuffer();
  EXPECT_TRUE(empty.IsEmpty());
}

#ifdef _WIN32
TEST(String, LoadStringMissingIdIsFalse) {
  CString s("old");
  EXPECT_FALSE(s.LoadString(65000));  // the test program has no string table
  EXPECT_TRUE(s.IsEmpty());
}
#endif
