#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages: install-deps.sh [PACKAGE...]
# With packages named, only those (scripts/wow64.sh asks for debootstrap when it makes its
# root). Idempotent: does nothing when every one is already there.
set -euo pipefail

packages=(
  cmake make git g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64
  binutils-mingw-w64-x86-64 googletest
  wine wine32 wine64 fonts-wine xvfb xauth x11-apps imagemagick fonts-ipafont-gothic
  clang libclang-rt-14-dev clang-format llvm lld python3-minimal
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
updated=

missing_of() {
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

install() {
  echo "installing: $*"
  [ -n "$updated" ] || "${sudo_cmd[@]}" apt-get update -qq
  updated=1
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

if [ $# -gt 0 ]; then
  mapfile -t missing < <(missing_of "$@")
  [ ${#missing[@]} -eq 0 ] || install "${missing[@]}"
  exit 0
fi

mapfile -t missing < <(missing_of "${packages[@]}")
# wine32 is an i386 package: dpkg-query names it with its architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing+=(wine32)
fi
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  install "${packages[@]/wine32/wine32:i386}"
fi
