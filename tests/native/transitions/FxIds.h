// The transition classes of the effect ids, for tests that run effects with the
// parameters a class's sliders give.
#pragma once

#include "transitions/TransFXDispatch.h"
#include "transitions/TransParams.h"

namespace fxtest {

// The class whose sliders set the parameters of an effect (for the shape fades,
// whose five classes convert their sliders alike, class 18).
inline int ClassOf(int id) {
  if (id == 0 || id == 2) return 0;
  if (id == 1 || id == 3) return 1;
  if (id == 4 || id == 5 || id == 12) return 5;
  if (id == 6 || id == 8) return 2;
  if (id == 7 || id == 9) return 3;
  if (id == 10 || id == 11) return 4;
  if (id == 13 || id == 14) return 6;
  if (id == 18 || (id >= 20 && id <= 22)) return 7;
  if (id == 23 || id == 24) return 8;
  if (id == 25 || id == 26) return 9;
  if (id >= 27 && id <= 29) return 10;
  if (id >= 30 && id <= 41) return 11;
  if (id >= 42 && id <= 45) return 12;
  if (id >= 46 && id <= 49) return 30;
  if ((id >= 50 && id <= 53) || (id >= 70 && id <= 73)) return 14;
  if (id >= 54 && id <= 69) return 13;
  if (id >= 74 && id <= 109) return 18;
  if ((id >= 110 && id <= 113) || (id >= 118 && id <= 121)) return 20;
  if ((id >= 114 && id <= 117) || (id >= 122 && id <= 125)) return 21;
  if (id >= 126 && id <= 129) return 22;
  if (id == 130 || id == 131) return 23;
  if (id >= 132 && id <= 139) return 24;
  if (id == 140 || id == 141) return 25;
  if (id == 142) return 26;
  if (id == 143 || id == 144) return 27;
  if (id >= 145 && id <= 148) return 28;
  return 29;
}

// Every effect's end state is checked, natively and on device contexts: the
// effect ids 0..152 the dispatcher knows.
inline bool EndStateChecked(int id) { return IsTransFXEffect(id); }

// The effects that reveal the picture in place, one surface copied to its own
// position: bars, curtains, blinds and sweeps; squares, diagonals and
// rectangles; cell pattern fades; shaped reveals; tidal wave, random squares
// and wind shear. At every step such an effect shows only the screen as it was
// or the picture at its place, and never hides a revealed pixel. The slides,
// shutters, zooms and squeezes move the picture, so they cannot show it in
// place midway.
inline bool RevealsInPlace(int id) {
  return (id >= 0 && id <= 14) || id == 18 || (id >= 20 && id <= 109) || (id >= 110 && id <= 113) ||
         (id >= 118 && id <= 121) || id == 130 || id == 131 || (id >= 132 && id <= 142) ||
         (id >= 145 && id <= 148);
}

struct FxParams {
  int par0, par1, par2;
};

// The parameters of an effect with all three sliders at `slider`.
inline FxParams ParamsAt(int id, int slider) {
  FxParams p{};
  TransSlidersToParams(ClassOf(id), slider, slider, slider, p.par0, p.par1, p.par2);
  return p;
}

}  // namespace fxtest
