// Fuzz target: polygons of any shape, size and corner order into the rasteriser, flat and
// textured, on surfaces of odd widths with any clip rectangle. The surface is allocated to the
// exact byte so that the address sanitizer sees any write past it; row padding is checked by hand.
//
// Input: byte 0 mode (bit 0 flat, bit 1 textured, bit 2 32-bit coordinates, bits 3-5 extra row
// padding), bytes 1-2 surface width and height - 1, bytes 3-6 clip insets (signed) from the left,
// top, right and bottom, bytes 7-8 texture width and height - 1 (6 bits each), bytes 9-12 the flat
// fill's offsets (two int16), then corners of (x, y, u, v), each an int16 or an int32, up to 64.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine3d/Raster.h"

namespace {

constexpr uint8_t kPadding = 0xA5;

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Has(size_t n) const { return size_ - pos_ >= n; }
  uint8_t Byte() { return Has(1) ? data_[pos_++] : 0; }
  int32_t Int(bool wide) {
    const size_t n = wide ? 4 : 2;
    if (!Has(n)) return 0;
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint32_t>(data_[pos_++]) << (8 * i);
    return wide ? static_cast<int32_t>(v) : static_cast<int16_t>(v);
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  const uint8_t mode = in.Byte();
  const bool wide = (mode & 4) != 0;
  const int32_t width = 1 + in.Byte(), height = 1 + in.Byte();
  const int32_t stride = ((width + 3) & ~3) + ((mode >> 3) & 7);
  const size_t bytes = static_cast<size_t>(stride) * height;
  std::unique_ptr<uint8_t[]> surface(new uint8_t[bytes]);
  std::memset(surface.get(), kPadding, bytes);
  BindRasterTarget(surface.get(), width, height, stride);
  g_rasterTarget.clipLeft = static_cast<int8_t>(in.Byte());
  g_rasterTarget.clipTop = static_cast<int8_t>(in.Byte());
  g_rasterTarget.clipRight = width - static_cast<int8_t>(in.Byte());
  g_rasterTarget.clipBottom = height - static_cast<int8_t>(in.Byte());

  const int32_t texWidth = 1 + (in.Byte() & 63), texHeight = 1 + (in.Byte() & 63);
  std::unique_ptr<uint8_t[]> texels(new uint8_t[static_cast<size_t>(texWidth) * texHeight]);
  for (int32_t i = 0; i < texWidth * texHeight; ++i)
    texels[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  C3DTexture texture;
  texture.stride = texture.width = texWidth;
  texture.height = texHeight;
  texture.pixels = texels.get();
  const int32_t dx = in.Int(false), dy = in.Int(false);

  std::vector<RasterPoint> corners, uv;
  while (corners.size() < 64 && in.Has(wide ? 16 : 8)) {
    const int32_t x = in.Int(wide), y = in.Int(wide), u = in.Int(wide), v = in.Int(wide);
    corners.push_back(RasterPoint{x, y});
    uv.push_back(RasterPoint{u, v});
  }
  const RasterPolygon polygon{static_cast<int32_t>(corners.size()), corners.data()};
  if (mode & 1) FillPolygonFlat(polygon, 0x11, dx, dy);
  if (mode & 2) FillPolygonTextured(polygon, RasterPolygon{polygon.count, uv.data()}, texture);

  // Nothing may land in a row's padding.
  for (int32_t r = 0; r < height; ++r)
    for (int32_t x = width; x < stride; ++x)
      if (surface[static_cast<size_t>(r) * stride + x] != kPadding) std::abort();
  return 0;
}
