#!/usr/bin/env bash
# The 32-bit stage: the end-to-end smoke suite on the very programs of the
# release zip (i686, -win32 runtime), under a 32-bit Wine, twice: in a pure
# 32-bit prefix (like 32-bit XP) and in a 64-bit one where they run under
# WOW64 (like Windows 10 and 11 x64).
#
# This machine cannot run i386 code, and nothing i386 may go on the host, so
# the 32-bit Wine lives in a Debian chroot and qemu-i386 (user mode, found
# through binfmt_misc) executes its i386 code. The chroot and qemu-i386 are
# kept in a cache outside the clone, which every clone on the machine shares
# under a lock; the stage runs in private mount, PID, network and IPC
# namespaces, so that whatever it mounts or starts goes with it.
#
#   scripts/i686-stage.sh              ctest --preset windows-x86-smoke, in
#                                      each prefix
#   scripts/i686-stage.sh CMD [ARG...] CMD instead, inside the stage, where
#                                      cmake/wine32-run.sh PROGRAM runs a
#                                      Windows program under the 32-bit Wine
#                                      (in the WOW64 prefix with I686_ARCH=win64)
#
# In the WOW64 prefix the tests also ask a 64-bit program what it sees: the
# consumer probe of the windows-x64 build (build it first, as scripts/test.sh does).
#
# Needs root (chroot, mount, binfmt_misc). The cache is I686_CACHE, by default
# ~/.cache/lumbrake-tarnvale/i686. When the script ends, also on failure or
# Ctrl-C, nothing it started runs, nothing it mounted is mounted, and its
# binfmt_misc entry is gone unless the entry was there before.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
self=$root/scripts/i686-stage.sh
cache=${I686_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumbrake-tarnvale/i686}
chroot_dir=$cache/root
qemu=$cache/qemu-i386
mirror=http://deb.debian.org/debian
suite=bookworm
# What the chroot holds. A change to this list, or to the number that ends
# the recipe, rebuilds the chroot on the next run.
packages=(wine wine32:i386 wine64 libwine:i386 xvfb fonts-wine fonts-wqy-zenhei locales)
recipe="$suite ${packages[*]} zh_CN.UTF-8 1"
binfmt=/proc/sys/fs/binfmt_misc
entry=lumbrake-tarnvale-i386
# Under emulation every step takes several times as long: the test driver
# multiplies each of its time limits by this.
export E2E_PATIENCE_SCALE=${E2E_PATIENCE_SCALE:-3}
stage_log=$root/build/i686-stage
probe64=$root/build/windows-x64/testing/consumer_probe.exe

say() { printf '[i686-stage] %s\n' "$*" >&2; }
seconds_since() { echo $(( $(date +%s) - $1 )); }

# Runs a command in the chroot with a plain environment plus the one given.
in_chroot() {
  chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}

# --- Inside the namespaces (PID 1 there: its end ends everything in them) ---

# Mounts what Wine needs in the chroot; all of it disappears with the namespace.
mount_chroot() {
  mount -t proc proc "$chroot_dir/proc"
  mount --bind /dev "$chroot_dir/dev"
  mount -t tmpfs -o mode=1777 tmpfs "$chroot_dir/dev/shm"
  mount -t tmpfs -o mode=1777 tmpfs "$chroot_dir/tmp"
}

# Builds the chroot into $1: Debian, the i386 architecture, the 32-bit Wine,
# Xvfb, the CJK font and the zh_CN.UTF-8 locale.
inside_build() {
  local dir=$1
  trap 'exit 130' INT
  trap 'exit 143' TERM
  debootstrap --variant=minbase "$suite" "$dir" "$mirror" >"$stage_log/debootstrap.log" 2>&1 ||
    { tail -n 20 "$stage_log/debootstrap.log" >&2; return 1; }
  chroot_dir=$dir
  mount_chroot
  echo 'zh_CN.UTF-8 UTF-8' >"$dir/etc/locale.gen"
  {
    in_chroot dpkg --add-architecture i386 &&
      in_chroot apt-get update &&
      in_chroot DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${packages[@]}" &&
      in_chroot locale-gen &&
      in_chroot apt-get clean
  } >"$stage_log/packages.log" 2>&1 || { tail -n 20 "$stage_log/packages.log" >&2; return 1; }
  rm -rf "$dir/var/lib/apt/lists/"*
}

# The prefix of an architecture (win32, or win64 for WOW64), the Wine
# environment for it, and the loader that makes it: a win64 prefix is made by
# the 64-bit Wine, and the 32-bit one then runs 32-bit programs under WOW64.
use_prefix() {
  arch=$1
  case $arch in
    win32) prefix=$root/build/wineprefix-i686 loader=wine ;;
    win64) prefix=$root/build/wineprefix-wow64 loader=/usr/lib/wine/wine64 ;;
    *) say "no prefix for $arch"; return 1 ;;
  esac
  wine_env=(WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
}

