// The caption runner on a screen document in virtual time: the speed table, mode 0's slide, park
// and fly-apart, mode 1's effect in and out, the bounce's legs, a screen no taller than the box,
// and a stop request that ends even the error splash's 30,000-second bounce.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "imaging/Sprite.h"
#include "imaging/SpriteList.h"
#include "seams/Clock.h"
#include "tests/native/transitions/CaptionScreen.h"
#include "tests/native/transitions/CaptionSteps.h"
#include "transitions/CaptionRunner.h"
#include "transitions/TextBox3D.h"
#include "transitions/TransParams.h"

namespace {

using captiontest::CaptionScreen;
using captiontest::Indexes;

struct SpriteAt {
  int x, y, w, h;
};
using Frame = std::vector<SpriteAt>;

class CaptionRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    screen = std::make_unique<CaptionScreen>(640, 480);
    background = Indexes(*screen->doc.background);
    screen->doc.onFlush = [this] {
      Frame frame;
      POSITION pos = screen->doc.sprites.GetHeadPosition();
      while (pos) {
        auto* s = static_cast<CSprite*>(screen->doc.sprites.GetNext(pos));
        frame.push_back({s->GetX(), s->GetY(), s->GetWidth(), s->GetHeight()});
      }
      frames.push_back(frame);
      if (stopAfter > 0 && frames.size() >= stopAfter) seams::RequestStop();
    };
    request.header = &header;
    request.title = &title;
    request.body = &body;
    request.textDuration = 10;
    request.textColour = 19;
    request.backgroundColour = 4;
    request.borderStyle = 0;
    request.contentStyle = 1;
    request.transSpeed = 50;
    request.bounceSpeed = 50;
  }
  void TearDown() override { seams::ClearStop(); }

  // The block the runner builds for the request on this screen.
  CSize BlockSize() {
    CColorPalette palette;
    palette.CreateFromDIB(screen->doc.background);
    std::unique_ptr<CDIBSurface> block(
        GetImageTextBox3D(&palette, request.header, 1, request.title, 1, request.body, 1,
                          request.borderStyle, request.backgroundStyle, request.shadow,
                          request.textColour, request.backgroundColour, 1, request.contentStyle,
                          screen->doc.background->GetWidth(), screen->doc.background->GetHeight()));
    return block ? CSize(block->GetWidth(), block->GetHeight()) : CSize(0, 0);
  }

  void ExpectScreenIsTheBackgroundAgain() {
    EXPECT_EQ(screen->doc.sprites.GetCount(), 0) << "every caption sprite is gone";
    EXPECT_EQ(Indexes(*screen->doc.background), background) << "the background is untouched";
    EXPECT_EQ(Indexes(*screen->view.surface), background) << "the surface shows the background";
  }

  seams::TestClock clock{1000, 1, 1};
  seams::ScopedClock scoped{&clock};
  std::unique_ptr<CaptionScreen> screen;
  std::vector<BYTE> background;
  std::vector<Frame> frames;
  size_t stopAfter = 0;
  CString header = "Image Set", title = "Sunrise", body = "Morning light on still water.";
  ImageTextFXRequest request;
};

TEST(TextFXSpeed, SpeedsTurnIntoPixelsPerSecond) {
  const struct {
    int speed, rate;
  } cases[] = {{1, 595}, {50, 308}, {99, 20}, {100, 15}, {0, -1}, {101, -1}, {-5, -1}};
  for (const auto& c : cases) EXPECT_EQ(TextFXSpeedToRate(c.speed), c.rate) << c.speed;
}

TEST_F(CaptionRunnerTest, SpeedsOutsideTheRangeShowNothing) {
  for (int mode : {0, 1}) {
    for (int speed : {0, 101}) {
      request.mode = mode;
      request.transSpeed = speed;
      EXPECT_FALSE(RunImageTextFXRoutine(*screen, request)) << "mode " << mode;
      request.transSpeed = 50;
      request.bounceOn = 1;
      request.bounceDuration = 60;
      request.bounceSpeed = speed;
      EXPECT_FALSE(RunImageTextFXRoutine(*screen, request)) << "mode " << mode << ", bounce";
      request.bounceOn = 0;
      request.bounceSpeed = 50;
    }
  }
  EXPECT_EQ(screen->effects, 0) << "mode 1 draws nothing before it refuses";
  ExpectScreenIsTheBackgroundAgain();
}

