#!/usr/bin/env bash
# Wine's WoW64 mode, for the i686 programs on machines whose kernel cannot execute 32-bit
# Linux programs (which 32-bit Wine needs): a Debian 13 root in the build folder whose
# 64-bit Wine 10 runs 32-bit Windows code in 64-bit processes.
#   wow64.sh setup BUILD_DIR                   makes BUILD_DIR/wow64-root once, from
#                                              OPTINFO_DEBIAN_MIRROR or deb.debian.org
#   wow64.sh run BUILD_DIR PROGRAM [ARGS...]   runs PROGRAM inside it
# Every run gets a private mount namespace: the source tree and the build folder are
# bound at their own paths inside the root (so CTest's paths hold there too), and no
# mount outlives the process that needs it, so nothing outside can delete through one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
action=$1
build=$(cd "$2" && pwd)
shift 2
root="$build/wow64-root"
stamp="$root/.optinfo-ready"
mirror=${OPTINFO_DEBIAN_MIRROR:-http://deb.debian.org/debian}

# Mount points under a folder, as this mount namespace sees them.
mounts_under() {
  awk -v dir="$1/" 'index($5 "/", dir) == 1 { print $5 }' /proc/self/mountinfo
}

# Becomes a command inside the root with the host's /dev, /proc, /sys, X sockets and DNS,
# and the source tree and build folder at their own paths; the working folder is kept.
inside() {
  local ns=(--mount --propagation private)
  # Without root, a user namespace gives the mount and chroot rights; the caller's files
  # keep their owner.
  [ "$(id -u)" -eq 0 ] || ns=(--user --map-root-user "${ns[@]}")
  exec unshare "${ns[@]}" -- /bin/sh -ec '
    root=$1 repo=$2 build=$3 cwd=$4
    shift 4
    for d in dev proc sys; do mount --rbind "/$d" "$root/$d"; done
    for d in "$repo" "$build"; do mkdir -p "$root$d" && mount --bind "$d" "$root$d"; done
    if [ -d /tmp/.X11-unix ]; then
      mkdir -p "$root/tmp/.X11-unix" && mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    fi
    [ ! -f /etc/resolv.conf ] || mount --bind /etc/resolv.conf "$root/etc/resolv.conf"
    exec chroot "$root" /bin/sh -c "cd \"\$0\" 2>/dev/null || cd /; exec \"\$@\"" "$cwd" "$@"
  ' sh "$root" "$repo" "$build" "$PWD" "$@"
}

setup() {
  [ ! -f "$stamp" ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" setup "$build"
  fi
  if [ -e "$root" ]; then
    # A set-up that did not finish: start again, but never through a mount.
    if [ -n "$(mounts_under "$root")" ]; then
      echo "wow64: something is mounted under $root; unmount it first" >&2
      exit 1
    fi
    rm -rf --one-file-system "$root"
  fi
  "$here/install-deps.sh" debootstrap
  local log="$build/wow64-setup.log" start=$SECONDS
  echo "wow64: making the Debian 13 root with Wine 10 in $root (once; a few minutes, about 2 GB)"
  # debootstrap mounts /proc and /sys in the root while it runs: in a namespace of its own
  # those mounts end with it, even when it is interrupted.
  if ! unshare --mount --propagation private -- debootstrap --variant=minbase \
      --include=wine64,fonts-wine,fonts-ipafont-gothic trixie "$root" "$mirror" >"$log" 2>&1; then
    echo "wow64: debootstrap failed, see $log" >&2
    tail -n 5 "$log" >&2
    exit 1
  fi
  # The 32-bit Windows side of the same Wine version: taken from the i386 package, which is
  # downloaded and unpacked, not installed (the root stays a pure amd64 system).
  if ! (inside /bin/sh -ec '
      version=$(dpkg-query -W -f="\${Version}" libwine)
      apt="apt-get -q -o APT::Architectures=amd64,i386 -o APT::Sandbox::User=root"
      $apt update
      rm -rf /tmp/libwine-i386 && mkdir /tmp/libwine-i386 && cd /tmp/libwine-i386
      $apt download "libwine:i386=$version"
      dpkg-deb -x libwine_*_i386.deb unpacked
      cp -a unpacked/usr/lib/i386-linux-gnu/wine/i386-windows/. /usr/lib/x86_64-linux-gnu/wine/i386-windows/
      cd / && rm -rf /tmp/libwine-i386
      apt-get clean
      [ -f /usr/lib/x86_64-linux-gnu/wine/i386-windows/kernel32.dll ]
      echo "Wine $version of Debian 13"') >>"$log" 2>&1; then
    echo "wow64: adding the 32-bit Windows DLLs failed, see $log" >&2
    tail -n 5 "$log" >&2
    exit 1
  fi
  tail -n 1 "$log" > "$stamp"
  echo "wow64: root ready in $((SECONDS - start)) s: $(cat "$stamp")"
}

case "$action" in
  setup) setup ;;
  run)
    [ -f "$stamp" ] || { echo "wow64: no root in $build (wow64.sh setup makes it)" >&2; exit 1; }
    inside "$@"
    ;;
  *) echo "usage: wow64.sh setup|run BUILD_DIR [PROGRAM ARGS...]" >&2; exit 2 ;;
esac
