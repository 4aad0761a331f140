// The drawing thread's whole run with allocations refused after the n-th, for every n up to a run
// that needs no refusal: nothing leaves the thread as an exception (which would end the
// process), it records its error and returns once the stop comes.
#include <gtest/gtest.h>

#include <cstdio>

#include "saver/DrawingThread.h"
#include "tests/native/saver/DrawingThreadFixture.h"
#include "tests/support/FailingAllocation.h"

namespace drawtest {
namespace {

constexpr long kMostAllocations = 100000;  // a sweep that never ends is a fault of its own

// The screen in memory, but effects end at once without drawing: what they draw is tested
// elsewhere, and a sweep of several hundred runs must take seconds.
class QuickScreen : public MemoryScreen {
 public:
  using MemoryScreen::MemoryScreen;
  BOOL RunEffectFrom(int, int, int, int, CDIBSurface*, int, int, CDIBSurface*, int, int,
                     const TransOrder&, BOOL, const RECT&) override {
    ++effects;
    return TRUE;
  }
};

class DrawingThreadOutOfMemoryTest : public DrawingThreadTest {
 public:
  // One run to the second image change, refusing allocations after the n-th. True when one was
  // refused; the thread's result in *result.
  bool RunRefusing(long n, int* result) {
    info_ = SaverInfo();
    info_.nRunTimeError = GetIniSettings(keyPath_);
    bInitInfo(&info_);
    ScopedScreenSize size(kWidth, kHeight);
    QuickScreen screen(kWidth, kHeight);
    clock_.waits = 0;
    // The stop comes once the thread has failed (it then waits for it), after its second image
    // change, or at a bound that only a hang reaches.
    clock_.onIdle = [this] {
      if (info_.nRunTimeError != 0 || Changes() >= 2 || clock_.waits > 20000) seams::RequestStop();
    };
    setsBefore_ = registry_.Calls(seams::RegOp::Set);
    bool refused = false;
    {
      alloctest::RefuseAllocationsAfter refuse(n);
      *result = RunDrawingThread(&info_, keyPath_, screen);
      refused = refuse.Refused();
    }
    clock_.onIdle = nullptr;
    seams::ClearStop();
    delete CurrentImageDIB;
    CurrentImageDIB = nullptr;
    delete ScreenBackgroundDIB;
    ScreenBackgroundDIB = nullptr;
    return refused;
  }

  static constexpr int kWidth = 640, kHeight = 480;
};

// The slide show with captions: the set's descriptions, a picture's load and reduction, both
// transitions, the caption and the routine all meet exhausted memory somewhere.
TEST_F(DrawingThreadOutOfMemoryTest, NothingLeavesTheThreadAndTheErrorIsRecorded) {
  Put("TEXTFX_TEXTON", "1");
  long n = 0, withoutError = 0;
  int result = -1;
  for (; n < kMostAllocations && RunRefusing(n, &result); ++n) {
    // Returning at all is the point: the thread caught what escaped. A refusal in work the thread
    // may go without (a caption that cannot be shown) ends with no error, any other with one.
    ASSERT_GE(result, 0) << "refused after " << n;
    if (result == 0) ++withoutError;
  }
  EXPECT_LT(withoutError, n / 2) << "most refusals must end in a recorded error";
  EXPECT_LT(n, kMostAllocations);
  EXPECT_EQ(result, 0) << "the run with every allocation granted";
  EXPECT_GE(Changes(), 2);
  std::printf("[ figure ] drawing thread: %ld allocations refused in turn\n", n);
}

}  // namespace
}  // namespace drawtest
