#!/usr/bin/env bash
# The measurements of docs/performance.md: bench.sh BUILD_DIR
#   the benchmark program on the shipped DLLs under Wine (query call and print job against
#   their bare calls), then the size of each shipped DLL of BUILD_DIR/bin, stripped (a copy;
#   the file stays).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
shipped=$(cd "$1" && pwd)

"$here/scripts/testbed.sh" start "$shipped"
trap '"$here/scripts/testbed.sh" stop "$shipped"' EXIT
OPTINFO_BUILD_DIR=$shipped LC_ALL=C.UTF-8 "$here/scripts/wine-run.sh" "$shipped/bin/optinfo_bench_nt40.exe"

limit=102400 # 100 KiB
scratch=$(mktemp -d)
for dll in "$shipped"/bin/optinfo_*.dll; do
  cp "$dll" "$scratch/"
  stripped="$scratch/$(basename "$dll")"
  i686-w64-mingw32-strip "$stripped"
  size=$(stat -c %s "$stripped")
  verdict=met; [ "$size" -le "$limit" ] || verdict=missed
  printf '%-16s %7d bytes as built, %7d bytes stripped (%d KiB); at most 100 KiB: %s\n' \
    "$(basename "$dll")" "$(stat -c %s "$dll")" "$size" $(((size + 1023) / 1024)) "$verdict"
done
rm -rf "$scratch"
