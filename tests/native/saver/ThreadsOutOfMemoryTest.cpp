// The drawing thread's whole run with allocations refused after the n-th, for every n up to a run
// that needs no refusal: nothing leaves the thread as an exception (which would end the
// process), it records its error and returns once the stop comes; a refusal in the listing of
// the user's own folder has a number of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "saver/DrawingThread.h"
#include "tests/native/saver/DrawingThreadFixture.h"
#include "tests/support/FailingAllocation.h"

namespace drawtest {
namespace {

constexpr long kMostAllocations = 100000;  // a sweep that never ends is a fault of its own
constexpr int kListingError = 36;          // the own-images folder could not be listed

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
    delete info_.pCurrentImage;
    info_.pCurrentImage = nullptr;
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

// The user's own images when memory runs out in the set-up: a refusal before the folder is
// listed escapes to the thread's boundary (6, out of memory, no splash), every refusal within the
// listing is the listing's own error (36), which goes to the splash (whose text, with memory
// still exhausted, cannot be made: the boundary then keeps the 36).
TEST_F(DrawingThreadOutOfMemoryTest,
       TheOwnImageListingHasItsOwnNumberAndTheBoundaryCatchesTheRest) {
  Put("OWNIMAGES_ON", "1");
  Put("TRACEON", "1");
  std::vector<int> errors;  // the error of each refusal in turn, up to the first after the listing
  std::string firstTrace, listingTrace;
  int result = -1;
  for (long n = 0; n < kMostAllocations && RunRefusing(n, &result); ++n) {
    EXPECT_EQ(result, info_.nRunTimeError) << n;
    if (n == 0) firstTrace = TraceText();
    if (result == kListingError) listingTrace = TraceText();
    if (!errors.empty() && errors.back() == kListingError && result != kListingError) break;
    errors.push_back(result);
  }
  const auto listing = std::find(errors.begin(), errors.end(), kListingError);
  ASSERT_NE(listing, errors.end()) << "no refusal fell into the listing";
  EXPECT_GT(listing - errors.begin(), 0) << "the thread makes its folder paths first";
  EXPECT_GE(errors.end() - listing, 3) << "the folder's path, its reading and the names";
  for (auto e = errors.begin(); e != listing; ++e) {
    EXPECT_EQ(*e, kDrawingThreadOutOfMemory) << "refusal " << (e - errors.begin());
  }
  for (auto e = listing; e != errors.end(); ++e) {
    EXPECT_EQ(*e, kListingError) << "refusal " << (e - errors.begin());
  }
  EXPECT_NE(firstTrace.find("RunScreenSaver - out of memory: run-time error 6\n"),
            std::string::npos)
      << firstTrace;
  EXPECT_EQ(firstTrace.find("ShowSplashErrorText - start"), std::string::npos) << firstTrace;
  EXPECT_NE(listingTrace.find("ShowSplashErrorText - start"), std::string::npos) << listingTrace;
  EXPECT_NE(listingTrace.find("run-time error 36\n"), std::string::npos) << listingTrace;
}

}  // namespace
}  // namespace drawtest
