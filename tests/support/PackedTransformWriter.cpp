// The packed image writer's transform coding (types 1 to 4) and its entry for every type.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "imaging/PackedFormat.h"
#include "imaging/QuantTables.h"
#include "tests/support/PackedImageWriter.h"

namespace packedtest {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The picture's components on whole macroblocks, edges repeated.
struct Planes {
  int width = 0;
  int height = 0;
  std::vector<double> luma, cb, cr;
  double At(const std::vector<double>& plane, int x, int y) const { return plane[y * width + x]; }
};

Planes ToPlanes(const PackedPicture& p) {
  Planes planes;
  planes.width = 16 * ((p.width + 15) / 16);
  planes.height = 16 * ((p.height + 15) / 16);
  const size_t n = static_cast<size_t>(planes.width) * planes.height;
  planes.luma.resize(n);
  planes.cb.resize(n);
  planes.cr.resize(n);
  for (int y = 0; y < planes.height; ++y) {
    for (int x = 0; x < planes.width; ++x) {
      const size_t source =
          static_cast<size_t>(std::min(y, p.height - 1)) * p.width + std::min(x, p.width - 1);
      const size_t at = static_cast<size_t>(y) * planes.width + x;
      if (p.type == packed::kTypeGrey) {
        planes.luma[at] = p.pixels[source];
        continue;
      }
      const double r = p.pixels[3 * source], g = p.pixels[3 * source + 1],
                   b = p.pixels[3 * source + 2];
      planes.luma[at] = 0.299 * r + 0.587 * g + 0.114 * b;
      planes.cb[at] = 127 - 0.168736 * r - 0.331264 * g + 0.5 * b;  // chroma centred on 127
      planes.cr[at] = 127 + 0.5 * r - 0.418688 * g - 0.081312 * b;
    }
  }
  return planes;
}

// An 8x8 block of a plane at (x0, y0), every `step` samples averaged over step x step.
void TakeBlock(const Planes& planes, const std::vector<double>& plane, int x0, int y0, int step,
               double* block) {
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) {
      double sum = 0;
      for (int dy = 0; dy < step; ++dy) {
        for (int dx = 0; dx < step; ++dx)
          sum += planes.At(plane, x0 + c * step + dx, y0 + r * step + dy);
      }
      block[8 * r + c] = sum / (step * step);
    }
  }
}

// F(v, u) = 1/4 C(u) C(v) sum f(y, x) cos((2x + 1) u pi / 16) cos((2y + 1) v pi / 16), without a
// level shift; natural order, row = vertical frequency.
void ForwardTransform(const double* samples, double* out) {
  struct Basis {
    double at[8][8];
    Basis() {
      for (int u = 0; u < 8; ++u) {
        for (int x = 0; x < 8; ++x) {
          at[u][x] = (u == 0 ? std::sqrt(0.5) : 1.0) * std::cos((2 * x + 1) * u * kPi / 16) / 2;
        }
      }
    }
  };
  static const Basis basisTable;
  const auto& basis = basisTable.at;
  double rows[64];
  for (int y = 0; y < 8; ++y) {
    for (int u = 0; u < 8; ++u) {
      double s = 0;
      for (int x = 0; x < 8; ++x) s += basis[u][x] * samples[8 * y + x];
      rows[8 * y + u] = s;
    }
  }
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < 8; ++u) {
      double s = 0;
      for (int y = 0; y < 8; ++y) s += basis[v][y] * rows[8 * y + u];
      out[8 * v + u] = s;
    }
  }
}

CoefficientBlock Quantise(const double* samples, const int32_t* table) {
  double frequencies[64];
  ForwardTransform(samples, frequencies);
  CoefficientBlock coded{};
  // Coded coefficient k comes from natural position kZigzag[k] and uses table entry k.
  for (int k = 0; k < 64; ++k) {
    coded[k] = static_cast<int32_t>(std::lround(frequencies[packed::kZigzag[k]] / table[k]));
  }
  return coded;
}

