// Numbers read from the settings' decimal text: atoi's reading (blanks, a sign, the digits up to
// the first other character) with the cursor left just past the number, nothing moved or written
// when there is no number, and numbers beyond the int range held at its ends instead of
// overflowing; the writer's text reads back to the same number.
#include "settings/DecimalText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct ReadCase {
  const char* text;
  bool read;
  int value;     // when read
  int consumed;  // characters the cursor moved over
};

const ReadCase kReadCases[] = {
    {"42", true, 42, 2},
    {"  -7x", true, -7, 4},
    {"\t\n\v\f\r12", true, 12, 7},
    {"+0", true, 0, 2},
    {"007,5", true, 7, 3},
    {"12 34", true, 12, 2},
    {"-0", true, 0, 2},
    {"2147483647", true, INT_MAX, 10},
    {"-2147483648", true, INT_MIN, 11},
    {"2147483648", true, INT_MAX, 10},
    {"-2147483649", true, INT_MIN, 11},
    {"99999999999999999999999999999", true, INT_MAX, 29},
    {"-99999999999999999999999999999", true, INT_MIN, 30},
    {"", false, 0, 0},
    {"   ", false, 0, 0},
    {"-", false, 0, 0},
    {"+ 5", false, 0, 0},
    {"--5", false, 0, 0},
    {"abc", false, 0, 0},
    {",3", false, 0, 0},
};

TEST(ReadDecimalInt, ReadsLikeAtoiAndLeavesTheCursorPastTheNumber) {
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
    const char* cursor = c.text;
    int value = -12345;
    EXPECT_EQ(saver::ReadDecimalInt(cursor, value), c.read);
    EXPECT_EQ(value, c.read ? c.value : -12345) << "a failed read writes no value";
    EXPECT_EQ(cursor - c.text, c.consumed);
  }
}

TEST(ReadDecimalInt, ANullCursorIsNoNumber) {
  const char* cursor = nullptr;
  int value = 9;
  EXPECT_FALSE(saver::ReadDecimalInt(cursor, value));
  EXPECT_EQ(cursor, nullptr);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(saver::DecimalTextToInt(nullptr), 0);
}

TEST(ReadDecimalInt, ReadsAListOfNumbersOneAfterTheOther) {
  const char* text = "1, 50,-3,99999999999x";
  const char* cursor = text;
  int fields[4] = {};
  for (int& field : fields) {
    ASSERT_TRUE(saver::ReadDecimalInt(cursor, field)) << "at " << (cursor - text);
    if (*cursor == ',') ++cursor;
  }
  EXPECT_EQ(fields[0], 1);
  EXPECT_EQ(fields[1], 50);
  EXPECT_EQ(fields[2], -3);
  EXPECT_EQ(fields[3], INT_MAX);
  EXPECT_STREQ(cursor, "x");
}

TEST(DecimalText, EveryWrittenNumberReadsBack) {
  for (int value : {0, 1, -1, 7, 100, -250, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1}) {
    char buffer[16];
    saver::IntToDecimalText(value, buffer);
    EXPECT_EQ(saver::DecimalTextToInt(buffer), value) << buffer;
  }
  char small[4] = "xyz";
  saver::IntToDecimalText(-12345, small);
  EXPECT_STREQ(small, "-12") << "cut to the buffer, still closed";
  EXPECT_EQ(saver::DecimalTextToInt("junk"), 0);
}

}  // namespace
