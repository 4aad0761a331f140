// The LZW half of CBitStream: type 5's code stream of palette indices.
#include <cstring>
#include <new>

#include "imaging/BitStream.h"
#include "imaging/ProgressStepper.h"
#include "seams/Clock.h"

namespace {

constexpr uint32_t kClearCode = 256;
constexpr uint32_t kEndCode = 257;
constexpr uint32_t kFirstEntry = 258;
// Codes between two looks at the stop request (the first look at the first code).
constexpr uint32_t kStopCheckInterval = 1u << 16;

// Steps the progress bar ten times over the image, at most once per code.
class LzwProgress {
 public:
  LzwProgress(HWND bar, int64_t total)
      : m_bar(bar, 1), m_stepSize(total / 10), m_threshold(total - total / 10) {}
  void Update(int64_t remaining) {
    if (remaining > m_threshold) return;
    m_bar.Count();
    m_threshold -= m_stepSize;
  }

 private:
  ProgressStepper m_bar;
  int64_t m_stepSize;
  int64_t m_threshold;
};

}  // namespace

struct CBitStream::LzwState {
  std::unique_ptr<uint32_t[]> prefix;
  std::unique_ptr<uint8_t[]> suffix;
  std::unique_ptr<uint8_t[]> stack;
  uint32_t next = kFirstEntry;
  uint32_t previous = 0;
  uint8_t firstByte = 0;    // first byte of the string decoded last
  bool literalNext = true;  // after the start and after a clear
  int64_t remaining = 0;
  BYTE* out = nullptr;
};

int32_t CBitStream::FailLzw(int32_t status) {
  Fail(status);
  return 0;
}

void CBitStream::SetLzwTarget(int32_t width, int32_t height, BYTE* pixels) {
  m_lzwWidth = width;
  m_lzwHeight = height;
  m_lzwOutput = pixels;
}

int32_t CBitStream::ReadLzwCode() {
  while (m_lzwBitCount < 25) {
    int32_t byte = m_lzwMissingBits > 0 ? -1 : m_file.ReadByte();
    if (byte < 0) {
      byte = 0;
      m_lzwMissingBits += 8;
    }
    m_lzwBits |= static_cast<uint32_t>(byte) << (24 - m_lzwBitCount);
    m_lzwBitCount += 8;
  }
  const uint32_t code = m_lzwBits >> (32 - m_codeWidth);
  m_lzwBits <<= m_codeWidth;
  m_lzwBitCount -= m_codeWidth;
  // The code took bits from past the end of the file.
  if (m_lzwBitCount < m_lzwMissingBits) return -1;
  return static_cast<int32_t>(code);
}

// Writes the string of a code (or, for the code about to be defined, the previous string and
// its first byte) to the output. Strings longer than the stack or than the pixels still to come
// are corrupt, as is a code beyond the next free one.
bool CBitStream::ExpandLzw(LzwState& s, uint32_t code) {
  uint32_t sp = kLzwStackSize;
  uint32_t c = code;
  if (code == s.next) {
    s.stack[--sp] = s.firstByte;
    c = s.previous;
  } else if (code > s.next) {
    return Fail(packed::kCorruptData);
  }
  while (c >= kFirstEntry) {
    if (sp == 0) return Fail(packed::kCorruptData);
    s.stack[--sp] = s.suffix[c];
    c = s.prefix[c];
  }
  if (c > 255 || sp == 0) return Fail(packed::kCorruptData);
  s.stack[--sp] = static_cast<uint8_t>(c);
  s.firstByte = static_cast<uint8_t>(c);
  const uint32_t length = kLzwStackSize - sp;
  if (length > s.remaining) return Fail(packed::kCorruptData);
  std::memcpy(s.out, s.stack.get() + sp, length);
  s.out += length;
  s.remaining -= length;
  return true;
}

void CBitStream::AddLzwEntry(LzwState& s) {
  if (s.next > static_cast<uint32_t>(m_largestCode)) return;  // full until the next clear
  s.prefix[s.next] = s.previous;
  s.suffix[s.next] = s.firstByte;
  ++s.next;
  if (s.next == static_cast<uint32_t>(m_largestCode) && m_codeWidth < kLzwMaxWidth) {
    ++m_codeWidth;
    m_largestCode = (1 << m_codeWidth) - 1;
  }
}

int32_t CBitStream::DecodeLzw(HWND progressBar) {
  LzwState s;
  s.prefix.reset(new (std::nothrow) uint32_t[kLzwTableSize]());
  s.suffix.reset(new (std::nothrow) uint8_t[kLzwTableSize]());
  s.stack.reset(new (std::nothrow) uint8_t[kLzwStackSize]);
  if (!s.prefix || !s.suffix || !s.stack || m_lzwOutput == nullptr) {
    return FailLzw(packed::kNoMemory);
  }
  s.remaining = int64_t{m_lzwWidth} * m_lzwHeight;
  s.out = m_lzwOutput;
  m_codeWidth = 9;
  m_largestCode = 511;
  LzwProgress progress(progressBar, s.remaining);
  for (uint32_t codes = 1; s.remaining > 0; ++codes) {
    const int32_t read = ReadLzwCode();
    if (read < 0) return FailLzw(packed::kTruncated);
    const uint32_t code = static_cast<uint32_t>(read);
    if (code == kEndCode) break;
    progress.Update(s.remaining);
    if (code == kClearCode) {
      m_codeWidth = 9;
      m_largestCode = 511;
      s.next = kFirstEntry;
      s.literalNext = true;
    } else if (s.literalNext) {
      if (code > 255) return FailLzw(packed::kCorruptData);
      *s.out++ = static_cast<BYTE>(code);
      --s.remaining;
      s.previous = code;
      s.firstByte = static_cast<uint8_t>(code);
      s.literalNext = false;
    } else {
      if (!ExpandLzw(s, code)) return 0;
      AddLzwEntry(s);
      s.previous = code;
    }
    if (codes % kStopCheckInterval == 1 && seams::StopRequested()) {
      return FailLzw(packed::kStopped);
    }
  }
  // An end code before the last pixel leaves the image incomplete.
  if (s.remaining > 0) return FailLzw(packed::kTruncated);
  return 1;
}
