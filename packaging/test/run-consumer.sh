#!/usr/bin/env bash
# Runs the consumer in the Wine test bed of a build folder of the same architecture, with that
# folder's virtual printer beside it and as Windows NT 4.0, for which the component asks the
# printer: run-consumer.sh BUILD_DIR PROGRAM.exe
#   Exits 77 (skipped) when Wine cannot run that architecture's programs on this machine.
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
export OPTINFO_BUILD_DIR
OPTINFO_BUILD_DIR=$(cd "$1" && pwd)
program=$2
unset ZRAPI_SCENARIO ZRAPI_LOG

if ! probe=$("$scripts/wine-run.sh" cmd /c exit 0 2>&1); then
  echo "SKIP: no Wine here runs $(cat "$OPTINFO_BUILD_DIR/wine-arch.txt") programs: $(head -n 1 <<<"$probe")"
  exit 77
fi
cp "$OPTINFO_BUILD_DIR/bin/ZRAPI.DLL" "$(dirname "$program")/"
"$scripts/wine-run.sh" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$program")" \
  /v Version /d nt40 /f >/dev/null
"$scripts/wine-run.sh" "$program"
