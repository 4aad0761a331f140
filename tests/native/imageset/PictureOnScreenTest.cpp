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
#include "imaging/ReservedPalette.h"
#include "imaging/Resample.h"
#include "imaging/ScreenCompose.h"
#include "seams/ScreenSize.h"
#include "tests/native/imageset/ImageSetFixture.h"
#include "tests/support/TestPictures.h"
#include "tools/demo/DemoImageSet.h"

namespace {

using Colours = std::vector<uint32_t>;  // 0x00RRGGBB, top row first

constexpr int kPictureWidth = 640, kPictureHeight = 480;  // the demo set's, as the fixture builds it

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

// The photograph at w x h, 24-bit, mirrored and or upside down when asked.
std::unique_ptr<CDIB> Resized(const CDIB& photo, int w, int h, bool mirrored, bool upsideDown) {
  auto out = std::make_unique<CDIB>();
  EXPECT_TRUE(out->Create24(w, h) && StretchDIB24(&photo, out.get()));
  if (!mirrored && !upsideDown) return out;
  auto turned = std::make_unique<CDIB>();
  EXPECT_TRUE(turned->Create24(w, h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const BYTE* from = out->GetPixelAddress(mirrored ? w - 1 - x : x, upsideDown ? h - 1 - y : y);
      BYTE* to = turned->GetPixelAddress(x, y);
      to[0] = from[0], to[1] = from[1], to[2] = from[2];
    }
  return turned;
}

uint32_t ColourOf(const RGBQUAD& c) {
  return uint32_t{c.rgbRed} << 16 | uint32_t{c.rgbGreen} << 8 | c.rgbBlue;
}

uint32_t ColourAt(const CDIB& dib, int x, int y) {
  if (dib.header->bmiHeader.biBitCount == 8)
    return ColourOf(dib.header->bmiColors[*dib.GetPixelAddress(x, y)]);
  const BYTE* p = dib.GetPixelAddress(x, y);
  return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

// Root mean square difference of the channels of the screen's rectangle and the picture.
double Rmse(const Colours& screen, int width, const CRect& rect, const CDIB& picture) {
  double sum = 0;
  for (int y = 0; y < rect.Height(); ++y)
    for (int x = 0; x < rect.Width(); ++x) {
      const uint32_t a = screen[static_cast<size_t>(y + rect.top) * width + x + rect.left];
      const uint32_t b = ColourAt(picture, x, y);
      for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        sum += d * d;
      }
    }
  return std::sqrt(sum / (3.0 * rect.Width() * rect.Height()));
}

// Pixels of the screen outside the rectangle that are not `colour`.
size_t OthersAround(const Colours& screen, int width, const CRect& rect, uint32_t colour) {
  size_t others = 0;
  for (size_t i = 0; i < screen.size(); ++i) {
    const CPoint at(static_cast<int>(i % width), static_cast<int>(i / width));
    others += !rect.PtInRect(at) && screen[i] != colour;
  }
  return others;
}

// Every pixel's colour, top row first.
Colours ColoursOf(const CDIB& dib) {
  Colours out;
  for (int y = 0; y < dib.GetHeight(); ++y)
    for (int x = 0; x < dib.GetWidth(); ++x) out.push_back(ColourAt(dib, x, y));
  return out;
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

      const std::unique_ptr<CDIB> photo = Photograph(n);
      const std::unique_ptr<CDIB> sized = Resized(*photo, pw, ph, false, false);
      CDIB dithered;
      ASSERT_TRUE(sized->Quantize(&dithered, 204, 1));
      const double shown = Rmse(screen, s.width, rect, *sized);
      const double bound = Rmse(ColoursOf(dithered), pw, CRect(0, 0, pw, ph), *sized);
      const double upsideDown = Rmse(screen, s.width, rect, *Resized(*photo, pw, ph, false, true));
      const double mirrored = Rmse(screen, s.width, rect, *Resized(*photo, pw, ph, true, false));
      const double loaded = Rmse(ColoursOf(*image), s.width, rect, *sized);
      std::printf("  %2d  %d  %4dx%-4d  %6.2f (%6.2f loaded)  %6.2f  %6.2f  %6.2f\n", n,
                  desc->dataFormat, pw, ph, shown, loaded, bound, upsideDown, mirrored);
      EXPECT_LE(shown, 1.2 * bound) << "against a dithered reduction to 204 colours";
      EXPECT_GT(upsideDown, 2 * shown) << "upside down";
      EXPECT_GT(mirrored, 2 * shown) << "mirrored";
    }
  }
}

}  // namespace
