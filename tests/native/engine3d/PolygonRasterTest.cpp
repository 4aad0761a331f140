// The polygon rasteriser: exact pixel rules, clipping, texture mapping, and random convex
// polygons against a simple reference filler with guard bytes all round the surface.
#include "engine3d/Raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "framework/WinTypes.h"
#include "tests/native/engine3d/RasterFixture.h"

namespace {

using Points = std::vector<RasterPoint>;

RasterPolygon Poly(const Points& p) {
  return RasterPolygon{static_cast<int32_t>(p.size()), p.data()};
}

// Rows and columns a polygon must cover, by plain geometry: on every row from the top row down to
// (not including) the bottom row, from the left boundary rounded up to the right boundary rounded
// up, exclusive. Convex polygons only.
std::vector<uint8_t> ReferenceFill(const Points& p, int32_t w, int32_t h, RECT clip) {
  std::vector<uint8_t> covered(static_cast<size_t>(w) * h, 0);
  int32_t top = p[0].y, bottom = p[0].y;
  for (const RasterPoint& q : p) {
    top = std::min(top, q.y);
    bottom = std::max(bottom, q.y);
  }
  auto ceilDiv = [](int64_t num, int64_t den) {
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
  };
  for (int32_t y = top; y < bottom; ++y) {
    // Left and right boundary as fractions num/den, den > 0.
    bool any = false;
    int64_t ln = 0, ld = 1, rn = 0, rd = 1;
    for (size_t i = 0; i < p.size(); ++i) {
      const RasterPoint a = p[i], b = p[(i + 1) % p.size()];
      if (a.y == b.y || y < std::min(a.y, b.y) || y > std::max(a.y, b.y)) continue;
      int64_t num =
          static_cast<int64_t>(a.x) * (b.y - a.y) + static_cast<int64_t>(y - a.y) * (b.x - a.x);
      int64_t den = b.y - a.y;
      if (den < 0) {
        num = -num;
        den = -den;
      }
      if (!any || num * ld < ln * den) ln = num, ld = den;
      if (!any || num * rd > rn * den) rn = num, rd = den;
      any = true;
    }
    if (!any || y < clip.top || y >= clip.bottom || y < 0 || y >= h) continue;
    const int64_t from = std::max<int64_t>({ceilDiv(ln, ld), clip.left, 0});
    const int64_t to = std::min<int64_t>({ceilDiv(rn, rd), clip.right, w});
    for (int64_t x = from; x < to; ++x) covered[static_cast<size_t>(y) * w + x] = 1;
  }
  return covered;
}

// Compares the surface with the reference: `colour` where covered, `background` elsewhere.
::testing::AssertionResult MatchesReference(const GuardedSurface& s,
                                            const std::vector<uint8_t>& covered, uint8_t colour,
                                            uint8_t background) {
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) {
      const uint8_t expected =
          covered[static_cast<size_t>(y) * s.Width() + x] ? colour : background;
      if (s.At(x, y) != expected)
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                             << int(s.At(x, y)) << ", expected " << int(expected);
    }
  return s.GuardsIntact();
}

void SetClip(RECT r) {
  g_rasterTarget.clipLeft = r.left;
  g_rasterTarget.clipTop = r.top;
  g_rasterTarget.clipRight = r.right;
  g_rasterTarget.clipBottom = r.bottom;
}

TEST(FillPolygonFlat, FlatToppedRectangleFillsRowsAndColumnsUpToTheFarEdge) {
  GuardedSurface s(40, 40);
  s.Bind();
  const Points cw = {{10, 20}, {14, 20}, {14, 24}, {10, 24}};
  const Points ccw(cw.rbegin(), cw.rend());
  for (const Points* p : {&cw, &ccw}) {
    s.Clear(0);
    EXPECT_EQ(FillPolygonFlat(Poly(*p), 7, 0, 0), 1);
    std::vector<uint8_t> expected(40 * 40, 0);
    for (int y = 20; y <= 23; ++y)
      for (int x = 10; x <= 13; ++x) expected[y * 40 + x] = 1;
    EXPECT_TRUE(MatchesReference(s, expected, 7, 0));
  }
  // Offsets move the whole polygon.
  s.Clear(0);
  EXPECT_EQ(FillPolygonFlat(Poly(cw), 9, -10, 5), 1);
  EXPECT_EQ(s.At(0, 25), 9);
  EXPECT_EQ(s.At(3, 28), 9);
  EXPECT_EQ(s.At(4, 28), 0);
  EXPECT_EQ(s.At(0, 29), 0);
}

