# Sourced: the environment of the project's Wine test bed for build folder $OPTINFO_BUILD_DIR.
: "${OPTINFO_BUILD_DIR:?}"
if [ "$(cat "$OPTINFO_BUILD_DIR/wine-arch.txt" 2>/dev/null)" = x86_64 ]; then
  export WINEARCH=win64
  WINE=/usr/lib/wine/wine64
else
  export WINEARCH=win32
  WINE=wine
fi
export WINEPREFIX="$OPTINFO_BUILD_DIR/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$OPTINFO_BUILD_DIR/testbed.env" ]; then
  # shellcheck disable=SC1091
  . "$OPTINFO_BUILD_DIR/testbed.env"
fi
