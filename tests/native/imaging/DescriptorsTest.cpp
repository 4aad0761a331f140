// The descriptor records read from an image set's description files: byte layouts built inline,
// record versions, string forms, and damaged records.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imaging/Descriptors.h"

namespace {

// Little-endian record bytes, written field by field.
class Bytes {
 public:
  Bytes& U8(uint8_t v) {
    data.push_back(v);
    return *this;
  }
  Bytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  // The short string form: one length byte, then the characters.
  Bytes& Str(const std::string& s) {
    U8(static_cast<uint8_t>(s.size()));
    data.insert(data.end(), s.begin(), s.end());
    return *this;
  }
  std::vector<uint8_t> data;
};

// A record of the given stored version up to and including the five offsets:
// version, date, six texts, five numbers, pre-title, title, five offsets.
Bytes RecordWithoutFormat(uint32_t version) {
  Bytes b;
  b.U32(version);
  b.U32(0x32E8A580);  // date: 1997-01-12 12:00:00 UTC
  for (const char* text : {"t1", "t2", "", "t4", "t5", "t6"}) b.Str(text);
  for (uint32_t n : {1u, 2u, 3u, 4u, 0xFFFFFFFFu}) b.U32(n);
  b.Str("Pre").Str("Title");
  for (uint32_t n : {100u, 200u, 300u, 400u, 5000u}) b.U32(n);
  return b;
}

template <typename Record>
void LoadFrom(const std::vector<uint8_t>& bytes, Record& record, ULONGLONG* consumed = nullptr) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  record.Serialize(ar);
  if (consumed) {
    ar.Flush();
    *consumed = file.GetPosition();
  }
}

template <typename Record>
std::vector<uint8_t> StoreOf(Record& record) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    record.Serialize(ar);
    ar.Close();
  }
  return std::vector<uint8_t>(file.GetData(), file.GetData() + file.GetLength());
}

TEST(ImageDescTest, NewRecordHoldsTheDefaults) {
  CImageDesc desc;
  EXPECT_EQ(desc.version, 2u);
  EXPECT_EQ(desc.date, CTime(1996, 1, 1, 0, 0, 0));
  EXPECT_EQ(desc.numbers[0], 0);
  EXPECT_EQ(desc.numbers[1], 0);
  EXPECT_EQ(desc.numbers[2], 500);
  EXPECT_EQ(desc.numbers[3], 10);
  EXPECT_EQ(desc.numbers[4], 30);
  EXPECT_EQ(desc.dataFormat, kImageDataJpeg);
  EXPECT_TRUE(desc.title.IsEmpty());
}

TEST(ImageDescTest, VersionTwoReadsEveryFieldAndItsDataFormat) {
  Bytes b = RecordWithoutFormat(2);
  b.U32(kImageDataBmp);
  b.U32(0xDEADBEEF);  // whatever follows belongs to the next record
  CImageDesc desc;
  ULONGLONG consumed = 0;
  LoadFrom(b.data, desc, &consumed);

  EXPECT_EQ(consumed, b.data.size() - 4) << "a record must stop at its own end";
  EXPECT_EQ(desc.date.GetTime(), 0x32E8A580);
  EXPECT_STREQ(desc.texts[0], "t1");
  EXPECT_STREQ(desc.texts[2], "");
  EXPECT_STREQ(desc.texts[5], "t6");
  EXPECT_EQ(desc.numbers[3], 4);
  EXPECT_EQ(desc.numbers[4], -1);
  EXPECT_STREQ(desc.preTitle, "Pre");
  EXPECT_STREQ(desc.title, "Title");
  EXPECT_EQ(desc.captionStart, 100);
  EXPECT_EQ(desc.captionEnd, 200);
  EXPECT_EQ(desc.descriptionStart, 300);
  EXPECT_EQ(desc.descriptionEnd, 400);
  EXPECT_EQ(desc.dataOffset, 5000);
  EXPECT_EQ(desc.dataFormat, kImageDataBmp);
}

// Version 1 has no data-format field and means a packed image; any other version stops before
// the field and keeps the default.
TEST(ImageDescTest, OtherVersionsStopBeforeTheDataFormat) {
  struct Case {
    uint32_t storedVersion;
    int32_t expectedFormat;
  };
  for (const Case& c :
       {Case{1, kImageDataPacked}, Case{3, kImageDataJpeg}, Case{0, kImageDataJpeg}}) {
    SCOPED_TRACE(c.storedVersion);
    Bytes b = RecordWithoutFormat(c.storedVersion);
    b.U32(kImageDataBmp);  // not part of the record
    CImageDesc desc;
    ULONGLONG consumed = 0;
    LoadFrom(b.data, desc, &consumed);
    EXPECT_EQ(consumed, b.data.size() - 4);
    EXPECT_EQ(desc.dataFormat, c.expectedFormat);
    EXPECT_EQ(desc.version, 2u) << "the record's own version stays 2";
    EXPECT_STREQ(desc.title, "Title");
  }
}

