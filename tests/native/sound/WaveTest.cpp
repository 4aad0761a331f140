// Waves: the RIFF WAVE parse (every file a reader must refuse, and one it must take as it is),
// the volume scaling, the archive form and loading from a path.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Archive.h"
#include "framework/File.h"
#include "seams/Alerts.h"
#include "sound/Wave.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace {

using testsupport::Bytes;
using testsupport::DataChunk;
using testsupport::FmtChunk;
using testsupport::RiffFile;

BOOL LoadBytes(CWave& wave, const Bytes& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  return wave.LoadFromFile(file);
}

CWaveBlock* FirstBlock(CWave& wave) { return static_cast<CWaveBlock*>(wave.GetBlocks().GetHead()); }

const Bytes kFourSamples = {1, 2, 3, 4};

TEST(WaveLoad, RefusesEveryFileItCannotPlayAndKeepsNoBlocks) {
  Bytes good = RiffFile("WAVE", {FmtChunk(1, 1, 11025, 8), DataChunk(kFourSamples)});
  Bytes cutShort = good;
  cutShort.resize(good.size() - 2);
  struct Case {
    const char* what;
    Bytes file;
  } cases[] = {
      {"empty file", {}},
      {"not RIFF", testsupport::Chunk("LIST", Bytes(12, 0))},
      {"form AVI, not WAVE", RiffFile("AVI ", {FmtChunk(1, 1, 11025, 8), DataChunk(kFourSamples)})},
      {"no fmt chunk", RiffFile("WAVE", {DataChunk(kFourSamples)})},
      {"no data chunk", RiffFile("WAVE", {FmtChunk(1, 1, 11025, 8)})},
      {"data before fmt", RiffFile("WAVE", {DataChunk(kFourSamples), FmtChunk(1, 1, 11025, 8)})},
      {"format tag 3 (float)",
       RiffFile("WAVE", {FmtChunk(3, 1, 11025, 32), DataChunk(kFourSamples)})},
      {"4-bit samples", RiffFile("WAVE", {FmtChunk(1, 1, 11025, 4), DataChunk(kFourSamples)})},
      {"fmt of 14 bytes",
       RiffFile("WAVE", {testsupport::Chunk("fmt ", Bytes(14, 1)), DataChunk(kFourSamples)})},
      {"data size past the end of the file",
       RiffFile("WAVE", {FmtChunk(1, 1, 11025, 8), DataChunk(kFourSamples, 0x7FFFFFF0)})},
      {"data size of 4 GB",
       RiffFile("WAVE", {FmtChunk(1, 1, 11025, 8), DataChunk(kFourSamples, 0xFFFFFFFF)})},
      {"file cut inside the data", cutShort},
  };
  for (const Case& c : cases) {
    CWave wave;
    ASSERT_TRUE(LoadBytes(wave, good));
    EXPECT_FALSE(LoadBytes(wave, c.file)) << c.what;
    EXPECT_TRUE(wave.GetBlocks().IsEmpty()) << c.what;
  }
}

TEST(WaveLoad, TakesTheFilesOwnFormatAndCountsSamplesByWidth) {
  Bytes samples(4000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i * 7);
  CWave wave;
  ASSERT_TRUE(
      LoadBytes(wave, RiffFile("WAVE", {FmtChunk(1, 2, 22050, 16, 2), DataChunk(samples)})));
  const PCMWAVEFORMAT& f = wave.GetFormat();
  EXPECT_EQ(f.wf.wFormatTag, 1);
  EXPECT_EQ(f.wf.nChannels, 2);
  EXPECT_EQ(f.wf.nSamplesPerSec, 22050u);
  EXPECT_EQ(f.wf.nAvgBytesPerSec, 88200u);
  EXPECT_EQ(f.wf.nBlockAlign, 4);
  EXPECT_EQ(f.wBitsPerSample, 16);
  ASSERT_EQ(wave.GetBlocks().GetCount(), 1);
  CWaveBlock* block = FirstBlock(wave);
  EXPECT_EQ(block->GetSize(), 4000);
  EXPECT_EQ(block->GetNumSamples(), 2000);
  EXPECT_EQ(std::memcmp(block->GetData(), samples.data(), samples.size()), 0);
}

TEST(WaveLoad, SkipsOtherChunksAndTheirPadBytes) {
  Bytes odd = {9, 9, 9};  // an odd size: one pad byte follows
  Bytes file = RiffFile("WAVE", {testsupport::Chunk("LIST", odd), FmtChunk(1, 1, 8000, 8),
                                 testsupport::Chunk("fact", odd), DataChunk(kFourSamples)});
  // A chunk before the RIFF chunk is passed over too.
  Bytes leading = testsupport::Chunk("JUNK", odd);
  leading.insert(leading.end(), file.begin(), file.end());
  for (const Bytes* bytes : {&file, &leading}) {
    CWave wave;
    ASSERT_TRUE(LoadBytes(wave, *bytes));
    EXPECT_EQ(wave.GetFormat().wf.nSamplesPerSec, 8000u);
    EXPECT_EQ(std::memcmp(FirstBlock(wave)->GetData(), kFourSamples.data(), 4), 0);
  }
}

