#!/usr/bin/env bash
# Runs a Windows program in the project's Wine test bed: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
if [ -z "${OPTINFO_BUILD_DIR:-}" ]; then
  # The build folder is the nearest folder above the program that holds CMakeCache.txt.
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  OPTINFO_BUILD_DIR=$dir
fi
. "$(dirname "$0")/wine-env.sh"
exec "$WINE" "$@"
