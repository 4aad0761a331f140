// Recording stand-ins for every family entry point, linked in place of the families so that a
// test sees exactly which routine the dispatcher called and with what.
#pragma once

#include <string>
#include <vector>

#include "transitions/TransFXFamilies.h"

namespace fxtest {

constexpr int kNotPassed = -999;

struct FamilyCall {
  std::string routine;
  std::vector<int> modes;  // the mode arguments, in order
  int par0 = 0, par1 = 0, par2 = kNotPassed;
  bool twoSurface = false;
  FxOneSurface one{};
  FxTwoSurface two{};
};

// Calls since the last Clear.
std::vector<FamilyCall>& FamilyCalls();
// What every stand-in returns.
void SetFamilyResult(BOOL result);

}  // namespace fxtest