TEST_F(CaptionRunnerTest, ModesOtherThanZeroAndOneAreRefused) {
  request.mode = 2;
  EXPECT_FALSE(RunImageTextFXRoutine(*screen, request));
  ExpectScreenIsTheBackgroundAgain();
}

TEST_F(CaptionRunnerTest, ModeZeroSlidesInParksInTheCentreAndFliesApart) {
  const CSize block = BlockSize();
  ASSERT_GT(block.cx, 0);
  const uint32_t start = clock.Peek();
  ASSERT_TRUE(RunImageTextFXRoutine(*screen, request));
  ASSERT_FALSE(frames.empty());

  const CPoint centre(320 - block.cx / 2, 240 - block.cy / 2);
  auto isMain = [&](const SpriteAt& s) { return s.w == block.cx && s.h == block.cy; };
  // The block comes in from (-w, 0) along the line to the centre and parks there.
  size_t parked = 0;
  bool first = true;
  for (size_t i = 0; i < frames.size(); ++i) {
    for (const SpriteAt& s : frames[i]) {
      if (!isMain(s)) continue;
      if (first) {
        EXPECT_LE(s.x, 0) << "starts at the left edge";
        first = false;
      }
      if (s.x == centre.x && s.y == centre.y && !parked) parked = i;
    }
  }
  ASSERT_GT(parked, 0u) << "the block reaches the centre";
  // Then only quarters: they start at their offsets from the centre and move out diagonally.
  size_t fly = parked;
  while (fly < frames.size() && std::any_of(frames[fly].begin(), frames[fly].end(), isMain)) ++fly;
  ASSERT_LT(fly, frames.size());
  const Frame& quarters = frames[fly];
  ASSERT_EQ(quarters.size(), 4u);
  const CPoint offsets[4] = {
      {0, 0}, {block.cx / 2, 0}, {block.cx / 2, block.cy / 2}, {0, block.cy / 2}};
  const int signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  // Newest of equal depth first: the list holds quarter 3 at its head.
  for (const SpriteAt& q : quarters) {
    bool matched = false;
    for (int i = 0; i < 4; ++i) {
      const int dx = q.x - (centre.x + offsets[i].x), dy = q.y - (centre.y + offsets[i].y);
      matched |= dx * signs[i][0] >= 0 && dy * signs[i][1] >= 0 && std::abs(dx) == std::abs(dy) &&
                 q.w == (i % 3 == 0 ? block.cx / 2 : block.cx - block.cx / 2);
    }
    EXPECT_TRUE(matched) << "quarter at " << q.x << "," << q.y;
  }
  // The last frame has every quarter off the screen.
  for (const SpriteAt& q : frames.back()) {
    EXPECT_TRUE(q.x + q.w <= 0 || q.x >= 640 || q.y + q.h <= 0 || q.y >= 480);
  }
  EXPECT_GE(clock.Peek() - start, 10000u) << "held for the text duration";
  ExpectScreenIsTheBackgroundAgain();
}