TEST(FillPolygonFlat, DrawsNothingForDegenerateInputAndRefusesFarCorners) {
  GuardedSurface s(32, 32, 1);
  s.Bind();
  struct Case {
    const char* what;
    Points points;
    int result;
  } cases[] = {
      {"no corners", {}, 1},
      {"one corner", {{5, 5}}, 1},
      {"all corners on one row", {{2, 9}, {20, 9}, {11, 9}}, 1},
      {"one row high, pointed top", {{5, 9}, {9, 10}, {1, 10}}, 1},
      {"corner beyond the safe range", {{0, 0}, {kMaxRasterCoordinate + 1, 4}, {0, 8}}, 0},
      {"corner far below", {{0, 0}, {4, INT32_MAX}, {0, 8}}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FillPolygonFlat(Poly(c.points), 200, 0, 0), c.result) << c.what;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) ASSERT_EQ(s.At(x, y), 1) << c.what;
  }
  EXPECT_EQ(FillPolygonFlat(Poly(Points{{0, 0}, {5, 0}, {5, 5}}), 200, INT32_MIN, 0), 0);
  EXPECT_TRUE(s.GuardsIntact());
}

TEST(FillSpanList, SpansEndBeforeTheirEndColumnAndClipOnEverySide) {
  GuardedSurface s(30, 10);
  s.Bind();
  SetClip(RECT{5, 2, 25, 8});
  std::vector<SpanPair> spans = {
      {10, 14},  // row 1: above the clip, not drawn
      {10, 14},  // row 2: 10..13
      {12, 12},  // row 3: empty
      {14, 10},  // row 4: reversed, nothing
      {0, 30},   // row 5: clipped both sides: 5..24
      {20, 40},  // row 6: clipped right: 20..24, up to the clip's last column
      {-9, 6},   // row 7: clipped left: 5
      {0, 30},   // row 8: below the clip, not drawn
  };
  FillSpanList(SpanList{static_cast<int32_t>(spans.size()), 1, spans.data()}, 3);
  std::vector<uint8_t> expected(30 * 10, 0);
  auto fill = [&](int row, int from, int to) {
    for (int x = from; x < to; ++x) expected[row * 30 + x] = 1;
  };
  fill(2, 10, 14);
  fill(5, 5, 25);
  fill(6, 20, 25);
  fill(7, 5, 6);
  EXPECT_TRUE(MatchesReference(s, expected, 3, 0));
}

TEST(TraceEdgeColumns, ColumnsAreTheEdgeRoundedUpAndStayInsideTheWindow) {
  struct Case {
    int32_t x1, y1, x2, y2, skip;
    std::vector<int32_t> columns;
  } cases[] = {
      {4, 0, 4, 3, 0, {4, 4, 4}},    {0, 0, 3, 3, 0, {0, 1, 2}},
      {0, 0, 3, 3, 1, {1, 2}},       {0, 0, 2, 4, 0, {0, 1, 1, 2}},  // 0, 0.5, 1, 1.5 rounded up
      {2, 0, 0, 4, 0, {2, 2, 1, 1}},                                 // 2, 1.5, 1, 0.5 rounded up
      {0, 0, 7, 2, 0, {0, 4}},                                       // 0, 3.5
      {0, 0, -7, 2, 1, {-3}},                                        // -3.5 rounded up
      {0, 5, 9, 5, 0, {}},                                           // flat: nothing
      {0, 5, 9, 2, 0, {}},                                           // climbing: nothing
  };
  for (const Case& c : cases) {
    std::vector<SpanPair> spans(8, SpanPair{-99, -99});
    SpanCursor cursor{spans.data(), 10, 8, 10};
    TraceEdgeColumns(c.x1, c.y1, c.x2, c.y2, kStartSide, c.skip, cursor);
    EXPECT_EQ(cursor.row, 10 + static_cast<int32_t>(c.columns.size()));
    for (size_t i = 0; i < c.columns.size(); ++i) {
      EXPECT_EQ(spans[i].start, c.columns[i])
          << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2 << " row " << i;
      EXPECT_EQ(spans[i].end, -99);
    }
    EXPECT_EQ(spans[c.columns.size()].start, -99);
  }
  // A long edge through a short window writes only the window's rows, with the columns that the
  // whole walk gives them.
  std::vector<SpanPair> all(1000), window(6, SpanPair{-1, -1});
  SpanCursor full{all.data(), 0, 1000, 0};
  TraceEdgeColumns(-300, 0, 517, 1000, kEndSide, 1, full);
  SpanCursor part{window.data(), 500, 4, 0};
  TraceEdgeColumns(-300, 0, 517, 1000, kEndSide, 1, part);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(window[i].end, all[500 + i].end) << i;
  EXPECT_EQ(window[4].end, -1);
  EXPECT_EQ(part.row, 999);
}

