#!/usr/bin/env bash
# Runs every test of a built tree in its Wine test bed: run-tests.sh BUILD_DIR [ctest args]
set -euo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
"$here/testbed.sh" start "$build"
trap '"$here/testbed.sh" stop "$build"' EXIT
ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 "$@"