TEST_F(CaptionRunnerTest, ModeOneDrawsTheBlockAndLeavesTheScreenAsTheBackground) {
  request.mode = 1;
  TransOrder o{1, 1, 0, 0, 0};
  TransSlidersToParams(o.transClass, 50, 50, 50, o.par0, o.par1, o.par2);
  request.effect = o.effect;
  request.par0 = o.par0;
  request.par1 = o.par1;
  request.par2 = o.par2;
  for (int bounce : {0, 1}) {
    SCOPED_TRACE(bounce ? "bouncing" : "still");
    request.bounceOn = bounce;
    request.bounceDuration = 20;
    screen->effects = 0;
    screen->doc.shown.clear();
    ASSERT_TRUE(RunImageTextFXRoutine(*screen, request));
    EXPECT_EQ(screen->effects, 2) << "in and out by the effect";
    // The last thing shown is the caption's place, recomposed: an effect that leaves a cell
    // behind on the window is covered.
    ASSERT_FALSE(screen->doc.shown.empty());
    const CRect last = screen->doc.shown.back();
    EXPECT_TRUE(
        last.PtInRect(CPoint(screen->window.GetWidth() / 2, screen->window.GetHeight() / 2)));
    EXPECT_LT(last.Width(), screen->window.GetWidth()) << "the caption's place, not the screen";
    EXPECT_EQ(Indexes(screen->window), background) << "the window shows the background again";
    ExpectScreenIsTheBackgroundAgain();
  }
}

// The block as a sprite at `at` for the bounce tests (the screen's sprite list owns it).
CSprite* BounceSprite(CaptionScreen& screen, CSize block, CPoint at) {
  CColorPalette palette;
  palette.CreateFromDIB(screen.doc.background);
  CDIB pattern;
  EXPECT_TRUE(pattern.Create(block.cx, block.cy, &palette));
  return CreateBoxSprite(&screen.doc, &pattern, CRect(0, 0, block.cx, block.cy), &palette, 50, TRUE,
                         at, FALSE);
}

// The sprite's positions, frame by frame, a step each (repeated flushes left out).
std::vector<CPoint> SpritePath(const std::vector<Frame>& frames) {
  std::vector<CPoint> path;
  for (const Frame& f : frames) {
    if (!f.empty() && (path.empty() || path.back() != CPoint(f[0].x, f[0].y))) {
      path.emplace_back(f[0].x, f[0].y);
    }
  }
  return path;
}

TEST_F(CaptionRunnerTest, BounceLegsEndOnTheWalls) {
  request.shadow = 1;
  const CSize block = BlockSize();
  CSprite* sprite = BounceSprite(*screen, block, CPoint(-block.cx, 0));
  ASSERT_NE(sprite, nullptr);
  const CRect inner(0, 0, block.cx - 6, block.cy - 6);
  frames.clear();
  BounceSpriteFX(&screen->doc, sprite, inner, 595, 8, CPoint(0, 0), 3,
                 CPoint(640 - block.cx + 6, 100), 1);
  const CRect bounds(0, 0, 640 - inner.right, 480 - inner.bottom);
  const std::vector<CPoint> path = SpritePath(frames);
  ASSERT_GT(path.size(), 10u);
  auto onWall = [&](CPoint p) {
    return p.x == bounds.left || p.x == bounds.right || p.y == bounds.top || p.y == bounds.bottom;
  };
  int turns = 0;
  for (size_t i = 2; i < path.size(); ++i) {
    if (i > 2 && path[i - 1].x >= 0) {
      ASSERT_TRUE(path[i].x >= bounds.left && path[i].x <= bounds.right &&
                  path[i].y >= bounds.top && path[i].y <= bounds.bottom)
          << "inside the walls at " << path[i].x << "," << path[i].y;
    }
    const int dx0 = path[i - 1].x - path[i - 2].x, dx1 = path[i].x - path[i - 1].x;
    const int dy0 = path[i - 1].y - path[i - 2].y, dy1 = path[i].y - path[i - 1].y;
    if (dx0 * dx1 < 0 || dy0 * dy1 < 0) {
      ++turns;
      EXPECT_TRUE(onWall(path[i - 1])) << "turned at " << path[i - 1].x << "," << path[i - 1].y;
    }
  }
  EXPECT_GE(turns, 3);
  EXPECT_TRUE(onWall(path.back())) << "the last leg ends on a wall";
  screen->doc.sprites.DeleteAll();
}

