// Loading rich text, apart from the window: the format a file's first bytes decide, range
// lengths, and bounded copies into the document's fixed fields.
#include "richtext/RichTextFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(RichTextFormat, FiveSignatureBytesInAnyCaseMeanRtf) {
  struct Case {
    const char* head;
    long count;
    int expected;
  };
  const Case cases[] = {
      {"{\\rtf", 5, kRichTextFormatRtf},
      {"{\\RTF", 5, kRichTextFormatRtf},  // "{\RTF1 ..." in capitals
      {"{\\rTf", 5, kRichTextFormatRtf},
      {"{\\rt", 4, kRichTextFormatText},  // a 4-byte file
      {"{\\rtx", 5, kRichTextFormatText},
      {"plain", 5, kRichTextFormatText},
      {"", 0, kRichTextFormatText},
      {"{\\rtf", -1, kRichTextFormatText},  // a failed read
      {nullptr, 5, kRichTextFormatText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.head ? c.head : "(null)");
    char head[6] = {};
    if (c.head) std::memcpy(head, c.head, std::strlen(c.head));
    EXPECT_EQ(DecideRichTextFormat(c.head ? head : nullptr, c.count), c.expected);
  }
}

TEST(RichTextFormat, RangesAreMeasuredIn64BitsAndRefusedWhenEmpty) {
  EXPECT_EQ(RichTextRangeLength(10, 20), 10);
  EXPECT_EQ(RichTextRangeLength(0, 1), 1);
  EXPECT_EQ(RichTextRangeLength(20, 20), -1);  // start = end
  EXPECT_EQ(RichTextRangeLength(30, 20), -1);  // reversed
  EXPECT_EQ(RichTextRangeLength(-5, 20), -1);  // negative start
  // The difference of two 32-bit offsets that overflows 32 bits.
  EXPECT_EQ(RichTextRangeLength(0, 0xFFFFFFFFLL), 0xFFFFFFFFLL);
}

TEST(RichTextFormat, FieldCopiesAreCutToTheirCapacity) {
  // A 255-character data folder plus "\imagedoc.dat" is 268 characters for a 256-character field.
  const std::string path = std::string(255, 'd') + "\\imagedoc.dat";
  struct {
    char field[256];
    char guard[16];
  } record;
  std::memset(&record, 'x', sizeof record);
  CopyRichTextField(record.field, sizeof record.field, path.c_str());
  EXPECT_EQ(std::strlen(record.field), 255u);
  EXPECT_EQ(std::string(record.field), path.substr(0, 255));
  EXPECT_EQ(std::string(record.guard, sizeof record.guard), std::string(16, 'x'));

  char title[32];
  CopyRichTextField(title, sizeof title, "RTF");
  EXPECT_STREQ(title, "RTF");
  CopyRichTextField(title, sizeof title, nullptr);
  EXPECT_STREQ(title, "");
}

}  // namespace
