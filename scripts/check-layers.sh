#!/usr/bin/env bash
# Fails when a product folder includes a header of a folder above it. The order, lowest first,
# is the layer list of docs/ARCHITECTURE.md; tools/, tests/ and bench/ may include anything.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
layers=(seams framework platform sound imaging settings routines transitions imageset richtext res saver config wallpaper)

rank() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

bad=0
for i in "${!layers[@]}"; do
  folder=${layers[$i]}
  [ -d "$top/$folder" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$text")
    r=$(rank "$target")
    if [ "$r" -gt "$i" ]; then
      echo "layers: ${file#"$top"/}:$line includes $target/ from $folder/, which sits below it" >&2
      bad=1
    fi
  done < <(grep -rnE '^#include "[a-z]+/' "$top/$folder" --include='*.h' --include='*.cpp')
done
[ "$bad" = 0 ] && echo "layers: no include runs from a lower layer to a higher one"
exit "$bad"
