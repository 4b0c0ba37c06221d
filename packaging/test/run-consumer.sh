#!/usr/bin/env bash
# Runs the consumer in the Wine test bed of a build folder of the same architecture, with that
# folder's virtual printer beside it and as Windows NT 4.0, for which the component asks the
# printer: run-consumer.sh BUILD_DIR PROGRAM.exe
#   Its last line is the consumer's exit status. On route none it says SKIP, which the test reports as skipped: nothing on this machine
#   runs 32-bit x86 code.
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
export OPTINFO_BUILD_DIR
OPTINFO_BUILD_DIR=$(cd "$1" && pwd)
program=$2
unset ZRAPI_SCENARIO ZRAPI_LOG

route=$("$scripts/wine-route.sh" "$OPTINFO_BUILD_DIR")
# On route vm the consumer runs inside the emulated PC.
[ "$route" != vm ] || exec "$scripts/vm.sh" run "$OPTINFO_BUILD_DIR" "$0" "$@"
if [ "$route" = none ]; then
  echo "SKIP: this machine executes no 32-bit x86 code: $("$scripts/wine-route.sh" --evidence "$OPTINFO_BUILD_DIR")"
  exit 0
fi
cp "$OPTINFO_BUILD_DIR/bin/ZRAPI.DLL" "$(dirname "$program")/"
"$scripts/wine-run.sh" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$program")" \
  /v Version /d nt40 /f >/dev/null
# The test passes on the printed record only when the exit status follows it: a crash at
# unload or exit fails it too.
status=0
"$scripts/wine-run.sh" "$program" || status=$?
echo "consumer exit status $status"
exit $status
