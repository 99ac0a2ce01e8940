# Shared by run.sh, test.sh and bench.sh: a display, a Wine prefix, and
# leaving nothing running afterwards.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

started_xvfb=
started_wine=

# Starts Xvfb on a free display when there is none. Its output goes to a file,
# so that it never holds the caller's stdout open.
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >"$root/build/xvfb.log" 2>&1 </dev/null &
    started_xvfb=$!
    export DISPLAY=:$n
    local i
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
  done
  echo "no free X display" >&2
  return 1
}

# Creates the prefix once, with fonts that show the Chinese interface.
ensure_prefix() {
  mkdir -p "$root/build"
  started_wine=1
  if [ ! -f "$WINEPREFIX/.lumbrake-ready" ]; then
    wine wineboot -i >/dev/null 2>&1 </dev/null || true
    local face
    for face in "宋体" "SimSun" "新宋体" "NSimSun" "MS Sans Serif" "Arial Black"; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "WenQuanYi Zen Hei" /f >/dev/null 2>&1 </dev/null
    done
    # Wine draws the window frames itself: Xvfb has no window manager.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.lumbrake-ready"
  fi
  map_drive_d "$WINEPREFIX"
}

# A D: drive with the folders that Tarnvale's tests choose, so that the
# shell finds them as a program started afterwards asks for them.
map_drive_d() {
  mkdir -p "$1/drive_d/Program Files" "$1/drive_d/Apps"
  [ -e "$1/dosdevices/d:" ] || ln -s ../drive_d "$1/dosdevices/d:"
}

cleanup() {
  if [ -n "$started_wine" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$started_xvfb" ]; then
    kill "$started_xvfb" >/dev/null 2>&1 || true
    wait "$started_xvfb" 2>/dev/null || true
  fi
}
