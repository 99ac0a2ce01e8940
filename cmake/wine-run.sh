#!/usr/bin/env bash
# Runs one Windows test program under Wine, in the project's throwaway prefix
# unless WINEPREFIX says otherwise, with the Chinese ANSI code page (936), or
# with the locale that TEST_LANG names: en_US.UTF-8 gives code page 1252,
# hi_IN.UTF-8 (a locale without an ANSI code page of its own) gives 65001.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=${TEST_LANG:-zh_CN.UTF-8}
export LC_ALL=$LANG
exec wine "$@"
