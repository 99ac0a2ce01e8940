#!/usr/bin/env bash
# A Registry.xml from lumbrake-cli, checked by xmllint: well formed, and every
# item with the collection's and the item's class ids, a fresh uid, an
# action, the hive, key, name, type and value.
#   gpp_xmllint.sh WINE_RUN EXE OUT_DIR     (LUMBRAKE_CLI_EXE overrides EXE)
set -u
wine_run=$1 exe=${LUMBRAKE_CLI_EXE:-$2} dir=$3
command -v xmllint >/dev/null || { echo "xmllint (libxml2-utils) is needed: scripts/install-deps.sh"; exit 1; }
xml=$dir/Registry.xml
rm -f "$xml"
"$wine_run" "$exe" export --format gpp --output "Z:${xml//\//\\}" custom Desktop '' 'C:\windows' </dev/null || { echo "export failed"; exit 1; }

status=0
expect() {  # expect WHAT XPATH VALUE
  local got
  got=$(xmllint --xpath "$2" "$xml" 2>&1)
  if [ "$got" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: got [$got], expected [$3]"; status=1; fi
}
xmllint --noout "$xml" && echo "ok: well formed" || status=1
expect "six items: the switch and five slots" 'count(/RegistrySettings/Registry)' 6
expect "every item complete" \
  "count(/RegistrySettings[@clsid='{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}']/Registry[@clsid='{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}' and @uid and @changed]/Properties[(@action='U' or @action='D') and @hive='HKEY_CURRENT_USER' and @key and @name and @type and @value])" 6
expect "a fresh uid for every item" 'count(//Registry[@uid = preceding-sibling::Registry/@uid])' 0
expect "the switch deleted first" "string(/RegistrySettings/Registry[1]/Properties[@name='NoPlacesBar']/@action)" D
expect "slot 0 the desktop's id" "string(//Properties[@name='place0' and @action='U' and @type='REG_DWORD']/@value)" 00000000
expect "slot 1 emptied" "string(//Properties[@name='place1']/@action)" D
expect "slot 2 the path" "string(//Properties[@name='place2' and @type='REG_SZ']/@value)" 'C:\windows'
exit $status
