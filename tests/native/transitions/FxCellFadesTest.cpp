// Cell pattern fades: the steps they take, what each step shows, and what their shapes leave
// undrawn at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/native/transitions/FxScene.h"
#include "transitions/TransFXFamilies.h"

namespace {

using fxtest::Pixel;
using fxtest::Scene;

// Which pixels of the area show their expected pixel after each step of an effect; any pixel
// showing something else than that or the marker counts as wrong.
struct Frames {
  int width = 0;
  std::vector<std::vector<char>> drawn;  // per step, row by row
  int wrong = 0;

  int Steps() const { return static_cast<int>(drawn.size()); }
  bool Drawn(int step, int x, int y) const { return drawn[step][y * width + x] != 0; }
  bool Drawn(int x, int y) const { return Drawn(Steps() - 1, x, y); }
};

// Looks after every step, or (`lastOnly`) after the effect only, as its one frame.
Frames Record(Scene& scene, int effect, int par1, int par2, bool offScreen = false,
              bool lastOnly = false) {
  Frames frames;
  frames.width = scene.dw;
  auto look = [&] {
    std::vector<char> drawn(static_cast<size_t>(scene.dw) * scene.dh, 0);
    for (int y = 0; y < scene.dh; ++y) {
      for (int x = 0; x < scene.dw; ++x) {
        const Pixel shown = scene.destination.At(Scene::kDx + x, Scene::kDy + y);
        if (shown == scene.Expected(x, y, offScreen)) {
          drawn[y * scene.dw + x] = 1;
        } else if (shown != Scene::Marker()) {
          ++frames.wrong;
        }
      }
    }
    frames.drawn.push_back(std::move(drawn));
  };
  if (!lastOnly) scene.layer.onStep = look;
  EXPECT_EQ(scene.Run(effect, kUnpaced, par1, par2, offScreen), TRUE);
  if (lastOnly) look();
  return frames;
}

// Pixels of a step that are drawn where `want` says they are not, or the other way round; the
// first of them is reported.
void ExpectStep(const Frames& frames, int step, int width, int height,
                const std::function<bool(int, int)>& want) {
  int mismatches = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (frames.Drawn(step, x, y) != want(x, y) && mismatches++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  EXPECT_EQ(mismatches, 0) << "after step " << step + 1 << ", first at (" << firstX << ", "
                           << firstY << ") which should be " << (want(firstX, firstY) ? "" : "un")
                           << "drawn";
}

// The end state of every fade (within the slivers its shapes may leave, FxSlivers.h), what every
// step shows, and the fades on scaled destinations are checked with every other effect's in
// EffectEndStateTest.cpp.

// Slivers worked out by hand for a few effects: exactly these pixels stay undrawn.
struct Sliver {
  int id, width, height, par1, par2;
  const char* why;
  std::function<bool(int, int)> undrawn;
};

TEST(CellFades, TheirSliversAreExactlyTheOnesWorkedOutByHand) {
  const std::vector<Sliver> slivers = {
      {30, 320, 200, 104, 1,
       "closing on the top-left corners: each cell's first bars cover the corners of the cells "
       "right of and below it, so only the area's own corner stays",
       [](int x, int y) { return x == 0 && y == 0; }},
      {34, 97, 61, 104, 1,
       "growing from the top-right corners one pixel to the right: the area's first column",
       [](int x, int) { return x == 0; }},
      {27, 320, 200, 104, 1, "growing rings stop one pixel short of every cell's top and left",
       [](int x, int y) { return x % 104 == 0 || y % 104 == 0; }},
      {28, 320, 200, 104, 1, "closing rings stop around every cell's centre pixel",
       [](int x, int y) { return x % 104 == 52 && y % 104 == 52; }},
      // Blocks of 41 (no slider gives an odd block): h = 20, w = 30, strips of 4 reach 20 rows
      // either side of the middle line, so the 41st row of every block stays; odd bars' blocks
      // begin 20 rows above the area. Down 61 rows: rows 40 and 20; along 97: also 81 and 61.
      {25, 97, 61, 41, 4, "checkers: the last row of every block",
       [](int x, int y) { return (x / 30) % 2 == 0 ? y == 40 : y == 20; }},
      {26, 97, 61, 41, 4, "checkers across: the last column of every block",
       [](int x, int y) { return (y / 30) % 2 == 0 ? x == 40 || x == 81 : x == 20 || x == 61; }},
  };
  for (const Sliver& s : slivers) {
    SCOPED_TRACE("effect " + std::to_string(s.id) + ": " + s.why);
    Scene scene(s.width, s.height);
    const Frames frames = Record(scene, s.id, s.par1, s.par2);
    EXPECT_EQ(frames.wrong, 0);
    ExpectStep(frames, frames.Steps() - 1, s.width, s.height,
               [&](int x, int y) { return !s.undrawn(x, y); });
  }
}

TEST(CellFadesCorner, ExpandingSquaresGrowFromEveryCellsTopLeftCorner) {
  Scene scene(97, 61);
  const Frames frames = Record(scene, 31, 24, 4);  // pattern 1: every cell expands from corner 0
  ASSERT_EQ(frames.Steps(), 6);
  for (int step = 0; step < 6; ++step) {
    const int side = 4 * step + 4;
    ExpectStep(frames, step, 97, 61, [=](int x, int y) { return x % 24 < side && y % 24 < side; });
  }
}

TEST(CellFadesCorner, ShrinkingSquaresStartAtTheFarSidesAndCloseOnTheCorner) {
  Scene scene(97, 61);
  const Frames frames = Record(scene, 30, 24, 4);  // pattern 0: every cell shrinks to corner 0
  ASSERT_EQ(frames.Steps(), 6);
  for (int step = 0; step < 6; ++step) {
    const int edge = 24 - 4 * step;
    // The cell's own edges so far, and the first edge of the cells left of it and above it,
    // which reaches one growth step into it.
    ExpectStep(frames, step, 97, 61, [=](int x, int y) {
      const int a = x % 24, b = y % 24;
      return std::max(a, b) >= edge || (x >= 24 && a < 4) || (y >= 24 && b < 4);
    });
  }
}

// Pattern 12: closing on the bottom-right corner where the parity flag is clear, growing from the
// top left where it is set. The first step of a closing cell already draws its whole left
// column; a growing one only a 4 x 4 square.
TEST(CellFadesCorner, VariantOneTurnsRowsIntoACheckerboard) {
  for (int variant : {0, 1}) {
    SCOPED_TRACE("variant " + std::to_string(variant));
    Scene scene(97, 61);
    const Frames frames = Record(scene, variant == 0 ? 42 : 46, 24, 4);
    for (int i = 0; i < 5; ++i) {
      for (int j = 0; j < 3; ++j) {
        const bool flagSet = (j % 2 == 1) != (variant == 1 && i % 2 == 1);
        EXPECT_EQ(frames.Drawn(0, 24 * i, 24 * j + 12), !flagSet) << "cell " << i << ", " << j;
      }
    }
  }
}

TEST(CellFadesShape, PatternsNineteenAndTwentyDrawTheSamePicture) {
  Scene first(97, 61), second(97, 61);
  const Frames a = Record(first, 74 + 19, 24, 4), b = Record(second, 74 + 20, 24, 4);
  EXPECT_EQ(a.drawn, b.drawn);
  EXPECT_EQ(a.Steps(), 6);
}

// Rings about each cell's centre (12, 12), 5 pixels a step: t = 0, 5, 10. The outward rings are
// squares [12 - t, 17 + t); the last reaches 3 pixels into the next cells.
TEST(CellFadesRings, OutwardRingsGrowFromEveryCellsCentre) {
  Scene scene(97, 61);
  const Frames frames = Record(scene, 27, 24, 5);
  ASSERT_EQ(frames.Steps(), 3);
  for (int step = 0; step < 3; ++step) {
    const int low = 12 - 5 * step, high = 17 + 5 * step;
    ExpectStep(frames, step, 97, 61, [=](int x, int y) {
      auto within = [=](int v, int cell) {
        return cell >= 0 && v - 24 * cell >= low && v - 24 * cell < high;
      };
      for (int i = x / 24 - 1; i <= x / 24; ++i)
        for (int j = y / 24 - 1; j <= y / 24; ++j)
          if (within(x, i) && within(y, j)) return true;
      return false;
    });
  }
  Scene inward(97, 61);
  EXPECT_EQ(Record(inward, 28, 24, 5).Steps(), 3);
}

// Blocks of 40 in bars of 30: every block fills from its middle line, 5 rows either way per step,
// in ceil(20 / 5) = 4 steps; the blocks of odd bars begin 20 rows above the area.
TEST(CellFadesCheckers, BlocksFillFromTheirMiddleLinesOutwards) {
  for (int id : {25, 26}) {
    SCOPED_TRACE("effect " + std::to_string(id));
    const bool across = id == 26;  // bars are rows, blocks run along them
    Scene scene(across ? 61 : 97, across ? 97 : 61);
    const Frames frames = Record(scene, id, 40, 5);
    ASSERT_EQ(frames.Steps(), 4);
    for (int step = 0; step < 4; ++step) {
      const int reach = 5 * (step + 1);
      ExpectStep(frames, step, scene.dw, scene.dh, [=](int x, int y) {
        const int bar = (across ? y : x) / 30, along = across ? x : y;
        const int middle = bar % 2 == 0 ? 20 : 0;              // first middle line of the bar
        const int offset = ((along - middle) % 40 + 40) % 40;  // below the nearest middle above
        return offset < reach || offset >= 40 - reach;
      });
    }
  }
}

TEST(CellFades, PatternsOutsideTheirTablesDrawNothing) {
  Scene scene(30, 20);
  const FxOneSurface fx{&scene.layer, BlitSurface::A, Scene::kDx, Scene::kDy, 30,
                        20,           Scene::kAx,     Scene::kAy, 30,         20};
  for (int pattern : {-1, 28, 1000}) {
    EXPECT_EQ(Trans2DMultiSqCornerFadeFX(fx, pattern, 0, 0, 24, 4), TRUE);
  }
  for (int pattern : {-1, 36, 1000}) {
    EXPECT_EQ(Trans2DShapePatternFadeFX(fx, pattern, 0, 24, 4), TRUE);
  }
  EXPECT_EQ(scene.layer.steps, 0);
  EXPECT_EQ(scene.destination.At(Scene::kDx, Scene::kDy), Scene::Marker());
}

}  // namespace
