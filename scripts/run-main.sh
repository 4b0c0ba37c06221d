#!/usr/bin/env bash
# The main job: asks the virtual printer (default scenario) for its options through the
# shipped optinfo_en.dll, as Windows NT 4.0, and prints the record: run-main.sh BUILD_DIR
# Where nothing runs 32-bit x86 code, the x86_64 build's (and the first line says so).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$("$here/runnable-build.sh" run "$1")
# On route vm the job runs inside the emulated PC.
[ "$("$here/wine-route.sh" "$build")" != vm ] || exec "$here/vm.sh" run "$build" "$0" "$build"
"$here/testbed.sh" start "$build" >&2
trap '"$here/testbed.sh" stop "$build"' EXIT
OPTINFO_BUILD_DIR=$build "$here/wine-run.sh" "$build/bin/optinfo-host.exe" \
  --lang en --printer RX-9100W --model RX-9100W --query
