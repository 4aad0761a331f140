#!/usr/bin/env bash
# A contact sheet of the display routines as a fresh install shows them: the 64-bit screen saver
# on the demo set with setup.exe's install defaults, each routine on its own (SSFN), full screen
# on a private Xvfb display, screenshots at a few moments of each run, and one montage of them all
# with the routine and the second under each shot. Everything goes to the output folder: the
# Wine prefix, the demo set, the screenshots and contact-sheet.png.
# Usage: tools/contact-sheet.sh OUT [WIDTHxHEIGHT] [ROUTINES] [SECONDS]
#   defaults: 1920x1080, routines "0 1 2 3 4 5 6 7", screenshots at "12 26 40" s.
# Needs the mingw-x86_64 build (cmake --build --preset mingw-x86_64), Xvfb and ImageMagick.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:?usage: tools/contact-sheet.sh OUT [WIDTHxHEIGHT] [ROUTINES] [SECONDS]}")
size=${2:-1920x1080}
routines=(${3:-0 1 2 3 4 5 6 7})
moments=(${4:-12 26 40})
names=("2D Sliding Tiles" "3D Flying Tiles" "Flying Puzzle Cube" "Blocks' World" "Wipe Out"
       "Bouncing Balls" "Combo" "Slide Show")

fail() { echo "contact-sheet: $*" >&2; exit 1; }
bin=$top/build/mingw-x86_64
program() { find "$bin" -name "$1" | head -n 1; }
saver=$(program screensaver.scr) builder=$(program demo_imageset.exe) setup=$(program setup.exe)
[ -n "$saver" ] && [ -n "$builder" ] && [ -n "$setup" ] || fail "build the mingw-x86_64 preset first"
loader=/usr/lib/wine/wine64
. "$top/scripts/demo-prefix.sh"

mkdir -p "$out"
prepare_wine_prefix "$out"
demo=$(build_demo_set "$loader" "$builder" "$out")

xvfb_pid=
saver_pid=
cleanup() {
  if [ -n "$saver_pid" ]; then kill "$saver_pid" 2>/dev/null || true; fi
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
exec 8< <(Xvfb -br -displayfd 1 -screen 0 "${size}x24" -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
read -r _ xvfb_pid <&8
read -r -t 10 dnum <&8 || fail "Xvfb did not start"
export DISPLAY=":$dnum"

for routine in "${routines[@]}"; do
  wineserver -k >/dev/null 2>&1 || true
  # The install defaults afresh (a fresh install starts at the set's first picture), then the
  # routine.
  "$loader" "$setup" /force "$(winpath "$demo")" >"$out/setup.log" 2>&1 || fail "setup failed"
  "$loader" reg add 'HKLM\SOFTWARE\KLV\SCREENSAVER\TRVSS12' /v SSFN /d "$routine" /f \
    >>"$out/setup.log" 2>&1 || fail "could not set SSFN"
  "$loader" "$saver" /s >"$out/saver-$routine.log" 2>&1 &
  saver_pid=$!
  start=$(date +%s.%N)
  for moment in "${moments[@]}"; do
    sleep "$(echo "$start + $moment - $(date +%s.%N)" | bc)"
    shot="$out/routine$routine-$(printf %02d "$moment")s.png"
    import -window root "$shot"
    shots+=(-label "$routine ${names[$routine]} ${moment}s" "$shot")
  done
  kill "$saver_pid" 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
  saver_pid=
done
montage "${shots[@]}" -tile "${#moments[@]}x" -geometry 480x270+4+4 -font DejaVu-Sans \
  -pointsize 14 -background '#333' -fill white "$out/contact-sheet.png"
echo "contact-sheet: $out/contact-sheet.png"
