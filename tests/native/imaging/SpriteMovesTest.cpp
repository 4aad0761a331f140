// Timed sprite slides in virtual time: the path stays on the line and never passes the target,
// the slide ends on the target when its time is up, slow drawing is caught up, and the clock
// overlay keeps ticking meanwhile.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "imaging/ClockOverlay.h"
#include "imaging/Sprite.h"
#include "imaging/SpriteMoves.h"
#include "seams/Clock.h"
#include "tests/native/imaging/ScreenDocFixture.h"

namespace {

using namespace routinetest;

class SlideSpriteTimedTest : public ScreenDocFixture {
 protected:
  void SetUp() override {
    ScreenDocFixture::SetUp();
    sprite = new CSprite;
    sprite->Create(10, 8, nullptr);
    doc.sprites.Insert(sprite);
    // Every flush is a step: note where the sprite is and when, and let drawing take its time.
    doc.onFlush = [this] {
      steps.push_back({sprite->GetX(), sprite->GetY(), clock.Peek()});
      clock.Advance(drawMs);
    };
  }

  struct Step {
    int x, y;
    uint32_t tick;
  };

  // Clock: each tick read and each idle turn take 1 ms of virtual time.
  seams::TestClock clock{5000, 1, 1, LocalSeconds(3, 0, 0)};
  seams::ScopedClock scoped{&clock};
  CSprite* sprite = nullptr;
  uint32_t drawMs = 0;
  std::vector<Step> steps;
};

TEST_F(SlideSpriteTimedTest, FollowsTheLineAndEndsOnTheTargetOnTime) {
  const struct {
    POINT from, to;
    int rate;
  } cases[] = {
      {{0, 0}, {300, 0}, 600},      // along x
      {{40, 190}, {40, 10}, 360},   // along y, upwards
      {{310, 5}, {-10, 185}, 500},  // down and to the left, x the longer axis
      {{20, 20}, {59, 170}, 100},   // y the longer axis
      {{0, 0}, {100, -100}, 1000},  // a tie goes to x
      {{7, 7}, {8, 7}, 60},         // a single pixel
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.from.x << "," << c.from.y << ") to (" << c.to.x
                                    << "," << c.to.y << ") at " << c.rate);
    sprite->SetPosition(c.from.x, c.from.y);
    doc.FlushDirtyRects();
    steps.clear();
    const uint32_t start = clock.Peek();
    SlideSpriteTimed(&doc, sprite, &c.to, c.rate);

    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().x, c.to.x);
    EXPECT_EQ(steps.back().y, c.to.y);
    const long dx = c.to.x - c.from.x, dy = c.to.y - c.from.y;
    const bool majorY = std::labs(dx) < std::labs(dy);
    const long major = majorY ? std::labs(dy) : std::labs(dx);
    long previous = -1;
    for (const Step& s : steps) {
      const long along = majorY ? std::labs(s.y - c.from.y) : std::labs(s.x - c.from.x);
      ASSERT_LE(along, major) << "never past the target";
      ASSERT_GE(along, previous) << "never backwards";
      previous = along;
      const long minor = majorY ? s.x - c.from.x : s.y - c.from.y;
      ASSERT_EQ(minor, along * (majorY ? dx : dy) / major) << "on the line";
    }
    // Arrives when the distance at the rate is covered, within a few milliseconds of loop
    // overhead, and stays there until one more pixel's time has passed.
    const uint32_t expectedMs = static_cast<uint32_t>(major * 1000 / c.rate);
    const uint32_t pixelMs = static_cast<uint32_t>(1000 / c.rate);
    size_t arrival = 0;
    while (steps[arrival].x != c.to.x || steps[arrival].y != c.to.y) ++arrival;
    EXPECT_GE(steps[arrival].tick - start, expectedMs);
    EXPECT_LE(steps[arrival].tick - start, expectedMs + 5);
    EXPECT_LE(steps.back().tick - start, expectedMs + pixelMs + 5);
    EXPECT_EQ(view.dirtyList.GetCount(), 0);
    ExpectSurfaceComposed();
  }
}

TEST_F(SlideSpriteTimedTest, SlowDrawingIsCaughtUpInLargerSteps) {
  drawMs = 250;  // every frame takes a quarter of a second
  sprite->SetPosition(0, 50);
  doc.FlushDirtyRects();
  steps.clear();
  const POINT target = {200, 50};
  const uint32_t start = clock.Peek();
  SlideSpriteTimed(&doc, sprite, &target, 100);  // two seconds
  ASSERT_GE(steps.size(), 7u);
  ASSERT_LE(steps.size(), 10u) << "about eight frames, not two hundred";
  EXPECT_GE(steps[2].x - steps[1].x, 25) << "each frame moves by what the time says";
  EXPECT_EQ(steps.back().x, 200);
  EXPECT_LE(steps.back().tick - start, 2000u + 250u);
}

TEST_F(SlideSpriteTimedTest, SpriteAtTheTargetStaysAndTheClockIsNotUpdated) {
  CreateClockOverlay(&doc);
  sprite->SetPosition(30, 40);
  doc.FlushDirtyRects();
  steps.clear();
  doc.shown.clear();
  clock.Advance(5000);  // the clock would have a new second to show
  const POINT target = {30, 40};
  SlideSpriteTimed(&doc, sprite, &target, 200);
  EXPECT_TRUE(steps.empty());
  EXPECT_TRUE(doc.shown.empty());
  RemoveClockOverlay(&doc);
}

TEST_F(SlideSpriteTimedTest, TheClockKeepsTickingDuringALongSlide) {
  CreateClockOverlay(&doc);
  sprite->SetPosition(0, 150);
  doc.FlushDirtyRects();
  doc.shown.clear();
  const POINT target = {250, 150};
  SlideSpriteTimed(&doc, sprite, &target, 50);  // five seconds
  const CRect clockRect(kWidth - 100, 0, kWidth, 100);
  int clockShows = 0;
  for (const CRect& r : doc.shown) clockShows += r == clockRect;
  EXPECT_GE(clockShows, 5);
  EXPECT_LE(clockShows, 7);
  RemoveClockOverlay(&doc);
}

TEST_F(SlideSpriteTimedTest, NoRateOrAStopRequestPutsTheSpriteOnTheTargetAtOnce) {
  for (int rate : {0, -40}) {
    sprite->SetPosition(0, 0);
    steps.clear();
    const POINT target = {120, 90};
    SlideSpriteTimed(&doc, sprite, &target, rate);
    ASSERT_EQ(steps.size(), 1u) << rate;
    EXPECT_EQ(sprite->GetX(), 120);
    EXPECT_EQ(sprite->GetY(), 90);
  }
  seams::RequestStop();
  sprite->SetPosition(0, 0);
  steps.clear();
  const POINT target = {300, 10};
  SlideSpriteTimed(&doc, sprite, &target, 1);  // would take five minutes
  seams::ClearStop();
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(sprite->GetX(), 300);
  EXPECT_EQ(sprite->GetY(), 10);
}

}  // namespace
