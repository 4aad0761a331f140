// The picture rectangles of the five layouts on several screen sizes, as tables, and the
// properties every layout keeps: rectangles inside the screen, apart from one another, in placing
// order; the mosaic covering the screen exactly.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "framework/Geometry.h"
#include "seams/ScreenSize.h"
#include "transitions/LayoutRects.h"

// Rectangles print as their edges in failure messages.
void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

// Owns the rectangles of a list for a test.
class RectList {
 public:
  ~RectList() { DeleteAllPtrListElements(&list); }
  std::vector<CRect> Rects() const {
    std::vector<CRect> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      out.push_back(*static_cast<const RECT*>(list.GetNext(pos)));
    }
    return out;
  }
  CPtrList list;
};

BOOL Layout(RectList& rects, CSize screen, int layout, int sizeCode) {
  ScopedScreenSize size(screen.cx, screen.cy);
  return GetImageLayoutRects(&rects.list, layout, sizeCode);
}

bool Overlap(const CRect& a, const CRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(GetImageLayoutRectsTest, LayoutsAsTables) {
  const struct {
    CSize screen;
    int layout, sizeCode;
    int count;
    CRect first, second;  // the second is unchecked when count < 2
  } cases[] = {
      // One centred picture of the size code's size; one larger than the screen is 640 x 480.
      {{800, 600}, 0, 6, 1, {80, 60, 720, 540}, {}},
      {{1024, 768}, 0, 0, 1, {0, 0, 1024, 768}, {}},
      {{1024, 768}, 0, 3, 1, {0, 0, 1024, 768}, {}},
      {{1024, 768}, 0, 1, 1, {192, 144, 832, 624}, {}},
      {{1280, 1024}, 0, 4, 1, {64, 80, 1216, 944}, {}},
      {{1280, 1024}, 0, 5, 1, {0, 32, 1280, 992}, {}},
      {{640, 480}, 0, 2, 1, {0, 0, 640, 480}, {}},
      {{1023, 767}, 0, 2, 1, {111, 83, 911, 683}, {}},
      // Mosaic: 5 x 5 cells of 160 x 120; on 1024 wide 7 columns, the first two a pixel wider.
      {{800, 600}, 1, 0, 25, {0, 0, 160, 120}, {160, 0, 320, 120}},
      {{1024, 768}, 1, 0, 56, {0, 0, 147, 109}, {147, 0, 294, 109}},
      {{640, 480}, 1, 0, 16, {0, 0, 160, 120}, {160, 0, 320, 120}},
      // Grids: 4 x 3 cells of 196 x 156 on 800 x 600, no spare width, 30 pixels between rows.
      {{800, 600}, 2, 0, 12, {24, 54, 184, 174}, {220, 54, 380, 174}},
      {{800, 600}, 3, 0, 12, {44, 69, 164, 159}, {220, 54, 380, 174}},
      {{1024, 768}, 2, 0, 20, {29, 50, 189, 170}, {230, 50, 390, 170}},
      {{1024, 768}, 4, 0, 9, {55, 39, 315, 234}, {382, 39, 642, 234}},
      {{640, 480}, 4, 0, 4, {36, 26, 296, 221}, {344, 26, 604, 221}},
      // Unknown layouts, and screens too small for one cell: no rectangles.
      {{1024, 768}, 5, 0, 0, {}, {}},
      {{1024, 768}, 7, 0, 0, {}, {}},
      {{1024, 768}, -1, 0, 0, {}, {}},
      {{200, 160}, 2, 0, 0, {}, {}},
      {{300, 240}, 4, 0, 0, {}, {}},
      {{0, 0}, 1, 0, 0, {}, {}},
      {{-500, 480}, 1, 0, 0, {}, {}},
      {{-500, -400}, 3, 0, 0, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.screen.cx << " x " << c.screen.cy << " layout " << c.layout
                                    << " size " << c.sizeCode);
    RectList rects;
    ASSERT_TRUE(Layout(rects, c.screen, c.layout, c.sizeCode));
    const std::vector<CRect> got = rects.Rects();
    ASSERT_EQ(static_cast<int>(got.size()), c.count);
    if (c.count >= 1) {
      EXPECT_EQ(got[0], c.first);
    }
    if (c.count >= 2) {
      EXPECT_EQ(got[1], c.second);
    }
  }
}

TEST(GetImageLayoutRectsTest, CentredLayoutRefusesSmallScreensAndUnknownSizeCodes) {
  const struct {
    CSize screen;
    int sizeCode;
  } cases[] = {
      {{639, 480}, 1},
      {{640, 479}, 1},
      {{0, 0}, 0},
      {{1024, 768}, 7},
      {{1024, 768}, 9},
      {{1024, 768}, -1},
      {{1024, 768}, -2147483647 - 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.screen.cx << " x " << c.screen.cy << " size " << c.sizeCode);
    RectList rects;
    rects.list.AddTail(new RECT{1, 2, 3, 4});  // whatever was there goes first
    EXPECT_FALSE(Layout(rects, c.screen, 0, c.sizeCode));
    EXPECT_TRUE(rects.list.IsEmpty());
  }
}

TEST(GetImageLayoutRectsTest, MosaicCoversTheScreenEdgeToEdge) {
  for (CSize screen : {CSize(1024, 768), CSize(800, 600), CSize(1280, 1024), CSize(1600, 1200),
                       CSize(1366, 768), CSize(100, 50)}) {
    SCOPED_TRACE(testing::Message() << screen.cx << " x " << screen.cy);
    RectList rects;
    ASSERT_TRUE(Layout(rects, screen, 1, 0));
    const std::vector<CRect> got = rects.Rects();
    int64_t area = 0;
    for (size_t i = 0; i < got.size(); ++i) {
      area += int64_t{got[i].Width()} * got[i].Height();
      if (i > 0 && got[i].top == got[i - 1].top) {
        EXPECT_EQ(got[i].left, got[i - 1].right);
      }
      if (i > 0 && got[i].top != got[i - 1].top) {
        EXPECT_EQ(got[i].left, 0);
        EXPECT_EQ(got[i].top, got[i - 1].bottom);
      }
    }
    EXPECT_EQ(area, int64_t{screen.cx} * screen.cy);
    EXPECT_EQ(got.back().right, screen.cx);
    EXPECT_EQ(got.back().bottom, screen.cy);
  }
  // 1024 x 768: the last of 8 rows of 109 is cut to 5 pixels.
  RectList rects;
  ASSERT_TRUE(Layout(rects, CSize(1024, 768), 1, 0));
  EXPECT_EQ(rects.Rects().back(), CRect(878, 763, 1024, 768));
}

TEST(GetImageLayoutRectsTest, GridPicturesLieApartInsideTheScreenInPlacingOrder) {
  for (int layout : {2, 3, 4}) {
    for (CSize screen : {CSize(640, 480), CSize(800, 600), CSize(1024, 768), CSize(1600, 1200)}) {
      SCOPED_TRACE(testing::Message() << screen.cx << " x " << screen.cy << " layout " << layout);
      RectList rects;
      ASSERT_TRUE(Layout(rects, screen, layout, 0));
      const std::vector<CRect> got = rects.Rects();
      ASSERT_FALSE(got.empty());
      for (size_t i = 0; i < got.size(); ++i) {
        const CRect& r = got[i];
        EXPECT_GE(r.left, 6);
        EXPECT_GE(r.top, 6);
        EXPECT_LE(r.right, screen.cx - 6);
        EXPECT_LE(r.bottom, screen.cy - 6);
        const CSize size = r.Size();
        if (layout == 4) {
          EXPECT_EQ(size, CSize(260, 195));
        } else if (layout == 3) {
          EXPECT_TRUE(size == CSize(120, 90) || size == CSize(160, 120));
        } else {
          EXPECT_EQ(size, CSize(160, 120));
        }
        if (i > 0) {
          EXPECT_TRUE(r.top > got[i - 1].top ||
                      (r.top == got[i - 1].top && r.left > got[i - 1].left) || layout == 3)
              << "placing order";
          for (size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(r, got[j])) << i << " and " << j;
        }
      }
    }
  }
}

TEST(GetImageLayoutRectsTest, DeleteAllEmptiesTheListAndFreesItsRectangles) {
  CPtrList list;
  for (int i = 0; i < 5; ++i) list.AddTail(new RECT{i, i, i + 1, i + 1});
  DeleteAllPtrListElements(&list);  // LeakSanitizer checks the freeing
  EXPECT_TRUE(list.IsEmpty());
  DeleteAllPtrListElements(&list);
  EXPECT_TRUE(list.IsEmpty());
}

}  // namespace
