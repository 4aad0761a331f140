// Greys stay grey once a picture is on the screen: on a headless screen with the reserved counts
// of a display without a palette (0) and of an 8-bit one (10), a photograph placed through the
// front ends on a composed background keeps its own colours while the logo tiles, the frame, its
// shadow and the black back style stay grey; so do the lit faces of a 3D object drawn over it,
// and the screen after the picture is taken off again.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "engine3d/Scene.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/HeadlessScreenHost.h"
#include "imaging/ReservedPalette.h"
#include "seams/Clock.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/native/transitions/GreyScreen.h"
#include "transitions/FrontEnds.h"
#include "transitions/PlainBlit.h"
#include "transitions/TransFXDispatch.h"
#include "transitions/TransParams.h"

namespace {

using greytest::ColoursOf;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const CRect kPicture(160, 120, 480, 360);  // the picture area SetSSBackground centres

// The front ends' screen over a headless host: effects draw into a picture in memory.
class HeadlessScreen : public TransitionScreen {
 public:
  explicit HeadlessScreen(int reserved) : host(reserved) {
    window.Create(kWidth, kHeight, nullptr);
  }

  ScreenHost* Host() override { return &host; }
  BOOL SetBackgroundNoDraw(CDIB* dib) override { return host.SetBackground(dib); }
  BOOL RunEffect(int x, int y, int w, int h, CDIBSurface* a, CDIBSurface* b,
                 const TransOrder& order, BOOL offScreen, const RECT& screen) override {
    PlainBlitLayer layer(PlaneOf(window), PlaneOf(*a), PlaneOf(*b));
    return TransFXDispatch(layer, x, y, w, h, x, y, w, h, x, y, order.effect, order.par0,
                           order.par1, order.par2, offScreen, &screen);
  }

  HeadlessScreenHost host;
  CDIB window;
};

BOOL Place(bool on, HeadlessScreen& screen, CDIB* picture, const CRect& r) {
  TransOrder o{1, 1, 0, 0, 0};  // curtains
  TransSlidersToParams(o.transClass, 50, 50, 50, o.par0, o.par1, o.par2);
  using FrontEnd = BOOL (*)(TransitionScreen&, int, int, CDIB*, int, int, int, int, int, int, int,
                            int, int, int, CString*);
  const FrontEnd onScreen = ManageOnScreenTransition, offScreen = ManageOffScreenTransition;
  const FrontEnd frontEnd = on ? onScreen : offScreen;
  CString error;
  const BOOL done = frontEnd(screen, o.transClass, o.effect, picture, r.left, r.top, r.Width(),
                             r.Height(), 0, 0, o.par0, o.par1, o.par2, 0, &error);
  EXPECT_TRUE(done) << error;
  return done;
}

class ScreenGreysTest : public ::testing::TestWithParam<int> {
 protected:
  seams::TestClock clock{1000, 1, 1};  // effects and frames run in virtual time
  seams::ScopedClock scopedClock{&clock};
};

TEST_P(ScreenGreysTest, APlacedPictureKeepsItsColoursAndTheBackgroundItsGreys) {
  const int reserved = GetParam();
  ScopedReservedPaletteEntries display(reserved);
  std::unique_ptr<CDIB> logo = greytest::NewPhoto(64, 64, 64);
  std::unique_ptr<CDIB> photo = greytest::NewPhoto(kPicture.Width(), kPicture.Height());
  for (int backStyle : {kStyleLogosSmall, kStyleBlack}) {
    SCOPED_TRACE("reserved " + std::to_string(reserved) + ", back style " +
                 std::to_string(backStyle));
    HeadlessScreen screen(reserved);
    std::unique_ptr<CDIB> background =
        greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), backStyle);
    ASSERT_TRUE(screen.host.SetBackground(background.release()));
    ASSERT_TRUE(Place(true, screen, photo.get(), kPicture));
    // The colour tables: the ramp where the routines draw it, and every pixel by colour.
    const RGBQUAD* table = screen.host.GetSurface()->header->bmiColors;
    for (int level = 0; level < 32; ++level) {
      const uint32_t grey = greytest::ColourOf(table[reserved + level]);
      EXPECT_TRUE(greytest::IsGrey(grey) && (grey & 0xFF) == CColorPalette::GreyLevels[level] * 4u)
          << "ramp level " << level << " is " << std::hex << grey;
    }
    EXPECT_TRUE(
        greytest::PhotoOnGrey(ColoursOf(*screen.host.GetBackground()), kWidth, kPicture, *photo))
        << "document";
    EXPECT_TRUE(
        greytest::PhotoOnGrey(ColoursOf(*screen.host.GetSurface()), kWidth, kPicture, *photo))
        << "surface";

    // Taking the picture off with the background composed for the next one: grey everywhere.
    std::unique_ptr<CDIB> next =
        greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), backStyle);
    ASSERT_TRUE(Place(false, screen, next.get(), CRect(0, 0, kWidth, kHeight)));
    const greytest::Colours after = ColoursOf(*screen.host.GetSurface());
    EXPECT_EQ(std::count_if(after.begin(), after.end(), greytest::IsGrey),
              static_cast<long>(after.size()))
        << "pixels left in colour after the picture was taken off";
  }
}

TEST_P(ScreenGreysTest, LitFacesOverAPlacedPictureAreGrey) {
  const int reserved = GetParam();
  ScopedReservedPaletteEntries display(reserved);
  std::unique_ptr<CDIB> logo = greytest::NewPhoto(64, 64, 64);
  std::unique_ptr<CDIB> photo = greytest::NewPhoto(kPicture.Width(), kPicture.Height());
  HeadlessScreen screen(reserved);
  ASSERT_TRUE(screen.host.SetBackground(
      greytest::ComposeBackground(kWidth, kHeight, kPicture, logo.get(), kStyleBlack).release()));
  ASSERT_TRUE(Place(true, screen, photo.get(), kPicture));
  const greytest::Colours before = ColoursOf(*screen.host.GetSurface());

  C3DScene scene(&screen.host);
  ASSERT_EQ(scene.ready, 1);
  scenetest::FlyingCube cube(40, kFaceAmbient | kFaceSpotLit, false);
  const int32_t turn[3] = {450, 900, 0};
  cube.Fly(-300, 0, -500, 300, 0, -500, 1.0, turn);  // across the frame and the picture
  scene.InsertObject(cube.Object());
  C3DObject* stopped[1] = {};
  int32_t count = 0;
  scene.RunForSeconds(0.5, 1, stopped, &count);
  size_t changed = 0;
  EXPECT_TRUE(greytest::ChangesAreGrey(before, ColoursOf(*screen.host.GetSurface()), &changed));
  EXPECT_GT(changed, 1000u) << "the cube was drawn";
  scene.RemoveObject(cube.Object());
}

INSTANTIATE_TEST_SUITE_P(ReservedEntries, ScreenGreysTest, ::testing::Values(0, 10));

}  // namespace
