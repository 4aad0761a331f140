// The screen view when memory runs out while it builds its buffer: every allocation of
// CreateBuffer refused in turn gives its error return, no exception, and a view with neither
// surface nor palette (a half-built buffer would leave a surface on a deleted palette).
#include <gtest/gtest.h>

#include <memory>

#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "tests/support/FailingAllocation.h"

namespace {

std::unique_ptr<CDIB> GreyPicture(int w, int h) {
  CColorPalette palette;
  palette.CreateGreyRamp(10);
  auto dib = std::make_unique<CDIB>();
  dib->Create(w, h, &palette);
  return dib;
}

TEST(ScreenOutOfMemoryTest, EveryRefusedAllocationOfCreateBufferLeavesNoBuffer) {
  const std::unique_ptr<CDIB> picture = GreyPicture(64, 48);
  CAnimView view;
  long refusals = 0;
  for (long n = 0;; ++n) {
    ASSERT_TRUE(view.CreateBuffer(picture.get())) << "a buffer before the attempt";
    BOOL made = 0;
    bool refused = false;
    {
      alloctest::RefuseAllocationsAfter refuse(n);
      made = view.CreateBuffer(picture.get());
      refused = refuse.Refused();
    }
    if (!refused) {
      EXPECT_TRUE(made);
      break;
    }
    ++refusals;
    EXPECT_FALSE(made) << "allocation " << n << " refused";
    EXPECT_EQ(view.surface, nullptr) << n;
    EXPECT_EQ(view.palette, nullptr) << n;
  }
  EXPECT_GE(refusals, 2) << "the palette and the surface objects at least";
  ASSERT_NE(view.surface, nullptr);
  EXPECT_EQ(view.surface->GetWidth(), 64);
}

}  // namespace