// Block b of macroblock (mx, my): the samples it covers.
void MacroblockBlock(const Planes& planes, uint32_t type, int mx, int my, int b, double* block) {
  const int x = mx * 16;
  const int y = my * 16;
  if (b < 4) return TakeBlock(planes, planes.luma, x + (b & 1) * 8, y + (b >> 1) * 8, 1, block);
  const std::vector<double>& plane = packed::BlockComponent(type, b) == 1 ? planes.cb : planes.cr;
  if (type != packed::kTypePalette444) return TakeBlock(planes, plane, x, y, 2, block);
  const int quarter = (b - 4) & 3;  // left/right, then top/bottom
  TakeBlock(planes, plane, x + (quarter & 1) * 8, y + (quarter >> 1) * 8, 1, block);
}

std::vector<CoefficientBlock> TransformBlocks(const PackedPicture& p) {
  CQuantTables tables;
  tables.SetQuality(p.quality);
  const Planes planes = ToPlanes(p);
  const int blocksPerMb = packed::BlocksPerMacroblock(p.type);
  std::vector<CoefficientBlock> blocks;
  double samples[64];
  for (int my = 0; my < planes.height / 16; ++my) {
    for (int mx = 0; mx < planes.width / 16; ++mx) {
      for (int b = 0; b < blocksPerMb; ++b) {
        MacroblockBlock(planes, p.type, mx, my, b, samples);
        const bool luminance = packed::BlockComponent(p.type, b) == 0;
        blocks.push_back(Quantise(samples, luminance ? tables.Luminance() : tables.Chrominance()));
      }
    }
  }
  return blocks;
}

void CheckPicture(const PackedPicture& p) {
  const size_t pixels = static_cast<size_t>(p.width) * p.height;
  const size_t perPixel = (p.type == packed::kTypeGrey || p.type == packed::kTypeLzw) ? 1 : 3;
  if (p.width <= 0 || p.height <= 0 || p.pixels.size() != pixels * perPixel) {
    throw std::invalid_argument("picture size and pixels disagree");
  }
}

}  // namespace

Bytes WritePackedCoefficients(uint32_t type, int width, int height, int quality,
                              const std::vector<Rgb>& palette,
                              const std::vector<CoefficientBlock>& blocks) {
  Bytes file = WriteHeader(type, width, height, quality, palette);
  const int blocksPerMb = packed::BlocksPerMacroblock(type);
  HuffmanBitWriter writer;
  int32_t predictor[3] = {0, 0, 0};
  for (size_t i = 0; i < blocks.size(); ++i) {
    const int component = packed::BlockComponent(type, static_cast<int>(i % blocksPerMb));
    const CoefficientBlock& block = blocks[i];
    writer.PutBlock(block.data(), block[0] - predictor[component], component == 0);
    predictor[component] = block[0];
    if (i % blocksPerMb == static_cast<size_t>(blocksPerMb - 1)) writer.PadToByte();
  }
  writer.PadToByte();
  file.insert(file.end(), writer.bytes().begin(), writer.bytes().end());
  return file;
}

Bytes WritePackedImage(const PackedPicture& picture, const LzwOptions& lzw) {
  CheckPicture(picture);
  if (picture.type == packed::kTypeLzw) {
    Bytes file =
        WriteHeader(picture.type, picture.width, picture.height, picture.quality, picture.palette);
    const Bytes codes = WriteLzwStream(picture.pixels.data(), picture.pixels.size(), lzw);
    file.insert(file.end(), codes.begin(), codes.end());
    return file;
  }
  if (!packed::IsTransformType(picture.type)) throw std::invalid_argument("unknown type");
  return WritePackedCoefficients(picture.type, picture.width, picture.height, picture.quality,
                                 picture.palette, TransformBlocks(picture));
}

}  // namespace packedtest
