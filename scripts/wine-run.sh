#!/usr/bin/env bash
# Runs a Windows program in the project's Wine test bed: wine-run.sh PROGRAM.exe [ARGS...]
# The environment (LC_ALL, OPTINFO_*, ZRAPI_*) reaches the program on every route.
set -euo pipefail
if [ -z "${OPTINFO_BUILD_DIR:-}" ]; then
  # The build folder is the nearest folder above the program that holds CMakeCache.txt.
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  export OPTINFO_BUILD_DIR=$dir
fi
. "$(dirname "$0")/wine-env.sh"
exec "${WINE[@]}" "$@"
