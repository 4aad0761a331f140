#include "tests/support/QuarterCacheWriter.h"

#include <string>

namespace cachetest {
namespace {

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
  Put16(out, v);
  Put16(out, v >> 16);
}

std::string HeaderText(const std::vector<size_t>& sizes) {
  std::string text = std::to_string(sizes.size()) + "l";
  for (size_t size : sizes) text += std::to_string(size) + "l";
  return text;
}

}  // namespace

std::array<std::array<uint8_t, 4>, 256> TableWithGreyRamp(
    const std::vector<std::array<uint8_t, 3>>& rgb) {
  std::array<std::array<uint8_t, 4>, 256> table{};
  for (size_t i = 0; i < 256; ++i) {
    const auto g = static_cast<uint8_t>(i);
    table[i] = i < rgb.size() ? std::array<uint8_t, 4>{rgb[i][2], rgb[i][1], rgb[i][0], 0}
                              : std::array<uint8_t, 4>{g, g, g, 0};
  }
  return table;
}

Bytes WriteQuarterBmp(const FullImage8& image) {
  const int qw = image.width / 4, qh = image.height / 4;
  const uint32_t stride = static_cast<uint32_t>((qw + 3) / 4 * 4);
  const uint32_t pixelBytes = stride * static_cast<uint32_t>(qh);
  Bytes out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, pixelBytes + 1078);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, 1078);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(qw));
  Put32(out, static_cast<uint32_t>(qh));
  Put16(out, 1);
  Put16(out, 8);
  for (int field = 0; field < 4; ++field) Put32(out, 0);  // compression, size, resolutions
  Put32(out, static_cast<uint32_t>(image.colours));
  Put32(out, 0);
  for (int i = 0; i < 256; ++i) {
    const auto g = static_cast<uint8_t>(i);
    const std::array<uint8_t, 4> entry = i < image.colours ? image.table[static_cast<size_t>(i)]
                                                           : std::array<uint8_t, 4>{g, g, g, 0};
    out.insert(out.end(), {entry[0], entry[1], entry[2], 0});
  }
  for (int j = 0; j < qh; ++j) {
    const size_t row = static_cast<size_t>(4 * j) * static_cast<size_t>(image.Stride());
    for (int x = 0; x < qw; ++x) out.push_back(image.rows[row + 4 * static_cast<size_t>(x)]);
    out.insert(out.end(), stride - static_cast<uint32_t>(qw), 0);
  }
  return out;
}

size_t QuarterCacheHeaderLength(const std::vector<size_t>& sizes) {
  return HeaderText(sizes).size();
}

Bytes WriteQuarterCache(const std::vector<FullImage8>& images) {
  std::vector<Bytes> bmps;
  std::vector<size_t> sizes;
  for (const FullImage8& image : images) {
    bmps.push_back(WriteQuarterBmp(image));
    sizes.push_back(bmps.back().size());
  }
  const std::string header = HeaderText(sizes);
  Bytes out(header.begin(), header.end());
  for (const Bytes& bmp : bmps) out.insert(out.end(), bmp.begin(), bmp.end());
  return out;
}

}  // namespace cachetest
