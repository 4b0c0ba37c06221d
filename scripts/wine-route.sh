#!/usr/bin/env bash
# Prints how Wine runs the programs of a build folder: wine-route.sh [BUILD_DIR]
#   wine64  x86_64 programs, this machine's 64-bit Wine
#   wine32  i686 programs, this machine's 32-bit Wine (needs a kernel that executes
#           32-bit Linux programs)
#   wow64   i686 programs, Wine 10's WoW64 mode in a Debian 13 root (scripts/wow64.sh)
# For i686 (and without BUILD_DIR) the route is WINE_ROUTE when set, else wine32 where
# 32-bit Wine runs, else wow64.
set -euo pipefail
if [ $# -gt 0 ] && [ "$(cat "$1/wine-arch.txt" 2>/dev/null)" = x86_64 ]; then
  echo wine64
  exit 0
fi
case "${WINE_ROUTE:-}" in
  wine32 | wow64) echo "$WINE_ROUTE" ;;
  '') if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo wine32; else echo wow64; fi ;;
  *) echo "WINE_ROUTE must be wine32 or wow64, not '$WINE_ROUTE'" >&2; exit 2 ;;
esac
