// Byte-exact RIFF WAVE images for tests, fuzz seeds and the sound tests under Wine.
//
//   RiffFile("WAVE", {FmtChunk(1, 2, 22050, 16), DataChunk(samples)})
//
// Every chunk is its four-character id, its 32-bit little-endian size and its bytes, padded to
// an even length; the pieces can be put together wrongly on purpose (a missing chunk, a size
// that runs past the end) to make the files a reader must refuse.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

inline void PutLE(Bytes& b, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A chunk; `declaredSize` overrides the size field (to lie about it), padding follows the data.
inline Bytes Chunk(const char id[4], const Bytes& data, int64_t declaredSize = -1) {
  Bytes b(id, id + 4);
  PutLE(b, static_cast<uint32_t>(declaredSize >= 0 ? declaredSize : data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  if (data.size() & 1) b.push_back(0);
  return b;
}

// The PCM format chunk: tag, channels, rate, average bytes per second, block align, bits.
inline Bytes FmtChunk(int tag, int channels, uint32_t rate, int bits, int extraBytes = 0) {
  Bytes f;
  int align = channels * ((bits + 7) / 8);
  PutLE(f, tag, 2);
  PutLE(f, channels, 2);
  PutLE(f, rate, 4);
  PutLE(f, rate * align, 4);
  PutLE(f, align, 2);
  PutLE(f, bits, 2);
  f.resize(f.size() + extraBytes, 0);
  return Chunk("fmt ", f);
}

inline Bytes DataChunk(const Bytes& samples, int64_t declaredSize = -1) {
  return Chunk("data", samples, declaredSize);
}

// The RIFF chunk of a form type holding the given chunks in order.
inline Bytes RiffFile(const char form[4], const std::vector<Bytes>& chunks) {
  Bytes body(form, form + 4);
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return Chunk("RIFF", body);
}

// A PCM WAVE file of a sine tone: `ms` milliseconds at `rate` Hz, 8 or 16 bits, 1 or 2 channels.
inline Bytes ToneWave(uint32_t ms, uint32_t rate = 22050, int bits = 16, int channels = 1,
                      double hz = 440.0) {
  Bytes samples;
  uint32_t frames = static_cast<uint32_t>(static_cast<uint64_t>(rate) * ms / 1000);
  for (uint32_t i = 0; i < frames; ++i) {
    double s = std::sin(2.0 * 3.14159265358979 * hz * i / rate) * 0.5;
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) {
        samples.push_back(static_cast<uint8_t>(128 + static_cast<int>(s * 127)));
      } else {
        PutLE(samples, static_cast<uint16_t>(static_cast<int16_t>(s * 32767)), 2);
      }
    }
  }
  return RiffFile("WAVE", {FmtChunk(1, channels, rate, bits), DataChunk(samples)});
}

inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace testsupport
