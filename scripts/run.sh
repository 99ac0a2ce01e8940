#!/usr/bin/env bash
# Builds the x86_64 programs and starts one under Wine:
#   scripts/run.sh [lumbrake|tarnvale]
# With no display it runs under Xvfb, saves a screenshot of the window under
# build/, prints its path and closes the program.
set -euo pipefail
app=${1:-lumbrake}
case "$app" in
  lumbrake) exe=places_bar_editor/Lumbrake.exe; title="对话框的常用位置！" ;;
  tarnvale) exe=program_folder_setter/Tarnvale.exe; title="Tarnvale" ;;
  *) echo "usage: $0 [lumbrake|tarnvale]" >&2; exit 2 ;;
esac

"$(dirname "$0")/install-deps.sh"
source "$(dirname "$0")/lib.sh"
trap cleanup EXIT
cd "$root"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target "$(basename "$exe" .exe)" >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  ensure_prefix
  wine "build/windows-x64/$exe"
  exit 0
fi

ensure_display
ensure_prefix
log=$root/build/run-$app.log
wine "build/windows-x64/$exe" >"$log" 2>&1 </dev/null &
window=
for _ in $(seq 1 300); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "the window \"$title\" did not appear; see $log" >&2
  exit 1
fi
# Give the window time to paint its controls and pictures before the shot.
png=$root/build/screenshot-$app.png
for _ in $(seq 1 50); do
  sleep 0.1
  import -window "$window" "$png" 2>/dev/null && [ "$(convert "$png" -format '%[fx:standard_deviation>0.01]' info: 2>/dev/null)" = 1 ] && break
done
sleep 1
import -window "$window" "$png"
echo "$png"
