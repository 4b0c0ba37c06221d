#!/usr/bin/env bash
# The Wine test bed of one build folder: testbed.sh start|stop BUILD_DIR
#   start: says which route runs the folder's programs (scripts/wine-route.sh; WINE_ROUTE
#          picks one for i686; fails on route none), sets that route up once, creates its
#          prefix once, registers the Windows version of every executable named
#          *_<version>.exe, starts Xvfb and a persistent wineserver.
#   stop:  stops both.
set -euo pipefail
action=$1
export OPTINFO_BUILD_DIR=$(cd "$2" && pwd)
# This machine's state of the folder's test bed: in the folder, except inside the emulated PC.
env_file=${OPTINFO_STATE_DIR:-$OPTINFO_BUILD_DIR}/testbed.env
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")

versions="win95 win98 nt351 nt40 win2k winxp win7 win10"

write_registry() {
  local reg="$OPTINFO_BUILD_DIR/testbed.reg"
  {
    printf 'REGEDIT4\n\n'
    # Without a window manager Wine waits for every window it activates unless unmanaged.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n\n'
    # A crash must fail the test, not wait for someone to close a crash dialog.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\optinfo-host.exe]\n"Version"="nt40"\n\n'
    for exe in "$OPTINFO_BUILD_DIR"/bin/*.exe "$OPTINFO_BUILD_DIR"/bin/*/*.exe; do
      [ -e "$exe" ] || continue
      name=$(basename "$exe")
      for v in $versions; do
        case "$name" in
          *_"$v".exe) printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s]\n"Version"="%s"\n\n' "$name" "$v" ;;
        esac
      done
    done
  } > "$reg"
  "${WINE[@]}" regedit /S "Z:${reg//\//\\}"
}

# A display nobody holds. A server in another root (the wow64 route's, or anyone's) leaves
# no socket file in this /tmp but still holds the abstract socket, which X clients try first.
display_taken() {
  [ -e "/tmp/.X11-unix/X$1" ] || [ -e "/tmp/.X$1-lock" ] ||
    grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

start_xvfb() {
  local n=90 pid
  for _ in $(seq 20); do
    while display_taken "$n"; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      [ -e "/tmp/.X11-unix/X$n" ] && { echo "export DISPLAY=:$n; XVFB_PID=$pid"; return 0; }
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    n=$((n + 1)) # someone else took it meanwhile
  done
  echo "testbed: Xvfb did not start" >&2
  return 1
}

describe_route() {
  local folder=${OPTINFO_BUILD_DIR#"$repo"/}
  case "$OPTINFO_ROUTE" in
    wine64) echo "Wine route for $folder: wine64 (x86_64 programs, 64-bit $(/usr/lib/wine/wine64 --version))" ;;
    wine32) echo "Wine route for $folder: wine32 (i686 programs, 32-bit $(/usr/lib/wine/wine --version))" ;;
    wow64) echo "Wine route for $folder: wow64 (i686 programs in 64-bit processes, $(cat "$OPTINFO_BUILD_DIR/wow64-root/.optinfo-ready") in $folder/wow64-root)" ;;
  esac
}

case "$action" in
  start)
    # An earlier test bed of this folder goes first, with the route it had.
    if [ -f "$env_file" ]; then "$0" stop "$OPTINFO_BUILD_DIR" || true; fi
    . "$here/wine-env.sh"
    [ "$OPTINFO_ROUTE" != wow64 ] || "$here/wow64.sh" setup "$OPTINFO_BUILD_DIR"
    describe_route
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "creating Wine prefix ${WINEPREFIX#"$repo"/}"
      "${WINE[@]}" wineboot -i >/dev/null 2>&1
      "${WINESERVER[@]}" -w
    fi
    {
      start_xvfb
      echo "TESTBED_ROUTE=$OPTINFO_ROUTE"
    } > "$env_file"
    . "$env_file"
    "${WINESERVER[@]}" -p >/dev/null 2>&1 || true
    write_registry
    ;;
  stop)
    [ -f "$env_file" ] || exit 0
    # The route the test bed was started with, whatever WINE_ROUTE says now.
    WINE_ROUTE=$(sed -n 's/^TESTBED_ROUTE=//p' "$env_file")
    . "$here/wine-env.sh"
    # The wineserver goes before the X server its programs draw on.
    "${WINESERVER[@]}" -k >/dev/null 2>&1 || true
    "${WINESERVER[@]}" -w >/dev/null 2>&1 || true
    XVFB_PID=
    . "$env_file"
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$env_file"
    ;;
  *) echo "usage: testbed.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