TEST(FillPolygonFlat, RandomConvexPolygonsMatchTheReferenceFiller) {
  // 61 pixels wide: rows are padded, so a target that ignored the real stride would skew.
  GuardedSurface s(61, 47);
  std::mt19937 rng(1234u);
  auto coord = [&rng](int lo, int hi) {
    return lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1));
  };
  for (int round = 0; round < 3000; ++round) {
    // Convex hull of random points, in both orders.
    std::vector<RasterPoint> pts(3 + rng() % 8);
    for (RasterPoint& q : pts) q = RasterPoint{coord(-30, 90), coord(-30, 76)};
    std::sort(pts.begin(), pts.end(),
              [](RasterPoint a, RasterPoint b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    auto cross = [](RasterPoint o, RasterPoint a, RasterPoint b) {
      return static_cast<int64_t>(a.x - o.x) * (b.y - o.y) -
             static_cast<int64_t>(a.y - o.y) * (b.x - o.x);
    };
    Points hull;
    for (int pass = 0; pass < 2; ++pass) {
      const size_t base = hull.size();
      for (const RasterPoint& q : pts) {
        while (hull.size() >= base + 2 && cross(hull[hull.size() - 2], hull.back(), q) <= 0)
          hull.pop_back();
        hull.push_back(q);
      }
      hull.pop_back();
      std::reverse(pts.begin(), pts.end());
    }
    if (hull.size() < 3) continue;
    if (round % 2) std::reverse(hull.begin(), hull.end());
    std::rotate(hull.begin(), hull.begin() + rng() % hull.size(), hull.end());
    const RECT clip = round % 3 ? RECT{0, 0, 61, 47}
                                : RECT{coord(0, 30), coord(0, 23), coord(31, 61), coord(24, 47)};
    s.Clear(0);
    s.Bind();
    SetClip(clip);
    ASSERT_EQ(FillPolygonFlat(Poly(hull), 0x5A, 0, 0), 1);
    ASSERT_TRUE(MatchesReference(s, ReferenceFill(hull, 61, 47, clip), 0x5A, 0))
        << "round " << round;
  }
}

TEST(FillPolygonFlat, NonConvexAndSelfCrossingPolygonsStayInsideTheSurface) {
  GuardedSurface s(50, 40);
  s.Bind();
  std::mt19937 rng(77u);
  for (int round = 0; round < 2000; ++round) {
    Points p(3 + rng() % 12);
    for (RasterPoint& q : p)
      q = RasterPoint{static_cast<int32_t>(rng() % 400) - 200,
                      static_cast<int32_t>(rng() % 400) - 200};
    FillPolygonFlat(Poly(p), static_cast<int32_t>(rng() % 256), 0, 0);
    ASSERT_TRUE(s.GuardsIntact()) << "round " << round;
  }
}

// A texture whose texel (u, v) is u + 16 v, for checking exactly which texel lands where.
struct CountingTexture {
  explicit CountingTexture(int32_t w, int32_t h, int32_t stride)
      : pixels(static_cast<size_t>(stride) * h, 0xCC) {
    for (int32_t v = 0; v < h; ++v)
      for (int32_t u = 0; u < w; ++u)
        pixels[static_cast<size_t>(v) * stride + u] = static_cast<uint8_t>(u + 16 * v);
    texture.stride = stride;
    texture.pixels = pixels.data();
    texture.width = w;
    texture.height = h;
  }
  std::vector<uint8_t> pixels;
  C3DTexture texture;
};

TEST(FillPolygonTextured, SquareMappedOneToOneCopiesTheTexture) {
  GuardedSurface s(40, 40);
  s.Bind();
  CountingTexture t(8, 8, 12);
  const Points square = {{10, 20}, {18, 20}, {18, 28}, {10, 28}};
  const Points uv = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
  EXPECT_EQ(FillPolygonTextured(Poly(square), Poly(uv), t.texture), 1);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 10 && x < 18 && y >= 20 && y < 28;
      ASSERT_EQ(s.At(x, y), inside ? (x - 10) + 16 * (y - 20) : 0) << x << "," << y;
    }
  EXPECT_TRUE(s.GuardsIntact());
}

