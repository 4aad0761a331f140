// The rolling cylinder, the colliding solids and the bouncing balls when memory runs out: with
// every allocation refused in turn up to the first drawn frame, each routine ends with 0 and its
// error text, or goes on without what could not be made (a captured face, a redraw), never with
// an exception, and leaves no clock, no sprite and the screen composed from its background; the
// solids and balls leave the picture as it was. LeakSanitizer sees anything left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/DIBSurface.h"
#include "routines/BlocksWorld.h"
#include "routines/BouncingBalls.h"
#include "routines/WipeOut.h"
#include "seams/Clock.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/support/FailingAllocation.h"

namespace {

using namespace routinetest;

using RoutineFn = int (*)(ScreenHost*, const RECT*, int, int, int, int, int, int, int, int, int,
                          int, CString*);

// A screen document that asks the routine to stop at the first rectangle it shows (without
// allocating: memory may be refused by then).
class StoppingDoc : public CAnimDoc {
 public:
  void ShowRect(const CRect* rect) override {
    if (armed) seams::RequestStop();
    CAnimDoc::ShowRect(rect);
  }
  bool armed = false;
};

class BouncingOutOfMemoryTest : public ::testing::Test {
 protected:
  static constexpr int kW = 200, kH = 150;

  void SetUp() override {
    seams::ClearStop();
    doc.reservedEntries = kRamp;
    GreyRampBaseIndex = kRamp;
    doc.AddView(&view);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.SetBackgroundNoDraw(NewBackground(kW, kH)));
    picture.reset(new CDIB);
    ASSERT_TRUE(picture->Create(kW, kH, nullptr));
    doc.background->CopyBits(picture.get(), 0, 0, kW, kH, 0, 0, -1);
  }
  void TearDown() override {
    seams::ClearStop();
    doc.RemoveView(&view);
  }

  // Runs the routine until it shows its first rectangle.
  int RunToFirstFrame(RoutineFn run, CString* error) {
    seams::ClearStop();
    doc.armed = true;
    const int result = run(&doc, &area, 1, 1, 0, 50, 60, 0, 0, 0, 0, 0, error);
    doc.armed = false;
    return result;
  }

  void Check(RoutineFn run, const std::string& prefix, const char* textureError, bool keeps) {
    CString error;
    int result = -1;
    const alloctest::SweepCount count = alloctest::SweepRefusals(
        [&] { result = RunToFirstFrame(run, &error); },
        [&](long n) {
          SCOPED_TRACE(n);
          EXPECT_EQ(doc.clockOn, 0);
          EXPECT_EQ(doc.clock, nullptr);
          EXPECT_EQ(doc.sprites.GetCount(), 0);
          EXPECT_EQ(DifferentPixels(*view.surface, *doc.background), 0) << "the screen composed";
          if (keeps) {
            EXPECT_EQ(DifferentPixels(*doc.background, *picture), 0) << "the picture kept";
          }
          const int refusedResult = std::exchange(result, -1);
          const std::string text(error);
          error = "";
          if (refusedResult == 1) return false;
          EXPECT_EQ(refusedResult, 0);
          // Refusing the first allocation refuses the room for the text itself.
          if (n > 0 && text != prefix + "System has run out of memory") {
            EXPECT_EQ(text, prefix + textureError);
          }
          return true;
        });
    EXPECT_EQ(result, 1) << "nothing refused";
    EXPECT_GE(count.reported, 3) << "scene, clock, shapes";
    std::printf("[ figure ] %s%ld allocations refused in turn\n", prefix.c_str(), count.refusals);
  }

  JumpClock clock{LocalSeconds(10, 0, 0)};
  seams::ScopedClock scoped{&clock};
  CAnimView view;
  StoppingDoc doc;
  std::unique_ptr<CDIB> picture;
  RECT area = {0, 0, kW, kH};
};

TEST_F(BouncingOutOfMemoryTest, TheCylinder) {
  Check(RunWipeOut, "Wipe Out Error Message: ", "System has run out of memory", false);
}

TEST_F(BouncingOutOfMemoryTest, TheSolids) {
  Check(RunBlocksWorld,
        "Blocks' World Error Message: ", "Unable to get background image for texture map", true);
}

TEST_F(BouncingOutOfMemoryTest, TheBalls) {
  Check(RunBouncingBalls, "Bouncing Balls Error Message: ", "System has run out of memory", true);
}

}  // namespace
