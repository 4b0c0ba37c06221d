#!/usr/bin/env bash
# Unpacks the release bundle into DEST_DIR and checks it: every file matches SHA256SUMS and
# is listed there, every file a caller needs is in place (the integrator's page, the licence
# and notices, the DLLs' maps and PDBs among them), each map places the export where its DLL
# has it, each DLL's debug record names its own PDB with the PDB's signature, no map or PDB
# names an absolute path, the README's links resolve.
# unpack.sh ARCHIVE DEST_DIR
set -euo pipefail
archive=$1
name=$(basename "$archive" .zip)
mkdir -p "$2"
cd "$2"
rm -rf "$name"
cmake -E tar xf "$archive"
cd "$name"
status=0
fail() { echo "FAIL: $1"; status=1; }

sha256sum --quiet -c SHA256SUMS || fail "checksums"
unlisted=$(comm -23 <(find . -type f ! -name SHA256SUMS -printf '%P\n' | sort) <(awk '{print $2}' SHA256SUMS | sort))
[ -z "$unlisted" ] || fail "not in SHA256SUMS: $(echo $unlisted)"

expected=(include/optinfo.h README.md CHANGELOG.md LICENSE THIRD-PARTY-NOTICES docs/integrating.md
          lib/cmake/optinfo/optinfo-config.cmake
          lib/cmake/optinfo/optinfo-config-version.cmake)
for arch in x86 x64; do
  expected+=(bin/$arch/optinfo_en.dll bin/$arch/optinfo_ja.dll lib/$arch/optinfo.def)
  for lang in en ja; do
    expected+=(lib/$arch/optinfo_$lang.lib lib/$arch/liboptinfo_$lang.dll.a symbols/$arch/optinfo_$lang.map
               symbols/$arch/optinfo_$lang.pdb)
  done
done
for f in "${expected[@]}"; do
  [ -s "$f" ] || fail "missing $f"
  grep -qxF "$(sha256sum "$f" | cut -c1-64)  $f" SHA256SUMS || fail "$f has no line of its own in SHA256SUMS"
done
# A map that names the shipped DLL's export at the address where the DLL has it.
for arch in x86 x64; do
  for lang in en ja; do
    export_rva=$("${LLVM_READOBJ:-llvm-readobj}" --coff-exports "bin/$arch/optinfo_$lang.dll" | awk '/RVA:/ {print $2; exit}')
    base=$("${LLVM_READOBJ:-llvm-readobj}" --file-headers "bin/$arch/optinfo_$lang.dll" | awk '/ImageBase:/ {print $2; exit}')
    grep -qiE "0x0*$(printf '%x' $((base + export_rva))) +TKOpenPrinterInf" "symbols/$arch/optinfo_$lang.map" ||
      fail "symbols/$arch/optinfo_$lang.map does not place TKOpenPrinterInf where bin/$arch/optinfo_$lang.dll has it"
    # The record gives the GUID's bytes as stored, the PDB the GUID as written: the first three
    # fields little-endian.
    record=$("${LLVM_READOBJ:-llvm-readobj}" --coff-debug-directory "bin/$arch/optinfo_$lang.dll")
    guid=$(awk -F'[()]' '/PDBGUID:/ {split($2, b, " ")
      printf "%s%s%s%s-%s%s-%s%s-%s%s-", b[4], b[3], b[2], b[1], b[6], b[5], b[8], b[7], b[9], b[10]
      for (i = 11; i <= 16; i++) printf "%s", b[i]}' <<<"$record")
    age=$(awk '/PDBAge:/ {print $2}' <<<"$record")
    pdb=$(awk '/PDBFileName:/ {print $2}' <<<"$record")
    summary=$("${LLVM_PDBUTIL:-llvm-pdbutil}" dump -summary "symbols/$arch/$pdb" 2>&1) || true
    [ "$pdb" = "optinfo_$lang.pdb" ] && grep -qx "  GUID: {$guid}" <<<"$summary" && grep -qx "  Age: $age" <<<"$summary" ||
      fail "bin/$arch/optinfo_$lang.dll names PDB '$pdb', GUID {$guid} age $age; symbols/$arch/$pdb: $(grep -E '^  (GUID|Age):' <<<"$summary" | xargs)"
  done
done

# No map or PDB names a folder of the machine that built it.
leaked=$(grep -laE '(^|[^A-Za-z0-9._-])/[A-Za-z0-9._-]+/[A-Za-z0-9._-]' symbols/*/* || true)
[ -z "$leaked" ] || fail "an absolute path in $(echo $leaked)"

while read -r link; do
  [ -e "$link" ] || fail "README.md links $link, which is not in the bundle"
done < <(grep -oE '\]\([^)#]+' README.md | cut -c3- | grep -v '://' || true)

[ $status -eq 0 ] && echo "ok $name: ${#expected[@]} files in place, $(wc -l <SHA256SUMS) checksums verified"
exit $status
