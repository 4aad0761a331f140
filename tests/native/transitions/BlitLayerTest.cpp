// The blit layer: the polygon scan rule, the plain-buffer copies and the blitting rule every
// effect draws through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/DIB.h"
#include "tests/native/transitions/FxRecorder.h"
#include "tests/native/transitions/FxScene.h"
#include "transitions/FxPainter.h"
#include "transitions/PlainBlit.h"
#include "transitions/PolygonFill.h"

namespace {

using fxtest::BlitOp;
using fxtest::Buffer;
using fxtest::Encode;
using fxtest::RecordingLayer;

// How many times each pixel of a w x h grid lies in the polygons.
std::vector<int> Coverage(const std::vector<std::vector<POINT>>& polygons, int w, int h) {
  std::vector<int> count(static_cast<size_t>(w) * h, 0);
  for (const auto& polygon : polygons) {
    std::vector<PolygonSpan> spans;
    PolygonSpans(polygon.data(), static_cast<int>(polygon.size()), 0, 0, w, h, spans);
    for (const PolygonSpan& s : spans)
      for (int x = s.x0; x < s.x1; ++x) ++count[static_cast<size_t>(s.y) * w + x];
  }
  return count;
}

std::string Picture(const std::vector<int>& count, int w) {
  std::string out;
  for (size_t i = 0; i < count.size(); ++i) {
    out += static_cast<char>('0' + count[i]);
    if ((i + 1) % w == 0) out += '\n';
  }
  return out;
}

TEST(PolygonFill, ARectangleCoversItsLeftAndTopEdgesButNotItsRightAndBottom) {
  EXPECT_EQ(Picture(Coverage({{{2, 1}, {6, 1}, {6, 4}, {2, 4}}}, 8, 5), 8),
            "00000000\n"
            "00111100\n"
            "00111100\n"
            "00111100\n"
            "00000000\n");
}

TEST(PolygonFill, SlopedEdgesTakeThePixelsWhoseCornerIsInside) {
  // Right triangle with legs of 6: row y holds x < 6 - y.
  EXPECT_EQ(Picture(Coverage({{{0, 0}, {6, 0}, {0, 6}}}, 7, 7), 7),
            "1111110\n"
            "1111100\n"
            "1111000\n"
            "1110000\n"
            "1100000\n"
            "1000000\n"
            "0000000\n");
  // An edge through fractional x: from (0, 0) to (3, 6) crosses row 1 at 0.5 and row 3 at 1.5,
  // so x = 1 and x = 2 are the first pixels inside.
  EXPECT_EQ(Picture(Coverage({{{0, 0}, {3, 6}, {5, 6}, {5, 0}}}, 5, 6), 5),
            "11111\n"
            "01111\n"
            "01111\n"
            "00111\n"
            "00111\n"
            "00011\n");
}

TEST(PolygonFill, PolygonsSharingEdgesTileWithoutGapsOrOverlaps) {
  // A square cut into four triangles about a centre, and into two bands at 45 degrees.
  const std::vector<std::vector<POINT>> fan = {{{5, 4}, {0, 0}, {11, 0}},
                                               {{5, 4}, {11, 0}, {11, 9}},
                                               {{5, 4}, {11, 9}, {0, 9}},
                                               {{5, 4}, {0, 9}, {0, 0}}};
  for (int c : Coverage(fan, 11, 9)) ASSERT_EQ(c, 1);
  const std::vector<std::vector<POINT>> bands = {{{0, 0}, {7, 0}, {0, 7}},
                                                 {{7, 0}, {14, 0}, {0, 14}, {0, 7}},
                                                 {{14, 0}, {21, 0}, {0, 21}, {0, 14}}};
  for (int c : Coverage(bands, 10, 10)) ASSERT_EQ(c, 1);
}

TEST(PolygonFill, AnInnerOutlineTracedTheOtherWayIsAHole) {
  const std::vector<POINT> ring = {{0, 0}, {6, 0}, {6, 5}, {0, 5}, {0, 0},
                                   {2, 1}, {2, 3}, {4, 3}, {4, 1}, {2, 1}};
  EXPECT_EQ(Picture(Coverage({ring}, 6, 5), 6),
            "111111\n"
            "110011\n"
            "110011\n"
            "111111\n"
            "111111\n");
}

TEST(PolygonFill, DegeneratePolygonsAndClipsCoverNothing) {
  for (int c :
       Coverage({{{0, 0}, {5, 0}}, {{0, 0}, {3, 3}, {6, 6}}, {{1, 1}, {4, 1}, {8, 1}}}, 8, 8))
    ASSERT_EQ(c, 0);
  std::vector<PolygonSpan> spans;
  const POINT square[] = {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}};
  PolygonSpans(square, 4, 3, 4, 5, 6, spans);
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0].x0, 3);
  EXPECT_EQ(spans[0].x1, 5);
  EXPECT_EQ(spans[1].y, 5);
}