TEST(FillPolygonTextured, DrawsNothingForTooFewCornersOrTheOtherOrder) {
  GuardedSurface s(40, 40);
  s.Bind();
  CountingTexture t(8, 8, 8);
  const Points square = {{10, 20}, {18, 20}, {18, 28}, {10, 28}};
  const Points uv = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
  const Points reversed(square.rbegin(), square.rend());
  const Points reversedUv(uv.rbegin(), uv.rend());
  EXPECT_EQ(FillPolygonTextured(Poly(reversed), Poly(reversedUv), t.texture), 1);
  EXPECT_EQ(
      FillPolygonTextured(RasterPolygon{2, square.data()}, RasterPolygon{2, uv.data()}, t.texture),
      1);
  EXPECT_EQ(FillPolygonTextured(Poly(square), RasterPolygon{3, uv.data()}, t.texture), 0);
  EXPECT_EQ(FillPolygonTextured(Poly(square), Poly(uv), C3DTexture{}), 1);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(s.At(x, y), 0) << x << "," << y;
  EXPECT_TRUE(s.GuardsIntact());
}

TEST(FillPolygonTextured, CoordinatesOutsideTheTextureReadItsEdge) {
  GuardedSurface s(40, 40);
  s.Bind();
  CountingTexture t(4, 4, 4);
  const Points square = {{0, 0}, {20, 0}, {20, 20}, {0, 20}};
  const Points uv = {{-50, -50}, {60, -50}, {60, 60}, {-50, 60}};
  EXPECT_EQ(FillPolygonTextured(Poly(square), Poly(uv), t.texture), 1);
  EXPECT_EQ(s.At(0, 0), 0);             // clamped to texel (0, 0)
  EXPECT_EQ(s.At(19, 19), 3 + 16 * 3);  // clamped to texel (3, 3)
  EXPECT_TRUE(s.GuardsIntact());
}

// Drawn once unclipped and once with a clip rectangle, a polygon must give the same pixels inside
// the rectangle and leave everything outside it alone: clipping never shifts texture coordinates
// nor loses the last column or row before the edge.
TEST(Clipping, EverySideCutsExactlyWhereTheRectangleEnds) {
  const Points shape = {{-6, 3}, {25, -4}, {44, 20}, {30, 41}, {2, 33}};
  const Points uv = {{0, 0}, {60, 3}, {63, 40}, {20, 63}, {2, 50}};
  CountingTexture t(64, 64, 64);
  const RECT clips[] = {
      {7, 0, 40, 40},   // left
      {0, 9, 40, 40},   // top
      {0, 0, 29, 40},   // right
      {0, 0, 40, 27},   // bottom
      {11, 6, 23, 31},  // all four
  };
  for (int textured = 0; textured < 2; ++textured) {
    GuardedSurface whole(40, 40), cut(40, 40);
    whole.Bind();
    if (textured) {
      ASSERT_EQ(FillPolygonTextured(Poly(shape), Poly(uv), t.texture), 1);
    } else {
      ASSERT_EQ(FillPolygonFlat(Poly(shape), 77, 0, 0), 1);
    }
    for (const RECT& clip : clips) {
      cut.Clear(0);
      cut.Bind();
      SetClip(clip);
      if (textured) {
        ASSERT_EQ(FillPolygonTextured(Poly(shape), Poly(uv), t.texture), 1);
      } else {
        ASSERT_EQ(FillPolygonFlat(Poly(shape), 77, 0, 0), 1);
      }
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
          const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
          ASSERT_EQ(cut.At(x, y), inside ? whole.At(x, y) : 0)
              << (textured ? "textured" : "flat") << " clip " << clip.left << "," << clip.top << ","
              << clip.right << "," << clip.bottom << " at " << x << "," << y;
        }
      EXPECT_TRUE(cut.GuardsIntact());
    }
  }
}