TEST(ImageDescTest, StoringWritesVersionTwoWithTheStringForms) {
  CImageDesc desc;
  desc.date = CTime(int64_t{0xF0000000});  // past 2038: still 32 bits, unsigned
  desc.title = CString(std::string(300, 'x'));
  desc.preTitle = "P";
  desc.dataFormat = kImageDataPacked;
  const std::vector<uint8_t> bytes = StoreOf(desc);

  const size_t textsAt = 8;
  ASSERT_EQ(bytes.size(), 4 + 4 + 6 + 5 * 4 + 2 + (3 + 300) + 5 * 4 + 4);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
            (std::vector<uint8_t>{2, 0, 0, 0, 0x00, 0x00, 0x00, 0xF0}));
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(bytes[textsAt + i], 0) << "an empty text is one byte 0";
  const size_t preTitleAt = textsAt + 6 + 20;
  EXPECT_EQ(bytes[preTitleAt], 1);
  EXPECT_EQ(bytes[preTitleAt + 1], 'P');
  // 300 characters: 0xFF, then the length as 16 bits.
  EXPECT_EQ(bytes[preTitleAt + 2], 0xFF);
  EXPECT_EQ(bytes[preTitleAt + 3], 300 & 0xFF);
  EXPECT_EQ(bytes[preTitleAt + 4], 300 >> 8);

  CImageDesc back;
  LoadFrom(bytes, back);
  EXPECT_EQ(back.date.GetTime(), int64_t{0xF0000000});
  EXPECT_EQ(back.title.GetLength(), 300);
  EXPECT_EQ(back.dataFormat, kImageDataPacked);
}

TEST(ImageDescTest, WideStringIsReadAsText) {
  // The title in the wide form: 0xFF, 0xFFFE, the length (3), then UTF-16 characters.
  Bytes b;
  b.U32(2).U32(0);
  for (int i = 0; i < 6; ++i) b.Str("");
  for (int i = 0; i < 5; ++i) b.U32(0);
  b.Str("");
  b.U8(0xFF).U16(0xFFFE).U8(3).U16('A').U16('b').U16(0x263A);
  for (int i = 0; i < 6; ++i) b.U32(7);
  CImageDesc desc;
  LoadFrom(b.data, desc);
  EXPECT_STREQ(desc.title, "Ab?") << "a character beyond 8 bits becomes '?'";
  EXPECT_EQ(desc.dataFormat, 7);
}

// A record cut anywhere raises end-of-file: never a partial value, a crash or a hang.
TEST(ImageDescTest, TruncatedRecordRaisesEndOfFile) {
  Bytes b = RecordWithoutFormat(2);
  b.U32(kImageDataBmp);
  for (size_t length = 0; length < b.data.size(); ++length) {
    SCOPED_TRACE(length);
    const std::vector<uint8_t> cut(b.data.begin(), b.data.begin() + static_cast<ptrdiff_t>(length));
    CImageDesc desc;
    try {
      LoadFrom(cut, desc);
      ADD_FAILURE() << "a record of " << length << " bytes loaded";
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
  }
}

// A string length far beyond the bytes left fails before anything is allocated for it.
TEST(ImageDescTest, HugeStringLengthFailsWithoutAllocating) {
  Bytes b;
  b.U32(2).U32(0);
  b.U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0);  // first text: 32-bit length of 4 GB
  b.U8('x');
  CImageDesc desc;
  try {
    LoadFrom(b.data, desc);
    ADD_FAILURE() << "loaded";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
  }
}

TEST(PictureDescTest, LogoAndGlobeRecordsReadThreeValuesAfterTheirVersion) {
  Bytes b;
  b.U32(9).U32(120).U32(100).U32(4242);  // stored version 9, width, height, offset
  CLogoDesc logo;
  CGlobeDesc globe;
  LoadFrom(b.data, logo);
  LoadFrom(b.data, globe);
  for (const CPictureDesc* desc :
       {static_cast<CPictureDesc*>(&logo), static_cast<CPictureDesc*>(&globe)}) {
    EXPECT_EQ(desc->version, 1u) << "the stored version is dropped";
    EXPECT_EQ(desc->width, 120);
    EXPECT_EQ(desc->height, 100);
    EXPECT_EQ(desc->offset, 4242);
  }
  Bytes expected;
  expected.U32(1).U32(120).U32(100).U32(4242);
  EXPECT_EQ(StoreOf(logo), expected.data);
  EXPECT_EQ(StoreOf(logo).size(), CPictureDesc::kArchiveSize);
}

}  // namespace
