#!/usr/bin/env bash
# The main job: asks the virtual printer (default scenario) for its options through the
# shipped optinfo_en.dll, as Windows NT 4.0, and prints the record: run-main.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
"$here/testbed.sh" start "$build" >&2
trap '"$here/testbed.sh" stop "$build"' EXIT
OPTINFO_BUILD_DIR=$build "$here/wine-run.sh" "$build/bin/optinfo-host.exe" \
  --lang en --printer RX-9100W --model RX-9100W --query
