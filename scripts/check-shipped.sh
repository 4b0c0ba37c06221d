#!/usr/bin/env bash
# Checks the shipped DLLs of a build folder, PE32 i386 (x86, the default) or PE32+ x86-64
# (x64): exactly one export (TKOpenPrinterInf), imports only from the allowlist
# scripts/shipped-imports.txt, no thread-local storage directory (Windows 95 and Win32s
# refuse to load a DLL that has one at run time), a version resource, at most 100 KiB
# stripped, and the same code and data in both: they differ in their resources only.
# check-shipped.sh BUILD_DIR [x86|x64]
set -euo pipefail
bin="$1/bin"
case "${2:-x86}" in
  x86) tools=i686-w64-mingw32 format=pei-i386 kind="PE32 i386" ;;
  x64) tools=x86_64-w64-mingw32 format=pei-x86-64 kind="PE32+ x86-64" ;;
  *) echo "usage: check-shipped.sh BUILD_DIR [x86|x64]" >&2; exit 2 ;;
esac
allowlist="$(dirname "$0")/shipped-imports.txt"
max_stripped=102400
failures=0
fail() { echo "FAIL $1: $2"; failures=$((failures + 1)); }
allowed=$(grep -v '^#' "$allowlist" | awk '{print tolower($1) " " $2}')
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for dll in optinfo_en.dll optinfo_ja.dll; do
  f="$bin/$dll"
  failed_before=$failures
  [ -f "$f" ] || { fail "$dll" "missing"; continue; }
  headers=$($tools-objdump -p "$f" 2>&1) || { fail "$dll" "not a PE image"; continue; }
  grep -q "file format $format" <<<"$headers" || fail "$dll" "not a $kind image"
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | grep -E '^\s+\[' | awk '{print $NF}')
  [ "$exports" = TKOpenPrinterInf ] || fail "$dll" "exports: $(echo $exports)"
  # "DLL Name: X" starts each DLL's list; its functions follow as "<hint-table address> <hint> <name>".
  imports=$(sed -n '/^The Import Tables/,/^The Export Tables/p' <<<"$headers" |
    awk '/DLL Name:/ {dll = tolower($3); next} dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print dll " " $3}')
  [ -n "$imports" ] || fail "$dll" "no imports found"
  while read -r entry; do
    grep -qxF "$entry" <<<"$allowed" || fail "$dll" "imports $entry"
  done <<<"$imports"
  grep -qE 'Entry 9 0+ 0+ Thread Storage Directory' <<<"$headers" || fail "$dll" "has a thread-local storage directory"
  $tools-objdump -h "$f" | grep -q '\.rsrc' || fail "$dll" "no resources"
  strings -el "$f" | grep -q 'FileVersion' || fail "$dll" "no VERSIONINFO"
  $tools-strip -o "$scratch/$dll" "$f"
  size=$(stat -c %s "$scratch/$dll")
  [ "$size" -le $max_stripped ] || fail "$dll" "$size bytes stripped, more than $max_stripped"
  [ $failures -eq "$failed_before" ] &&
    echo "ok $dll: $kind, exports TKOpenPrinterInf, $(wc -l <<<"$imports") allowed imports, no TLS directory, $size bytes stripped"
done

# One compile of the code linked with two resource sets: whatever code or data tells the
# languages apart belongs in the resources.
same_sections() {
  local section
  for section in .text .rdata .data; do
    for dll in optinfo_en.dll optinfo_ja.dll; do
      $tools-objcopy -O binary -j "$section" "$bin/$dll" "$scratch/$dll$section"
      [ -s "$scratch/$dll$section" ] || { fail "$dll" "no $section section"; return; }
    done
    cmp -s "$scratch/optinfo_en.dll$section" "$scratch/optinfo_ja.dll$section" ||
      fail optinfo_ja.dll "$section differs from optinfo_en.dll's"
  done
}
if [ -f "$bin/optinfo_en.dll" ] && [ -f "$bin/optinfo_ja.dll" ]; then
  failed_before=$failures
  same_sections
  [ $failures -eq "$failed_before" ] && echo "ok optinfo_en.dll, optinfo_ja.dll: the same .text, .rdata and .data"
fi
[ $failures -eq 0 ]
