#!/usr/bin/env bash
# The release made again from a fresh clone at another path, later, under
# another umask and time zone, must be the same bytes as the one in DIST:
#   check-reproducible.sh SOURCE_DIR DIST WORK
# The clone gets the working tree's uncommitted changes, so that both builds
# are of the same source. cmp names a differing file and its first differing byte.
set -euo pipefail
source=$1 dist=$2 clone=$3/clone
rm -rf "$3"
git clone -q --no-checkout "$source" "$clone"
git -C "$clone" checkout -q "$(git -C "$source" rev-parse HEAD)"
{ git -C "$source" diff -z --name-only HEAD; git -C "$source" ls-files -z --others --exclude-standard; } |
  while IFS= read -r -d '' file; do
    rm -f "$clone/$file"
    [ ! -e "$source/$file" ] || { mkdir -p "$(dirname "$clone/$file")" && cp "$source/$file" "$clone/$file"; }
  done

cd "$clone"
umask 0027
TZ=Pacific/Chatham cmake --preset windows-x86 >/dev/null
TZ=Pacific/Chatham cmake --build --preset windows-x86 --target package
status=0
for file in $(cd "$dist" && find . -maxdepth 1 -type f -printf '%P\n'); do
  cmp "$dist/$file" "build/windows-x86/dist/$file" || status=1
done
[ $status -ne 0 ] || echo "the release made again in $clone is the same, byte for byte"
exit $status
