#!/usr/bin/env bash
# make test, after the build: every suite of both build folders, then the counts.
#   test-all.sh BUILD_DIR FUZZ_SECONDS
# The i686 suite runs through the folder's Wine route (scripts/wine-route.sh); on route none
# only its tests that run no Windows code run (CTest label no-wine: the shipped files, the
# 386 check, the route choice). Then the x86_64 suite, the release bundle's tests and the
# fuzz targets. Every suite runs even when one before it failed. The last two lines: the
# tests of every suite summed, skipped apart from passed (each fuzz target counts as one
# test), and the suites, with what did not run and why. Exits 1 when any test or suite
# failed, 2 when the route could not be chosen.
set -uo pipefail
build=$1
fuzz_seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
x64=$(sed -n 's/^OPTINFO_X64_BUILD_DIR:PATH=//p' "$build/CMakeCache.txt")
results=$(cd "$build" && pwd)/test-results
rm -rf "$results"
mkdir -p "$results"
passed=0 failed=0 skipped=0 failed_suites= passed_suites= notrun=

if [ -n "${OPTINFO_FAKE_PROBE:-}" ]; then
  echo "test: OPTINFO_FAKE_PROBE is set; it serves the route test alone and would stand in for this machine: unset it" >&2
  exit 2
fi

# count_ctest JUNIT_FILE: adds a CTest run's tests. A test that did not run for any reason
# but its own skip (a missing program, a failed fixture) counts as failed.
count_ctest() {
  [ -f "$1" ] || return 0
  local counts
  counts=$(awk '/<testcase / { if (open) n[status]++; status = "failed"; open = 1
                               if ($0 ~ /status="run"/) status = "passed"
                               else if ($0 ~ /status="notrun"/) status = "notrun" }
                /<skipped message="(SKIP_|Disabled)/ { if (status == "notrun") status = "skipped" }
                END { if (open) n[status]++
                      print n["passed"] + 0, n["failed"] + n["notrun"], n["skipped"] + 0 }' "$1")
  read -r p f s <<<"$counts"
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
}

# suite NAME STATUS: records a suite's outcome.
suite() {
  if [ "$2" -eq 0 ]; then passed_suites+=" $1"; else failed_suites+=" $1"; fi
}

route=$("$here/wine-route.sh" "$build")
route_status=$?
if [ $route_status -ne 0 ]; then
  echo "test: the Wine route of $build could not be chosen (above); nothing was tested" >&2
  echo "0 passed, 0 failed, 0 skipped"
  echo "test: failed: i686(route)" >&2
  exit 2
fi

status=0
if [ "$route" = none ]; then
  why="this machine executes no 32-bit x86 code: $("$here/wine-route.sh" --evidence "$build")"
  echo "Wine route for $build: none ($why)"
  notrun="; NOT RUN: i686 suite, i686 bundle consumer ($why)"
  ctest --test-dir "$build" --output-on-failure --no-tests=error -L '^no-wine$' \
    --output-junit "$results/i686.xml" || status=$?
  suite "i686(no-wine)" $status
else
  "$here/run-tests.sh" "$build" --output-junit "$results/i686.xml" || status=$?
  suite "i686($route)" $status
fi
count_ctest "$results/i686.xml"

status=0
"$here/run-tests.sh" "$x64" --output-junit "$results/x86_64.xml" || status=$?
suite "x86_64(wine64)" $status
count_ctest "$results/x86_64.xml"

status=0
make --no-print-directory dist-test BUILD_DIR="$build" CTEST_ARGS="--output-junit $results/bundle.xml" || status=$?
suite bundle $status
count_ctest "$results/bundle.xml"

status=0
"$here/fuzz.sh" "$fuzz_seconds" "$build" 2>&1 | tee "$results/fuzz.log" || status=$?
suite fuzz $status
passed=$((passed + $(grep -c '^fuzz [a-z_]*: clean' "$results/fuzz.log")))
failed=$((failed + $(grep -c '^fuzz [a-z_]*: FAILED' "$results/fuzz.log")))

echo "$passed passed, $failed failed, $skipped skipped"
if [ -n "$failed_suites" ] || [ $failed -gt 0 ]; then
  echo "test: failed:${failed_suites:- (tests above)}; passed:${passed_suites:- none}$notrun" >&2
  exit 1
fi
echo "test: passed:$passed_suites$notrun"
