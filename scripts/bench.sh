#!/usr/bin/env bash
# Start-up time of Lumbrake, from process start to its window shown with the
# five slots filled, against a process that shows one empty window, and one
# that shows the same standard controls created plainly; taken in turns
# under the same Wine. Prints each median and its ratio to the empty window,
# then Lumbrake's ratio to the plain controls, which is what its own work
# costs on top of the same controls:
#   scripts/bench.sh [ROUNDS]
set -euo pipefail
rounds=${1:-15}
"$(dirname "$0")/install-deps.sh"
source "$(dirname "$0")/lib.sh"
trap 'wine reg delete "$policy" /f >/dev/null 2>&1 </dev/null || true; cleanup' EXIT
cd "$root"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target Lumbrake lumbrake_baseline startup_time >/dev/null
ensure_display
ensure_prefix

# Five filled slots, so that the start-up reads and shows everything it can.
policy='HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\comdlg32'
wine reg delete "$policy" /f >/dev/null 2>&1 </dev/null || true
for slot in 0 2 4; do
  wine reg add "$policy\\PlacesBar" /v "Place$slot" /t REG_DWORD /d 17 /f >/dev/null 2>&1 </dev/null
done
for slot in 1 3; do
  wine reg add "$policy\\PlacesBar" /v "Place$slot" /t REG_SZ /d 'C:\windows' /f >/dev/null 2>&1 </dev/null
done

bin=$root/build/windows-x64
times=$(wine "$bin/testing/startup_time.exe" "$rounds" \
  "empty-window" "$bin/places_bar_editor/lumbrake_baseline.exe" \
  "plain-controls" "$bin/places_bar_editor/lumbrake_baseline.exe controls" \
  "Lumbrake" "$bin/places_bar_editor/Lumbrake.exe" </dev/null | tr -d '\r')
printf '%s\n' "$times"
# Lines read "LABEL median M ms (R), fastest F ms (R) over N starts".
printf '%s\n' "$times" | awk '
  $1 == "plain-controls" { median = $3; fastest = $7 }
  $1 == "Lumbrake" && median > 0 { printf "Lumbrake to the plain controls: median %.2fx, fastest %.2fx\n", $3 / median, $7 / fastest }'
