#!/usr/bin/env bash
# The measurements of docs/performance.md: bench.sh BUILD_DIR
#   the benchmark program on the shipped DLLs under Wine (query call and print job against
#   their bare calls; where nothing runs 32-bit x86 code, on the x86_64 build's, and the
#   first line says so), then the size of each shipped DLL of BUILD_DIR/bin, stripped (a
#   copy; the file stays).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
shipped=$(cd "$1" && pwd)
runs=$("$here/scripts/runnable-build.sh" bench "$shipped")
if [ "$runs" != "$shipped" ]; then
  cmake --build "$runs" -j "${JOBS:-2}" --target optinfo_en optinfo_ja optinfo_bench -- --no-print-directory >/dev/null
fi

"$here/scripts/testbed.sh" start "$runs"
trap '"$here/scripts/testbed.sh" stop "$runs"' EXIT
OPTINFO_BUILD_DIR=$runs LC_ALL=C.UTF-8 "$here/scripts/wine-run.sh" "$runs/bin/optinfo_bench_nt40.exe"

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
