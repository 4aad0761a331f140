#!/usr/bin/env bash
# Runs every test: installs what is missing, then builds and tests the native build (clang with
# AddressSanitizer and UndefinedBehaviorSanitizer, plus each fuzz target over its seed corpus), the
# same tests in an optimised g++ build (undefined behaviour that shows only when optimised), and
# both Windows builds (their tests under Wine). Usage: scripts/test.sh [preset ...]
set -uo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

bash scripts/setup.sh || { echo "test: set-up failed" >&2; exit 1; }

presets=("$@")
# native-release is built (benchmarks must keep compiling) but has no tests of its own.
[ ${#presets[@]} -gt 0 ] || presets=(native native-optimised native-release mingw-i686 mingw-x86_64)
jobs=$(nproc)
failed=()

for preset in "${presets[@]}"; do
  echo "=== $preset"
  log="build/$preset.configure.log"
  mkdir -p build
  if ! cmake --preset "$preset" >"$log" 2>&1; then
    cat "$log" >&2; failed+=("$preset (configure)"); continue
  fi
  if ! cmake --build --preset "$preset" -j "$jobs"; then
    failed+=("$preset (build)"); continue
  fi
  if [ "$preset" = native-release ]; then continue; fi
  ctest --preset "$preset" -j "$jobs" || failed+=("$preset (tests)")
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "test: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "test: all presets passed: ${presets[*]}"
