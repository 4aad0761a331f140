#!/usr/bin/env bash
# Builds the Windows programs and runs the screen saver full screen under Wine: on your display
# when DISPLAY is set, otherwise on a private Xvfb display, saving screenshots to out/screenshots/
# as it goes. It runs the 32-bit build, or the 64-bit one on a machine that cannot execute 32-bit
# programs (scripts/can-run-32bit.sh).
# The run uses demo settings of its own, written into its private Wine prefix only (setup.exe's
# install defaults stay as they are): the clock and logos, and a tour of four short sessions, each
# starting on the next picture with a screen transition: the slide show with the picture's caption,
# then the sliding tiles, the puzzle cube and the rolling cylinder. The settings' shortest time per
# picture is a minute and a caption plays ten seconds before a routine, so one session would show
# one picture, and the routines' sessions go without captions.
# Usage: scripts/run.sh [--defaults] [seconds]   run for that long (default 60; Ctrl-C ends it);
#                                                --defaults: setup.exe's install defaults instead,
#                                                as one session
#        scripts/run.sh --check                  only the first steps: set-up, configure, tools
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

fail() { echo "run: $*" >&2; exit 1; }
# Anything not caught below still ends with one line that says where.
trap 'echo "run: failed at line $LINENO: $BASH_COMMAND" >&2' ERR

check=0
seconds=60
demo_settings=1
usage="usage: scripts/run.sh [--defaults] [seconds] | scripts/run.sh --check"
for arg in "$@"; do
  case "$arg" in
    --check) check=1 ;;
    --defaults) demo_settings=0 ;;
    ''|*[!0-9]*) fail "$usage" ;;
    *) seconds=$arg ;;
  esac
done

bash scripts/setup.sh || fail "set-up failed (see above); run it as root on Debian 12: bash scripts/setup.sh"

if bash scripts/can-run-32bit.sh; then
  preset=mingw-i686 loader=/usr/lib/wine/wine
else
  preset=mingw-x86_64 loader=/usr/lib/wine/wine64
  echo "run: this machine cannot execute 32-bit programs; building and running the 64-bit programs instead"
fi
bin=build/$preset
mkdir -p build
log=build/$preset.configure.log
cmake --preset "$preset" >"$log" 2>&1 \
  || { tail -n 20 "$log" >&2; fail "configuring $preset failed (see $log); run scripts/setup.sh, then try again"; }
"$loader" --version >/dev/null 2>&1 || fail "$loader does not start; run scripts/setup.sh"
command -v import >/dev/null || fail "ImageMagick's import is missing (screenshots); run scripts/setup.sh"
[ -n "${DISPLAY:-}" ] || command -v Xvfb >/dev/null || fail "no DISPLAY and no Xvfb; run scripts/setup.sh"

# Ninja names every output file as a target.
targets=$(cmake --build --preset "$preset" --target help)
has_target() { grep -q "^$1: " <<<"$targets"; }
saver_file=screensaver.scr
what="the screen saver"
for file in "$saver_file" demo_imageset.exe setup.exe; do
  has_target "$file" || fail "the $preset build makes no $file; is this checkout complete?"
done
if [ "$check" = 1 ]; then
  echo "run: check passed: $preset configured; would build it and show $what on ${DISPLAY:-a private Xvfb display}"
  exit 0
fi

cmake --build --preset "$preset" || fail "the $preset build failed (see above); scripts/test.sh $preset builds and tests it"
program() {
  local found
  found=$(find "$bin" -name "$1" | head -n 1)
  [ -n "$found" ] || fail "the build made no $1"
  echo "$found"
}
saver=$(program "$saver_file") || exit 1
builder=$(program demo_imageset.exe) || exit 1
setup=$(program setup.exe) || exit 1

out="$top/out"
shots="$out/screenshots"
mkdir -p "$shots"
. "$top/scripts/demo-prefix.sh"
prepare_wine_prefix "$out"
# The demo image set and the settings that point the saver at it.
demo=$(build_demo_set "$loader" "$builder" "$out")
# setup.exe keeps the values it finds; --defaults has it write every one of them afresh.
setup_args=("$(winpath "$demo")")
[ "$demo_settings" = 1 ] || setup_args=(/force "${setup_args[@]}")
"$loader" "$setup" "${setup_args[@]}" >"$out/setup.log" 2>&1 \
  || { cat "$out/setup.log" >&2; fail "the setup program failed (see $out/setup.log)"; }
echo "run: settings installed for the demo set ($(winpath "$demo"))"
# The demo's own values over the install defaults, in this prefix only. The loader's own reg.exe
# writes the registry view that the programs of its bitness read.
demo_values=(TIME=1 CLOCKON=1 LOGOSON=1 IMAGE_SIZE=1 TEXTFX_TEXTDURATION=0
             TEXTFX_TRANSSELECTION=2 SOUND_ON=0)
# The tour, display routine:captions on: the slide show, 2D sliding tiles, the flying puzzle
# cube, Wipe Out.
tour=(7:1 0:0 2:0 4:0)
set_value() {
  "$loader" reg add 'HKLM\SOFTWARE\KLV\SCREENSAVER\TRVSS12' /v "$1" /d "$2" /f \
    >>"$out/setup.log" 2>&1 || fail "could not write the demo setting $1 (see $out/setup.log)"
}
if [ "$demo_settings" = 1 ]; then
  for pair in "${demo_values[@]}"; do set_value "${pair%%=*}" "${pair#*=}"; done
  echo "run: demo settings: captions, the clock, logos; four sessions, each a new picture and routine"
else
  tour=("")
  echo "run: install defaults: the slide show, one picture a minute, captions, logos"
fi
# A wineserver keeps the display it started with: end the one the tools started without one.
wineserver -k >/dev/null 2>&1 || true

xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  exec 8< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
  read -r _ xvfb_pid <&8
  read -r -t 10 dnum <&8 || fail "Xvfb did not start; check that Xvfb runs here (scripts/setup.sh installs it)"
  export DISPLAY=":$dnum"
  echo "run: no display; using a private Xvfb display $DISPLAY, screenshots go to $shots"
fi

# Each session starts the saver as a user's idle machine would, and ends it after its share of the
# run; the next one starts on the next picture (the saver stores its picture number as it goes).
sessions=${#tour[@]}
share=$(( seconds / sessions ))
(( share >= 5 )) || share=5
: >"$out/saver.log"
t=0
for session in "${tour[@]}"; do
  (( t < seconds )) || break
  routine=${session%%:*}
  if [ -n "$session" ]; then
    set_value SSFN "$routine"
    set_value TEXTFX_TEXTON "${session#*:}"
  fi
  echo "run: starting $what: $saver /s for $share s${routine:+ (display routine $routine)}"
  "$loader" "$saver" /s >>"$out/saver.log" 2>&1 &
  pid=$!
  for ((s = 1; s <= share && t < seconds; s++)); do
    sleep 1
    t=$((t + 1))
    kill -0 "$pid" 2>/dev/null || { echo "run: the saver ended (its output: $out/saver.log)"; break 2; }
    if (( t % 5 == 0 )); then
      shot="$shots/shot-$(printf %03d "$t").png"
      import -window root "$shot" 2>/dev/null && echo "run: screenshot $shot"
    fi
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done
echo "run: done"
