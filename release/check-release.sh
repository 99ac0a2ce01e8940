#!/usr/bin/env bash
# The checks a release build must pass before it ships:
#   check-release.sh XP_CHECK MAX_BYTES EXE
# XP imports and PE header, only Windows' own DLLs, and the size budget.
set -u
xp_check=$1 max_bytes=$2 exe=$3
name=$(basename "$exe")
status=0

report=$(bash "$xp_check" "$exe") || status=1
printf '%s\n' "$report"
# Every DLL that the next check allows has a list: a missing one would pass unchecked.
if printf '%s\n' "$report" | grep -q 'WARNING no export list'; then
  echo "$name: imports from a DLL whose XP export list is missing"
  status=1
fi

# DLLs that every Windows from XP on ships; anything else would have to be installed.
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt|shlwapi|uxtheme|version|msimg32)\.dll$'
while read -r dll; do
  if ! printf '%s\n' "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "$name: imports $dll, which Windows does not ship"
    status=1
  fi
done < <(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')

size=$(stat -c %s "$exe")
if [ "$size" -gt "$max_bytes" ]; then
  echo "$name: $size bytes, over the budget of $max_bytes"
  status=1
else
  echo "$name: $size bytes (budget $max_bytes)"
fi
exit $status
