#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit (i386) programs, 1 when it does not. The 32-bit Windows
# build's tests and runs need them: Wine starts a 32-bit Windows program through its i386 loader.
# Some machines' kernels refuse every i386 executable ("Exec format error"); the loader then does
# not answer. SAVER_ASSUME_NO_I386=1 answers "no" on any machine, to try that path.
[ "${SAVER_ASSUME_NO_I386:-0}" = 1 ] && exit 1
/usr/lib/wine/wine --version >/dev/null 2>&1
