#!/usr/bin/env bash
# Renders the dialog of each language, in the stored state (options read from the virtual
# printer) and in the manual state after a settings-sheet request, under Xvfb to
# docs/dialog-<en|ja>-<stored|manual>.png: screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
top=${1:-build}
[ -f "$top/CMakeCache.txt" ] || make -C "$root" --no-print-directory configure BUILD_DIR="$top"
build=$(cd "$top" && pwd)
cmake --build "$build" --target dialog_screenshot route_probe -- --no-print-directory >/dev/null

"$here/testbed.sh" start "$build"
trap '"$here/testbed.sh" stop "$build"' EXIT
export OPTINFO_BUILD_DIR=$build
. "$here/wine-env.sh"
unset ZRAPI_SCENARIO ZRAPI_LOG

# Fonts of this machine for the dialog fonts that only Windows has (a key that the 32- and
# 64-bit registry views share).
substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
"${WINE[@]}" reg add "$substitutes" /v "ＭＳ Ｐゴシック" /d "IPAPGothic" /f >/dev/null 2>&1
"${WINE[@]}" reg add "$substitutes" /v "MS UI Gothic" /d "IPAPGothic" /f >/dev/null 2>&1
"${WINE[@]}" reg add "$substitutes" /v "MS Sans Serif" /d "DejaVu Sans Condensed" /f >/dev/null 2>&1
# The caption buttons' glyphs come from Wine's Marlett (package fonts-wine), in a folder that
# Debian's Wine does not search by itself.
marlett=/usr/share/wine/fonts/marlett.ttf
[ -f "$marlett" ] || { echo "screenshots: $marlett is missing (package fonts-wine)" >&2; exit 1; }
"${WINE[@]}" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v "Marlett (TrueType)" \
  /d "Z:${marlett//\//\\}" /f >/dev/null 2>&1

scratch="$build/scratch"
mkdir -p "$scratch" "$root/docs"
for lang in en ja; do
  locale=C.UTF-8
  [ "$lang" = ja ] && locale=ja_JP.UTF-8
  for state in stored manual; do
    ready="$scratch/screenshot.ready"
    release="$scratch/screenshot.release"
    rm -f "$ready" "$release"
    LC_ALL=$locale "${WINE[@]}" "$build/bin/dialog_screenshot_nt40.exe" "$lang" "$state" "Z:$ready" "Z:$release" &
    pid=$!
    for _ in $(seq 300); do [ -s "$ready" ] && break; sleep 0.1; done
    if [ ! -s "$ready" ]; then
      echo "screenshots: the $lang dialog did not open" >&2
      kill "$pid" 2>/dev/null || true
      exit 1
    fi
    sleep 0.3 # the last paint reaches the X server
    out="$root/docs/dialog-$lang-$state.png"
    xwd -root -silent -display "$DISPLAY" | convert xwd:- -crop "$(cat "$ready")" +repage "$out"
    touch "$release"
    wait "$pid" || { echo "screenshots: the $lang $state run failed" >&2; exit 1; }
    echo "wrote ${out#"$root"/}"
  done
done
