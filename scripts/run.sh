#!/usr/bin/env bash
# Builds the 32-bit Windows programs and runs the screen saver full screen under Wine: on your
# display when DISPLAY is set, otherwise on a private Xvfb display, saving screenshots to
# out/screenshots/ as it goes. Usage: scripts/run.sh [seconds]   (default 30; Ctrl-C ends it)
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
seconds=${1:-30}

bash scripts/setup.sh
cmake --preset mingw-i686 >build/mingw-i686.configure.log 2>&1 || { cat build/mingw-i686.configure.log; exit 1; }
cmake --build --preset mingw-i686

bin=build/mingw-i686
saver=$(find "$bin" -name 'screensaver.scr' | head -n 1)
what="the screen saver"
if [ -z "$saver" ]; then
  # The saver module itself is not built yet: show the screen-saver library's test module.
  saver=$(find "$bin" -name 'testsaver.scr' | head -n 1)
  what="the screen-saver library's test module (the saver itself is not built yet)"
fi
[ -n "$saver" ] || { echo "run: nothing to run was built" >&2; exit 1; }

out="$top/out"
shots="$out/screenshots"
mkdir -p "$shots"
export WINEPREFIX="$out/wine-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
  echo "run: preparing the Wine prefix $WINEPREFIX (about 20 s, once)"
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.ready"
fi

# The demo image set (12 photographs) and the settings that point the saver at it.
demo="$out/imageset/demoset"
if [ ! -f "$demo/imfull.dat" ]; then
  echo "run: building the demo image set in $demo"
  photos=/var/cache/photo-saver-deps/mate-backgrounds/root/usr/share/backgrounds/mate/nature
  args=("$(winepath -w "$out/imageset")")
  [ -d "$photos" ] && args+=("$(winepath -w "$photos")")  # else the builder draws its own pictures
  /usr/lib/wine/wine "$(find "$bin" -name demo_imageset.exe | head -n 1)" "${args[@]}" >"$out/demo.log" 2>&1 \
    || { cat "$out/demo.log"; echo "run: the demo builder failed" >&2; exit 1; }
fi
/usr/lib/wine/wine "$(find "$bin" -name setup.exe | head -n 1)" "$(winepath -w "$demo")" >"$out/setup.log" 2>&1 \
  || { cat "$out/setup.log"; echo "run: the setup program failed" >&2; exit 1; }
echo "run: settings installed for the demo set ($(winepath -w "$demo"))"
# A wineserver keeps the display it started with: end the one the tools started without one.
wineserver -k >/dev/null 2>&1 || true

xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  exec 8< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
  read -r _ xvfb_pid <&8
  read -r dnum <&8
  export DISPLAY=":$dnum"
  echo "run: no display; using a private Xvfb display $DISPLAY, screenshots go to $shots"
fi

echo "run: starting $what: $saver /s for $seconds s"
/usr/lib/wine/wine "$saver" /s >"$out/saver.log" 2>&1 &
pid=$!
for ((t = 1; t <= seconds; t++)); do
  sleep 1
  kill -0 "$pid" 2>/dev/null || { echo "run: the saver ended"; break; }
  if (( t % 5 == 0 )); then
    import -window root "$shots/shot-$(printf %03d "$t").png" 2>/dev/null && echo "run: screenshot $shots/shot-$(printf %03d "$t").png"
  fi
done
kill "$pid" 2>/dev/null || true
echo "run: done"
