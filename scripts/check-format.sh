#!/usr/bin/env bash
# Fails when a C++ file differs from the tree's style (.clang-format) and names each such file.
# With no arguments it checks every tracked .cpp and .h: the tree is kept formatted, so what it
# finds is what a change left unformatted. With file arguments it checks those.
# Fix a file with: clang-format -i FILE
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top" || exit 1
command -v clang-format >/dev/null || { echo "format: clang-format is missing; run scripts/setup.sh" >&2; exit 1; }

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
[ ${#files[@]} -gt 0 ] || { echo "format: no files to check"; exit 0; }

# --dry-run prints a warning per differing spot, each starting with the file's name.
mapfile -t bad < <(printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run 2>&1 |
                     sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: .*clang-format-violations.*/\1/p' | sort -u)
if [ ${#bad[@]} -gt 0 ]; then
  echo "format: ${#bad[@]} file(s) differ from .clang-format (clang-format -i FILE fixes one):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "format: ${#files[@]} files follow .clang-format"