// A leg along an axis mirrors into a line that meets no wall at a new point in both coordinates:
// the sprite goes back to the point it came from (inside the screen, not on a wall), and so on,
// shuttling on the one line between that point and the wall.
TEST_F(CaptionRunnerTest, ALegAlongAnAxisGoesBackToItsPreviousPoint) {
  const CSize block = BlockSize();
  const CRect inner(0, 0, block.cx, block.cy);
  const CRect bounds(0, 0, 640 - inner.right, 480 - inner.bottom);
  struct Case {
    const char* name;
    CPoint previous;
    int previousWall;
    CPoint target;
    int wall;
  };
  const Case cases[] = {
      {"across to the right wall",
       {bounds.right / 4, bounds.bottom / 2},
       3,
       {bounds.right, bounds.bottom / 2},
       1},
      {"down to the bottom wall",
       {bounds.right / 2, bounds.bottom / 4},
       0,
       {bounds.right / 2, bounds.bottom},
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSprite* sprite = BounceSprite(*screen, block, c.previous);
    ASSERT_NE(sprite, nullptr);
    frames.clear();
    BounceSpriteFX(&screen->doc, sprite, inner, 595, 6, c.previous, c.previousWall, c.target,
                   c.wall);
    const std::vector<CPoint> path = SpritePath(frames);
    ASSERT_GT(path.size(), 10u);
    const bool across = c.previous.y == c.target.y;
    int lo = INT_MAX, hi = INT_MIN, atPrevious = 0, atTarget = 0;
    for (const CPoint& p : path) {
      ASSERT_EQ(across ? p.y : p.x, across ? c.target.y : c.target.x)
          << "off the line at " << p.x << "," << p.y;
      const int along = across ? p.x : p.y;
      lo = std::min(lo, along);
      hi = std::max(hi, along);
      atPrevious += p == c.previous;
      atTarget += p == c.target;
    }
    EXPECT_EQ(lo, across ? c.previous.x : c.previous.y) << "never past the previous point";
    EXPECT_EQ(hi, across ? c.target.x : c.target.y);
    EXPECT_GE(atPrevious, 2) << "back at the previous point more than once";
    EXPECT_GE(atTarget, 2);
    screen->doc.sprites.DeleteAll();
  }
}

TEST_F(CaptionRunnerTest, AScreenNoTallerThanTheBoxRunsBothModes) {
  screen = std::make_unique<CaptionScreen>(640, 64);
  background = Indexes(*screen->doc.background);
  request.bounceOn = 1;
  request.bounceDuration = 5;
  for (int mode : {0, 1}) {
    request.mode = mode;
    request.effect = 0;
    RunImageTextFXRoutine(*screen, request);
    EXPECT_EQ(screen->doc.sprites.GetCount(), 0) << "mode " << mode;
    EXPECT_EQ(Indexes(*screen->doc.background), background);
  }
}

TEST_F(CaptionRunnerTest, AStopEndsTheErrorSplashBounce) {
  request.bounceOn = 1;
  request.bounceDuration = 30000;
  request.bounceSpeed = 85;
  stopAfter = 500;
  const uint32_t start = clock.Peek();
  RunImageTextFXRoutine(*screen, request);
  EXPECT_LT(clock.Peek() - start, 600000u) << "well before 30,000 seconds";
  EXPECT_EQ(screen->doc.sprites.GetCount(), 0);
}

}  // namespace

namespace {

// Reported, not asserted: how many steps a second the slide and the fly-apart make on this build
// in real time.
TEST(CaptionFigures, StepsPerSecondInRealTime) {
  CaptionScreen screen(640, 480);
  CString title = "Sunrise", body = "Morning light on still water.";
  ImageTextFXRequest request;
  request.title = &title;
  request.body = &body;
  request.contentStyle = 1;
  request.textDuration = 0;
  request.transSpeed = 1;  // 595 pixels a second; the quarters at 1785
  captiontest::CaptionSteps steps;
  screen.doc.onFlush = [&] { steps.OnFlush(screen.doc.sprites); };
  ASSERT_TRUE(RunImageTextFXRoutine(screen, request));
  steps.Print("headless screen");
}

}  // namespace
