#!/usr/bin/env bash
# Checks the shipped DLLs of a build folder: PE32 i386 (x86, the default) or PE32+ x86-64
# (x64), exactly one export (TKOpenPrinterInf), system imports only, a version resource.
# check-shipped.sh BUILD_DIR [x86|x64]
set -euo pipefail
bin="$1/bin"
case "${2:-x86}" in
  x86) objdump=i686-w64-mingw32-objdump format=pei-i386 kind="PE32 i386" ;;
  x64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 kind="PE32+ x86-64" ;;
  *) echo "usage: check-shipped.sh BUILD_DIR [x86|x64]" >&2; exit 2 ;;
esac
system_dlls='^(kernel32|user32|gdi32|advapi32|msvcrt|comdlg32|shell32|ole32)\.dll$|^winspool\.drv$'
status=0
fail() { echo "FAIL $1: $2"; status=1; }
for dll in optinfo_en.dll optinfo_ja.dll; do
  f="$bin/$dll"
  [ -f "$f" ] || { fail "$dll" "missing"; continue; }
  headers=$($objdump -p "$f" 2>&1) || { fail "$dll" "not a PE image"; continue; }
  grep -q "file format $format" <<<"$headers" || fail "$dll" "not a $kind image"
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | grep -E '^\s+\[' | awk '{print $NF}')
  [ "$exports" = TKOpenPrinterInf ] || fail "$dll" "exports: $(echo $exports)"
  while read -r name; do
    grep -qiE "$system_dlls" <<<"$name" || fail "$dll" "imports $name"
  done < <(grep 'DLL Name:' <<<"$headers" | awk '{print $3}')
  $objdump -h "$f" | grep -q '\.rsrc' || fail "$dll" "no resources"
  strings -el "$f" | grep -q 'FileVersion' || fail "$dll" "no VERSIONINFO"
  [ $status -eq 0 ] && echo "ok $dll: $kind, exports TKOpenPrinterInf, imports $(grep 'DLL Name:' <<<"$headers" | awk '{print $3}' | tr '\n' ' ')"
done
exit $status
