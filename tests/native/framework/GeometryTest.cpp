// CPoint, CSize, CRect with Win32 semantics.
#include <gtest/gtest.h>

#include "framework/Geometry.h"

TEST(Rect, BasicsAndSizes) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(100, r.Width());
  EXPECT_EQ(50, r.Height());
  EXPECT_EQ(CSize(100, 50), r.Size());
  EXPECT_EQ(CPoint(10, 20), r.TopLeft());
  EXPECT_EQ(CPoint(110, 70), r.BottomRight());
  EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
  EXPECT_FALSE(r.IsRectEmpty());
  EXPECT_FALSE(r.IsRectNull());
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_TRUE(CRect().IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 2, 10).IsRectEmpty());
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));    // left/top included
  EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));  // right excluded
  EXPECT_FALSE(r.PtInRect(CPoint(10, 70)));   // bottom excluded
  EXPECT_TRUE(r.PtInRect(CPoint(109, 69)));
  EXPECT_EQ(CRect(1, 2, 4, 6), CRect(CPoint(1, 2), CSize(3, 4)));
  EXPECT_EQ(CRect(1, 2, 4, 6), CRect(CPoint(1, 2), CPoint(4, 6)));
  RECT raw = {1, 2, 3, 4};
  CRect fromRaw(raw);
  EXPECT_TRUE(fromRaw.EqualRect(&raw));
  EXPECT_TRUE(fromRaw == raw);
  EXPECT_TRUE(fromRaw != r);
  LPCRECT asPointer = fromRaw;  // passes where Win32 wants a RECT pointer
  EXPECT_EQ(3, asPointer->right);
}

TEST(Rect, ChangingEdges) {
  CRect r(0, 0, 10, 10);
  r.OffsetRect(5, -5);
  EXPECT_EQ(CRect(5, -5, 15, 5), r);
  r += CPoint(1, 1);
  EXPECT_EQ(CRect(6, -4, 16, 6), r);
  r -= CPoint(6, -4);
  EXPECT_EQ(CRect(0, 0, 10, 10), r);
  r.InflateRect(2, 3);
  EXPECT_EQ(CRect(-2, -3, 12, 13), r);
  r.DeflateRect(2, 3);
  EXPECT_EQ(CRect(0, 0, 10, 10), r);
  r.InflateRect(1, 2, 3, 4);
  EXPECT_EQ(CRect(-1, -2, 13, 14), r);
  r.SetRect(9, 8, 1, 2);
  r.NormalizeRect();
  EXPECT_EQ(CRect(1, 2, 9, 8), r);
  r.SetRectEmpty();
  EXPECT_TRUE(r.IsRectNull());
}

TEST(Rect, IntersectFollowsWin32) {
  CRect out(1, 1, 1, 1);
  EXPECT_TRUE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
  EXPECT_EQ(CRect(5, 5, 10, 10), out);
  // Touching edges do not overlap: empty, all zero, FALSE.
  out.SetRect(1, 1, 2, 2);
  EXPECT_FALSE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
  EXPECT_TRUE(out.IsRectNull());
  // Disjoint.
  out.SetRect(1, 1, 2, 2);
  EXPECT_FALSE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(30, 30, 40, 40)));
  EXPECT_TRUE(out.IsRectNull());
  // An empty source gives an empty result even inside the other.
  out.SetRect(1, 1, 2, 2);
  EXPECT_FALSE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 5, 8)));
  EXPECT_TRUE(out.IsRectNull());
  // The destination may be a source.
  CRect a(0, 0, 10, 10);
  EXPECT_TRUE(a.IntersectRect(a, CRect(2, 3, 4, 5)));
  EXPECT_EQ(CRect(2, 3, 4, 5), a);
  EXPECT_EQ(CRect(2, 2, 3, 3), CRect(0, 0, 3, 3) & CRect(2, 2, 9, 9));
}

TEST(Rect, UnionFollowsWin32) {
  CRect out;
  EXPECT_TRUE(out.UnionRect(CRect(0, 0, 5, 5), CRect(10, 10, 20, 30)));
  EXPECT_EQ(CRect(0, 0, 20, 30), out);
  // An empty source is ignored, not stretched to.
  EXPECT_TRUE(out.UnionRect(CRect(100, 100, 100, 100), CRect(10, 10, 20, 30)));
  EXPECT_EQ(CRect(10, 10, 20, 30), out);
  EXPECT_TRUE(out.UnionRect(CRect(1, 2, 3, 4), CRect(-50, -50, -50, 0)));
  EXPECT_EQ(CRect(1, 2, 3, 4), out);
  // Both empty: all zero and FALSE.
  out.SetRect(1, 1, 2, 2);
  EXPECT_FALSE(out.UnionRect(CRect(5, 5, 5, 5), CRect(7, 7, 3, 3)));
  EXPECT_TRUE(out.IsRectNull());
  CRect grow(0, 0, 1, 1);
  grow |= CRect(4, 4, 5, 5);
  EXPECT_EQ(CRect(0, 0, 5, 5), grow);
}

TEST(PointAndSize, Arithmetic) {
  CPoint p(3, 4);
  p += CSize(1, 1);
  EXPECT_EQ(CPoint(4, 5), p);
  p -= CSize(4, 5);
  EXPECT_EQ(CPoint(0, 0), p);
  EXPECT_EQ(CSize(2, 3), CPoint(5, 7) - CPoint(3, 4));
  EXPECT_EQ(CPoint(6, 8), CPoint(5, 7) + CSize(1, 1));
  EXPECT_EQ(CPoint(-5, 7), -CPoint(5, -7));
  p.Offset(2, 2);
  EXPECT_EQ(CPoint(2, 2), p);
  CSize s(1, 2);
  s += CSize(3, 4);
  EXPECT_EQ(CSize(4, 6), s);
  EXPECT_NE(CSize(4, 7), s);
  // Overflow wraps as Win32 arithmetic does, without undefined behaviour.
  CRect wide(-2147483647 - 1, 0, 2147483647, 1);
  EXPECT_EQ(-1, wide.Width());
}
