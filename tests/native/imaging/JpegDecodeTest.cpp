// CDIB::LoadJPEG: JPEG files decode to exactly what libjpeg itself gives with the same options;
// damaged, truncated and oversized files fail without touching the bitmap.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imaging/DIB.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "tests/native/imaging/DIBTestSupport.h"
#include "tests/native/imaging/ProgressRecorder.h"
#include "tests/support/JpegEncode.h"

namespace {

using testsupport::EncodeJpeg;
using testsupport::JpegOptions;
using testsupport::Picture;
using testsupport::SyntheticPhoto;
using Bytes = std::vector<uint8_t>;

// LoadJPEG on a temporary file holding the bytes.
BOOL LoadBytes(CDIB& dib, const Bytes& bytes, HWND progress = nullptr) {
  FILE* file = testsupport::TempFileWith(bytes);
  if (!file) {
    ADD_FAILURE() << "no temporary file";
    return 0;
  }
  const BOOL result = dib.LoadJPEG(file, progress);
  std::fclose(file);
  return result;
}

// The bitmap holds exactly the reference decode, as blue, green, red.
void ExpectPixelsEqual(const CDIB& dib, const Picture& reference) {
  ASSERT_EQ(dib.header->bmiHeader.biBitCount, 24);
  ASSERT_EQ(dib.GetWidth(), reference.width);
  ASSERT_EQ(dib.GetHeight(), reference.height);
  int mismatches = 0;
  for (int y = 0; y < reference.height; ++y) {
    const BYTE* p = dib.GetPixelAddress(0, y);
    const uint8_t* q = reference.Row(y);
    for (int x = 0; x < reference.width; ++x, p += 3, q += 3) {
      if (p[0] == q[2] && p[1] == q[1] && p[2] == q[0]) continue;
      if (++mismatches <= 3)
        ADD_FAILURE() << "pixel (" << x << ", " << y << "): bitmap b/g/r " << int(p[0]) << "/"
                      << int(p[1]) << "/" << int(p[2]) << ", libjpeg r/g/b " << int(q[0]) << "/"
                      << int(q[1]) << "/" << int(q[2]);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

struct DecodeCase {
  const char* name;
  int width, height, components;
  JpegOptions options;
};

TEST(JpegDecodeTest, PixelsEqualTheLibrarysOwnDecode) {
  const DecodeCase cases[] = {
      {"4:2:0, sizes not multiples of 16", 37, 23, 3, {}},
      {"4:4:4", 48, 32, 3, {90, false, 1, 1, 0}},
      {"4:2:2, quality 50", 40, 17, 3, {50, false, 2, 1, 0}},
      {"progressive", 41, 29, 3, {85, true, 2, 2, 0}},
      {"restart markers", 64, 40, 3, {75, false, 2, 2, 1}},
      {"greyscale decodes as RGB", 19, 11, 1, {}},
      {"one pixel", 1, 1, 3, {}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes jpeg = EncodeJpeg(SyntheticPhoto(c.width, c.height, c.components), c.options);
    CDIB dib;
    ASSERT_TRUE(LoadBytes(dib, jpeg));
    ExpectPixelsEqual(dib, testsupport::ReferenceDecode(jpeg));
    EXPECT_EQ(dib.ownsBits, 1);
  }
}

TEST(JpegDecodeTest, LoadByNameSendsJpgFilesToTheDecoder) {
  const Bytes jpeg = EncodeJpeg(SyntheticPhoto(20, 10));
  const std::string path = ::testing::TempDir() + "jpeg_decode_test.JPG";
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(std::fwrite(jpeg.data(), 1, jpeg.size(), out), jpeg.size());
  std::fclose(out);

  CDIB dib;
  EXPECT_TRUE(dib.Load(path.c_str()));
  std::remove(path.c_str());
  ExpectPixelsEqual(dib, testsupport::ReferenceDecode(jpeg));
}

// A damaged file fails, and the bitmap keeps what it held before.
void ExpectRefused(const Bytes& bytes, const char* what) {
  SCOPED_TRACE(what);
  CDIB dib;
  ASSERT_TRUE(dib.Create(5, 4, nullptr));
  dib.bits[3] = 42;
  const dibtest::Snapshot before(dib);
  EXPECT_FALSE(LoadBytes(dib, bytes));
  before.ExpectUnchanged(dib);
}

// Offset of the first marker with this code (its 0xFF byte), 0 when there is none.
size_t MarkerOffset(const Bytes& jpeg, uint8_t code) {
  for (size_t i = 2; i + 3 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == code) return i;
  return 0;
}

// The first byte of the entropy-coded data, after the start-of-scan segment.
size_t ScanDataOffset(const Bytes& jpeg) {
  const size_t sos = MarkerOffset(jpeg, 0xDA);
  return sos ? sos + 2 + (jpeg[sos + 2] << 8 | jpeg[sos + 3]) : 0;
}

// The baseline frame header's height field (width follows).
size_t FrameSizeOffset(const Bytes& jpeg) {
  const size_t sof = MarkerOffset(jpeg, 0xC0);
  return sof ? sof + 5 : 0;
}

TEST(JpegDecodeTest, TruncatedFilesFailAtEveryLength) {
  const Bytes jpeg = EncodeJpeg(SyntheticPhoto(24, 16));
  for (size_t length = 0; length + 2 < jpeg.size(); length += (length < 700 ? 7 : 1)) {
    const Bytes cut(jpeg.begin(), jpeg.begin() + length);
    ExpectRefused(cut, ("cut to " + std::to_string(length) + " bytes").c_str());
  }
}

TEST(JpegDecodeTest, DamagedFilesFail) {
  const Bytes jpeg = EncodeJpeg(SyntheticPhoto(32, 32));
  const size_t scan = ScanDataOffset(jpeg);
  const size_t frame = FrameSizeOffset(jpeg);
  ASSERT_GT(scan, 0u);
  ASSERT_GT(frame, 0u);

  Bytes badCode = jpeg;  // a run of 1-bits is no Huffman code
  for (size_t i = scan + 4; i < scan + 40; i += 2) badCode[i] = 0xFF, badCode[i + 1] = 0x00;
  ExpectRefused(badCode, "corrupt entropy-coded data");

  Bytes precision = jpeg;
  precision[frame - 1] = 12;  // sample precision
  ExpectRefused(precision, "12-bit samples");

  const size_t sos = MarkerOffset(jpeg, 0xDA);
  ASSERT_GT(sos, 0u);
  Bytes noImage = jpeg;
  noImage.at(sos + 1) = 0xD9;  // the scan's marker becomes an end of image
  ExpectRefused(noImage, "no scan");

  ExpectRefused(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0}, "not a JPEG file");
  ExpectRefused(Bytes{}, "empty file");
}

TEST(JpegDecodeTest, LibraryMessagesGoToTheTraceNeverToAnAlert) {
  const Bytes jpeg = EncodeJpeg(SyntheticPhoto(32, 32));
  const Bytes cut(jpeg.begin(), jpeg.begin() + ScanDataOffset(jpeg) + 20);
  const std::string path = ::testing::TempDir() + "jpeg_decode_trace.txt";
  ASSERT_TRUE(seams::Trace::Open(path.c_str(), "trace"));
  {
    seams::ScopedAlertRecorder alerts;
    ExpectRefused(cut, "truncated in the scan");
    EXPECT_TRUE(alerts.Records().empty());
  }
  seams::Trace::Close();
  std::string text;
  if (FILE* in = std::fopen(path.c_str(), "rb")) {
    char buffer[512];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
    std::fclose(in);
  }
  std::remove(path.c_str());
  EXPECT_NE(text.find("JPEG library: Premature end of JPEG file"), std::string::npos) << text;
}

TEST(JpegDecodeTest, PicturesAboveTheSizeLimitAreRefusedFromTheHeader) {
  const Bytes jpeg = EncodeJpeg(SyntheticPhoto(16, 16));
  const size_t frame = FrameSizeOffset(jpeg);
  ASSERT_GT(frame, 0u);
  struct Case {
    const char* name;
    int height, width;
  } cases[] = {{"side above 32768", 40000, 8}, {"64 Mpixel exceeded", 16000, 16000}};
  for (const Case& c : cases) {
    Bytes big = jpeg;
    big[frame] = static_cast<uint8_t>(c.height >> 8),
    big[frame + 1] = static_cast<uint8_t>(c.height);
    big[frame + 2] = static_cast<uint8_t>(c.width >> 8),
                big[frame + 3] = static_cast<uint8_t>(c.width);
    ExpectRefused(big, c.name);
  }
}

TEST(JpegDecodeTest, AStopRequestEndsTheDecode) {
  const Bytes jpeg = EncodeJpeg(SyntheticPhoto(16, 16));
  seams::RequestStop();
  ExpectRefused(jpeg, "stop requested");
  seams::ClearStop();
  CDIB dib;
  EXPECT_TRUE(LoadBytes(dib, jpeg));
}

TEST(JpegDecodeTest, ProgressStepsInTenthsOfTheRows) {
  struct Case {
    int rows, steps;
  } cases[] = {{7, 7}, {100, 10}, {25, 12}};  // step 0 steps every row; 25 rows: every 2
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    const Bytes jpeg = EncodeJpeg(SyntheticPhoto(8, c.rows));
    progresstest::ScopedProgressRecorder recorder;
    CDIB dib;
    ASSERT_TRUE(LoadBytes(dib, jpeg, progresstest::FakeBar()));
    EXPECT_TRUE(recorder.StartedWithRangeAndStep(progresstest::FakeBar()));
    EXPECT_EQ(recorder.Steps(), c.steps);
    EXPECT_EQ(recorder.Messages().size(), static_cast<size_t>(c.steps) + 2);
  }
  progresstest::ScopedProgressRecorder recorder;
  CDIB dib;
  ASSERT_TRUE(LoadBytes(dib, EncodeJpeg(SyntheticPhoto(8, 8))));
  EXPECT_TRUE(recorder.Messages().empty()) << "no window, no messages";
}

}  // namespace
