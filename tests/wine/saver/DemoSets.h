// Small demo image sets for the dialog tests, made once per program: "alpha" and "beta" are
// complete, "broken" lacks its cover.
#pragma once

#include <string>

namespace dialogtest {

struct DemoSets {
  std::string alpha, beta, broken;  // their data folders
};

const DemoSets& InstalledSets();

}  // namespace dialogtest
