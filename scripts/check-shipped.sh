#!/usr/bin/env bash
# Checks the shipped DLLs of a build folder, PE32 i386 (x86, the default) or PE32+ x86-64
# (x64): exactly one export (TKOpenPrinterInf), imports only from the allowlist
# scripts/shipped-imports.txt, no thread-local storage directory (Windows 95 and Win32s
# refuse to load a DLL that has one at run time), a version resource, stripped no section
# but those listed below and at most 100 KiB, and the same code and data in both: they
# differ in their resources only. The x86 DLLs' code must run on a 386 (below).
# check-shipped.sh BUILD_DIR [x86|x64]
# check-shipped.sh --processor DLL...   only the 386 check, of any PE32 i386 images
set -euo pipefail

failures=0
fail() { echo "FAIL $1: $2"; failures=$((failures + 1)); }

# Instructions that the 386 lacks, by mnemonic as objdump writes them: the 486's, the
# Pentium's, the Pentium Pro's (conditional moves, the x87 compares into flags, the long nop
# that an assembler may pad with) and those of MMX, SSE and later. ud2 stays: it is there
# to fault. Operands naming MMX, SSE or AVX registers count too.
NEWER_THAN_386='^(bswap|cmpxchg|xadd|invd|wbinvd|invlpg|cpuid|rdtsc|rdmsr|wrmsr|rsm|cmov|fcmov|fcomi|fucomi|rdpmc|sysenter|sysexit|fxsave|fxrstor|emms|femms|prefetch|[slm]fence|clflush|movnti|ldmxcsr|stmxcsr|fisttp|popcnt|lzcnt|tzcnt|movbe|crc32|endbr|ud1)'
NEWER_REGISTER='%([xyz]?mm[0-9]|k[0-7])'

# Fails, naming each function and the instructions in it that a 386 cannot run. The
# constructor and destructor lists, which the linker puts among the code, are pointers,
# not code.
check_processor() {
  local dll=$1 found
  found=$(i686-w64-mingw32-objdump -d -C "$dll" | awk -F'\t' -v newer="$NEWER_THAN_386" -v reg="$NEWER_REGISTER" '
    /^[0-9a-f]+ <.*>:$/ { fn = $0; sub(/^[0-9a-f]+ </, "", fn); sub(/>:$/, "", fn)
                          data = fn ~ /^_*[CD]TOR_LIST__$|^\.[cd]tors$/; next }
    data || NF < 3 { next }
    {
      text = $3
      while (text ~ /^(lock|rep[a-z]*|[c-gs]s|data(16|32)|addr(16|32)|notrack|bnd) /) sub(/^[a-z0-9]+ /, "", text)
      split(text, word, " ")
      # A nop with an operand is the long nop.
      if (word[1] ~ newer || text ~ reg || (word[1] ~ /^nop/ && word[2] != "")) {
        key = fn SUBSEP word[1]
        if (!(key in seen)) { seen[key] = 1; uses[fn] = uses[fn] sep[fn] word[1]; sep[fn] = ", " }
      }
    }
    END { for (f in uses) print f ": " uses[f] }' | sort)
  if [ -n "$found" ]; then
    while IFS= read -r line; do
      fail "$(basename "$dll")" "not for the 386: $line"
    done <<<"$found"
  else
    echo "ok $(basename "$dll"): every instruction runs on a 386"
  fi
}

if [ "${1:-}" = --processor ]; then
  shift
  [ $# -gt 0 ] || { echo "usage: check-shipped.sh --processor DLL..." >&2; exit 2; }
  for dll in "$@"; do check_processor "$dll"; done
  [ $failures -eq 0 ]
  exit
fi

bin="$1/bin"
case "${2:-x86}" in
  x86) tools=i686-w64-mingw32 format=pei-i386 kind="PE32 i386" unwind=".eh_frame" ;;
  x64) tools=x86_64-w64-mingw32 format=pei-x86-64 kind="PE32+ x86-64" unwind=".pdata .xdata" ;;
  *) echo "usage: check-shipped.sh BUILD_DIR [x86|x64]" >&2; exit 2 ;;
esac
allowlist="$(dirname "$0")/shipped-imports.txt"
max_stripped=102400
# .buildid holds the debug record that names the DLL's PDB; .eh_frame on x86 is the MinGW
# run time's constructor runner's, .pdata and .xdata the x64 unwind data.
shipped_sections=".text .data .rdata .buildid $unwind .bss .edata .idata .rsrc .reloc"
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
  for section in $($tools-objdump -h "$scratch/$dll" | awk '/^ +[0-9]+ / {print $2}'); do
    [[ " $shipped_sections " == *" $section "* ]] || fail "$dll" "has a section $section"
  done
  [ "$size" -le $max_stripped ] || fail "$dll" "$size bytes stripped, more than $max_stripped"
  [ "$format" != pei-i386 ] || check_processor "$f"
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
