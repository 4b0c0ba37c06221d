#!/usr/bin/env bash
# make test, after the build: every suite of both build folders, then the counts.
#   test-all.sh BUILD_DIR FUZZ_SECONDS
# The i686 suite runs through the folder's Wine route (scripts/wine-route.sh); on route none
# only its tests that run no Windows code run (CTest label no-wine: the shipped files, the
# 386 check, the route choice). Then the x86_64 suite, the release bundle's tests and the
# fuzz targets. Every suite runs even when one before it failed. The last two lines: the
# tests of every suite summed, skipped apart from passed (each fuzz target counts as one
# test), and the suites, with what did not run and why, and the child programs whose start
# was retried, and the sizes that a slow route ran smaller. Exits 1 when any test or suite
# failed.
set -uo pipefail
build=$1
fuzz_seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
x64=$(sed -n 's/^OPTINFO_X64_BUILD_DIR:PATH=//p' "$build/CMakeCache.txt")
results=$(cd "$build" && pwd)/test-results
rm -rf "$results"
mkdir -p "$results"
passed=0 failed=0 skipped=0 retried=0 scaled=0 failed_suites= passed_suites= notrun=

if [ -n "${OPTINFO_FAKE_PROBE:-}" ]; then
  echo "test: OPTINFO_FAKE_PROBE is set; it serves the route test alone and would stand in for this machine: unset it" >&2
  exit 2
fi
# Wine hands the environment to the test programs: a GoogleTest filter or shard left set
# would make them run a part of their cases, or none, and pass.
for variable in $(compgen -e | grep '^GTEST_'); do
  echo "test: $variable is set; make test runs every case, so it is cleared for the run"
  unset "$variable"
done

# count_ctest JUNIT_FILE: adds a CTest run's tests. A test that did not run for any reason
# but its own skip (a missing program, a failed fixture) counts as failed, and so does a
# suite that left no results; a test program that passed no case (all skipped) as skipped.
# Adds the child starts that the tests' process runner retried, and the sizes run smaller.
count_ctest() {
  if [ ! -f "$1" ]; then
    echo "test: no results in ${1#"$build"/}: the suite counts as one failed test" >&2
    failed=$((failed + 1))
    return 0
  fi
  local counts
  counts=$(awk '/<testcase / { if (open) n[status]++; status = "failed"; open = 1
                               if ($0 ~ /status="run"/) status = "passed"
                               else if ($0 ~ /status="notrun"/) status = "notrun" }
                /<skipped message="(SKIP_|Disabled)/ { if (status == "notrun") status = "skipped" }
                /\[  PASSED  \] 0 tests\./ { if (status == "passed") status = "skipped" }
                /process runner: started again: / { retried++ }
                /\(OPTINFO_SCALE_DIVISOR=/ { scaled++ }
                END { if (open) n[status]++
                      print n["passed"] + 0, n["failed"] + n["notrun"], n["skipped"] + 0, retried + 0, scaled + 0 }' "$1")
  read -r p f s r c <<<"$counts"
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s)) retried=$((retried + r))
  scaled=$((scaled + c))
}

# suite NAME STATUS: records a suite's outcome.
suite() {
  if [ "$2" -eq 0 ]; then passed_suites+=" $1"; else failed_suites+=" $1"; fi
}

status=0
route=$("$here/wine-route.sh" "$build") || status=$?
if [ $status -ne 0 ]; then
  echo "test: the Wine route of $build could not be chosen (above): the i686 suite counts as one failed test" >&2
  suite "i686(route)" $status
  failed=$((failed + 1))
elif [ "$route" = none ]; then
  why="this machine executes no 32-bit x86 code: $("$here/wine-route.sh" --evidence "$build")"
  echo "Wine route for $build: none ($why)"
  notrun="; NOT RUN: i686 suite, i686 bundle consumer ($why)"
  ctest --test-dir "$build" --output-on-failure --no-tests=error -L '^no-wine$' \
    --output-junit "$results/i686.xml" || status=$?
  suite "i686(no-wine)" $status
elif [ "$route" = vm ]; then
  # The tests that run no Windows code read the shipped files with this machine's toolchain,
  # which the emulated PC lacks: they run here, the rest in the PC.
  ctest --test-dir "$build" --output-on-failure --no-tests=error -L '^no-wine$' \
    --output-junit "$results/i686-no-wine.xml" || status=$?
  count_ctest "$results/i686-no-wine.xml"
  "$here/run-tests.sh" "$build" -LE '^no-wine$' --output-junit "$results/i686.xml" || status=$?
  suite "i686(vm)" $status
else
  "$here/run-tests.sh" "$build" --output-junit "$results/i686.xml" || status=$?
  suite "i686($route)" $status
fi
[ -z "$route" ] || count_ctest "$results/i686.xml"

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

# A retried start is Wine's, not the program's, and a smaller size is the route's: both are
# shown, never hidden.
remarks=
[ $retried -eq 0 ] || remarks="; RETRIED: $retried child start(s) that never began (\"process runner: started again\" in $build/test-results)"
[ $scaled -eq 0 ] || remarks+="; SMALLER: $scaled size(s) of the sweep and the soak on a slow route (\"OPTINFO_SCALE_DIVISOR\" in $build/test-results)"
echo "$passed passed, $failed failed, $skipped skipped"
if [ -n "$failed_suites" ] || [ $failed -gt 0 ]; then
  echo "test: failed:${failed_suites:- (tests above)}; passed:${passed_suites:- none}$notrun$remarks" >&2
  exit 1
fi
echo "test: passed:$passed_suites$notrun$remarks"
