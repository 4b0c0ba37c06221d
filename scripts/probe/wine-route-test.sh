#!/usr/bin/env bash
# The route choice of scripts/wine-route.sh on each kind of machine, from simulated probe
# outcomes (OPTINFO_FAKE_PROBE) and from outcomes kept by an earlier probe: the route, what
# it says and its exit status. Runs nothing under Wine.
set -uo pipefail
route_sh="$(cd "$(dirname "$0")/.." && pwd)/wine-route.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
i686="$scratch/i686" x86_64="$scratch/x86_64"
mkdir "$i686" "$x86_64"
echo i686 > "$i686/wine-arch.txt"
echo x86_64 > "$x86_64/wine-arch.txt"
boot="boot $(cat /proc/sys/kernel/random/boot_id 2>/dev/null || uname -rv)"
failures=0

# expect WHAT FOLDER STATUS STDOUT STDERR_ERE [VAR=VALUE...] [--evidence]
#   STDERR_ERE is matched against the whole of stderr.
expect() {
  local what=$1 folder=$2 status=$3 out=$4 err=$5 vars=() args=() got_out got_err got_status=0
  shift 5
  for a in "$@"; do
    case $a in
      *=*) vars+=("$a") ;;
      *) args+=("$a") ;;
    esac
  done
  got_out=$(env -u WINE_ROUTE -u OPTINFO_FAKE_PROBE "${vars[@]}" "$route_sh" "${args[@]}" "$folder" 2>"$scratch/stderr") ||
    got_status=$?
  got_err=$(cat "$scratch/stderr")
  if [ "$got_status" != "$status" ] || [ "$got_out" != "$out" ] || ! [[ $got_err =~ $err ]]; then
    printf 'FAIL %s:\n  got      %s, stdout "%s", stderr "%s"\n  expected %s, stdout "%s", stderr /%s/\n' \
      "$what" "$got_status" "$got_out" "$got_err" "$status" "$out" "$err"
    failures=$((failures + 1))
  fi
}

probed='Wine route probe for [^:]*: '
wine32_fails='wine32: Exec format error \(simulated: OPTINFO_FAKE_PROBE=[a-z0-9]+\)'
wow64_fails='wow64: Application could not be started \(simulated: OPTINFO_FAKE_PROBE=[a-z0-9]+\)'

expect "32-bit Wine runs: wow64 is not tried" "$i686" 0 wine32 "^${probed}wine32 runs$" OPTINFO_FAKE_PROBE=wine32
expect "only WoW64 runs" "$i686" 0 wow64 "^${probed}wine32 fails: Exec format error.*
${probed}wow64 runs$" OPTINFO_FAKE_PROBE=wow64
expect "nothing runs" "$i686" 0 none "^${probed}wine32 fails: .*
${probed}wow64 fails: Application could not be started.*$" OPTINFO_FAKE_PROBE=none
expect "nothing runs, the evidence" "$i686" 0 \
  "wine32: Exec format error (simulated: OPTINFO_FAKE_PROBE=none); wow64: Application could not be started (simulated: OPTINFO_FAKE_PROBE=none)" \
  '^$' OPTINFO_FAKE_PROBE=none --evidence
expect "forced wow64 where it runs: wine32 is not tried" "$i686" 0 wow64 "^${probed}wow64 runs$" \
  OPTINFO_FAKE_PROBE=wine32 WINE_ROUTE=wow64
expect "forced wine32 where only WoW64 runs" "$i686" 1 '' \
  "^${probed}wine32 fails: .*WINE_ROUTE=wine32 does not run the i686 programs of .*: ${wine32_fails}
  Without WINE_ROUTE .*$" OPTINFO_FAKE_PROBE=wow64 WINE_ROUTE=wine32
expect "forced wow64 where nothing runs" "$i686" 1 '' \
  "^${probed}wow64 fails: .*WINE_ROUTE=wow64 does not run the i686 programs of .*: ${wow64_fails}
  Without WINE_ROUTE .*$" OPTINFO_FAKE_PROBE=none WINE_ROUTE=wow64
expect "an unknown route" "$i686" 2 '' "WINE_ROUTE must be wine32 or wow64, not 'wine'" WINE_ROUTE=wine
expect "x86_64 programs" "$x86_64" 0 wine64 '^$' OPTINFO_FAKE_PROBE=none

# Outcomes kept in this boot answer without a probe (this folder has no probe program).
printf '%s\nwine32 fails: kept reason\nwow64 fails: kept too\n' "$boot" > "$i686/wine-routes.txt"
expect "kept outcomes" "$i686" 0 none '^$'
expect "kept outcomes, the evidence" "$i686" 0 "wine32: kept reason; wow64: kept too" '^$' --evidence
printf '%s\nwine32 runs\n' "$boot" > "$i686/wine-routes.txt"
expect "kept outcome of a forced route" "$i686" 0 wine32 '^$' WINE_ROUTE=wine32
# Another boot's outcomes are probed again.
printf 'boot of another kernel\nwine32 runs\n' > "$i686/wine-routes.txt"
expect "outcomes of another boot" "$i686" 1 '' 'bin/route_probe.exe is missing'

[ $failures -eq 0 ] && echo "wine-route: every route choice as expected"
[ $failures -eq 0 ]
