#!/usr/bin/env bash
# Builds the fuzz targets of the parsers of printer data natively with clang and runs each
# for SECONDS: fuzz.sh SECONDS [BUILD_DIR] [TARGET...]
#   Targets: device_id, option_fields, misc (all when none is named). The build, the
#   corpus each run grows and any crash land in BUILD_DIR/fuzz (BUILD_DIR defaults to
#   build); the seeds in fuzz/corpus/<target> are read, never written.
set -euo pipefail
seconds=$1
out=${2:-build}/fuzz
shift $(($# < 2 ? $# : 2))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(device_id option_fields misc)
root=$(cd "$(dirname "$0")/.." && pwd)

cmake -S "$root/fuzz" -B "$out" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$out" -j "${JOBS:-2}" -- --no-print-directory >/dev/null

# Device IDs are fuzzed up to 64 KiB; status replies and list-box texts stay small.
max_len() { if [ "$1" = device_id ]; then echo 65536; else echo 4096; fi; }

failed=0
for target in "${targets[@]}"; do
  work="$out/corpus/$target"
  log="$out/$target.log"
  mkdir -p "$work" "$out/crashes"
  if "$out/${target}_fuzzer" -max_total_time="$seconds" -max_len="$(max_len "$target")" \
      -dict="$root/fuzz/dict/$target.dict" -artifact_prefix="$out/crashes/$target-" \
      -print_final_stats=1 "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: clean, $runs runs in ${seconds} s"
  else
    echo "fuzz $target: FAILED, see $log; the input is in $out/crashes" >&2
    grep -E '^(==[0-9]+==ERROR|property broken|SUMMARY)' "$log" >&2 || tail -n 30 "$log" >&2
    failed=1
  fi
done
exit $failed
