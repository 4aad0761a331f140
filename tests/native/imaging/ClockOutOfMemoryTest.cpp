// The clock overlay when memory runs out while it is built: every allocation refused in turn
// gives the caller a null clock (its out-of-memory error), never an exception, and leaves the
// document as it was: no clock registered, no sprite of it listed, nothing leaked.
#include <gtest/gtest.h>

#include "imaging/ClockOverlay.h"
#include "seams/Clock.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/support/FailingAllocation.h"

namespace {

using namespace routinetest;

class ClockOutOfMemoryTest : public ScreenDocFixture {
 protected:
  void TearDown() override {
    RemoveClockOverlay(&doc);
    ScreenDocFixture::TearDown();
  }
};

TEST_F(ClockOutOfMemoryTest, EveryRefusedAllocationGivesANullClockAndLeavesTheDocument) {
  seams::TestClock clock(1000, 1, 1, LocalSeconds(3, 0, 0));
  seams::ScopedClock scoped(&clock);
  long refusals = 0;
  for (long n = 0;; ++n) {
    CClockOverlay* made = nullptr;
    bool refused = false;
    {
      alloctest::RefuseAllocationsAfter refuse(n);
      made = CreateClockOverlay(&doc);
      refused = refuse.Refused();
    }
    if (!refused) {
      ASSERT_NE(made, nullptr);
      EXPECT_EQ(doc.clock, made);
      EXPECT_EQ(doc.sprites.GetCount(), 2);
      break;
    }
    ++refusals;
    EXPECT_EQ(made, nullptr) << "allocation " << n << " refused";
    EXPECT_EQ(doc.clockOn, 0) << n;
    EXPECT_EQ(doc.clock, nullptr) << n;
    EXPECT_EQ(doc.sprites.GetCount(), 0) << n;
    UpdateClockOverlay(&doc);  // the routine goes on without a clock
  }
  EXPECT_GE(refusals, 5) << "clock, two sprites with their pixels, two list nodes";
}

}  // namespace
