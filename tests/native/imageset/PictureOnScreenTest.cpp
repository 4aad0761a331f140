// Every picture of the demo set on the way the drawing thread brings it to the screen with the
// installed settings (fit to the screen, palette interpolation, a black image background):
// GetImage, the reduction of a 24-bit picture to the screen's 204 colours, and the copy by
// colour onto the screen's colour table (the grey ramp, the static colours and the picture's).
// On a wide and a 4:3-high screen, against the photograph it was made from: right way up, not
// mirrored, in its proportions, as close to the photograph as a dithered reduction of it to the
// screen's 204 colours, and every pixel around it the background's black.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/Geometry.h"
#include "imageset/GetImage.h"
#include "imageset/ImageSet.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/Resample.h"
#include "imaging/ReservedPalette.h"
#include "imaging/ScreenCompose.h"
#include "seams/ScreenSize.h"
#include "tests/native/imageset/ImageSetFixture.h"
#include "tests/support/TestPictures.h"
#include "tools/demo/DemoImageSet.h"

namespace {

using Colours = std::vector<uint32_t>;  // 0x00RRGGBB, top row first

constexpr int kPictureWidth = 640,
              kPictureHeight = 480;  // the demo set's, as the fixture builds it

// The photograph the demo builder drew for picture n (no photographs given: seeds 1 to 12), as
// a 24-bit bitmap.
std::unique_ptr<CDIB> Photograph(int n) {
  const imagesettest::Bytes rgb = packedtest::MakePhotoRgb(kPictureWidth, kPictureHeight, n + 1);
  auto dib = std::make_unique<CDIB>();
  EXPECT_TRUE(dib->Create24(kPictureWidth, kPictureHeight));
  for (int y = 0; y < kPictureHeight; ++y) {
    BYTE* row = dib->GetPixelAddress(0, y);
    for (int x = 0; x < kPictureWidth; ++x)
      for (int c = 0; c < 3; ++c)
        row[3 * x + 2 - c] = rgb[(static_cast<size_t>(y) * kPictureWidth + x) * 3 + c];
  }
  return dib;
}

// The photograph at w x h, 24-bit.
std::unique_ptr<CDIB> Resized(const CDIB& photo, int w, int h) {
  auto out = std::make_unique<CDIB>();
  EXPECT_TRUE(out->Create24(w, h) && StretchDIB24(&photo, out.get()));
  return out;
}

uint32_t ColourOf(const RGBQUAD& c) {
  return uint32_t{c.rgbRed} << 16 | uint32_t{c.rgbGreen} << 8 | c.rgbBlue;
}

// Every pixel's colour, top row first. Rows are read whole: the comparisons below visit millions
// of pixels per picture.
Colours ColoursOf(const CDIB& dib) {
  const int w = dib.GetWidth(), h = dib.GetHeight();
  const bool indexed = dib.header->bmiHeader.biBitCount == 8;
  uint32_t table[256] = {};
  if (indexed)
    for (int i = 0; i < 256; ++i) table[i] = ColourOf(dib.header->bmiColors[i]);
  Colours out(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const BYTE* p = dib.GetPixelAddress(0, y);
    uint32_t* to = &out[static_cast<size_t>(y) * w];
    for (int x = 0; x < w; ++x)
      to[x] = indexed ? table[p[x]]
                      : uint32_t{p[3 * x + 2]} << 16 | uint32_t{p[3 * x + 1]} << 8 | p[3 * x];
  }
  return out;
}

// How the picture is read against the screen: as it is, mirrored, or upside down.
enum class Reading { kAsItIs, kMirrored, kUpsideDown };

// Root mean square difference of the channels of the screen's rectangle and a picture of the
// rectangle's size (its colours, top row first), read the given way.
double Rmse(const Colours& screen, int width, const CRect& rect, const Colours& picture,
            Reading reading = Reading::kAsItIs) {
  const int w = rect.Width(), h = rect.Height();
  double sum = 0;
  for (int y = 0; y < h; ++y) {
    const int py = reading == Reading::kUpsideDown ? h - 1 - y : y;
    for (int x = 0; x < w; ++x) {
      const int px = reading == Reading::kMirrored ? w - 1 - x : x;
      const uint32_t a = screen[static_cast<size_t>(y + rect.top) * width + x + rect.left];
      const uint32_t b = picture[static_cast<size_t>(py) * w + px];
      for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        sum += d * d;
      }
    }
  }
  return std::sqrt(sum / (3.0 * w * h));
}

// Pixels of the screen outside the rectangle that are not `colour`.
size_t OthersAround(const Colours& screen, int width, const CRect& rect, uint32_t colour) {
  size_t others = 0;
  const int height = static_cast<int>(screen.size() / width);
  for (int y = 0; y < height; ++y) {
    const bool beside = y >= rect.top && y < rect.bottom;  // rows through the picture
    for (int x = 0; x < width; ++x)
      others += (!beside || x < rect.left || x >= rect.right) &&
                screen[static_cast<size_t>(y) * width + x] != colour;
  }
  return others;
}

