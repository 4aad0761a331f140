// Damaged packed images: every truncation point, corrupt codes, flipped bits, and a stop request.
// Each must end in a clear status, inside the decoder's buffers (the sanitizers watch).
#include <gtest/gtest.h>

#include <functional>

#include "imaging/ProgressStepper.h"
#include "seams/Clock.h"
#include "tests/native/imaging/PackedTestSupport.h"

namespace packedtest {
namespace {

PackedPicture SmallPhoto(uint32_t type, int w, int h) {
  PackedPicture p;
  p.type = type;
  p.width = w;
  p.height = h;
  p.quality = 80;
  const Bytes rgb = MakePhotoRgb(w, h, 11);
  if (type != 3) p.palette = MakeCubePalette();
  p.pixels = type == 1 ? ToGrey(rgb) : type == 5 ? MapToPalette(rgb, p.palette) : rgb;
  return p;
}

TEST(PackedCorruption, EveryTruncationPointFails) {
  LzwOptions noEnd;
  noEnd.endCode = false;  // so that every byte of the data is needed
  for (uint32_t type = 1; type <= 5; ++type) {
    const Bytes file = WritePackedImage(SmallPhoto(type, 19, 17), noEnd);
    ASSERT_EQ(Decode(file).result, 1) << "type " << type;
    int wrong = 0;
    for (size_t length = 0; length < file.size(); ++length) {
      const Decoded d = Decode(Truncate(file, length));
      const int32_t expected =
          length < packed::kHeaderSize ? packed::kBadMagic : packed::kTruncated;
      if (d.result != 0 || d.status != expected) {
        ADD_FAILURE() << "type " << type << " cut at " << length << " of " << file.size()
                      << ": result " << d.result << ", status " << d.status;
        if (++wrong > 5) break;
      }
    }
  }
}

TEST(PackedCorruption, EndCodeIsTheOnlyByteThatMayGo) {
  // With an end code, cuts inside it leave the pixels complete: they must then be right.
  const PackedPicture picture = SmallPhoto(5, 19, 17);
  const Bytes file = WritePackedImage(picture);
  for (size_t length = packed::kHeaderSize; length < file.size(); ++length) {
    const Decoded d = Decode(Truncate(file, length));
    if (d.result == 0) {
      EXPECT_EQ(d.status, packed::kTruncated) << "cut at " << length;
      continue;
    }
    EXPECT_GE(length + 3, file.size()) << "only the last bytes hold the end code";
    EXPECT_EQ(Bytes(d.pixels.begin(), d.pixels.begin() + 19 * 17), picture.pixels);
  }
}

// A grey 16 x 8 image whose coded data the test writes symbol by symbol.
Bytes Crafted(const std::function<void(HuffmanBitWriter&)>& write) {
  HuffmanBitWriter writer;
  write(writer);
  writer.PadToByte();
  Bytes file = WriteHeader(1, 16, 8, 50, {});
  file.insert(file.end(), writer.bytes().begin(), writer.bytes().end());
  return file;
}

TEST(PackedCorruption, CorruptCodesStopTheDecode) {
  struct Case {
    const char* what;
    std::function<void(HuffmanBitWriter&)> write;
  };
  const Case cases[] = {
      {"a code longer than 16 bits", [](HuffmanBitWriter& w) { w.PutBits(0xFFFFFF, 24); }},
      {"an AC run past coefficient 63",
       [](HuffmanBitWriter& w) {
         w.PutDc(true, 0);
         for (int i = 0; i < 4; ++i) w.PutAc(true, 15, 1);  // 16, 32, 48, then 64
       }},
      {"sixteen zeros past the end of the block",
       [](HuffmanBitWriter& w) {
         w.PutDc(true, 0);
         for (int i = 0; i < 4; ++i) w.PutZrl(true);  // 17, 33, 49, 65
       }},
      {"an AC code longer than 16 bits",
       [](HuffmanBitWriter& w) {
         w.PutDc(true, 0);
         w.PutBits(0xFFFF, 16);
         w.PutBits(0xFF, 8);
       }},
  };
  for (const Case& c : cases) {
    const Decoded d = Decode(Crafted(c.write));
    EXPECT_EQ(d.status, packed::kCorruptData) << c.what;
    EXPECT_EQ(d.result, 0) << c.what;
  }
  // Sixteen zeros that end exactly at the block's end leave a whole block (no coder writes
  // them, but nothing is out of bounds).
  const Decoded fits = Decode(Crafted([](HuffmanBitWriter& w) {
    for (int b = 0; b < 4; ++b) {
      w.PutDc(true, b == 0 ? 64 : 0);
      w.PutZrl(true);
      w.PutZrl(true);        // 33
      w.PutAc(true, 14, 1);  // coefficient 47
      w.PutZrl(true);        // 48 to 63
    }
  }));
  EXPECT_EQ(fits.result, 1) << packed::StatusText(fits.status);
}

TEST(PackedCorruption, FlippedBitsEndCleanly) {
  // Every type, bits flipped through the coded data: decoding may succeed or fail, but must end
  // with a status that says which, and inside its buffers.
  for (uint32_t type = 1; type <= 5; ++type) {
    const Bytes file = WritePackedImage(SmallPhoto(type, 40, 35));
    for (size_t at = packed::kHeaderSize; at < file.size(); at += 3) {
      Bytes damaged = file;
      damaged[at] ^= static_cast<uint8_t>(1u << (at % 8));
      const Decoded d = Decode(damaged);
      if (d.result == 1) continue;
      EXPECT_TRUE(d.status == packed::kCorruptData || d.status == packed::kTruncated)
          << "type " << type << " flip at " << at << ": status " << d.status;
    }
  }
}

TEST(PackedCorruption, StopRequestEndsTheDecode) {
  for (uint32_t type = 1; type <= 5; ++type) {
    const Bytes file = WritePackedImage(SmallPhoto(type, 40, 35));
    seams::RequestStop();
    const Decoded d = Decode(file);
    seams::ClearStop();
    EXPECT_EQ(d.status, packed::kStopped) << "type " << type;
    EXPECT_EQ(d.result, 0);
    EXPECT_EQ(Decode(file).result, 1) << "type " << type;
  }
}

// ---- Progress ----

std::vector<UINT> g_messages;

LRESULT Record(HWND, UINT message, WPARAM, LPARAM) {
  g_messages.push_back(message);
  return 0;
}

int Steps() {
  int steps = 0;
  for (UINT m : g_messages) steps += m == ProgressStepper::kStepIt;
  return steps;
}

TEST(PackedProgressBar, TenStepsOverTheImage) {
  struct Case {
    uint32_t type;
    int w, h;
    int minSteps, maxSteps;
  };
  // 9 macroblocks: one step each. 25: a step every 2. LZW: at most one step per code, ten in all.
  const Case cases[] = {{1, 48, 48, 9, 9}, {3, 80, 80, 12, 12}, {5, 80, 80, 8, 10}};
  HWND bar = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
  for (const Case& c : cases) {
    const Bytes file = WritePackedImage(SmallPhoto(c.type, c.w, c.h));
    g_messages.clear();
    const ProgressStepper::Sender previous = ProgressStepper::InstallSender(&Record);
    CPackedImageFile image(std::make_unique<CMemFile>(file.data(), file.size()), 0);
    const int32_t result = image.Read(bar);
    ProgressStepper::InstallSender(previous);
    ASSERT_EQ(result, 1);
    ASSERT_GE(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[0], ProgressStepper::kSetRange);
    EXPECT_EQ(g_messages[1], ProgressStepper::kSetStep);
    EXPECT_GE(Steps(), c.minSteps) << "type " << c.type;
    EXPECT_LE(Steps(), c.maxSteps) << "type " << c.type;
  }
}

}  // namespace
}  // namespace packedtest
