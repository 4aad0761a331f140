#include "tools/demo/DemoImageSet.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "engine3d/ShapesRound.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/Resample.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/PackedImageWriter.h"
#include "tests/support/TestPictures.h"

namespace demoset {
namespace {

namespace fs = std::filesystem;
using imagesettest::Bytes;

// A picture as the writers take it: red, green, blue per pixel, top row first.
struct RgbPicture {
  std::string title;
  int width = 0, height = 0;
  Bytes rgb;
};

std::vector<std::string> PhotoFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ignored;
  if (folder.empty() || !fs::is_directory(folder, ignored)) return files;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (entry.is_regular_file() && (ext == ".jpg" || ext == ".jpeg"))
      files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  if (files.size() > kPictureCount) files.resize(kPictureCount);
  return files;
}

// The centred part of a 24-bit bitmap with the target's proportions, as a new 24-bit bitmap.
bool CropToAspect(const CDIB& source, int aspectW, int aspectH, CDIB& out) {
  const int w = source.GetWidth(), h = source.GetHeight();
  int cw = w, ch = h;
  if (static_cast<long long>(w) * aspectH > static_cast<long long>(h) * aspectW)
    cw = static_cast<int>(static_cast<long long>(h) * aspectW / aspectH);
  else
    ch = static_cast<int>(static_cast<long long>(w) * aspectH / aspectW);
  if (cw <= 0 || ch <= 0 || !out.Create24(cw, ch)) return false;
  const int x0 = (w - cw) / 2, y0 = (h - ch) / 2;
  for (int y = 0; y < ch; ++y) {
    const BYTE* in = source.bits + static_cast<size_t>(y0 + y) * source.GetStorageWidth() + x0 * 3;
    std::memcpy(out.bits + static_cast<size_t>(y) * out.GetStorageWidth(), in,
                static_cast<size_t>(cw) * 3);
  }
  return true;
}

Bytes RgbFrom24(const CDIB& dib) {
  const int w = dib.GetWidth(), h = dib.GetHeight();
  Bytes rgb(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    const BYTE* row = dib.bits + static_cast<size_t>(h - 1 - y) * dib.GetStorageWidth();
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        rgb[(static_cast<size_t>(y) * w + x) * 3 + c] = row[x * 3 + 2 - c];
  }
  return rgb;
}

bool DIB24FromRgb(const RgbPicture& picture, CDIB& dib) {
  if (!dib.Create24(picture.width, picture.height)) return false;
  for (int y = 0; y < picture.height; ++y) {
    BYTE* row = dib.bits + static_cast<size_t>(picture.height - 1 - y) * dib.GetStorageWidth();
    for (int x = 0; x < picture.width; ++x)
      for (int c = 0; c < 3; ++c)
        row[x * 3 + 2 - c] = picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3 + c];
  }
  return true;
}

bool LoadPhoto(const std::string& path, const Options& options, RgbPicture& out) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  CDIB photo;
  const BOOL loaded = photo.LoadJPEG(file, nullptr);
  std::fclose(file);
  CDIB cropped, sized;
  if (!loaded || !photo.header || photo.header->bmiHeader.biBitCount != 24 ||
      !CropToAspect(photo, options.width, options.height, cropped) ||
      !sized.Create24(options.width, options.height) || !StretchDIB24(&cropped, &sized))
    return false;
  out.title = TitleFromFileName(fs::path(path).filename().string());
  out.width = options.width;
  out.height = options.height;
  out.rgb = RgbFrom24(sized);
  return true;
}

std::vector<RgbPicture> GatherPictures(const Options& options) {
  std::vector<RgbPicture> pictures;
  for (const std::string& path : PhotoFiles(options.photoFolder)) {
    RgbPicture picture;
    if (LoadPhoto(path, options, picture)) pictures.push_back(std::move(picture));
  }
  for (uint32_t seed = 1; pictures.size() < kPictureCount; ++seed) {
    char title[32];
    std::snprintf(title, sizeof title, "Drawn Landscape %u", static_cast<unsigned>(seed));
    pictures.push_back({title, options.width, options.height,
                        packedtest::MakePhotoRgb(options.width, options.height, seed)});
  }
  return pictures;
}

// The picture reduced to a palette of its own (median cut).
bool Quantized(const RgbPicture& picture, CDIB& out) {
  CDIB full;
  return DIB24FromRgb(picture, full) && full.Quantize(&out, 236, 1);
}

std::vector<packedtest::Rgb> PaletteOf(const CDIB& dib) {
  std::vector<packedtest::Rgb> palette;
  for (int i = 0; i < dib.GetNumColors(); ++i) {
    const RGBQUAD& c = dib.header->bmiColors[i];
    palette.push_back({c.rgbRed, c.rgbGreen, c.rgbBlue});
  }
  return palette;
}

