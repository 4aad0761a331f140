#include "tests/support/TestPictures.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace packedtest {
namespace {

// The C runtime's generator, so that pictures are the same on every build.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : m_state(seed) {}
  int Next() {
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
  }

 private:
  uint32_t m_state;
};

uint8_t ClampByte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

Bytes MakePhotoRgb(int width, int height, uint32_t seed) {
  Bytes rgb(static_cast<size_t>(width) * height * 3);
  Lcg random(seed);
  const double phase = (random.Next() % 1000) / 100.0;
  const double cx = width * (0.3 + (random.Next() % 40) / 100.0);
  const double cy = height * (0.6 + (random.Next() % 20) / 100.0);
  const double radius = std::min(width, height) * 0.12;
  for (int y = 0; y < height; ++y) {
    const double fy = static_cast<double>(y) / height;
    for (int x = 0; x < width; ++x) {
      const double fx = static_cast<double>(x) / width;
      const double horizon = 0.55 + 0.08 * std::sin(fx * 9 + phase) + 0.03 * std::sin(fx * 31);
      double r, g, b;
      if (fy < horizon) {  // sky: a gradient with soft clouds
        const double cloud =
            40 * std::pow(std::max(0.0, std::sin(fx * 13 + phase) * std::sin(fy * 17)), 3);
        r = 90 + 80 * fy + cloud;
        g = 140 + 60 * fy + cloud;
        b = 230 - 30 * fy + cloud;
      } else {  // hills: textured greens and browns
        const double texture =
            25 * std::sin(x * 0.21 + std::sin(y * 0.13) * 3) * std::cos(y * 0.17);
        r = 70 + 60 * (fy - horizon) + texture;
        g = 120 - 40 * (fy - horizon) + texture * 0.8;
        b = 50 + texture * 0.5;
      }
      const double dx = x - cx, dy = y - cy;
      if (dx * dx + dy * dy < radius * radius) {  // a hard-edged disc (a sun or a ball)
        r = 250;
        g = 210;
        b = 40;
      }
      if ((x / 37 + y / 53) % 11 == 0 && fy > horizon) {  // small dark shapes
        r *= 0.4;
        g *= 0.4;
        b *= 0.4;
      }
      const double noise = (random.Next() % 13) - 6;
      uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = ClampByte(r + noise);
      p[1] = ClampByte(g + noise);
      p[2] = ClampByte(b + noise);
    }
  }
  return rgb;
}

Bytes ToGrey(const Bytes& rgb) {
  Bytes grey(rgb.size() / 3);
  for (size_t i = 0; i < grey.size(); ++i) {
    grey[i] = ClampByte(0.299 * rgb[3 * i] + 0.587 * rgb[3 * i + 1] + 0.114 * rgb[3 * i + 2]);
  }
  return grey;
}

std::vector<Rgb> MakeCubePalette() {
  std::vector<Rgb> palette;
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        palette.push_back({static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51),
                           static_cast<uint8_t>(b * 51)});
      }
    }
  }
  return palette;
}

Bytes MapToPalette(const Bytes& rgb, const std::vector<Rgb>& palette) {
  Bytes indices(rgb.size() / 3);
  for (size_t i = 0; i < indices.size(); ++i) {
    int best = -1;
    int bestIndex = 0;
    for (size_t j = 0; j < palette.size(); ++j) {
      const int dr = rgb[3 * i] - palette[j].red;
      const int dg = rgb[3 * i + 1] - palette[j].green;
      const int db = rgb[3 * i + 2] - palette[j].blue;
      const int d = dr * dr + dg * dg + db * db;
      if (best < 0 || d < best) {
        best = d;
        bestIndex = static_cast<int>(j);
      }
    }
    indices[i] = static_cast<uint8_t>(bestIndex);
  }
  return indices;
}

double Psnr(const Bytes& a, const Bytes& b) {
  if (a.size() != b.size() || a.empty()) throw std::invalid_argument("images differ in size");
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<double>(a[i]) - b[i];
    sum += d * d;
  }
  if (sum == 0) return 99.0;
  return 10 * std::log10(255.0 * 255.0 * a.size() / sum);
}

}  // namespace packedtest
