#!/usr/bin/env bash
# Runs every test of a built tree in its Wine test bed: run-tests.sh BUILD_DIR [ctest args]
set -euo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
# On route vm the whole run, test bed included, happens inside the emulated PC.
[ "$("$here/wine-route.sh" "$build")" != vm ] || exec "$here/vm.sh" run "$build" "$0" "$build" "$@"
"$here/testbed.sh" start "$build"
trap '"$here/testbed.sh" stop "$build"' EXIT
# Whole outputs in the results (CTest keeps only 1 KB of a passed test's): make test's summary
# reads each program's closing lines, and the retries of the tests' process runner, there.
ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 \
  --test-output-size-passed 4194304 --test-output-size-failed 4194304 "$@"
