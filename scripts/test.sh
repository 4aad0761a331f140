#!/usr/bin/env bash
# Runs every test: installs what is missing, checks the run command's first steps, then builds and
# tests the native build (clang with AddressSanitizer and UndefinedBehaviorSanitizer, plus each
# fuzz target over its seed corpus), the same tests in an optimised g++ build (undefined behaviour
# that shows only when optimised), and both Windows builds (their tests under Wine).
# On a machine that cannot execute 32-bit programs the 32-bit build's tests run in an emulated
# machine (scripts/test-32bit-vm.sh). Usage: scripts/test.sh [preset ...]
set -uo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

bash scripts/setup.sh || { echo "test: set-up failed" >&2; exit 1; }

presets=("$@")
# native-release is built (benchmarks must keep compiling) but has no tests of its own.
[ ${#presets[@]} -gt 0 ] || presets=(native native-optimised native-release mingw-i686 mingw-x86_64)
jobs=$(nproc)

# Compiler cache shared by every checkout on this machine (set up by scripts/setup.sh): paths are
# hashed relative to this checkout, so a fresh clone in another folder finds what an earlier one
# compiled.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_DIR="${CCACHE_DIR:-${SAVER_DEPS_CACHE:-/var/cache/photo-saver-deps}/ccache}"
  export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-10G}"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
failed=()
notes=()
summary=()

echo "=== run.sh --check"
bash scripts/run.sh --check || failed+=("run.sh --check")

echo "=== format"
bash scripts/check-format.sh || failed+=("format (scripts/check-format.sh names the files)")

runs_32bit=1
bash scripts/can-run-32bit.sh || runs_32bit=0

for preset in "${presets[@]}"; do
  echo "=== $preset"
  log="build/$preset.configure.log"
  mkdir -p build
  if ! cmake --preset "$preset" "${launcher[@]}" >"$log" 2>&1; then
    cat "$log" >&2; failed+=("$preset (configure)"); continue
  fi
  if ! cmake --build --preset "$preset" -j "$jobs"; then
    failed+=("$preset (build)"); continue
  fi
  if [ "$preset" = native-release ]; then summary+=("$preset"); continue; fi
  if [ "$preset" = mingw-i686 ] && [ "$runs_32bit" = 0 ]; then
    # --- 32-bit tests in an emulated machine ---
    # This machine runs no 32-bit code: the shipped build's tests run in an emulated x86-64
    # machine (scripts/test-32bit-vm.sh; its guest is built once and cached). The smoke set by
    # default; SAVER_32BIT_TESTS=full runs every test program there.
    set32=smoke; set32_args=(--smoke)
    [ "${SAVER_32BIT_TESTS:-smoke}" = full ] && { set32=full; set32_args=(); }
    if bash scripts/test-32bit-vm.sh "${set32_args[@]}"; then
      summary+=("mingw-i686 ($set32 set in an emulated machine)")
    else
      failed+=("mingw-i686 (tests in an emulated machine)")
    fi
    # --- end of the 32-bit tests in an emulated machine ---
    continue
  fi
  # A failed test fails the run: none is run again.
  ctest --preset "$preset" -j "$jobs" --output-on-failure || failed+=("$preset (tests)")
  summary+=("$preset")
done

for note in "${notes[@]}"; do echo "$note"; done
if [ ${#failed[@]} -gt 0 ]; then
  echo "test: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "test: all presets passed: ${summary[*]}"
