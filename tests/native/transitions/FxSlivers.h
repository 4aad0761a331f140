// The slivers the effects leave undrawn by their own geometry, for the end-state tests natively
// and under Wine.
#pragma once

#include <vector>

#include "framework/WinTypes.h"

namespace fxtest {

// Parts of the area (x, y, right, bottom, in area pixels) that an effect leaves undrawn by its own
// geometry; the front ends' redraw of the whole screen covers them.
struct Sliver {
  int id, width, height, slider;
  RECT undrawn;
};

inline const std::vector<Sliver>& Slivers() {
  static const std::vector<Sliver> slivers = {
      // Curtains of 20 columns on 97: mid = 38; after two steps the near front stands at 40 and
      // the far one at 37, the end test stops, and columns 40..56 stay between them.
      {1, 97, 61, 100, {40, 0, 57, 61}},
      // Curtains of 1 row on 61: mid = 30 stops both fronts on row 30, which neither drew.
      {3, 97, 61, 1, {0, 30, 97, 31}},
      // Opposing squares with 40-pixel borders on 320 x 200: the second centre (240, 150) moves to
      // (280, 190); after 4 steps the first frame reaches x = 239 and the second y = 30.
      {14, 320, 200, 1, {240, 0, 320, 30}},
      // Triangle, p = 2 on 320 x 200: the largest ring's 45-degree sides cross the top row at
      // x = 1 and x = 319 (half width 159 about x = 160), so the two top corners stay.
      {18, 320, 200, 100, {0, 0, 1, 1}},
      {18, 320, 200, 100, {319, 0, 320, 1}},
  };
  return slivers;
}

inline bool InSliver(int id, int width, int height, int slider, int x, int y) {
  for (const Sliver& s : Slivers()) {
    if (s.id == id && s.width == width && s.height == height && s.slider == slider &&
        x >= s.undrawn.left && x < s.undrawn.right && y >= s.undrawn.top && y < s.undrawn.bottom) {
      return true;
    }
  }
  return false;
}

}  // namespace fxtest
