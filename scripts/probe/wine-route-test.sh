#!/usr/bin/env bash
# The route choice of scripts/wine-route.sh on each kind of machine, from simulated answers
# of the kernel and the probe (OPTINFO_FAKE_PROBE) and from outcomes kept by an earlier run:
# the route, what it says, its exit status and what it keeps. Runs nothing under Wine.
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
refused='Exec format error \(ENOEXEC\)'
closed='killed by SIGSEGV \(IA-32 emulation off\)'
no_pc='the emulated PC did not boot \(simulated: OPTINFO_FAKE_PROBE=none\)'
state="$i686/wine-routes.txt"
kept_lines() { tail -n +2 "$state" 2>/dev/null | tr '\n' '|'; }

# Simulated answers, each from a folder that has kept nothing.
fresh() { rm -f "$state"; }
fresh; expect "32-bit programs run: wow64 is not tried" "$i686" 0 wine32 "^${probed}wine32 \(the kernel: .*: runs; .*\)$" OPTINFO_FAKE_PROBE=wine32
fresh; expect "only WoW64 runs" "$i686" 0 wow64 "^${probed}wow64 \(the kernel: .*${refused}; .*: returns .*\)$" OPTINFO_FAKE_PROBE=wow64
fresh; expect "the kernel refuses 32-bit code, the PC boots" "$i686" 0 vm "^${probed}vm \(the kernel: .*${refused}; .*${closed}.*\)$" OPTINFO_FAKE_PROBE=vm
fresh; expect "the kernel refuses 32-bit code, the PC does not boot" "$i686" 0 none "^${probed}vm \(the kernel: .*\)
Wine route for [^:]*: none \(.*${closed}.*; ${no_pc}\)$" OPTINFO_FAKE_PROBE=none
[ "$(kept_lines)" = "none a 32-bit Linux program: Exec format error (ENOEXEC); int \$0x80 in a 64-bit program: killed by SIGSEGV (IA-32 emulation off) (simulated: OPTINFO_FAKE_PROBE=none); the emulated PC did not boot (simulated: OPTINFO_FAKE_PROBE=none)|" ] ||
  { echo "FAIL the kernel's refusal is kept: $(kept_lines)"; failures=$((failures + 1)); }
expect "kept refusal, the evidence" "$i686" 0 \
  'a 32-bit Linux program: Exec format error (ENOEXEC); int $0x80 in a 64-bit program: killed by SIGSEGV (IA-32 emulation off) (simulated: OPTINFO_FAKE_PROBE=none); the emulated PC did not boot (simulated: OPTINFO_FAKE_PROBE=none)' \
  '^$' --evidence
fresh; expect "a translated locale: the answers are read in the C locale" "$i686" 0 vm "${probed}vm \(the kernel: .*${refused}; .*\)$" \
  OPTINFO_FAKE_PROBE=vm LC_ALL=de_DE.UTF-8
# A probe that fails where the kernel allows the route is the set-up: a failure, kept never.
fresh; expect "a failed probe fails" "$i686" 1 '' \
  "^${probed}wow64 .*
wine-route: wow64 does not run the i686 programs of .*, although the kernel allows it \(.*\): Application could not be started .*
  This is the set-up, not the machine: nothing is kept.*$" OPTINFO_FAKE_PROBE=broken
[ -z "$(kept_lines)" ] || { echo "FAIL a failed probe kept: $(kept_lines)"; failures=$((failures + 1)); }
printf 'boot of another kernel\nruns wow64\n' > "$state"
expect "outcomes of another boot: probed again" "$i686" 1 '' 'Application could not be started' OPTINFO_FAKE_PROBE=broken
fresh; expect "forced wow64 where everything runs: wine32 is not tried" "$i686" 0 wow64 "^${probed}wow64 .*$" \
  OPTINFO_FAKE_PROBE=wine32 WINE_ROUTE=wow64
fresh; expect "forced wine32 where only WoW64 runs" "$i686" 1 '' \
  "^wine-route: WINE_ROUTE=wine32 does not run the i686 programs of .*: the kernel: .*${refused}.*
  Without WINE_ROUTE .*$" OPTINFO_FAKE_PROBE=wow64 WINE_ROUTE=wine32
fresh; expect "forced wow64 where the kernel refuses 32-bit code" "$i686" 1 '' \
  "WINE_ROUTE=wow64 does not run the i686 programs of .*: the kernel: .*${closed}" OPTINFO_FAKE_PROBE=none WINE_ROUTE=wow64
expect "an unknown route" "$i686" 2 '' "WINE_ROUTE must be wine32, wow64 or vm, not 'wine'" WINE_ROUTE=wine
expect "x86_64 programs" "$x86_64" 0 wine64 '^$' OPTINFO_FAKE_PROBE=none
touch "$i686/CMakeCache.txt"
expect "simulated answers for a build folder" "$i686" 2 '' 'OPTINFO_FAKE_PROBE serves the route test alone' OPTINFO_FAKE_PROBE=wine32
rm "$i686/CMakeCache.txt"

# Outcomes kept in this boot answer without asking the kernel or probing (this folder has no
# probe program).
printf '%s\nnone kept reason\n' "$boot" > "$state"
expect "kept refusal" "$i686" 0 none '^$'
expect "kept refusal, forced route" "$i686" 1 '' 'WINE_ROUTE=wine32 does not run .*: the kernel: kept reason' WINE_ROUTE=wine32
printf '%s\nruns wine32\n' "$boot" > "$state"
expect "kept route" "$i686" 0 wine32 '^$'
expect "kept outcome of a forced route" "$i686" 0 wine32 '^$' WINE_ROUTE=wine32
printf '%s\nruns wow64\n' "$boot" > "$state"
expect "a kept route whose Wine has gone: probed again" "$i686" 0 vm \
  "^wine-route: the kept route wow64 of .* has lost its Wine: probing again
${probed}vm .*$" OPTINFO_FAKE_PROBE=vm

# The PC's outcome reaches the caller: a program that fails inside fails the run, and a PC
# that never ran its job is told apart (125). A stand-in for QEMU runs the job as the PC's
# init would, or boots nothing.
mkdir -p "$i686/vm" "$scratch/bin"
echo ready > "$i686/vm/.optinfo-ready"
echo "tcg qemu64" > "$i686/vm/accel"
cat > "$scratch/bin/qemu-system-x86_64" <<'EOF'
#!/bin/bash
[ -z "${PC_DOES_NOT_BOOT:-}" ] || exit 1
build=$(printf '%s\n' "$@" | sed -n 's/.*optinfo\.build=\([^ ]*\).*/\1/p')
status=0
bash "$build/vm/job.sh" || status=$?
echo $status > "$build/vm/job.status"
EOF
chmod +x "$scratch/bin/qemu-system-x86_64"
for case in "0:exit 0" "1:exit 1" "125:exit 0:PC_DOES_NOT_BOOT=1"; do
  IFS=: read -r want job vars <<<"$case"
  got=0
  (cd "$i686" && env PATH="$scratch/bin:$PATH" $vars "$(dirname "$route_sh")/vm.sh" run "$i686" sh -c "$job") \
    >/dev/null 2>&1 || got=$?
  [ "$got" = "$want" ] || { echo "FAIL the PC's job '$job' ${vars:+with $vars }exits $got, not $want"; failures=$((failures + 1)); }
done

[ $failures -eq 0 ] && echo "wine-route: every route choice as expected"
[ $failures -eq 0 ]
