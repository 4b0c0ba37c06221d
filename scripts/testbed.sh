#!/usr/bin/env bash
# The Wine test bed of one build folder: testbed.sh start|stop BUILD_DIR
#   start: creates the 32-bit prefix once, registers the Windows version of every
#          executable named *_<version>.exe, starts Xvfb and a persistent wineserver.
#   stop:  stops both.
set -euo pipefail
action=$1
export OPTINFO_BUILD_DIR=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
rm -f "$OPTINFO_BUILD_DIR/testbed.env.tmp"
. "$here/wine-env.sh"

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
  "$WINE" regedit /S "Z:${reg//\//\\}"
}

free_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

case "$action" in
  start)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "creating Wine prefix $WINEPREFIX"
      "$WINE" wineboot -i >/dev/null 2>&1
      wineserver -w
    fi
    if [ -f "$OPTINFO_BUILD_DIR/testbed.env" ]; then "$0" stop "$OPTINFO_BUILD_DIR" || true; fi
    display=$(free_display)
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    echo "export DISPLAY=:$display; XVFB_PID=$!" > "$OPTINFO_BUILD_DIR/testbed.env"
    . "$OPTINFO_BUILD_DIR/testbed.env"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    wineserver -p >/dev/null 2>&1 || true
    write_registry
    ;;
  stop)
    wineserver -k >/dev/null 2>&1 || true
    if [ -f "$OPTINFO_BUILD_DIR/testbed.env" ]; then
      XVFB_PID=
      . "$OPTINFO_BUILD_DIR/testbed.env"
      [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
      rm -f "$OPTINFO_BUILD_DIR/testbed.env"
    fi
    ;;
  *) echo "usage: testbed.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
