#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, once; quiet when
# everything is there. Needs root for apt-get; otherwise prints the command.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix   # the x86_64 test build (GoogleTest needs the posix runtime)
  g++-mingw-w64-i686-win32     # the i686 release build (the win32 runtime starts on XP)
  wine wine64                  # never wine32: the launcher falls back to the 64-bit loader
  xvfb xauth x11-utils imagemagick
  locales fonts-wqy-zenhei fonts-wine
  googletest cmake ninja-build
  clang libclang-rt-dev        # lumbrake-cli's registry file fuzzer (libFuzzer)
  libxml2-utils                # xmllint, the judge of lumbrake-cli's Group Policy file
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

need_locale=0
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need_locale=1

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing: ${missing[*]:-} ${need_locale:+(locale zh_CN.UTF-8)}" >&2
  echo "Run as root:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]:-locales} && sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen && locale-gen" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  locale-gen >/dev/null
fi
