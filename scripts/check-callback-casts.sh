#!/usr/bin/env bash
# Fails when product code casts something to a Win32 callback type (window, dialog and timer
# procedures, thread starts, enumeration and hook procedures, stream callbacks, FARPROC...), or
# installs a procedure through SetWindowLongPtr and the like. A callback declared CALLBACK with the
# exact signature needs no cast, and the compiler then proves its calling convention; a cast hides
# a wrong one, which the 64-bit build never shows (it has one convention) and the 32-bit build
# turns into a corrupted stack. Usage: check-callback-casts.sh [folder ...] (default: the product,
# its tests and benchmarks, which run in the 32-bit build too).
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
folders=("$@")
[ ${#folders[@]} -gt 0 ] || folders=(seams framework platform sound imaging settings engine3d transitions routines imageset richtext res controls saver wallpaper config tools tests bench)

# Win32's callback types: *PROC (WNDPROC, DLGPROC, TIMERPROC, HOOKPROC, WNDENUMPROC, FARPROC,
# LPOFNHOOKPROC, FONTENUMPROCA...), *ROUTINE (LPTHREAD_START_ROUTINE, PTIMERAPCROUTINE...),
# *CALLBACK (EDITSTREAMCALLBACK, LPTIMECALLBACK...), PAPCFUNC and the PFN*/LPFN* pointer types.
type='(LP|P)?[A-Z_]*(PROC[AW]?|ROUTINE|CALLBACK|APCFUNC)|L?PFN[A-Z_0-9]*'
patterns=(
  "\\(\\s*($type)\\s*\\)\\s*[&A-Za-z_:(]"       # C-style cast
  "_cast\\s*<\\s*($type)\\s*>"                   # static_cast, reinterpret_cast
  "[GD][CW]LP?_(WNDPROC|DLGPROC)"                # a procedure stored through Set*LongPtr
)

bad=0
for folder in "${folders[@]}"; do
  [ -d "$top/$folder" ] || continue
  for pattern in "${patterns[@]}"; do
    # Line comments are no code; a hit is reported with its file and line.
    while IFS=: read -r file line text; do
      code=${text%%//*}
      grep -qE "$pattern" <<<"$code" || continue
      echo "callback casts: ${file#"$top"/}:$line: $(sed -E 's/^\s+//' <<<"$text")" >&2
      bad=1
    done < <(grep -rnE "$pattern" "$top/$folder" --include='*.h' --include='*.cpp' --include='*.c')
  done
done
[ "$bad" = 0 ] && echo "callback casts: no cast to a Win32 callback type in ${folders[*]}"
exit "$bad"
