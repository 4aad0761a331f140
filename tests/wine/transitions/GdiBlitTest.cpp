// The effects on real device contexts: the GDI blit layer copying between DIB sections, the
// polygon regions GDI makes against the plain layer's scan rule, and the state every effect must
// leave on the device context.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "tests/native/transitions/FxEndChecks.h"
#include "tests/native/transitions/FxIds.h"
#include "tests/native/transitions/FxScene.h"
#include "tests/wine/support/DibDC.h"
#include "transitions/GdiBlit.h"
#include "transitions/Pacing.h"
#include "transitions/PolygonFill.h"
#include "transitions/TransFXDispatch.h"

namespace {

using fxtest::Encode;
using fxtest::Pixel;

// A DIB-section context whose pixels the tests read and write as colour triples.
class DibDC : public wintest::DibDC {
 public:
  using wintest::DibDC::DibDC;
  Pixel At(int x, int y) const {
    const BYTE* b = Plane().Pixel(x, y);
    return {b[0], b[1], b[2]};
  }
  void Set(int x, int y, const Pixel& v) { std::memcpy(Plane().Pixel(x, y), v.data(), 3); }
};

// The scene of the native end-state tests, on DIB sections.
struct GdiScene {
  static constexpr int kDx = 5, kDy = 3, kAx = 2, kAy = 7, kBx = 11, kBy = 1;
  int dw, dh, sw, sh;
  DibDC destination, a, b;
  GdiBlitLayer layer;

  GdiScene(int w, int h) : GdiScene(w, h, w, h) {}
  GdiScene(int destW, int destH, int srcW, int srcH)
      : dw(destW),
        dh(destH),
        sw(srcW),
        sh(srcH),
        destination(destW + 9, destH + 7),
        a(srcW + 13, srcH + 17),
        b(srcW + 19, srcH + 5),
        layer(destination.dc(), a.Surface(), b.Surface()) {
    Fill(destination, [](int, int) { return Marker(); });
    Fill(a, [](int x, int y) { return Encode(fxtest::kTagA, x, y); });
    Fill(b, [](int x, int y) { return Encode(fxtest::kTagB, x, y); });
  }
  template <typename F>
  static void Fill(DibDC& dib, F value) {
    const PixelPlane p = dib.Plane();
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) dib.Set(x, y, value(x, y));
  }
  static Pixel Marker() { return Encode(fxtest::kTagMarker, 0, 0); }
  BOOL Run(int id, int par1, int par2, bool offScreen) {
    const RECT screen{0, 0, dw + 9, dh + 7};
    const BOOL result = TransFXDispatch(layer, kDx, kDy, dw, dh, kAx, kAy, sw, sh, kBx, kBy, id,
                                        kUnpaced, par1, par2, offScreen, &screen);
    GdiFlush();
    return result;
  }
  Pixel Expected(int x, int y, bool offScreen) const {
    return offScreen ? Encode(fxtest::kTagB, kBx + x, kBy + y)
                     : Encode(fxtest::kTagA, kAx + x, kAy + y);
  }
  // Pixels outside the destination rectangle that changed.
  int ChangedOutside() const {
    int changed = 0;
    for (int y = 0; y < dh + 7; ++y)
      for (int x = 0; x < dw + 9; ++x)
        if ((x < kDx || y < kDy || x >= kDx + dw || y >= kDy + dh) &&
            destination.At(x, y) != Marker())
          ++changed;
    return changed;
  }
};

// Every effect ends as it does through the plain layer, at the same sizes and slider ends, checked
// by the same rule and slivers.
TEST(GdiEffects, EveryEffectEndsOnItsSurfaceOnADeviceContext) {
  const int sizes[][2] = {{97, 61}, {320, 200}};
  for (int id = 0; id <= 152; ++id) {
    if (!fxtest::EndStateChecked(id)) continue;
    for (const auto& size : sizes) {
      for (int slider : {1, 100}) {
        for (bool offScreen : {false, true}) {
          SCOPED_TRACE("effect " + std::to_string(id) + " at " + std::to_string(size[0]) + "x" +
                       std::to_string(size[1]) + " slider " + std::to_string(slider) +
                       (offScreen ? " off screen" : " on screen"));
          GdiScene scene(size[0], size[1]);
          const fxtest::FxParams p = fxtest::ParamsAt(id, slider);
          ASSERT_EQ(scene.Run(id, p.par1, p.par2, offScreen), TRUE);
          fxtest::ExpectEnd(scene, id, slider, offScreen);
        }
      }
    }
  }
}