// One sample of the given width scaled by a percent.
int ScaleOne(int bits, int sample, int percent) {
  Bytes data;
  testsupport::PutLE(data, static_cast<uint32_t>(sample), bits / 8);
  CWave wave;
  EXPECT_TRUE(LoadBytes(wave, RiffFile("WAVE", {FmtChunk(1, 1, 11025, bits), DataChunk(data)})));
  wave.ScaleVolume(percent);
  const BYTE* out = FirstBlock(wave)->GetData();
  if (bits == 8) return out[0];
  int16_t s;
  std::memcpy(&s, out, 2);
  return s;
}

TEST(WaveVolume, ScalesAroundTheCentreAndSaturates) {
  struct Case {
    int bits, sample, percent, expected;
  } cases[] = {
      {8, 0, 50, 64},      // (0 - 128) * 50 / 100 = -64, + 128
      {8, 250, 300, 255},  // 122 * 3 = 366, clamped to 127
      {8, 0, 300, 0},      // -384 clamped to -128
      {8, 200, 100, 200},  // 100 keeps the sound
      {8, 200, 0, 128},    // 0 silences it
      {8, 127, 50, 128},   // -1 * 50 / 100 truncates toward zero
      {16, -3, 50, -1},    // truncation toward zero
      {16, 3, 50, 1},
      {16, 30000, 200, 32767},
      {16, -30000, 200, -32768},
      {16, 1000, -50, 0},              // a negative percent is 0
      {16, 1, 5000, 10},               // percents above 1000 count as 1000
      {16, 32767, 2000000000, 32767},  // and cannot overflow the product
      {8, 255, 2000000000, 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleOne(c.bits, c.sample, c.percent), c.expected)
        << c.bits << "-bit " << c.sample << " at " << c.percent << "%";
  }
}

TEST(WaveVolume, LeavesOtherWidthsAlone) {
  Bytes data = {10, 20, 30, 40, 50, 60};
  CWave wave;
  ASSERT_TRUE(LoadBytes(wave, RiffFile("WAVE", {FmtChunk(1, 1, 11025, 24), DataChunk(data)})));
  wave.ScaleVolume(0);
  EXPECT_EQ(std::memcmp(FirstBlock(wave)->GetData(), data.data(), data.size()), 0);
}

Bytes Store(CWave& wave) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    wave.Serialize(ar);
  }
  return Bytes(file.GetData(), file.GetData() + file.GetLength());
}

TEST(WaveArchive, StoresFormatAndBlocksAndReadsThemBack) {
  CWave wave;
  ASSERT_TRUE(LoadBytes(wave, testsupport::ToneWave(20, 8000, 16, 2)));
  Bytes stored = Store(wave);
  CMemFile file(stored.data(), stored.size());
  CArchive ar(&file, CArchive::load);
  CWave copy;
  copy.Serialize(ar);
  EXPECT_EQ(std::memcmp(&copy.GetFormat(), &wave.GetFormat(), sizeof(PCMWAVEFORMAT)), 0);
  ASSERT_EQ(copy.GetBlocks().GetCount(), 1);
  EXPECT_EQ(FirstBlock(copy)->GetNumSamples(), FirstBlock(wave)->GetNumSamples());
  ASSERT_EQ(FirstBlock(copy)->GetSize(), FirstBlock(wave)->GetSize());
  EXPECT_EQ(std::memcmp(FirstBlock(copy)->GetData(), FirstBlock(wave)->GetData(),
                        FirstBlock(wave)->GetSize()),
            0);
}

TEST(WaveArchive, ABlockThatClaimsMoreBytesThanStoredIsRefused) {
  CWave wave;
  ASSERT_TRUE(
      LoadBytes(wave, RiffFile("WAVE", {FmtChunk(1, 1, 11025, 8), DataChunk(kFourSamples)})));
  Bytes stored = Store(wave);
  // The block's byte size sits just before its 4 bytes at the end: claim 2 GB.
  size_t sizeAt = stored.size() - 4 - 4;
  stored[sizeAt] = 0xF0, stored[sizeAt + 1] = 0xFF, stored[sizeAt + 2] = 0xFF,
  stored[sizeAt + 3] = 0x7F;
  CMemFile file(stored.data(), stored.size());
  CArchive ar(&file, CArchive::load);
  CWave copy;
  EXPECT_THROW(copy.Serialize(ar), CArchiveException);
}

TEST(WaveLoad, LoadShowsWhyAFileWasRefused) {
  testsupport::TempFolder folder("wave");
  std::string good = (folder / "good.wav").string(), bad = (folder / "bad.wav").string();
  ASSERT_TRUE(testsupport::WriteBytes(good, testsupport::ToneWave(10)));
  ASSERT_TRUE(testsupport::WriteBytes(bad, RiffFile("WAVE", {DataChunk(kFourSamples)})));
  seams::ScopedAlertRecorder alerts;
  CWave wave;
  EXPECT_TRUE(wave.Load(good.c_str()));
  EXPECT_TRUE(alerts.Records().empty());
  EXPECT_FALSE(wave.Load((folder / "missing.wav").string().c_str()));
  EXPECT_FALSE(wave.GetBlocks().IsEmpty()) << "a file that cannot be opened changes nothing";
  EXPECT_FALSE(wave.Load(bad.c_str()));
  EXPECT_TRUE(wave.GetBlocks().IsEmpty());
  ASSERT_EQ(alerts.Records().size(), 2u);
  EXPECT_EQ(alerts.Records()[0].text, "Failed to open file");
  EXPECT_EQ(alerts.Records()[1].text, "Failed to load file");
}

}  // namespace
