# Sourced by scripts/run.sh and tools/contact-sheet.sh: the private Wine prefix and the demo image
# set that a run of the saver on the demo set needs. Each function reports through the caller's
# `fail`.

# Wine's drive Z: is the root of the Linux file system.
winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }

# prepare_wine_prefix OUT: WINEPREFIX=OUT/wine-prefix, made once (about 20 s) by the 64-bit Wine
# (the prefix then runs programs of both kinds), with Wine drawing the window frames itself (no
# window manager on Xvfb).
prepare_wine_prefix() {
  local out=$1 wine64=/usr/lib/wine/wine64
  export WINEPREFIX="$out/wine-prefix"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/.ready" ] && return 0
  echo "preparing the Wine prefix $WINEPREFIX (about 20 s, once)"
  {
    "$wine64" wineboot --init &&
      "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
      wineserver -w
  } </dev/null >"$out/wineboot.log" 2>&1 \
    || fail "could not prepare the Wine prefix (see $out/wineboot.log); delete $WINEPREFIX and try again"
  touch "$WINEPREFIX/.ready"
}

# build_demo_set LOADER BUILDER OUT: the demo image set (12 photographs) in OUT/imageset/demoset,
# made again when the builder has changed since; prints the set's folder.
build_demo_set() {
  local loader=$1 builder=$2 out=$3
  local demo="$out/imageset/demoset"
  if [ ! "$demo/imfull.dat" -nt "$builder" ]; then
    echo "building the demo image set in $demo" >&2
    local photos=/var/cache/photo-saver-deps/mate-backgrounds/root/usr/share/backgrounds/mate/nature
    local args=("$(winpath "$out/imageset")")
    [ -d "$photos" ] && args+=("$(winpath "$photos")")  # else the builder draws its own pictures
    "$loader" "$builder" "${args[@]}" >"$out/demo.log" 2>&1 \
      || { cat "$out/demo.log" >&2; fail "the demo builder failed (see $out/demo.log)"; }
  fi
  echo "$demo"
}
