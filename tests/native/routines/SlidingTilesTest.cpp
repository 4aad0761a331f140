// The sliding tiles on a headless screen and on a screen document, in virtual time: while tiles
// slide the uncovered part of the board is always exactly four cells showing the backdrop, a
// cycle ends with every tile home, the run-time limit ends the scramble at half time and the
// unscramble replays exactly the moves made, a stop and an error give the picture back, and the
// shared backdrop is never written.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ClockOverlay.h"
#include "imaging/Sprite.h"
#include "routines/SlidingTiles.h"
#include "seams/Clock.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/RoutineFixture.h"

namespace {

using namespace routinetest;

constexpr int kW = 320;
constexpr int kH = 240;

std::vector<CSprite*> Sprites(ScreenHost& host) {
  std::vector<CSprite*> out;
  CSpriteList* list = host.GetSprites();
  POSITION pos = list->GetHeadPosition();
  while (pos) out.push_back(static_cast<CSprite*>(list->GetNext(pos)));
  return out;
}

CRect RectOf(const CSprite* s) {
  CRect r;
  s->GetRect(&r);
  return r;
}

class SlidingTilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    host.Reset(NewPicture(kW, kH));
    picture.reset(NewPicture(kW, kH));
    backdrop.reset(NewBackdrop(kW, kH));
  }
  void TearDown() override { seams::ClearStop(); }

  int Run(const RECT& area, int infinite, int speed, int res, int runSeconds) {
    return RunSlidingBlocks(&host, backdrop.get(), &area, infinite, 0, 0, speed, res, 0, 0, 0, 0,
                            runSeconds, 0, &error);
  }

  long WindowDifferences() {
    long n = 0;
    for (int y = 0; y < kH; ++y) {
      const BYTE* row = host.WindowRow(y);
      for (int x = 0; x < kW; ++x) n += row[x] != *picture->GetPixelAddress(x, y);
    }
    return n;
  }

  // The picture is back everywhere and nothing of the routine is left.
  void ExpectPictureBack() {
    EXPECT_EQ(WindowDifferences(), 0) << "window";
    EXPECT_EQ(DifferentPixels(*host.GetBackground(), *picture), 0) << "screen background";
    EXPECT_EQ(DifferentPixels(*host.GetSurface(), *picture), 0) << "off-screen surface";
    std::unique_ptr<CDIB> fresh(NewBackdrop(kW, kH));
    EXPECT_EQ(DifferentPixels(*backdrop, *fresh), 0) << "the shared backdrop was written";
    EXPECT_EQ(host.GetSprites()->GetCount(), 0);
  }

  // The board: the tiles' union, which is the board less its four empty cells.
  struct Board {
    CRect rect;
    int cell = 0;
  };
  Board BoardOfTiles() {
    Board b;
    for (CSprite* s : Sprites(host)) {
      const CRect r = RectOf(s);
      b.rect.UnionRect(&b.rect, &r);
      const int side = std::min(r.Width(), r.Height());
      if (b.cell == 0 || side < b.cell) b.cell = side;
    }
    return b;
  }

  // No two tiles overlap, every tile lies on the board, the area they leave is four cells, and
  // the screen's background under the board is the backdrop, which the uncovered cells show.
  void CheckBoard(const Board& board, bool pixels) {
    long covered = 0;
    const std::vector<CSprite*> sprites = Sprites(host);
    for (size_t i = 0; i < sprites.size(); ++i) {
      const CRect a = RectOf(sprites[i]);
      CRect inside;
      inside.IntersectRect(&a, &board.rect);
      ASSERT_EQ(inside, a) << "a tile left the board";
      covered += static_cast<long>(a.Width()) * a.Height();
      for (size_t j = i + 1; j < sprites.size(); ++j) {
        const CRect b = RectOf(sprites[j]);
        CRect both;
        ASSERT_FALSE(both.IntersectRect(&a, &b)) << "two tiles overlap";
      }
    }
    const long area = static_cast<long>(board.rect.Width()) * board.rect.Height();
    ASSERT_EQ(area - covered, 4L * board.cell * board.cell) << "not four empty cells";
    if (!pixels) return;
    // What the uncovered cells show: the screen's background there is the backdrop.
    for (int y = board.rect.top; y < board.rect.bottom; ++y) {
      for (int x = board.rect.left; x < board.rect.right; ++x) {
        ASSERT_EQ(*host.GetBackground()->GetPixelAddress(x, y), kBackdropIndex);
      }
    }
  }

  JumpClock clock;
  seams::ScopedClock scoped{&clock};
  scenetest::WindowedHost host{kW, kH};
  std::unique_ptr<CDIB> picture;
  std::unique_ptr<CDIB> backdrop;
  CString error;
};

