#!/usr/bin/env bash
# Runs one Windows test program under Wine, as CMake's cross-compiling emulator.
#   wine-run.sh --prefixes DIR program.exe [args...]
# Every run gets a private Wine prefix cloned from a template made once per build folder (DIR), so
# no test sees a registry or files left by another. SAVER_TEST_DISPLAY=xvfb gives the run a private
# Xvfb display (screenshots, input), 1024x768 or SAVER_TEST_SCREEN (WxH); otherwise Wine's null
# display driver runs windows without X.
# SAVER_TEST_SOUND=pulse gives the run a private PulseAudio with a null sink (sound plays in real
# time, heard by nobody) and tells the program through SAVER_TEST_PULSE: "1", or "0 <reason>" when
# it could not start; SAVER_TEST_SOUND=none points Wine at no sound server at all.
# SAVER_WINE_KEEP=1 keeps the prefix for inspection.
set -uo pipefail

die() { echo "wine-run: $*" >&2; exit 125; }

[ "${1:-}" = --prefixes ] || die "usage: wine-run.sh --prefixes DIR program [args]"
root=$(realpath -m "$2"); shift 2  # Wine wants an absolute prefix path
exe=${1:-}; [ -f "$exe" ] || die "no program '$exe'"
shift

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The PE header's machine field decides which loader runs the program.
machine() {
  local off
  off=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((off + 4)) -N 2 "$1" | tr -d ' '
}
case "$(machine "$exe")" in
  014c) loader=/usr/lib/wine/wine
        # Without the 32-bit Wine a 32-bit program prints nothing and "passes".
        [ -x "$loader" ] && dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed' \
          || die "the 32-bit Wine (wine32:i386) is missing; run scripts/setup.sh" ;;
  8664) loader=/usr/lib/wine/wine64 ;;
  *) die "$exe is not an i386 or x86-64 Windows program" ;;
esac
[ -x "$loader" ] || die "$loader is missing; run scripts/setup.sh"

template="$root/template"
make_template() {
  [ -f "$template/.ready" ] && return 0
  rm -rf "$template"; mkdir -p "$template"
  export WINEPREFIX="$template"
  {
    /usr/lib/wine/wine64 wineboot --init
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f
    wineserver -w
  } </dev/null >"$root/template.log" 2>&1 || { cat "$root/template.log" >&2; die "could not make the template prefix"; }
  touch "$template/.ready"
  unset WINEPREFIX
}
mkdir -p "$root"
# The lock's descriptor is closed for everything Wine starts, so no Wine process keeps it held.
(
  flock 9 || exit 1
  make_template 9>&-
) 9>"$root/template.lock" || die "template prefix failed"

run=$(mktemp -d "$root/run.XXXXXX")
xvfb_pid=
pulse_pid=
cleanup() {
  WINEPREFIX="$run" wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
  [ "${SAVER_WINE_KEEP:-0}" = 1 ] || rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 124' TERM INT

# Hard links for the bulk, private copies of the registry files (Wine rewrites them in place).
cp -al "$template/." "$run/"
for f in "$template"/*.reg; do cp --remove-destination "$f" "$run/"; done
export WINEPREFIX="$run"

if [ "${SAVER_TEST_DISPLAY:-null}" = xvfb ]; then
  command -v Xvfb >/dev/null || die "Xvfb is missing; run scripts/setup.sh"
  exec 8< <(Xvfb -displayfd 1 -screen 0 "${SAVER_TEST_SCREEN:-1024x768}x24" -nolisten tcp -noreset 2>/dev/null & echo "pid $!"; wait)
  read -r _ xvfb_pid <&8
  # Bounds that only catch a server that never starts: an emulated machine takes seconds.
  read -r -t 60 dnum <&8 || die "Xvfb did not start within 60 s"
  export DISPLAY=":$dnum"
else
  unset DISPLAY
  printf '\n[Software\\\\Wine\\\\Drivers] 1\n"Graphics"="null"\n' >>"$run/user.reg"
fi

start_pulse() {
  command -v pulseaudio >/dev/null || { export SAVER_TEST_PULSE="0 pulseaudio is not installed (scripts/setup.sh installs it)"; return; }
  local dir="$run/pulse"
  mkdir -p "$dir/home" "$dir/xdg" && chmod 700 "$dir/xdg"
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir/xdg" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --load=module-null-sink --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
    </dev/null >"$dir/log" 2>&1 &
  pulse_pid=$!
  local i
  for i in $(seq 300); do [ -S "$dir/native" ] && break; sleep 0.1; done
  if [ -S "$dir/native" ]; then
    export PULSE_SERVER="unix:$dir/native" SAVER_TEST_PULSE=1
  else
    export SAVER_TEST_PULSE="0 pulseaudio did not start: $(grep '^E:' "$dir/log" | tail -n 1)"
  fi
}
case "${SAVER_TEST_SOUND:-}" in
  pulse) start_pulse ;;
  none) export PULSE_SERVER="unix:$run/no-sound-server" ;;
esac

# Wine's background services inherit the first program's output; send it to files so that CTest
# does not wait on a pipe they hold, and print it once the prefix's server has gone.
"$loader" "$exe" "$@" </dev/null >"$run/stdout" 2>"$run/stderr"
rc=$?
WINEPREFIX="$run" wineserver -k >/dev/null 2>&1
cat "$run/stdout"; cat "$run/stderr" >&2
if [ "$rc" = 126 ] && [ "$loader" = /usr/lib/wine/wine ]; then
  echo "wine-run: this machine cannot execute 32-bit programs; the mingw-x86_64 build runs the same tests" >&2
fi
exit $rc