// The picture as the screen shows it: reduced to 204 colours when it has more than 8 bits, then
// copied by colour onto the screen's colour table for it.
std::unique_ptr<CDIB> OnScreen(CDIB& picture) {
  CDIB* shown = &picture;
  CDIB reduced;
  if (picture.header->bmiHeader.biBitCount != 8) {
    EXPECT_TRUE(picture.Quantize(&reduced, 204, 1));
    shown = &reduced;
  }
  CColorPalette palette;
  auto screen = std::make_unique<CDIB>();
  EXPECT_TRUE(palette.CreateScreenPalette(shown, GetReservedPaletteEntries()) &&
              screen->Create(shown->GetWidth(), shown->GetHeight(), &palette));
  CopyByColour(*shown, screen.get(), 0, 0, shown->GetWidth(), shown->GetHeight(), 0, 0);
  return screen;
}

struct ScreenCase {
  int width, height;
  int pictureWidth, pictureHeight;  // an 8-bit picture of the set, enlarged and centred
};

class PictureOnScreenTest : public ImageSetFolderTest {};

TEST_F(PictureOnScreenTest, EveryPictureIsItsPhotographUprightInProportionOnTheBackground) {
  demoset::Options options;  // no photographs: the builder draws its own at 640 x 480
  ASSERT_EQ(demoset::BuildDemoImageSet(folder_.string(), options), "");
  const std::string data = imagesettest::JoinPath(folder_.string(), demoset::kDataFolderName);
  std::strncpy(IniSettings.DATADIRECTORY, data.c_str(), sizeof IniSettings.DATADIRECTORY - 1);
  ASSERT_EQ(GetImageDescArray(ImageSetFilePath("Imagedes.dat"), &ImageDescArray), 12);
  ImageSettings.IMAGE_BACKSTYLE = 2;  // the installed black image background
  ASSERT_EQ(ScreenBackgroundColour(ImageBackColourIndex()).rgbRed, 0);

  const ScreenCase screens[] = {{1920, 1080, 1280, 960}, {1366, 768, 1024, 768}};
  for (const ScreenCase& s : screens) {
    ScopedScreenSize size(s.width, s.height);
    std::printf("%dx%d: picture, format, rectangle, error, dithered 204, upside down, mirrored\n",
                s.width, s.height);
    for (int n = 0; n < 12; ++n) {
      SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + ", picture " +
                   std::to_string(n));
      const auto* desc = static_cast<const CImageDesc*>(ImageDescArray.GetAt(n));
      CString error;
      std::unique_ptr<CDIB> image(GetImage(ImageSetFilePath("imfull.dat"), desc, 0, TRUE,
                                           ImageBackColourIndex(), nullptr, nullptr, FALSE, error));
      ASSERT_TRUE(image) << error;
      ASSERT_EQ(image->GetWidth(), s.width);
      ASSERT_EQ(image->GetHeight(), s.height);
      const Colours screen = ColoursOf(*OnScreen(*image));
      // JPEG pictures (24-bit) are stretched over the whole screen; the 8-bit ones keep their
      // proportions.
      const bool whole = desc->dataFormat == kImageDataJpeg;
      const int pw = whole ? s.width : s.pictureWidth, ph = whole ? s.height : s.pictureHeight;
      const CRect rect((s.width - pw) / 2, (s.height - ph) / 2, (s.width - pw) / 2 + pw,
                       (s.height - ph) / 2 + ph);
      EXPECT_EQ(OthersAround(screen, s.width, rect, 0x000000), 0u)
          << "pixels around the picture that are not the background's black";

      const std::unique_ptr<CDIB> sized = Resized(*Photograph(n), pw, ph);
      const Colours source = ColoursOf(*sized);
      CDIB dithered;
      ASSERT_TRUE(sized->Quantize(&dithered, 204, 1));
      const double shown = Rmse(screen, s.width, rect, source);
      const double bound = Rmse(ColoursOf(dithered), pw, CRect(0, 0, pw, ph), source);
      const double upsideDown = Rmse(screen, s.width, rect, source, Reading::kUpsideDown);
      const double mirrored = Rmse(screen, s.width, rect, source, Reading::kMirrored);
      const double loaded = Rmse(ColoursOf(*image), s.width, rect, source);
      std::printf("  %2d  %d  %4dx%-4d  %6.2f (%6.2f loaded)  %6.2f  %6.2f  %6.2f\n", n,
                  desc->dataFormat, pw, ph, shown, loaded, bound, upsideDown, mirrored);
      EXPECT_LE(shown, 1.2 * bound) << "against a dithered reduction to 204 colours";
      EXPECT_GT(upsideDown, 2 * shown) << "upside down";
      EXPECT_GT(mirrored, 2 * shown) << "mirrored";
    }
  }
}

}  // namespace
