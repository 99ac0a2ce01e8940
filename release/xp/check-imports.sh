#!/usr/bin/env bash
# check-imports.sh EXE [EXE...]
#
# Tells whether 32-bit PE files (MinGW-w64 builds) import only functions that
# 32-bit Windows XP SP3 (NT 5.1) exports, and whether their PE header lets XP
# load them.  For each file it prints:
#   FILE: subsystem X.Y (XP needs <= 5.1): ok|FAIL
#   FILE: MISSING Dll.dll Function             an import its DLL's list lacks
#   FILE: WARNING no export list for X.dll ... a DLL without a list (not checked)
#   FILE: WARNING ordinal import X.dll #N ...  imported by ordinal (not checked)
#   SUMMARY FILE: ok|FAIL (...)
# and, for several files, a last "SUMMARY all:" line.
# Exit status: 0 all files pass, 1 any file fails, 2 usage or tool error.
#
# Lists: exports/<dll>.txt, one exported name per line (from ReactOS's
# export definitions, see README.md), then corrections.txt on top.  Environment:
# OBJDUMP (default: the first of x86_64-w64-mingw32-objdump (reads both
# PE32 and PE32+), i686-w64-mingw32-objdump, objdump on PATH), XP_EXPORTS,
# XP_CORRECTIONS.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exports=${XP_EXPORTS:-$here/exports}
corrections=${XP_CORRECTIONS:-$here/corrections.txt}

if [ $# -eq 0 ]; then
    echo "usage: $(basename "$0") EXE [EXE...]" >&2
    exit 2
fi
if [ ! -d "$exports" ]; then
    echo "check-imports: no export lists at $exports" >&2
    exit 2
fi

objdump=${OBJDUMP:-}
if [ -z "$objdump" ]; then
    for c in x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump objdump; do
        if command -v "$c" >/dev/null 2>&1; then objdump=$c; break; fi
    done
fi
if [ -z "$objdump" ]; then
    echo "check-imports: no objdump found (set OBJDUMP)" >&2
    exit 2
fi

read -r -d '' prog <<'AWK'
function load(dll,    file, line, n) {
    loaded[dll] = 1
    file = exports "/" dll ".txt"
    n = 0
    while ((getline line < file) > 0) {
        sub(/\r$/, "", line)
        if (line != "") { have[dll SUBSEP line] = 1; n++ }
    }
    close(file)
    haslist[dll] = (n > 0)
}
BEGIN {
    while ((getline line < corrections) > 0) {
        if (line ~ /^[ \t]*(#|$)/) continue
        n = split(line, f, /[ \t]+/)
        if (f[1] == "") { f[1] = f[2]; f[2] = f[3]; f[3] = f[4] }
        key = tolower(f[1]) SUBSEP f[2]
        corr[key] = f[3]
        why[key] = line
        sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+[^ \t]+[ \t]*/, "", why[key])
    }
    close(corrections)
}
/^Magic[ \t]/                 { magic = $2 }
/^MajorSubsystemVersion[ \t]/ { smaj = $2 + 0; seen_sub = 1 }
/^MinorSubsystemVersion[ \t]/ { smin = $2 + 0 }
/^[ \t]*DLL Name:/ {
    dllname = $3
    dll = tolower(dllname)
    sub(/\.dll$/, "", dll)
    if (!(dll in loaded)) load(dll)
    if (!(dll in dllseen)) { dllseen[dll] = 1; order[++ndll] = dll; shown[dll] = dllname }
    next
}
/^$/ { dll = ""; next }
dll != "" && /^\t[0-9a-fA-F]+\t/ {
    nimp++
    if (!haslist[dll]) { unchecked[dll]++; next }
    if ($3 == "<none>") {
        printf "%s: WARNING ordinal import %s #%s not checked\n", exe, dllname, $2
        nord++
        next
    }
    key = dll SUBSEP $3
    ok = (key in have)
    if (key in corr) ok = (corr[key] == "present")
    if (!ok) {
        nmiss++
        if (key in corr) printf "%s: MISSING %s %s (corrections.txt: %s)\n", exe, dllname, $3, why[key]
        else             printf "%s: MISSING %s %s\n", exe, dllname, $3
    }
}
END {
    bad = 0
    if (magic == "") {
        printf "%s: FAIL not a PE image objdump could read\n", exe
        bad = 1
    } else if (magic == "020b") {
        printf "%s: FAIL 64-bit image (PE32+): XP SP3 is 32-bit only\n", exe
        bad = 1
    }
    if (seen_sub) {
        subok = (smaj < 5 || (smaj == 5 && smin <= 1))
        printf "%s: subsystem %d.%d (XP needs <= 5.1): %s\n", exe, smaj, smin, subok ? "ok" : "FAIL"
        if (!subok) bad = 1
    }
    nunl = 0
    for (i = 1; i <= ndll; i++) {
        d = order[i]
        if (!haslist[d]) {
            nunl++
            printf "%s: WARNING no export list for %s (%d imports not checked)\n", exe, shown[d], unchecked[d]
        }
    }
    if (nmiss > 0) bad = 1
    printf "SUMMARY %s: %s (%d DLLs, %d imports, %d missing, %d DLLs without a list, %d ordinal imports unchecked, subsystem %d.%d)\n", \
        exe, bad ? "FAIL" : "ok", ndll, nimp, nmiss, nunl, nord, smaj, smin
    exit bad
}
AWK

total=0
failed=0
for exe in "$@"; do
    total=$((total + 1))
    if [ ! -f "$exe" ]; then
        echo "$exe: FAIL no such file"
        echo "SUMMARY $exe: FAIL (no such file)"
        failed=$((failed + 1))
        continue
    fi
    if ! dump=$(LC_ALL=C "$objdump" -p "$exe" 2>&1); then
        printf '%s: FAIL objdump: %s\n' "$exe" "$(printf '%s\n' "$dump" | head -n 1)"
        echo "SUMMARY $exe: FAIL (objdump could not read it)"
        failed=$((failed + 1))
        continue
    fi
    printf '%s\n' "$dump" | awk -v exe="$exe" -v exports="$exports" -v corrections="$corrections" "$prog"
    rc=$?
    if [ "$rc" -ne 0 ]; then failed=$((failed + 1)); fi
done

if [ "$total" -gt 1 ]; then
    echo "SUMMARY all: $total files, $failed failed"
fi
[ "$failed" -eq 0 ]