// A destination and a source, 24-bit, for the plain layer's own copies.
struct Planes {
  Buffer destination{12, 10}, a{8, 6}, b{8, 6};
  PlainBlitLayer layer{destination.Plane(), a.Plane(), b.Plane()};
  Planes() {
    destination.Fill(Encode(3, 0, 0));
    a.FillPositions(1);
    b.FillPositions(2);
  }
  // Which source pixel destination (x, y) shows, as "tag:x,y", or "-" for the fill.
  std::string Shows(int x, int y) const {
    const fxtest::Pixel p = destination.At(x, y);
    if (p == Encode(3, 0, 0)) return "-";
    return std::to_string(p[2] >> 4) + ":" + std::to_string(p[0]) + "," + std::to_string(p[1]);
  }
  int Drawn() const {
    int n = 0;
    for (int y = 0; y < destination.height; ++y)
      for (int x = 0; x < destination.width; ++x) n += Shows(x, y) != "-";
    return n;
  }
};

TEST(PlainBlit, CopiesAreClippedToBothTheDestinationAndTheSource) {
  Planes p;
  p.layer.Copy(BlitSurface::B, 1, 2, 3, 2, 4, 1);
  EXPECT_EQ(p.Shows(1, 2), "2:4,1");
  EXPECT_EQ(p.Shows(3, 3), "2:6,2");
  EXPECT_EQ(p.Drawn(), 6);

  Planes clipped;  // hangs over the destination's top left and the source's bottom right
  clipped.layer.Copy(BlitSurface::A, -2, -1, 20, 20, 3, 2);
  EXPECT_EQ(clipped.Shows(0, 0), "1:5,3");
  EXPECT_EQ(clipped.Shows(2, 2), "1:7,5");
  EXPECT_EQ(clipped.Drawn(), 3 * 3);

  Planes none;
  none.layer.Copy(BlitSurface::A, 0, 0, 0, 5, 0, 0);
  none.layer.Copy(BlitSurface::A, 0, 0, 5, 5, 8, 0);
  none.layer.Copy(BlitSurface::A, 12, 0, 5, 5, 0, 0);
  EXPECT_EQ(none.Drawn(), 0);
}

TEST(PlainBlit, StretchesSampleTheSourcePixelUnderEachPixelCentre) {
  Planes wide;
  wide.layer.Stretch(BlitSurface::A, 0, 0, 8, 2, 2, 3, 4, 1);  // each source pixel twice
  EXPECT_EQ(wide.Shows(0, 0), "1:2,3");
  EXPECT_EQ(wide.Shows(1, 1), "1:2,3");
  EXPECT_EQ(wide.Shows(2, 0), "1:3,3");
  EXPECT_EQ(wide.Shows(7, 1), "1:5,3");
  EXPECT_EQ(wide.Drawn(), 16);

  Planes narrow;
  narrow.layer.Stretch(BlitSurface::B, 1, 1, 2, 1, 0, 0, 4, 1);  // centres 1 and 3
  EXPECT_EQ(narrow.Shows(1, 1), "2:1,0");
  EXPECT_EQ(narrow.Shows(2, 1), "2:3,0");
  EXPECT_EQ(narrow.Drawn(), 2);
}

TEST(PlainBlit, PolygonCopiesReportWhatTheyDid) {
  Planes p;
  const POINT triangle[] = {{0, 0}, {4, 0}, {0, 4}};
  EXPECT_EQ(p.layer.CopyThroughPolygon(BlitSurface::A, triangle, 3, 0, 0, 8, 6, 0, 0, 8, 6),
            ClipResult::kDrawn);
  EXPECT_EQ(p.Drawn(), 4 + 3 + 2 + 1);
  EXPECT_EQ(p.Shows(3, 0), "1:3,0");
  // Clipped to the destination rectangle, stretched from the area.
  Planes scaled;
  const POINT square[] = {{-5, -5}, {50, -5}, {50, 50}, {-5, 50}};
  scaled.layer.CopyThroughPolygon(BlitSurface::B, square, 4, 2, 2, 4, 4, 0, 0, 2, 2);
  EXPECT_EQ(scaled.Drawn(), 16);
  EXPECT_EQ(scaled.Shows(5, 5), "2:1,1");
  const POINT away[] = {{20, 20}, {30, 20}, {30, 30}};
  EXPECT_EQ(p.layer.CopyThroughPolygon(BlitSurface::A, away, 3, 0, 0, 8, 6, 0, 0, 8, 6),
            ClipResult::kEmpty);
  EXPECT_EQ(p.layer.CopyThroughPolygon(BlitSurface::A, away, 1, 0, 0, 8, 6, 0, 0, 8, 6),
            ClipResult::kFailed);
}