# The prefix, made once per clone, with the Chinese interface's fonts and
# frames drawn by Wine (Xvfb has no window manager), as scripts/lib.sh does.
ensure_prefix() {
  [ -f "$prefix/.i686-ready" ] && return 0
  local start
  start=$(date +%s)
  rm -rf "$prefix"
  in_chroot "${wine_env[@]}" "$loader" wineboot -i >"$stage_log/wineboot-$arch.log" 2>&1 </dev/null
  local reg=$prefix/drive_c/stage-settings.reg face
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for face in "宋体" "SimSun" "新宋体" "NSimSun" "MS Sans Serif" "Arial Black"; do
      printf '"%s"="WenQuanYi Zen Hei"\r\n' "$face"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
  } | iconv -f UTF-8 -t UTF-16 >"$reg"
  in_chroot "${wine_env[@]}" "$loader" regedit /S 'C:\stage-settings.reg' >>"$stage_log/wineboot-$arch.log" 2>&1 </dev/null
  rm -f "$reg"
  # The registry reaches the disk when the server ends.
  in_chroot "${wine_env[@]}" wineserver -w
  touch "$prefix/.i686-ready"
  say "$arch prefix made in $(seconds_since "$start") s"
}

# Runs the smoke suite, or the command given, in the prefix of use_prefix.
run_in_prefix() {
  ensure_prefix
  # The D: drive of Tarnvale's tests, as scripts/lib.sh maps it.
  mkdir -p "$prefix/drive_d/Program Files" "$prefix/drive_d/Apps"
  [ -e "$prefix/dosdevices/d:" ] || ln -s ../drive_d "$prefix/dosdevices/d:"
  # For cmake/wine32-run.sh, which runs each test program in the chroot.
  export I686_WINEPREFIX=$prefix I686_WINEARCH=$arch
  # A wine server that stays up between the tests' processes, and with it
  # Wine's own services, started here on the log: the first program would
  # otherwise start them, and they would keep its output open to the end.
  in_chroot "${wine_env[@]}" DISPLAY=:1 wineserver -p
  in_chroot "${wine_env[@]}" DISPLAY=:1 "$loader" wineboot >>"$stage_log/wine-$arch.log" 2>&1 </dev/null
  local status=0
  if [ $# -eq 0 ]; then
    say "the smoke suite in the $arch prefix"
    (cd "$root" && ctest --preset windows-x86-smoke) || status=$?
  else
    (cd "$root" && "$@") || status=$?
  fi
  in_chroot "${wine_env[@]}" wineserver -k >/dev/null 2>&1 || true
  return $status
}

inside_run() {
  trap 'exit 130' INT
  trap 'exit 143' TERM
  mount_chroot
  mkdir -p "$chroot_dir$root"
  mount --bind "$root" "$chroot_dir$root"
  export I686_ROOT=$chroot_dir

  # A display of its own: /tmp and the network are private to the stage.
  in_chroot Xvfb :1 -screen 0 1024x768x24 -nolisten tcp >"$stage_log/xvfb.log" 2>&1 </dev/null &
  local i
  for i in $(seq 1 300); do
    [ -S "$chroot_dir/tmp/.X11-unix/X1" ] && break
    sleep 0.1
  done
  [ -S "$chroot_dir/tmp/.X11-unix/X1" ] || { say "Xvfb did not start: see $stage_log/xvfb.log"; return 1; }
  export DISPLAY=:1

  if [ $# -gt 0 ]; then
    use_prefix "${I686_ARCH:-win32}"
    [ "$arch" = win32 ] || export E2E_CONSUMER_PROBE64=$probe64
    run_in_prefix "$@"
    return
  fi
  local status=0
  use_prefix win32
  run_in_prefix || status=$?
  use_prefix win64
  export E2E_CONSUMER_PROBE64=$probe64
  run_in_prefix || status=$?
  return $status
}

case "${1:-}" in
  --inside-build) shift; inside_build "$@"; exit ;;
  --inside-run) shift; inside_run "$@"; exit ;;
esac

# --- On the host ---

if [ "$(id -u)" -ne 0 ]; then
  say "needs root: it makes a chroot, mounts in private namespaces and registers qemu-i386 with binfmt_misc"
  exit 1
fi
for tool in debootstrap unshare flock chroot dpkg-deb apt-get iconv; do
  command -v "$tool" >/dev/null || { say "missing $tool: run scripts/install-deps.sh"; exit 1; }
done
[ -f "$probe64" ] || { say "missing $probe64: build the windows-x64 preset first"; exit 1; }

