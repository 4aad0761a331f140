#include "imaging/InverseTransform.h"

#include <cstring>

namespace packed {
namespace {

// The arithmetic is modular (unsigned): corrupt coefficients wrap instead of overflowing. For
// every block a coder can produce the values fit in 32 bits, and the results are exactly those
// of signed arithmetic.
using Acc = uint32_t;

constexpr Acc Fix(int32_t v) { return static_cast<Acc>(v); }
constexpr Acc k0_298631336 = 2446;
constexpr Acc k0_390180644 = 3196;
constexpr Acc k0_541196100 = 4433;
constexpr Acc k0_765366865 = 6270;
constexpr Acc k0_899976223 = 7373;
constexpr Acc k1_175875602 = 9633;
constexpr Acc k1_501321110 = 12299;
constexpr Acc k1_847759065 = 15137;
constexpr Acc k1_961570560 = 16069;
constexpr Acc k2_053119869 = 16819;
constexpr Acc k2_562915447 = 20995;
constexpr Acc k3_072711026 = 25172;
constexpr Acc kOne = 8192;

// Arithmetic shift right of a wrapped value, with rounding.
inline int32_t Descale(Acc x, int shift) {
  return static_cast<int32_t>(x + (Acc{1} << (shift - 1))) >> shift;
}

// One 8-point step: in[i * stride] for i = 0..7, results descaled by `shift` into out[i * stride].
template <typename In, typename Out>
inline void Step(const In* in, int stride, Out* out, int shift) {
  const Acc i0 = static_cast<Acc>(in[0]), i1 = static_cast<Acc>(in[stride]);
  const Acc i2 = static_cast<Acc>(in[2 * stride]), i3 = static_cast<Acc>(in[3 * stride]);
  const Acc i4 = static_cast<Acc>(in[4 * stride]), i5 = static_cast<Acc>(in[5 * stride]);
  const Acc i6 = static_cast<Acc>(in[6 * stride]), i7 = static_cast<Acc>(in[7 * stride]);
  // Even part.
  const Acc z1 = (i2 + i6) * k0_541196100;
  const Acc t2 = z1 - i6 * k1_847759065;
  const Acc t3 = z1 + i2 * k0_765366865;
  const Acc t0 = (i0 + i4) * kOne;
  const Acc t1 = (i0 - i4) * kOne;
  const Acc t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;
  // Odd part: a = i7, b = i5, c = i3, d = i1.
  const Acc z5 = (i7 + i5 + i3 + i1) * k1_175875602;
  const Acc za = (i7 + i1) * Fix(-static_cast<int32_t>(k0_899976223));
  const Acc zb = (i5 + i3) * Fix(-static_cast<int32_t>(k2_562915447));
  const Acc zc = (i7 + i3) * Fix(-static_cast<int32_t>(k1_961570560)) + z5;
  const Acc zd = (i5 + i1) * Fix(-static_cast<int32_t>(k0_390180644)) + z5;
  const Acc ta = i7 * k0_298631336 + za + zc;
  const Acc tb = i5 * k2_053119869 + zb + zd;
  const Acc tc = i3 * k3_072711026 + zb + zc;
  const Acc td = i1 * k1_501321110 + za + zd;
  out[0] = static_cast<Out>(Descale(t10 + td, shift));
  out[7 * stride] = static_cast<Out>(Descale(t10 - td, shift));
  out[stride] = static_cast<Out>(Descale(t11 + tc, shift));
  out[6 * stride] = static_cast<Out>(Descale(t11 - tc, shift));
  out[2 * stride] = static_cast<Out>(Descale(t12 + tb, shift));
  out[5 * stride] = static_cast<Out>(Descale(t12 - tb, shift));
  out[3 * stride] = static_cast<Out>(Descale(t13 + ta, shift));
  out[4 * stride] = static_cast<Out>(Descale(t13 - ta, shift));
}

template <typename In>
inline bool AcZero(const In* in, int stride) {
  for (int i = 1; i < 8; ++i) {
    if (in[i * stride] != 0) return false;
  }
  return true;
}

inline uint8_t Clamp(int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

void InverseTransform(const int32_t* coefficients, uint8_t* samples, int stride) {
  Acc rows[64];
  // Pass 1: rows; a row without AC terms is flat.
  for (int r = 0; r < 8; ++r) {
    const int32_t* row = coefficients + 8 * r;
    if (AcZero(row, 1)) {
      const Acc flat = static_cast<Acc>(row[0]) * 4;
      for (int c = 0; c < 8; ++c) rows[8 * r + c] = flat;
    } else {
      Step(row, 1, rows + 8 * r, 11);
    }
  }
  // Pass 2: columns.
  int32_t out[64];
  for (int c = 0; c < 8; ++c) {
    const Acc* column = rows + c;
    if (AcZero(column, 8)) {
      const int32_t flat = Descale(column[0], 5);
      for (int r = 0; r < 8; ++r) out[8 * r + c] = flat;
    } else {
      Step(column, 8, out + c, 18);
    }
  }
  for (int r = 0; r < 8; ++r, samples += stride) {
    for (int c = 0; c < 8; ++c) samples[c] = Clamp(out[8 * r + c]);
  }
}

void InverseTransformDc(int32_t dc, uint8_t* samples, int stride) {
  // Both passes' flat cases: row 0 becomes dc x 4, every column (dc x 4 + 16) >> 5.
  const uint8_t value = Clamp(Descale(static_cast<Acc>(dc) * 4, 5));
  for (int r = 0; r < 8; ++r, samples += stride) std::memset(samples, value, 8);
}

}  // namespace packed
