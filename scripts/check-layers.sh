#!/usr/bin/env bash
# Fails when a product folder includes a header of a folder above it. The order, lowest first,
# is the layer list of docs/ARCHITECTURE.md; tools/, tests/ and bench/ may include anything.
# One grep over every layer's includes and one awk that ranks both ends of each.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
layers=(seams framework platform sound imaging settings engine3d transitions routines imageset richtext res controls saver wallpaper config)

cd "$top" || exit 1
folders=()
for folder in "${layers[@]}"; do [ -d "$folder" ] && folders+=("$folder"); done

grep -rnE '^#include "[a-z][a-z0-9]*/' "${folders[@]}" --include='*.h' --include='*.cpp' |
  awk -v order="${layers[*]}" '
    BEGIN { n = split(order, names, " "); for (i = 1; i <= n; ++i) rank[names[i]] = i }
    {
      # file:line:text, the file relative to the top folder
      first = index($0, ":"); file = substr($0, 1, first - 1); rest = substr($0, first + 1)
      second = index(rest, ":"); line = substr(rest, 1, second - 1); text = substr(rest, second + 1)
      folder = file; sub(/\/.*/, "", folder)
      target = text; sub(/^#include "/, "", target); sub(/\/.*/, "", target)
      if ((target in rank) && rank[target] > rank[folder]) {
        printf "layers: %s:%s includes %s/ from %s/, which sits below it\n", file, line, target, folder > "/dev/stderr"
        bad = 1
      }
    }
    END { exit bad }'
bad=${PIPESTATUS[1]}  # grep finding no include at all is no fault
[ "$bad" = 0 ] && echo "layers: no include runs from a lower layer to a higher one"
exit "$bad"