mkdir -p "$cache" "$stage_log"
exec 9>"$cache/lock"
if ! flock -n 9; then
  say "waiting for another clone's 32-bit stage to finish"
  flock 9
fi

mounted_binfmt=
registered=
enabled_binfmt=
leave() {
  if [ -n "$registered" ] && [ -e "$binfmt/$entry" ]; then echo -1 >"$binfmt/$entry" || true; fi
  if [ -n "$registered" ]; then rm -f "$cache/binfmt-registered"; fi
  if [ -n "$enabled_binfmt" ]; then echo 0 >"$binfmt/status" || true; fi
  if [ -n "$mounted_binfmt" ]; then umount "$binfmt" || true; fi
}
trap leave EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# qemu-i386 of qemu 10, from bookworm-backports' qemu-user (a static build):
# bookworm's own 7.2 runs Wine correctly, but about a hundred times slower.
# Fetched with a private apt configuration and state; the host's stay as they are.
qemu_ok() { [ -x "$qemu" ] && "$qemu" --version 2>/dev/null | grep -Eq 'version ([1-9][0-9])\.'; }
if ! qemu_ok; then
  say "fetching qemu-i386 (qemu-user from $suite-backports)"
  apt_dir=$cache/apt
  rm -rf "$apt_dir"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/parts"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite-backports main" >"$apt_dir/sources.list"
  apt_options=(-o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/parts"
    -o Dir::Etc::Preferences="$apt_dir/parts/none" -o Dir::Etc::PreferencesParts="$apt_dir/parts"
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir" -o Dir::Cache::Archives="$apt_dir/archives"
    -o APT::Architectures::=amd64 -o APT::Sandbox::User=root -qq)
  apt-get "${apt_options[@]}" update >/dev/null
  (cd "$apt_dir" && apt-get "${apt_options[@]}" download "qemu-user/$suite-backports" >/dev/null)
  dpkg-deb -x "$apt_dir"/qemu-user_*.deb "$apt_dir/unpacked"
  cp "$apt_dir/unpacked/usr/bin/qemu-i386" "$qemu.new"
  mv "$qemu.new" "$qemu"
  rm -rf "$apt_dir"
  qemu_ok || { say "$qemu does not run"; exit 1; }
fi

# i386 ELF files, run by qemu-i386. The F flag opens the interpreter now, so
# that it is found from inside the chroot too.
if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt"
  mounted_binfmt=1
fi
if [ "$(cat "$binfmt/status")" != enabled ]; then
  echo 1 >"$binfmt/status"
  enabled_binfmt=1
fi
# An entry left by a run of this script that could not clean up is this
# run's to remove; any other is left as it was found.
if [ -e "$binfmt/$entry" ] && [ -e "$cache/binfmt-registered" ]; then
  registered=1
fi
if [ ! -e "$binfmt/$entry" ]; then
  touch "$cache/binfmt-registered"
  registered=1
  printf '%s' ":$entry:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\xfc\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:F" >"$binfmt/register"
fi

# The chroot: rebuilt when it is missing, made by another recipe, or broken
# (its 32-bit Wine does not start).
chroot_ok() {
  [ "$(cat "$chroot_dir/.i686-stage-recipe" 2>/dev/null)" = "$recipe" ] &&
    [ -x "$chroot_dir/usr/bin/Xvfb" ] &&
    unshare --mount --pid --fork --kill-child --mount-proc -- \
      sh -c 'mount -t proc proc "$1/proc" && chroot "$1" /usr/lib/wine/wine --version' sh "$chroot_dir" >/dev/null 2>&1
}
# Nothing may be mounted in a folder that is about to be deleted.
remove_tree() {
  if awk -v dir="$1" 'index($2, dir "/") == 1 || $2 == dir { found = 1 } END { exit !found }' /proc/self/mounts; then
    say "something is mounted under $1: not removing it"
    exit 1
  fi
  rm -rf --one-file-system "$1"
}
if ! chroot_ok; then
  start=$(date +%s)
  say "building the chroot in $chroot_dir (Debian $suite with the 32-bit Wine; about 3 minutes and 2 GB, once)"
  remove_tree "$chroot_dir.new"
  unshare --mount --pid --fork --kill-child --mount-proc -- "$self" --inside-build "$chroot_dir.new"
  echo "$recipe" >"$chroot_dir.new/.i686-stage-recipe"
  remove_tree "$chroot_dir"
  mv "$chroot_dir.new" "$chroot_dir"
  chroot_ok || { say "the new chroot's Wine does not start"; exit 1; }
  say "chroot built in $(seconds_since "$start") s"
fi

start=$(date +%s)
status=0
unshare --mount --pid --net --ipc --fork --kill-child --mount-proc -- "$self" --inside-run "$@" || status=$?
say "stage took $(seconds_since "$start") s"
exit $status
