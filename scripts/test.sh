#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test preset:
# native (with ASan and UBSan), windows-x64 (under Wine), windows-x86 (release
# checks and the zip), and windows-x86-smoke: the end-to-end smoke suite on
# the zip's two programs under a 32-bit Wine (scripts/i686-stage.sh, as root).
set -euo pipefail
"$(dirname "$0")/install-deps.sh"
source "$(dirname "$0")/lib.sh"
trap cleanup EXIT
cd "$root"

echo "== native"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== windows-x64 (under Wine)"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64
ensure_display
ensure_prefix
ctest --preset windows-x64

echo "== windows-x86 (release)"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86
ctest --preset windows-x86 --no-tests=ignore

echo "== windows-x86-smoke (the zip's programs under a 32-bit Wine)"
cmake --preset windows-x86-smoke >/dev/null
cmake --build --preset windows-x86-smoke
"$root/scripts/i686-stage.sh"