// Stretched onto a destination twice the area's size, every effect ends on the right surface,
// each pixel from near where the scale puts it, as through the plain layer.
TEST(GdiEffects, StretchedEffectsEndOnTheRightSurface) {
  for (int id = 0; id <= 152; ++id) {
    if (!fxtest::EndStateChecked(id)) continue;
    SCOPED_TRACE("effect " + std::to_string(id));
    GdiScene scene(194, 122, 97, 61);
    const fxtest::FxParams p = fxtest::ParamsAt(id, 50);
    ASSERT_EQ(scene.Run(id, p.par1, p.par2, false), TRUE);
    fxtest::ExpectScaledEnd(scene, id, false);
  }
}

// The plain layer fills polygons by its own scan rule; here is how it compares with the regions
// GDI makes from the same points.
TEST(GdiEffects, PolygonRegionsMatchThePlainScanRule) {
  const std::vector<std::vector<POINT>> polygons = {
      {{2, 1}, {30, 1}, {30, 20}, {2, 20}},  // rectangle
      {{0, 0}, {17, 0}, {0, 17}},            // diagonal band 0
      {{17, 0}, {34, 0}, {0, 34}, {0, 17}},  // diagonal band
      {{20, 20}, {20, 0}, {39, 7}},          // clock wedge
      {{20, 20}, {3, 39}, {0, 11}},          // wedge, shallow edges
      {{0, 0}, {3, 37}, {38, 39}},           // steep and flat edges
      {{20, 2}, {20, 9}, {12, 17}, {28, 17}, {20, 9}, {20, 2}, {38, 20}, {2, 20}},  // triangle ring
      {{15, 5},
       {5, 15},
       {5, 25},
       {15, 35},
       {25, 35},
       {35, 25},
       {35, 15},
       {25, 5},
       {15, 5},
       {17, 9},
       {23, 9},
       {31, 17},
       {31, 23},
       {23, 31},
       {17, 31},
       {9, 23},
       {9, 17},
       {17, 9}},
  };
  int mismatches = 0;
  for (size_t i = 0; i < polygons.size(); ++i) {
    const std::vector<POINT>& poly = polygons[i];
    HRGN region = CreatePolygonRgn(poly.data(), static_cast<int>(poly.size()), ALTERNATE);
    ASSERT_NE(region, nullptr);
    std::vector<char> plain(40 * 40, 0);
    std::vector<PolygonSpan> spans;
    PolygonSpans(poly.data(), static_cast<int>(poly.size()), 0, 0, 40, 40, spans);
    for (const PolygonSpan& s : spans)
      for (int x = s.x0; x < s.x1; ++x) plain[s.y * 40 + x] = 1;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        if ((PtInRegion(region, x, y) != 0) != (plain[y * 40 + x] != 0)) {
          ++mismatches;
          ADD_FAILURE() << "polygon " << i << " differs at (" << x << ", " << y << "): GDI "
                        << PtInRegion(region, x, y);
        }
    DeleteObject(region);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(GdiEffects, EffectsLeaveNoClipRegionAndTheirStretchMode) {
  GdiScene scene(97, 61);
  SetStretchBltMode(scene.destination.dc(), HALFTONE);
  for (int id = 0; id <= 152; ++id) {
    if (!IsTransFXEffect(id)) continue;
    SCOPED_TRACE("effect " + std::to_string(id));
    const fxtest::FxParams p = fxtest::ParamsAt(id, 100);
    ASSERT_EQ(scene.Run(id, p.par1, p.par2, id % 2 == 0), TRUE);
    HRGN probe = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetClipRgn(scene.destination.dc(), probe), 0);
    DeleteObject(probe);
    EXPECT_EQ(GetStretchBltMode(scene.destination.dc()), HALFTONE);
  }
}

// GDI has room for some tens of thousands of objects per process. A clock sweep of one degree
// per step makes 360 regions: run it often enough that a region left behind by every copy would
// use that room up, and the last runs could no longer clip.
TEST(GdiEffects, RegionsAreDeletedSoThatEffectsCanRunForever) {
  for (int run = 0; run < 200; ++run) {
    GdiScene scene(24, 16);
    ASSERT_EQ(scene.Run(130, 1, 0, false), TRUE);
    if (run % 20 != 19) continue;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 24; ++x)
        ASSERT_EQ(scene.destination.At(GdiScene::kDx + x, GdiScene::kDy + y),
                  scene.Expected(x, y, false))
            << "run " << run << " at (" << x << ", " << y << ")";
  }
  HRGN region = CreateRectRgn(0, 0, 1, 1);
  EXPECT_NE(region, nullptr);
  DeleteObject(region);
}