// The picture's rows bottom row first, as the packed format stores them (like a bitmap).
Bytes RowsBottomFirst(const RgbPicture& picture) {
  const size_t row = static_cast<size_t>(picture.width) * 3;
  Bytes rows;
  rows.reserve(picture.rgb.size());
  for (int y = picture.height - 1; y >= 0; --y) {
    const auto start = picture.rgb.begin() + static_cast<std::ptrdiff_t>(y * row);
    rows.insert(rows.end(), start, start + static_cast<std::ptrdiff_t>(row));
  }
  return rows;
}

// What the LZW type codes: the decoder's buffer is read as the bitmap's padded rows, bottom row
// first, but only its first width x height bytes are coded (the rest stays zero).
Bytes LzwPixelsOf(const CDIB& dib) {
  return Bytes(dib.bits, dib.bits + static_cast<size_t>(dib.GetWidth()) * dib.GetHeight());
}

// The transform-coded pictures are stored close to their photographs: the screen's reduction to
// its colours comes on top of the coding loss, and at the writers' usual qualities (75, 85) the
// two together left a picture visibly further from its photograph than the reduction alone.
constexpr int kStoredQuality = 95;

// Picture n's data in "imfull.dat": BMP for the eleventh, JPEG for the last, the packed LZW type
// for the tenth and the packed palette types for the rest.
bool EncodePicture(int n, const RgbPicture& picture, imagesettest::SetPicture& out) {
  if (n == kPictureCount - 1) {
    out.format = kImageDataJpeg;
    testsupport::JpegOptions jpeg;
    jpeg.quality = kStoredQuality;
    jpeg.lumaH = jpeg.lumaV =
        1;  // colour at full resolution: the decoder's plain upsampling blocks
    out.data = testsupport::EncodeJpeg({picture.width, picture.height, 3, picture.rgb}, jpeg);
    return !out.data.empty();
  }
  CDIB indexed;
  if (!Quantized(picture, indexed)) return false;
  if (n == kPictureCount - 2) {
    out.format = kImageDataBmp;
    out.data = imagesettest::BmpFileBytes(indexed);
    return !out.data.empty();
  }
  packedtest::PackedPicture packed;
  packed.quality = kStoredQuality;
  packed.width = picture.width;
  packed.height = picture.height;
  packed.palette = PaletteOf(indexed);
  if (n == kPictureCount - 3) {
    packed.type = 5;
    packed.pixels = LzwPixelsOf(indexed);
  } else {
    packed.type = n % 2 == 0 ? 2 : 4;
    packed.pixels = RowsBottomFirst(picture);
  }
  out.format = kImageDataPacked;
  out.data = packedtest::WritePackedImage(packed);
  return true;
}

// ---- logos ----------------------------------------------------------------------------------

struct Rgb {
  double r, g, b;
};

Rgb Mix(const Rgb& a, const Rgb& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The demo's emblem at (u, v) of its unit square (v downwards): a sun over two snow-capped
// mountains on an evening sky, in a gold ring.
Rgb EmblemAt(double u, double v) {
  const Rgb gold = {236, 188, 64}, snow = {244, 246, 250};
  const double ring = std::hypot(u - 0.5, v - 0.5);
  if (ring > 0.5) return {18, 34, 74};  // the corners: the band's deep blue
  if (ring > 0.44) return Mix(gold, Rgb{170, 120, 40}, (ring - 0.44) / 0.06);
  // The slopes of a mountain whose summit stands at (u0, top): the height of its flank at u.
  auto flank = [u](double u0, double top, double half) {
    return top + std::fabs(u - u0) / half * (0.78 - top);
  };
  const double back = flank(0.36, 0.38, 0.34), front = flank(0.66, 0.48, 0.30);
  if (v > 0.78) return Mix(Rgb{46, 120, 62}, Rgb{28, 84, 44}, (v - 0.78) / 0.22);
  if (v >= front) return v < front + 0.06 && front < 0.56 ? snow : Rgb{54, 92, 70};
  if (v >= back) return v < back + 0.07 && back < 0.48 ? snow : Rgb{84, 104, 128};
  const double sun = std::hypot(u - 0.5, v - 0.34);
  if (sun < 0.14) return Mix(Rgb{255, 228, 120}, gold, sun / 0.14);
  return Mix(Rgb{36, 64, 150}, Rgb{232, 132, 88}, v / 0.78);  // the sky, warmer toward the hills
}

// A logo of width x height: the emblem once on a square, repeated along a band on a wider one
// (the cylinder's logo wraps round it), between gold rules.
RgbPicture MakeLogo(int width, int height) {
  RgbPicture logo{"", width, height, Bytes(static_cast<size_t>(width) * height * 3)};
  const int cells = std::max(1, static_cast<int>(std::lround(static_cast<double>(width) / height)));
  const double cell = static_cast<double>(width) / cells;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double v = (y + 0.5) / height;
      Rgb c = EmblemAt(std::fmod(x + 0.5, cell) / cell, v);
      if (cells > 1 && (v < 0.04 || v > 0.96)) c = {236, 188, 64};
      BYTE* p = &logo.rgb[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = static_cast<BYTE>(c.r + 0.5);
      p[1] = static_cast<BYTE>(c.g + 0.5);
      p[2] = static_cast<BYTE>(c.b + 0.5);
    }
  }
  return logo;
}

