// The drawing thread when memory runs out: with the thread's allocations refused from the n-th
// on, for every n up to its first picture change, the thread ends with a run-time error or a
// routine's text, never an exception, and LeakSanitizer sees nothing left behind. The two errors
// that only a failed allocation raises come up on the way: 36 while the own images are listed,
// 6 when the screen takes the background's colours.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "saver/DrawingThread.h"
#include "tests/native/saver/DrawingThreadFixture.h"
#include "tests/support/FailingAllocation.h"

namespace drawtest {
namespace {

// The errors seen with allocations refused from each n on, until a run needs no refusal.
std::set<int> ErrorsOfEveryRefusal(DrawingThreadTest& t) {
  std::set<int> errors;
  for (long n = 0;; ++n) {
    bool refused = false;
    t.aroundThread_ = [n, &refused](const std::function<int()>& run) {
      alloctest::RefuseAllocationsAfter refuse(n);
      const int result = run();
      refused = refused || refuse.Refused();
      return result;
    };
    const int result = t.Run([&] { return t.info_.nRunTimeError != 0 || t.Changes() >= 1; });
    if (!refused) break;
    if (result != 0) errors.insert(result);
    t.TearDown();  // the process-wide state; the set's files stay as they are
    t.Put(kLastImageNoValue, "-1");
    t.Put(kOwnImagesLastImageNoValue, "-1");
  }
  t.aroundThread_ = nullptr;
  return errors;
}

TEST_F(DrawingThreadTest, EveryRefusedAllocationEndsWithAnError) {
  const std::set<int> errors = ErrorsOfEveryRefusal(*this);
  EXPECT_EQ(errors.count(6), 1u) << "the background's colours could not be taken";
  for (int e : errors) EXPECT_NE(e, 36) << "own images are off";
}

TEST_F(DrawingThreadTest, EveryRefusedAllocationWithOwnImagesEndsWithAnError) {
  Put("OWNIMAGES_ON", "1");
  const std::set<int> errors = ErrorsOfEveryRefusal(*this);
  EXPECT_EQ(errors.count(36), 1u) << "the own images could not be listed";
}

}  // namespace
}  // namespace drawtest
