#!/usr/bin/env bash
# The user's interface language picks the messages: Chinese for a Chinese
# user, English for any other. Wine takes it from the locale it starts in.
#   languages.sh PROJECT_DIR EXE     (LUMBRAKE_CLI_EXE overrides EXE)
set -u
root=$1 exe=${LUMBRAKE_CLI_EXE:-$2}
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
status=0
check() {  # check LOCALE EXPECTED
  local err rc
  err=$(LANG=$1 LC_ALL=$1 wine "$exe" frobnicate 2>&1 >/dev/null </dev/null)
  rc=$?
  [ $rc -eq 2 ] || { echo "FAIL: $1: exit code $rc, expected 2"; status=1; }
  case "$err" in
    *"$2"*) echo "ok: $1: $2" ;;
    *) echo "FAIL: $1: [$err] lacks [$2]"; status=1 ;;
  esac
}
check C.UTF-8 "Unknown command: frobnicate"
check zh_CN.UTF-8 "未知的命令：frobnicate"
exit $status
