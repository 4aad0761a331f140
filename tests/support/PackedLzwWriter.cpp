// The packed image writer's LZW coding (type 5).
//
// The code width must change exactly when the decoder's does, and the decoder adds its table
// entries one code behind the coder. So the writer keeps a copy of the decoder's state (next free
// code, width, literal expected) and steps it with every code it writes; a string is given the
// code number that the decoder will give it.
#include <unordered_map>

#include "tests/support/PackedImageWriter.h"

namespace packedtest {
namespace {

constexpr uint32_t kClear = 256;
constexpr uint32_t kEnd = 257;
constexpr uint32_t kFirstEntry = 258;
constexpr int kMaxWidth = 14;
constexpr size_t kMaxString = 4000;  // the decoder's expansion stack

class CodeWriter {
 public:
  void Put(uint32_t code, int width) {
    for (int i = width - 1; i >= 0; --i) {
      m_accumulator = (m_accumulator << 1) | ((code >> i) & 1u);
      if (++m_count == 8) Flush();
    }
  }
  Bytes Finish() {
    if (m_count > 0) {
      m_accumulator <<= 8 - m_count;
      Flush();
    }
    return m_bytes;
  }

 private:
  void Flush() {
    m_bytes.push_back(static_cast<uint8_t>(m_accumulator));
    m_accumulator = 0;
    m_count = 0;
  }
  Bytes m_bytes;
  uint32_t m_accumulator = 0;
  int m_count = 0;
};

// What the decoder knows after each code.
struct DecoderMirror {
  uint32_t next = kFirstEntry;
  int width = 9;
  uint32_t largest = 511;
  bool literalNext = true;

  bool CanAdd() const { return next <= largest; }
  void Reset() { *this = DecoderMirror(); }
  // The decoder has read a code other than clear or end.
  void Step() {
    if (literalNext) {
      literalNext = false;
      return;
    }
    if (!CanAdd()) return;
    ++next;
    if (next == largest && width < kMaxWidth) {
      ++width;
      largest = (1u << width) - 1;
    }
  }
};

class LzwCoder {
 public:
  explicit LzwCoder(const LzwOptions& options) : m_options(options) {}

  Bytes Encode(const uint8_t* data, size_t size) {
    if (size == 0) return m_out.Finish();
    uint32_t string = data[0];
    size_t length = 1;
    for (size_t i = 1; i < size; ++i) {
      const uint32_t key = (string << 8) | data[i];
      const auto found = m_table.find(key);
      if (found != m_table.end() && length < kMaxString) {
        string = found->second;
        ++length;
        continue;
      }
      Emit(string);
      AddOrClear(key);
      string = data[i];
      length = 1;
    }
    Emit(string);
    if (m_options.endCode) m_out.Put(kEnd, m_mirror.width);
    return m_out.Finish();
  }

 private:
  void Emit(uint32_t code) {
    m_out.Put(code, m_mirror.width);
    m_mirror.Step();
    ++m_sinceClear;
  }
  // The string just written plus the next byte becomes the decoder's next entry, unless the
  // table is full or a clear is due.
  void AddOrClear(uint32_t key) {
    const bool forced = m_options.clearAfterCodes > 0 && m_sinceClear >= m_options.clearAfterCodes;
    if (m_mirror.CanAdd() && !forced) {
      m_table[key] = m_mirror.next;
      return;
    }
    if (!forced && !m_options.clearWhenFull) return;
    m_out.Put(kClear, m_mirror.width);
    m_mirror.Reset();
    m_table.clear();
    m_sinceClear = 0;
  }

  LzwOptions m_options;
  CodeWriter m_out;
  DecoderMirror m_mirror;
  std::unordered_map<uint32_t, uint32_t> m_table;
  int m_sinceClear = 0;
};

}  // namespace

Bytes WriteLzwStream(const uint8_t* data, size_t size, const LzwOptions& options) {
  return LzwCoder(options).Encode(data, size);
}

}  // namespace packedtest
