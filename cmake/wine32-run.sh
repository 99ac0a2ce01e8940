#!/usr/bin/env bash
# Runs one i686 test program under the 32-bit Wine of the chroot that
# scripts/i686-stage.sh prepares, in the stage's prefix (win32, or win64
# where it runs under WOW64), with the Chinese ANSI code page (936). Works
# only inside that stage.
set -u
if [ -z "${I686_ROOT:-}" ] || [ -z "${I686_WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine32-run.sh: runs only inside scripts/i686-stage.sh" >&2
  exit 2
fi
export WINEPREFIX=$I686_WINEPREFIX WINEARCH=${I686_WINEARCH:-win32}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# The chroot sees the clone at the same path, so the working folder and every
# path given stay valid; the rest of the environment (the tests' settings) passes through.
exec chroot "$I686_ROOT" /usr/bin/env PATH=/usr/bin:/bin HOME=/root /bin/sh -c 'cd "$1" && shift && exec wine "$@"' sh "$PWD" "$@"
