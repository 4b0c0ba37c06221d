#!/usr/bin/env bash
# Prints how Wine runs the programs of a build folder: wine-route.sh [--evidence] BUILD_DIR
#   wine64  x86_64 programs, this machine's 64-bit Wine
#   wine32  i686 programs, this machine's 32-bit Wine (needs a kernel that executes
#           32-bit Linux programs)
#   wow64   i686 programs, Wine 10's WoW64 mode in a Debian 13 root (scripts/wow64.sh)
#   none    i686 programs: nothing here runs 32-bit x86 code
# The route of an i686 folder is the first of wine32 and wow64 that runs the folder's
# bin/route_probe.exe to its end; the WoW64 root is made only when wow64 is tried.
# WINE_ROUTE=wine32 or wow64 tries that route alone and fails, with the reason, where it
# does not run. Each route's outcome is kept in BUILD_DIR/wine-routes.txt until the
# machine boots again, so the probe runs once.
#   --evidence  prints why the routes tried failed ("wine32: ...; wow64: ..."), not the route
# For tests, OPTINFO_FAKE_PROBE stands in for the probe's outcomes (nothing runs, nothing is
# kept): wine32 (every route runs), wow64 (only wow64 runs) or none (no route runs).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

usage() {
  echo "usage: wine-route.sh [--evidence] BUILD_DIR" >&2
  exit 2
}

evidence_only=
if [ "${1:-}" = --evidence ]; then
  evidence_only=1
  shift
fi
[ $# -eq 1 ] || usage
build=$(cd "$1" && pwd)
folder=${build#"$(dirname "$here")"/}
state="$build/wine-routes.txt"
fake=${OPTINFO_FAKE_PROBE:-}

if [ "$(cat "$build/wine-arch.txt" 2>/dev/null)" = x86_64 ]; then
  [ -n "$evidence_only" ] || echo wine64
  exit 0
fi
case "${WINE_ROUTE:-}" in
  '' | wine32 | wow64) ;;
  *) echo "WINE_ROUTE must be wine32 or wow64, not '$WINE_ROUTE'" >&2; exit 2 ;;
esac
case "$fake" in
  '' | wine32 | wow64 | none) ;;
  *) echo "OPTINFO_FAKE_PROBE must be wine32, wow64 or none, not '$fake'" >&2; exit 2 ;;
esac

# Outcomes hold for one boot of one kernel: a build folder may meet another machine.
boot="boot $(cat /proc/sys/kernel/random/boot_id 2>/dev/null || uname -rv)"

kept_outcome() {
  local kept
  [ -f "$state" ] && [ "$(head -n 1 "$state")" = "$boot" ] || return 1
  kept=$(sed -n "s/^$1 //p" "$state" | head -n 1)
  [ -n "$kept" ] && echo "$kept"
}

keep_outcome() {
  if [ ! -f "$state" ] || [ "$(head -n 1 "$state")" != "$boot" ]; then
    echo "$boot" > "$state"
  fi
  echo "$1 $2" >> "$state"
}

fake_outcome() {
  case "$fake:$1" in
    wine32:* | wow64:wow64) echo runs ;;
    *:wine32) echo "fails: Exec format error (simulated: OPTINFO_FAKE_PROBE=$fake)" ;;
    *:wow64) echo "fails: Application could not be started (simulated: OPTINFO_FAKE_PROBE=$fake)" ;;
  esac
}

# The probe's output on one line: each line once, without the shell's name for itself and
# its "Success" after a failed exec; a long output by its first and last two.
summary() {
  awk '{ sub(/^[^ ]*: line [0-9]+: /, "") }
       / Success$/ { next }
       NF && !seen[$0]++ { line[++n] = $0 }
       END {
         for (i = 1; i <= n; i++) {
           if (n > 4 && i > 2 && i <= n - 2) { if (i == 3) printf " / ..."; continue }
           printf "%s%s", (i > 1 ? " / " : ""), line[i]
         }
       }'
}

# Runs the probe through one route in that route's prefix, then waits for the prefix's
# wineserver to end: the test bed starts its own, on its display. WoW64 reports a process
# it starts on the error channel of "environ", which the reason then shows.
run_probe() (
  export OPTINFO_PROBING=$1 OPTINFO_BUILD_DIR=$build WINEDEBUG=-all,err+environ
  . "$here/wine-env.sh"
  status=0
  # Through bash's exec, which names a binary the kernel refuses as such.
  timeout 300 "$here/wine-run.sh" "$build/bin/route_probe.exe" || status=$?
  timeout 60 "${WINESERVER[@]}" -w 2>/dev/null || "${WINESERVER[@]}" -k 2>/dev/null || true
  exit $status
)

# Sets outcome: "runs", or "fails: " and what the route said.
probe() {
  local route=$1 log="$build/route-probe-$1.log" status=0
  local shown=${log#"$(dirname "$here")"/}
  if [ ! -f "$build/bin/route_probe.exe" ]; then
    echo "wine-route: $folder/bin/route_probe.exe is missing: build it first (make build)" >&2
    exit 1
  fi
  if [ "$route" = wow64 ] && ! "$here/wow64.sh" setup "$build" >&2; then
    echo "wine-route: without the WoW64 root, whether wow64 runs here is not known" >&2
    exit 1
  fi
  run_probe "$route" >"$log" 2>&1 || status=$?
  if [ $status -eq 0 ] && grep -q '^route probe: i686 code runs' "$log"; then
    outcome=runs
  elif [ $status -eq 124 ]; then
    outcome="fails: no answer in 300 s ($shown)"
  else
    outcome="fails: $(summary <"$log") (exit $status; $shown)"
  fi
}

# Sets outcome for a route: kept, or simulated or probed now, which is announced (unless
# only the reasons were asked for).
outcome_of() {
  if [ -n "$fake" ]; then
    outcome=$(fake_outcome "$1")
  elif outcome=$(kept_outcome "$1"); then
    return 0
  else
    probe "$1"
    keep_outcome "$1" "$outcome"
  fi
  [ -n "$evidence_only" ] || echo "Wine route probe for $folder: $1 $outcome" >&2
}

candidates=(wine32 wow64)
[ -z "${WINE_ROUTE:-}" ] || candidates=("$WINE_ROUTE")
route=none
evidence=
for candidate in "${candidates[@]}"; do
  outcome_of "$candidate"
  if [ "$outcome" = runs ]; then
    route=$candidate
    break
  fi
  evidence+="${evidence:+; }$candidate: ${outcome#fails: }"
done

if [ -n "$evidence_only" ]; then
  echo "$evidence"
elif [ "$route" != none ]; then
  echo "$route"
elif [ -n "${WINE_ROUTE:-}" ]; then
  echo "wine-route: WINE_ROUTE=$WINE_ROUTE does not run the i686 programs of $folder on this machine ($(uname -r)): $evidence" >&2
  echo "  Without WINE_ROUTE the first route that runs them is taken, or none." >&2
  exit 1
else
  echo none
fi
