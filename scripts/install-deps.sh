#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, once; quiet when
# everything is there. Needs root for apt-get; otherwise prints the command.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix   # the x86_64 test build (GoogleTest needs the posix runtime)
  g++-mingw-w64-i686-win32     # the i686 release build (the win32 runtime starts on XP)
  g++-mingw-w64-i686-posix     # the end-to-end tests of the 32-bit stage, run on the release files
  debootstrap                  # the 32-bit stage's chroot (its 32-bit Wine never goes on the host)
  wine wine64                  # never wine32: the launcher falls back to the 64-bit loader
  xvfb xauth x11-utils imagemagick
  locales fonts-wqy-zenhei fonts-wine
  googletest cmake ninja-build
  clang libclang-rt-dev        # lumbrake-cli's registry file fuzzer (libFuzzer)
  libxml2-utils                # xmllint, the judge of lumbrake-cli's Group Policy file
  zip                          # the release zip, with fixed times and attributes
  python3 python3-pefile python3-yaml  # the release check: the programs' resources, the package managers' manifests
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

# The test code pages: 936 (Chinese), 1252 (Western), 65001 (a locale
# without an ANSI code page of its own).
locales=(zh_CN en_US hi_IN)
need_locale=0
for name in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$" || need_locale=1
done

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing: ${missing[*]:-} ${need_locale:+(locales ${locales[*]} in UTF-8)}" >&2
  echo "Run as root:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]:-locales} && for l in ${locales[*]}; do echo \"\$l.UTF-8 UTF-8\" >> /etc/locale.gen; done && locale-gen" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ $need_locale -eq 1 ]; then
  for name in "${locales[@]}"; do
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null || echo "$name.UTF-8 UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