TEST(PlainBlit, BitmapsAreAddressedFromTheTopRowAndDepthsMustAgree) {
  CDIB destination, source, deep;
  ASSERT_TRUE(destination.Create(6, 4, nullptr));
  ASSERT_TRUE(source.Create(6, 4, nullptr));
  ASSERT_TRUE(deep.Create24(6, 4));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) *source.GetPixelAddress(x, y) = static_cast<BYTE>(10 * y + x);
  PlainBlitLayer layer(PlaneOf(destination), PlaneOf(source), PlaneOf(deep));
  layer.Copy(BlitSurface::A, 1, 0, 2, 2, 3, 2);
  EXPECT_EQ(*destination.GetPixelAddress(1, 0), 23);
  EXPECT_EQ(*destination.GetPixelAddress(2, 1), 34);
  EXPECT_EQ(*destination.GetPixelAddress(0, 0), 0);
  layer.Copy(BlitSurface::B, 0, 0, 6, 4, 0, 0);  // 24-bit into 8-bit: refused
  EXPECT_EQ(*destination.GetPixelAddress(4, 3), 0);
  EXPECT_EQ(PlaneOf(deep).bytesPerPixel, 3);
  EXPECT_EQ(layer.SetStretchMode(kStretchColorOnColor), kStretchBlackOnWhite);
  EXPECT_EQ(layer.StretchMode(), kStretchColorOnColor);
}

// The blitting rule, seen from the layer.
TEST(FxPainterRule, EqualSizesCopyOneToOneAndOthersStretchWithAGapClosingPixel) {
  RecordingLayer same;
  FxPainter(same, BlitSurface::A, 10, 20, 100, 50, 3, 4, 100, 50).Piece(30, 10, 20, 5);
  ASSERT_EQ(same.ops.size(), 1u);
  EXPECT_EQ(same.ops[0].kind, BlitOp::kCopy);
  EXPECT_EQ(std::vector<int>({same.ops[0].dx, same.ops[0].dy, same.ops[0].dw, same.ops[0].dh,
                              same.ops[0].sx, same.ops[0].sy}),
            std::vector<int>({40, 30, 20, 5, 33, 14}));

  RecordingLayer twice;  // dw = 2 sw: destination twice the source width plus one
  const FxPainter doubled(twice, BlitSurface::B, 10, 20, 200, 100, 3, 4, 100, 50);
  doubled.Piece(30, 10, 20, 5);
  doubled.Piece(80, 45, 20, 5);  // at the far edges the extra pixel would leave the destination
  ASSERT_EQ(twice.ops.size(), 2u);
  EXPECT_EQ(twice.ops[0].kind, BlitOp::kStretch);
  EXPECT_EQ(std::vector<int>({twice.ops[0].dx, twice.ops[0].dy, twice.ops[0].dw, twice.ops[0].dh,
                              twice.ops[0].sx, twice.ops[0].sy, twice.ops[0].sw, twice.ops[0].sh}),
            std::vector<int>({70, 40, 41, 11, 33, 14, 20, 5}));
  EXPECT_EQ(std::vector<int>({twice.ops[1].dx, twice.ops[1].dy, twice.ops[1].dw, twice.ops[1].dh}),
            std::vector<int>({170, 110, 40, 10}));
}

TEST(FxPainterRule, PiecesAreClippedToTheArea) {
  RecordingLayer layer;
  const FxPainter paint(layer, BlitSurface::A, 10, 20, 100, 50, 3, 4, 100, 50);
  EXPECT_TRUE(paint.Piece(-5, 40, 20, 30));
  EXPECT_FALSE(paint.Piece(100, 0, 5, 5));
  EXPECT_FALSE(paint.Piece(-5, 0, 5, 5));
  EXPECT_FALSE(paint.Piece(0, 0, 0, 5));
  EXPECT_FALSE(paint.Piece(0, 0, 5, -1));
  ASSERT_EQ(layer.ops.size(), 1u);
  EXPECT_EQ(std::vector<int>({layer.ops[0].dx, layer.ops[0].dy, layer.ops[0].dw, layer.ops[0].dh,
                              layer.ops[0].sx, layer.ops[0].sy}),
            std::vector<int>({10, 60, 15, 10, 3, 44}));
  // A piece moved elsewhere is clipped where it lands; the source moves along.
  paint.Move(90, 0, 0, 0, 20, 5);
  EXPECT_EQ(std::vector<int>({layer.ops[1].dx, layer.ops[1].dw, layer.ops[1].sx}),
            std::vector<int>({100, 10, 3}));
}

TEST(FxPainterRule, PolygonPointsScaleAboutTheDestinationCorner) {
  RecordingLayer layer;
  const FxPainter same(layer, BlitSurface::A, 10, 20, 100, 50, 0, 0, 100, 50);
  const FxPainter scaled(layer, BlitSurface::A, 10, 20, 150, 25, 0, 0, 100, 50);
  EXPECT_EQ(same.Scaled(37, 41).x, 37);
  EXPECT_EQ(scaled.Scaled(37, 41).x, 10 + 27 * 150 / 100);
  EXPECT_EQ(scaled.Scaled(37, 41).y, 20 + 21 * 25 / 50);
  EXPECT_EQ(scaled.Scaled(5, 15).x, 10 + (-5 * 150) / 100);  // truncated towards zero
}

}  // namespace
