#!/usr/bin/env bash
# Checks that a program imports FUNCTION under that name from DLL (LLVM_READOBJ names
# llvm-readobj): check-import.sh PROGRAM.exe DLL FUNCTION
set -euo pipefail
imports=$("${LLVM_READOBJ:?}" --coff-imports "$1")
names=$(awk -v dll="$2" '$1 == "Name:" { from = tolower($2) == tolower(dll) }
                         from && $1 == "Symbol:" { print $2 }' <<<"$imports")
if grep -qx "$3" <<<"$names"; then
  echo "ok $(basename "$1") imports $3 from $2"
else
  echo "FAIL $(basename "$1") does not import $3 from $2:"
  echo "$imports"
  exit 1
fi
