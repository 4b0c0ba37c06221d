#!/usr/bin/env bash
# Builds an MSVC-style 32-bit caller against the bundle (CLANG, LLD_LINK and LLVM_READOBJ
# name the tools) and checks that it imports TKOpenPrinterInf from optinfo_en.dll:
# msvc-link.sh BUNDLE_DIR WORK_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bundle=$1
work=$2
mkdir -p "$work"
"${CLANG:?}" --target=i686-pc-windows-msvc -c "$here/msvc/caller.c" -I"$here/msvc" -I"$bundle/include" \
  -Wall -Wextra -Werror -o "$work/caller.obj"
"${LLD_LINK:?}" /nologo /nodefaultlib /entry:start /subsystem:console /out:"$work/caller.exe" \
  "$work/caller.obj" "$bundle/lib/x86/optinfo_en.lib"
"$here/check-import.sh" "$work/caller.exe" optinfo_en.dll TKOpenPrinterInf
