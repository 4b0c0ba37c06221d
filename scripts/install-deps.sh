#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages. Idempotent: does
# nothing when every tool is already there.
set -euo pipefail

packages=(
  cmake make git g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64
  binutils-mingw-w64-x86-64 googletest
  wine wine32 wine64 xvfb xauth x11-apps imagemagick fonts-ipafont-gothic
  clang libclang-rt-14-dev clang-format llvm lld
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# wine32 is an i386 package: dpkg-query names it with its architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing+=(wine32)
fi
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

echo "installing: ${missing[*]}"
"${sudo_cmd[@]}" dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
  "${packages[@]/wine32/wine32:i386}" >/dev/null
