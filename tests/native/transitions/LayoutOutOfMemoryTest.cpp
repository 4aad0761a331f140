// The layout rectangles when memory runs out: every allocation refused in turn gives 0 and an
// empty list, no exception and no half layout (the callers place pictures by the list).
#include <gtest/gtest.h>

#include "framework/Geometry.h"
#include "seams/ScreenSize.h"
#include "tests/support/FailingAllocation.h"
#include "transitions/LayoutRects.h"

namespace {

TEST(LayoutOutOfMemoryTest, EveryRefusedAllocationGivesZeroAndAnEmptyList) {
  const struct {
    int layout;
    int minimumRefusals;  // one rectangle and one list node per picture at least
  } cases[] = {{kLayoutCentred, 2}, {kLayoutMosaic, 2 * 42}, {kLayoutGrid, 2 * 20}};
  ScopedScreenSize screen(1024, 768);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    CPtrList list;
    long refusals = 0;
    for (long n = 0;; ++n) {
      BOOL made = 0;
      bool refused = false;
      {
        alloctest::RefuseAllocationsAfter refuse(n);
        made = GetImageLayoutRects(&list, c.layout, 0);
        refused = refuse.Refused();
      }
      if (!refused) {
        EXPECT_TRUE(made);
        EXPECT_FALSE(list.IsEmpty());
        break;
      }
      ++refusals;
      EXPECT_FALSE(made) << "allocation " << n << " refused";
      EXPECT_TRUE(list.IsEmpty()) << n;
    }
    EXPECT_GE(refusals, c.minimumRefusals);
    DeleteAllPtrListElements(&list);
  }
}

}  // namespace
