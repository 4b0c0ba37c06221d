#!/usr/bin/env bash
# Deletes a build folder: clean.sh BUILD_DIR. Its test beds are stopped first. It refuses
# while anything is mounted below the folder (a bind mount there can lead into the source
# tree or the whole machine), and never crosses into another file system.
set -euo pipefail
[ -e "$1" ] || exit 0
build=$(cd "$1" && pwd -P)
here=$(cd "$(dirname "$0")" && pwd -P)
case "$(dirname "$here")/" in
  "$build"/*) echo "clean: $1 holds the source tree; not deleting it" >&2; exit 1 ;;
esac
for dir in "$build" "$build/x86_64"; do
  [ ! -f "$dir/testbed.env" ] || "$here/testbed.sh" stop "$dir" || true
done
mounted=$(awk -v dir="$build/" 'index($5 "/", dir) == 1 { print $5 }' /proc/self/mountinfo)
if [ -n "$mounted" ]; then
  echo "clean: not deleting $1 while something is mounted below it:" >&2
  echo "$mounted" >&2
  exit 1
fi
# The WoW64 root is made as root: another user deletes it the same way.
if [ -e "$build/wow64-root" ] && [ ! -O "$build/wow64-root" ] && [ "$(id -u)" -ne 0 ]; then
  sudo rm -rf --one-file-system "$build/wow64-root"
fi
rm -rf --one-file-system "$build"
