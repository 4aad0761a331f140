// The slivers the effects leave undrawn by their own geometry, for the
// end-state tests natively and under Wine: pixels worked out one by one for the
// bars, squares and shapes, and a bound for the cell pattern fades, whose
// shapes leave strips along every cell.
#pragma once

#include <vector>

#include "framework/WinTypes.h"
#include "tests/native/transitions/FxIds.h"

namespace fxtest {

// Parts of the area (x, y, right, bottom, in area pixels) that an effect leaves
// undrawn by its own geometry; the front ends' redraw of the whole screen
// covers them.
struct Sliver {
  int id, width, height, slider;
  RECT undrawn;
};

inline const std::vector<Sliver>& Slivers() {
  static const std::vector<Sliver> slivers = {
      // Curtains of 20 columns on 97: mid = 38; after two steps the near front
      // stands at 40 and
      // the far one at 37, the end test stops, and columns 40..56 stay between
      // them.
      {1, 97, 61, 100, {40, 0, 57, 61}},
      // Curtains of 1 row on 61: mid = 30 stops both fronts on row 30, which
      // neither drew.
      {3, 97, 61, 1, {0, 30, 97, 31}},
      // Opposing squares with 40-pixel borders on 320 x 200: the second centre
      // (240, 150) moves to
      // (280, 190); after 4 steps the first frame reaches x = 239 and the
      // second y = 30.
      {14, 320, 200, 1, {240, 0, 320, 30}},
      // Triangle, p = 2 on 320 x 200: the largest ring's 45-degree sides cross
      // the top row at
      // x = 1 and x = 319 (half width 159 about x = 160), so the two top
      // corners stay.
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

// Where each cell pattern fade's shapes may leave a pixel undrawn, worked out
// from their geometry for a cell c (par1) and a growth p (par2) that divides it
// (which the sliders always give):
//  - checkers of an even block fill every block, from its middle line out:
//  nothing stays;
//  - rings about the centre of each cell: the growing rings stop short of the
//  cell's top and
//    left edges by h - (the largest ring distance below h), h = c / 2, and the
//    closing rings short of a block of that size at the centre;
//  - corner and shape fades: every shape that grows from or closes towards a
//  corner other than
//    the top left one sits a growth step to the right of or below its mirror
//    image, so it may miss the strip p wide along its cell's top or left edge.
// Effects of other families may leave nothing here: their slivers are listed
// above.
inline bool MayStayUndrawn(int id, int c, int p, int x, int y) {
  if (id < 27 || id > 109 || c <= 0 || p <= 0) return false;
  const int a = x % c, b = y % c;
  if (id <= 29) {
    const int h = c / 2, last = (h - 1) / p * p, gap = h - last;
    const bool edges = a < gap || b < gap;
    const bool centre = a >= h - gap + p && a < h + gap && b >= h - gap + p && b < h + gap;
    return edges || centre;
  }
  return a < p || b < p;
}

// Whether an effect may leave any pixel undrawn at some size and slider: it has
// listed slivers or a bound. Every other effect covers its whole destination,
// scaled or not.
inline bool LeavesSlivers(int id) {
  if (id >= 27 && id <= 109) return true;
  for (const Sliver& s : Slivers())
    if (s.id == id) return true;
  return false;
}

// What the end state of an effect run with all sliders at `slider` on a width x
// height area must show at (x, y): the picture, the screen as it was (a listed
// sliver), or either (within the pattern fades' bound).
enum class EndPixel { kPicture, kUndrawn, kEither };

class EndPixels {
 public:
  EndPixels(int id, int width, int height, int slider) : id_(id) {
    const FxParams p = ParamsAt(id, slider);
    cell_ = p.par1;
    growth_ = p.par2;
    for (const Sliver& s : Slivers())
      if (s.id == id && s.width == width && s.height == height && s.slider == slider)
        undrawn_.push_back(s.undrawn);
  }
  EndPixel At(int x, int y) const {
    for (const RECT& r : undrawn_)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return EndPixel::kUndrawn;
    return MayStayUndrawn(id_, cell_, growth_, x, y) ? EndPixel::kEither : EndPixel::kPicture;
  }

 private:
  int id_, cell_ = 0, growth_ = 0;
  std::vector<RECT> undrawn_;
};

}  // namespace fxtest
