// Cutting a block copy to both bitmaps before CDIB::CopyBits, which copies nothing that does not
// fit whole.
#include "imaging/CopyClip.h"

#include <gtest/gtest.h>

#include <climits>

#include "imaging/DIB.h"

namespace {

struct ClipCase {
  CopyBlock in;
  bool kept;
  CopyBlock out;
};

TEST(CopyClip, BlocksAreCutToSourceAndDestinationTogether) {
  // Source 50 x 40, destination 106 x 73.
  const ClipCase cases[] = {
      {{0, 0, 50, 40, 0, 0}, true, {0, 0, 50, 40, 0, 0}},
      {{-10, -5, 50, 40, 0, 0}, true, {0, 0, 40, 35, 10, 5}},   // off the top-left
      {{90, 60, 50, 40, 0, 0}, true, {90, 60, 16, 13, 0, 0}},   // off the bottom-right
      {{0, 0, 106, 73, 0, 0}, true, {0, 0, 50, 40, 0, 0}},      // larger than its source
      {{0, 0, 10, 10, -3, -4}, true, {3, 4, 7, 6, 0, 0}},       // source offset negative
      {{200, 0, 10, 10, 0, 0}, false, {}},                      // wholly outside
      {{0, 0, 0, 10, 0, 0}, false, {}},                         // empty
      {{INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0}, false, {}},  // no overflow
  };
  for (const ClipCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in.dx << "," << c.in.dy << " " << c.in.w << "x" << c.in.h
                                    << " from " << c.in.sx << "," << c.in.sy);
    CopyBlock block = c.in;
    ASSERT_EQ(ClipCopyBlock(&block, 50, 40, 106, 73), c.kept);
    if (!c.kept) continue;
    EXPECT_EQ(block.dx, c.out.dx);
    EXPECT_EQ(block.dy, c.out.dy);
    EXPECT_EQ(block.w, c.out.w);
    EXPECT_EQ(block.h, c.out.h);
    EXPECT_EQ(block.sx, c.out.sx);
    EXPECT_EQ(block.sy, c.out.sy);
  }
}

TEST(CopyClip, ClippedCopyMovesThePixelsAnUnclippedOneRefuses) {
  CDIB source, target;
  ASSERT_TRUE(source.Create(4, 4, nullptr));
  ASSERT_TRUE(target.Create(6, 6, nullptr));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) *source.GetPixelAddress(x, y) = static_cast<BYTE>(10 + 4 * y + x);
  source.CopyBits(&target, -2, -2, 4, 4, 0, 0, -1);
  EXPECT_EQ(*target.GetPixelAddress(0, 0), 0) << "CopyBits does not clip by itself";
  CopyBlock block{-2, -2, 4, 4, 0, 0};
  ASSERT_TRUE(ClipCopyBlock(&block, 4, 4, 6, 6));
  source.CopyBits(&target, block.dx, block.dy, block.w, block.h, block.sx, block.sy, -1);
  EXPECT_EQ(*target.GetPixelAddress(0, 0), 10 + 4 * 2 + 2);
  EXPECT_EQ(*target.GetPixelAddress(1, 1), 10 + 4 * 3 + 3);
  EXPECT_EQ(*target.GetPixelAddress(2, 2), 0);
}

TEST(CopyClip, CentredSpansCutToTheOuterExtent) {
  const Span inside = CentredSpan(100, 40);
  EXPECT_EQ(inside.to, 30);
  EXPECT_EQ(inside.from, 0);
  EXPECT_EQ(inside.length, 40);
  const Span larger = CentredSpan(40, 100);
  EXPECT_EQ(larger.to, 0);
  EXPECT_EQ(larger.from, 30);
  EXPECT_EQ(larger.length, 40);
}

}  // namespace
