# Sourced: the environment of the project's Wine test bed for build folder $OPTINFO_BUILD_DIR.
# Sets OPTINFO_ROUTE (scripts/wine-route.sh), the prefix of that route and the commands
# WINE and WINESERVER (arrays: on the wow64 route they run inside the Debian 13 root).
# Fails on routes none and vm (whose programs run only inside the emulated PC). The test bed
# and the prefix are this machine's, in OPTINFO_STATE_DIR (the build folder by default).
: "${OPTINFO_BUILD_DIR:?}"
state_dir=${OPTINFO_STATE_DIR:-$OPTINFO_BUILD_DIR}
scripts_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
TESTBED_ROUTE=
if [ -f "$state_dir/testbed.env" ]; then
  # shellcheck disable=SC1091
  . "$state_dir/testbed.env"
fi
# A running test bed keeps its route unless WINE_ROUTE names another. While wine-route.sh
# probes a route (OPTINFO_PROBING), that route is taken as it is.
if [ -n "${OPTINFO_PROBING:-}" ]; then
  OPTINFO_ROUTE=$OPTINFO_PROBING
else
  OPTINFO_ROUTE=$(WINE_ROUTE=${WINE_ROUTE:-$TESTBED_ROUTE} "$scripts_dir/wine-route.sh" "$OPTINFO_BUILD_DIR")
fi
case "$OPTINFO_ROUTE" in
  wine64)
    export WINEARCH=win64
    WINE=(/usr/lib/wine/wine64)
    WINESERVER=(/usr/lib/wine/wineserver)
    ;;
  wine32)
    export WINEARCH=win32
    WINE=(/usr/lib/wine/wine)
    WINESERVER=(/usr/lib/wine/wineserver)
    ;;
  wow64)
    # WoW64 needs a 64-bit prefix; 32-bit programs run in it without a 32-bit loader.
    export WINEARCH=win64
    WINE=("$scripts_dir/wow64.sh" run "$OPTINFO_BUILD_DIR" /usr/lib/wine/wine64)
    WINESERVER=("$scripts_dir/wow64.sh" run "$OPTINFO_BUILD_DIR" /usr/lib/wine/wineserver)
    ;;
  none)
    echo "no Wine route runs the i686 programs of $OPTINFO_BUILD_DIR: this machine executes no 32-bit x86 code ($("$scripts_dir/wine-route.sh" --evidence "$OPTINFO_BUILD_DIR"))" >&2
    return 1
    ;;
  vm)
    echo "the i686 programs of $OPTINFO_BUILD_DIR run inside the emulated PC only (scripts/vm.sh run)" >&2
    return 1
    ;;
esac
# How long a child program of a test may run before that test fails (tests/support's
# process runner): a route that runs slower gives more.
export OPTINFO_CHILD_SECONDS=${OPTINFO_ROUTE_CHILD_SECONDS:-60}
# One prefix per route: a prefix of one kind is never handed to the other.
export WINEPREFIX="$state_dir/wineprefix-$OPTINFO_ROUTE"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