TEST(FillPolygonTextured, RandomConvexPolygonsCoverWhatTheFlatFillCovers) {
  GuardedSurface flat(53, 41), textured(53, 41);
  std::vector<uint8_t> one(16, 0x33);
  C3DTexture solid;
  solid.stride = 4;
  solid.pixels = one.data();
  solid.width = solid.height = 4;
  std::mt19937 rng(4321u);
  for (int round = 0; round < 2000; ++round) {
    // A random convex polygon: corners at increasing angles round an ellipse, in the order that
    // the textured fill draws (forward from the top corner walks the right side).
    const int n = 3 + static_cast<int>(rng() % 6);
    std::vector<double> angles(n);
    for (double& a : angles) a = (rng() % 3600) * 3.14159265358979 / 1800.0;
    std::sort(angles.begin(), angles.end());
    Points p, uv;
    const double cx = static_cast<int>(rng() % 80) - 13, cy = static_cast<int>(rng() % 60) - 10;
    const double rx = 3 + rng() % 40, ry = 3 + rng() % 40;
    for (double a : angles) {
      const RasterPoint q{static_cast<int32_t>(cx + rx * std::cos(a)),
                          static_cast<int32_t>(cy + ry * std::sin(a))};
      if (!p.empty() && q.x == p.back().x && q.y == p.back().y) continue;
      p.push_back(q);
      uv.push_back(RasterPoint{static_cast<int32_t>(rng() % 4), static_cast<int32_t>(rng() % 4)});
    }
    // Rounding to whole pixels can fold a thin polygon over: keep only strictly convex ones.
    bool convex = p.size() >= 3;
    for (size_t i = 0; convex && i < p.size(); ++i) {
      const RasterPoint a = p[i], b = p[(i + 1) % p.size()], c = p[(i + 2) % p.size()];
      convex = static_cast<int64_t>(b.x - a.x) * (c.y - b.y) -
                   static_cast<int64_t>(b.y - a.y) * (c.x - b.x) >
               0;
    }
    if (!convex) continue;
    flat.Clear(0);
    flat.Bind();
    ASSERT_EQ(FillPolygonFlat(Poly(p), 0x33, 0, 0), 1);
    textured.Clear(0);
    textured.Bind();
    ASSERT_EQ(FillPolygonTextured(Poly(p), Poly(uv), solid), 1);
    for (int y = 0; y < 41; ++y)
      for (int x = 0; x < 53; ++x)
        ASSERT_EQ(textured.At(x, y), flat.At(x, y)) << "round " << round << " at " << x << "," << y;
    ASSERT_TRUE(textured.GuardsIntact());
  }
}

TEST(BindRasterTarget, RefusesUnusableSurfacesAndThenDrawsNothing) {
  uint8_t pixel = 0;
  EXPECT_EQ(BindRasterTarget(nullptr, 10, 10, 12), 0);
  EXPECT_EQ(BindRasterTarget(&pixel, 0, 10, 12), 0);
  EXPECT_EQ(BindRasterTarget(&pixel, 10, -1, 12), 0);
  EXPECT_EQ(BindRasterTarget(&pixel, 10, 10, 9), 0);
  const Points square = {{0, 0}, {5, 0}, {5, 5}, {0, 5}};
  EXPECT_EQ(FillPolygonFlat(Poly(square), 9, 0, 0), 1);
  EXPECT_EQ(pixel, 0);
  EXPECT_EQ(BindRasterTarget(&pixel, 1, 1, 1), 1);
  EXPECT_EQ(g_rasterTarget.clipRight, 1);
  EXPECT_EQ(g_rasterTarget.clipBottom, 1);
}

}  // namespace
