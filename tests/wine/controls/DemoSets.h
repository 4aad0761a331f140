// Small demo image sets for the dialog tests, made once per program: "alpha" and "beta" are
// complete, "broken" lacks its cover.
#pragma once

#include <string>

#include "tests/support/TempFolder.h"

namespace dialogtest {

struct DemoSets {
  std::string alpha, beta, broken;  // their data folders
};

const DemoSets& InstalledSets();

// "alpha" with its quarter-size cache, built once; its folder is left as the settings' data
// folder when the cache is built.
const std::string& CachedSet();

// A copy of the cached "alpha" inside the folder, for a test that spoils or deletes its files.
std::string CopyOfSet(const testsupport::TempFolder& into);

}  // namespace dialogtest
