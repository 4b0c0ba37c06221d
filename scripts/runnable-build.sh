#!/usr/bin/env bash
# Prints the build folder whose programs run on this machine: runnable-build.sh WHO BUILD_DIR
# That is BUILD_DIR, except on route none (scripts/wine-route.sh), and for the benchmark on
# route vm (an emulated PC's timings say nothing of a real one), where it is BUILD_DIR's
# x86_64 build of the same sources; WHO then says so on stderr.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
who=$1
build=$(cd "$2" && pwd)
route=$("$here/wine-route.sh" "$build")
case "$who:$route" in
  *:none) why="this machine executes no 32-bit x86 code ($("$here/wine-route.sh" --evidence "$build"))" ;;
  bench:vm) why="its i686 programs run only in an emulated PC, whose timings say nothing of a real one" ;;
  *)
    echo "$build"
    exit 0
    ;;
esac
x64=$(sed -n 's/^OPTINFO_X64_BUILD_DIR:PATH=//p' "$build/CMakeCache.txt")
echo "$who: the x86_64 build in ${x64#"$(dirname "$here")"/} runs instead of the i686 one: $why" >&2
echo "$x64"
