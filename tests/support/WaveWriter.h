// Byte-exact RIFF WAVE images for tests, fuzz seeds and the sound tests under Wine, and a short
// standard MIDI file for the play lists.
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

// A standard MIDI file of format 0: one track that plays middle C for `beats` quarter notes at
// the default tempo (120 beats a minute, so half a second each), then ends.
inline Bytes ShortMidi(uint32_t beats = 1) {
  constexpr uint32_t kDivision = 96;  // ticks per quarter note
  auto putBE = [](Bytes& b, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto putVarLen = [](Bytes& b, uint32_t v) {  // 7 bits a byte, high bit on all but the last
    uint8_t groups[5];
    int n = 0;
    do {
      groups[n++] = static_cast<uint8_t>(v & 0x7F);
      v >>= 7;
    } while (v);
    while (n-- > 0) b.push_back(static_cast<uint8_t>(groups[n] | (n ? 0x80 : 0)));
  };
  Bytes track = {0x00, 0x90, 60, 100};  // at 0: note on, channel 1, middle C, velocity 100
  putVarLen(track, beats * kDivision);
  track.insert(track.end(), {0x80, 60, 0});             // note off
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});  // end of track
  Bytes file = {'M', 'T', 'h', 'd'};
  putBE(file, 6, 4);
  putBE(file, 0, 2);  // format 0
  putBE(file, 1, 2);  // one track
  putBE(file, kDivision, 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  putBE(file, static_cast<uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace testsupport