TEST(GdiEffects, OneToOneCopiesRealiseTheSurfacePaletteAndPutTheOldOneBack) {
  DibDC destination(40, 30, 8), a(40, 30, 8), b(40, 30, 8);
  std::memset(a.Plane().top, 77, static_cast<size_t>(a.Plane().pitch) * 30);
  GdiBlitLayer layer(destination.dc(), a.Surface(), b.Surface());
  const HGDIOBJ before = GetCurrentObject(destination.dc(), OBJ_PAL);
  const RECT screen{0, 0, 40, 30};
  ASSERT_EQ(
      TransFXDispatch(layer, 0, 0, 40, 30, 0, 0, 40, 30, 0, 0, 110, kUnpaced, 7, 0, FALSE, &screen),
      TRUE);
  GdiFlush();
  EXPECT_EQ(GetCurrentObject(destination.dc(), OBJ_PAL), before);
  EXPECT_EQ(*destination.Plane().Pixel(39, 29), 77);
}

// The entry the front ends call: a device context and two off-screen surfaces on a palette.
TEST(GdiEffects, TheSurfaceEntryDrawsFromTheSurfaceOfTheDirection) {
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateGreyRamp(10));
  CDIBSurface screen, incoming, outgoing;
  ASSERT_TRUE(screen.Create(64, 48, &palette));
  ASSERT_TRUE(incoming.Create(64, 48, &palette));
  ASSERT_TRUE(outgoing.Create(64, 48, &palette));
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      *incoming.GetPixelAddress(x, y) = static_cast<BYTE>(20 + (x + y) % 7);
      *outgoing.GetPixelAddress(x, y) = static_cast<BYTE>(100 + (x * y) % 5);
    }
  const RECT rect{0, 0, 64, 48};
  for (int id : {0, 7, 12, 22, 119, 131, 141, 147}) {
    for (BOOL offScreen : {FALSE, TRUE}) {
      SCOPED_TRACE("effect " + std::to_string(id) + (offScreen ? " off screen" : " on screen"));
      const fxtest::FxParams p = fxtest::ParamsAt(id, 50);
      ASSERT_EQ(TransFXDispatch(&screen.memoryDC, 8, 6, 50, 40, &incoming, 3, 2, 50, 40, &outgoing,
                                5, 4, id, kUnpaced, p.par1, p.par2, offScreen, &rect),
                TRUE);
      GdiFlush();
      CDIBSurface& from = offScreen ? outgoing : incoming;
      const int fx = offScreen ? 5 : 3, fy = offScreen ? 4 : 2;
      int wrong = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
          wrong += *screen.GetPixelAddress(8 + x, 6 + y) != *from.GetPixelAddress(fx + x, fy + y);
      EXPECT_EQ(wrong, 0);
    }
  }
  EXPECT_EQ(TransFXDispatch(nullptr, 0, 0, 10, 10, &incoming, 0, 0, 10, 10, &outgoing, 0, 0, 110, 0,
                            5, 0, FALSE, &rect),
            FALSE);
  EXPECT_EQ(TransFXDispatch(&screen.memoryDC, 0, 0, 10, 10, nullptr, 0, 0, 10, 10, &outgoing, 0, 0,
                            110, 0, 5, 0, FALSE, &rect),
            FALSE);
}

}  // namespace