TEST_F(SlidingTilesTest, FewerThanNineCellsEndAtOnceAndDrawNothing) {
  const RECT areas[] = {
      {10, 10, 70, 50},      // 3 x 2 cells of 20
      {200, 100, 250, 170},  // 2 x 3 cells of 20
  };
  for (const RECT& area : areas) {
    SCOPED_TRACE(testing::Message() << CRect(area).Width() << " x " << CRect(area).Height());
    const std::string trace = TraceOf([&] {
      EXPECT_EQ(
          RunSlidingBlocks(&host, backdrop.get(), &area, 0, 0, 0, 50, 50, 0, 0, 0, 0, 0, 1, &error),
          1);
    });
    EXPECT_TRUE(host.GetShownRects().empty());
    EXPECT_EQ(DifferentPixels(*host.GetBackground(), *picture), 0);
    EXPECT_EQ(host.GetSprites()->GetCount(), 0);
    EXPECT_EQ(clock.naps, 0);
    EXPECT_EQ(trace,
              "2D Sliding Blocks - start - \n"
              "bInfiniteOn=0,bClockOn=0,bSoundOn=0,Speed=50,Res=50,Volume=0,bSpare=0,bLogoOn=0,"
              "RunSeconds=0\n"
              "2D Sliding Blocks - end not enough blocks to actually run the routine\n\n");
  }
}

TEST_F(SlidingTilesTest, TheFreeAreaIsFourCellsOfBackdropThroughoutAndACycleEndsWithTheTilesHome) {
  const RECT area = {30, 20, 290, 230};
  Board board;
  long flushes = 0;
  host.onFlush = [&] {
    if (board.cell == 0) board = BoardOfTiles();
    CheckBoard(board, ++flushes % 97 == 0);
  };
  EXPECT_EQ(Run(area, 0, 50, 30, 6), 1) << error;
  EXPECT_GT(flushes, 100);
  EXPECT_GT(board.cell, 0);
  EXPECT_GE(board.rect.Width() / board.cell * (board.rect.Height() / board.cell), 9);
  ExpectPictureBack();
}

TEST_F(SlidingTilesTest, HalfTheRunTimeEndsTheScrambleAndTheUnscrambleReplaysItBackwards) {
  const RECT area = {0, 0, kW, kH};
  // Each slide as a tile, where it started and where it stopped, and when it stopped.
  struct Slide {
    CSprite* tile;
    CPoint from, to;
    uint32_t end;
  };
  std::vector<Slide> slides;
  std::vector<std::pair<CSprite*, CPoint>> last;
  host.onFlush = [&] {
    const std::vector<CSprite*> now = Sprites(host);
    if (last.empty()) {
      for (CSprite* s : now) last.push_back({s, CPoint(s->GetX(), s->GetY())});
      return;
    }
    for (auto& [sprite, at] : last) {
      const CPoint p(sprite->GetX(), sprite->GetY());
      if (p == at) continue;
      const CPoint step(p.x - at.x, p.y - at.y);
      const bool sameSlide = !slides.empty() && slides.back().tile == sprite &&
                             (slides.back().to.x - slides.back().from.x) * step.x >= 0 &&
                             (slides.back().to.y - slides.back().from.y) * step.y >= 0 &&
                             (step.x == 0) == (slides.back().to.x == slides.back().from.x);
      if (sameSlide) {
        slides.back().to = p;
        slides.back().end = clock.Peek();
      } else {
        slides.push_back({sprite, at, p, clock.Peek()});
      }
      at = p;
    }
  };
  const uint32_t start = clock.Peek();
  ASSERT_EQ(Run(area, 0, 100, 50, 60), 1) << error;
  ASSERT_GE(slides.size(), 4u);
  ASSERT_EQ(slides.size() % 2, 0u);
  const size_t made = slides.size() / 2;
  for (size_t i = 0; i < made; ++i) {
    const Slide& forward = slides[i];
    const Slide& back = slides[slides.size() - 1 - i];
    EXPECT_EQ(back.tile, forward.tile) << "move " << i;
    EXPECT_EQ(back.from, forward.to) << "move " << i;
    EXPECT_EQ(back.to, forward.from) << "move " << i;
  }
  // The scramble ended with the first move that ended past 30 whole seconds.
  EXPECT_GE(slides[made - 1].end - start, 31000u);
  EXPECT_LT(slides[made - 2].end - start, 31000u + 2000u);
  ExpectPictureBack();
}

