#!/usr/bin/env bash
# Prints the build folder whose programs run in this machine's Wine: run-dir.sh BUILD_DIR
arch=$("$(dirname "$0")/wine-arch.sh")
if [ "$arch" = i686 ]; then echo "$1"; else echo "$1/$arch"; fi