// Logos of every shape the saver asks for: squares (the background's tiles, the cube's faces and
// the blocks') and bands of the cylinder's unrolled proportions (Wipe Out).
std::vector<Bytes> MakeLogos() {
  const double band = C3DCyl52().LogoAspectRatio();
  const int sizes[][2] = {{96, 96},
                          {128, 128},
                          {160, 160},
                          {static_cast<int>(std::lround(96 * band)), 96},
                          {static_cast<int>(std::lround(128 * band)), 128}};
  std::vector<Bytes> logos;
  for (const auto& size : sizes) {
    CDIB indexed;
    if (!Quantized(MakeLogo(size[0], size[1]), indexed)) return {};
    logos.push_back(imagesettest::BmpFileBytes(indexed));
  }
  return logos;
}

std::string Caption(const std::string& title) { return title + " - from the demo image set"; }

std::string Description(const std::string& title) {
  return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24{\\b " + title +
         "}\\par A picture of the demo image set.\\par}";
}

constexpr char kCredits[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20{\\b Demo image set}\\par "
    "The photographs come from the nature collection of Debian's mate-backgrounds package, "
    "distributed under the GNU General Public License, version 2 or later.\\par}";

std::string WriteOwnImages(const fs::path& folder, const std::vector<RgbPicture>& pictures) {
  for (size_t i = 0; i < pictures.size(); ++i) {
    const RgbPicture& picture = pictures[i];
    const std::string base = (folder / picture.title).string();
    Bytes data;
    if (i % 2 == 0) {
      data = testsupport::EncodeJpeg({picture.width, picture.height, 3, picture.rgb});
    } else {
      CDIB indexed;
      if (Quantized(picture, indexed)) data = imagesettest::BmpFileBytes(indexed);
    }
    if (data.empty() || !imagesettest::WriteFileBytes(base + (i % 2 == 0 ? ".jpg" : ".bmp"), data))
      return "cannot write own image " + picture.title;
  }
  return "";
}

}  // namespace

std::string TitleFromFileName(const std::string& fileName) {
  const std::string stem = fileName.substr(0, fileName.find_last_of('.'));
  std::string title;
  for (size_t i = 0; i < stem.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(stem[i]);
    const bool wordStart =
        i > 0 && std::isupper(c) && std::islower(static_cast<unsigned char>(stem[i - 1]));
    if (c == '_' || c == '-') {
      title += ' ';
      continue;
    }
    if (wordStart) title += ' ';
    title += static_cast<char>(c);
  }
  return title;
}

std::string BuildDemoImageSet(const std::string& parent, const Options& options) {
  const fs::path data = fs::path(parent) / kDataFolderName;
  const fs::path own = fs::path(parent) / kOwnImagesFolderName;
  std::error_code error;
  fs::create_directories(data, error);
  fs::create_directories(own, error);
  if (!fs::is_directory(data) || !fs::is_directory(own))
    return "cannot create the folders under " + parent;

  const std::vector<RgbPicture> pictures = GatherPictures(options);
  std::vector<imagesettest::SetPicture> entries;
  for (int n = 0; n < kPictureCount; ++n) {
    imagesettest::SetPicture entry;
    entry.title = pictures[n].title;
    entry.caption = Caption(entry.title);
    entry.description = Description(entry.title);
    if (!EncodePicture(n, pictures[n], entry)) return "cannot encode " + entry.title;
    entries.push_back(std::move(entry));
  }
  const std::vector<Bytes> logos = MakeLogos();
  if (logos.empty()) return "cannot draw the logos";
  imagesettest::ImageSetFiles files = imagesettest::MakeImageSetFiles(1, entries, logos);
  files.credits = kCredits;
  CDIB coverSource, cover;
  if (Quantized(pictures[0], coverSource)) {
    std::unique_ptr<CDIB> quarter(QuarterDIB8(&coverSource));
    if (quarter) files.cover = imagesettest::BmpFileBytes(*quarter);
  }
  if (!imagesettest::WriteImageSetFolder(data.string(), files))
    return "cannot write the set into " + data.string();
  return WriteOwnImages(own, pictures);
}

}  // namespace demoset