TEST_F(SlidingTilesTest, AStopMidwayGivesThePictureBack) {
  const RECT area = {0, 0, kW, kH};
  long flushes = 0;
  host.onFlush = [&] {
    if (++flushes == 400) seams::RequestStop();
  };
  EXPECT_EQ(Run(area, 1, 50, 50, 0), 1);
  EXPECT_GE(flushes, 400);
  EXPECT_LT(flushes, 1000) << "the stop was not seen";
  ExpectPictureBack();
}

TEST_F(SlidingTilesTest, OutOfRangeSettingsAreKeptToOneToAHundred) {
  // Speed 106 and more would give a rate of 0 or less, which never moves a tile.
  const RECT area = {0, 0, kW, kH};
  for (int speed : {106, 500, -20}) {
    SCOPED_TRACE(speed);
    EXPECT_EQ(Run(area, 0, speed, 1000, 2), 1) << error;
    ExpectPictureBack();
  }
}

TEST(SlidingTilesErrorTextTest, EveryCodeHasItsMessage) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {2, "System has run out of memory"},
      {3, "Too many moves - will run out of space"},
      {4, "Incorrect move - bad direction selected"},
      {5, "Incorrect move - bad distance selected"},
      {6, "Incorrect move - no longer 4 blank spaces"},
      {7, "Unable to generate good tile size"},
      {8, "Unable to generate palette in set-up"},
      {9, "Unable to generate tile sprite"},
      {1, "Unrecognized error"},
      {10, "Unrecognized error"},
  };
  for (const auto& c : cases) {
    CString text;
    GetSlidingTilesErrorText(c.code, &text);
    EXPECT_EQ(std::string(text), std::string("2D Sliding Tiles Error Message: ") + c.text);
  }
}

// On the screen document with its view: the clock comes and goes with the routine, and its
// corner shows the picture again afterwards.
class SlidingTilesDocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    doc.reservedEntries = 10;
    doc.AddView(&view);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.SetBackgroundNoDraw(NewPicture(kW, kH)));
    picture.reset(NewPicture(kW, kH));
    backdrop.reset(NewBackdrop(kW, kH));
  }
  void TearDown() override {
    doc.RemoveView(&view);
    seams::ClearStop();
  }

  JumpClock clock;
  seams::ScopedClock scoped{&clock};
  CAnimView view;
  RecordingDoc doc;
  std::unique_ptr<CDIB> picture;
  std::unique_ptr<CDIB> backdrop;
};

TEST_F(SlidingTilesDocTest, TheClockIsMadeAndTakenDownAndItsCornerShowsThePicture) {
  const RECT area = {0, 0, kW, kH};
  long withClock = 0;
  doc.onFlush = [&] { withClock += doc.clockOn && doc.sprites.GetCount() > 2; };
  CString error;
  EXPECT_EQ(
      RunSlidingBlocks(&doc, backdrop.get(), &area, 0, 1, 1, 50, 50, 0, 0, 0, 0, 3, 0, &error), 1)
      << error;
  EXPECT_GT(withClock, 0) << "the tiles slid with the clock on the screen";
  EXPECT_EQ(doc.soundOn, 1) << "the sound flag follows the setting; the tiles play nothing";
  EXPECT_EQ(doc.clockOn, 0);
  EXPECT_EQ(doc.clock, nullptr);
  const CRect corner(kW - 100, 0, kW, 100);
  bool cornerShown = false;
  for (const CRect& r : doc.shown) cornerShown = cornerShown || r == corner;
  EXPECT_TRUE(cornerShown) << "the clock's corner was shown again";
  EXPECT_EQ(doc.sprites.GetCount(), 0);
  EXPECT_EQ(DifferentPixels(*doc.background, *picture), 0);
  EXPECT_EQ(DifferentPixels(*view.surface, *picture), 0) << "the clock's corner included";
}

}  // namespace
