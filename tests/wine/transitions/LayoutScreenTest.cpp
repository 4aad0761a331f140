// The layouts on the real screen: the composer asks the screen's device context for its size.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "framework/Geometry.h"
#include "seams/ScreenSize.h"
#include "transitions/LayoutRects.h"

namespace {

TEST(LayoutScreenTest, LayoutsFollowTheScreensSize) {
  const CSize screen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  ASSERT_GE(screen.cx, 640);
  ASSERT_GE(screen.cy, 480);
  EXPECT_EQ(GetScreenSize(), (ScreenSize{screen.cx, screen.cy}));

  CPtrList list;
  ASSERT_TRUE(GetImageLayoutRects(&list, kLayoutCentred, 0));
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_EQ(CRect(*static_cast<RECT*>(list.GetHead())), CRect(CPoint(0, 0), screen));

  ASSERT_TRUE(GetImageLayoutRects(&list, kLayoutMosaic, 0));
  int64_t area = 0;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const CRect r(*static_cast<RECT*>(list.GetNext(pos)));
    area += int64_t{r.Width()} * r.Height();
  }
  EXPECT_EQ(area, int64_t{screen.cx} * screen.cy) << "the mosaic covers the screen";

  {
    ScopedScreenSize small(600, 400);
    EXPECT_FALSE(GetImageLayoutRects(&list, kLayoutCentred, 1));
  }
  EXPECT_EQ(GetScreenSize(), (ScreenSize{screen.cx, screen.cy})) << "the real size is back";
  DeleteAllPtrListElements(&list);
}

}  // namespace
