#!/usr/bin/env bash
# Prints how Wine runs the programs of a build folder: wine-route.sh [--evidence] BUILD_DIR
#   wine64  x86_64 programs, this machine's 64-bit Wine
#   wine32  i686 programs, this machine's 32-bit Wine: the kernel runs 32-bit Linux programs
#   wow64   i686 programs, Wine 10's WoW64 mode in a Debian 13 root (scripts/wow64.sh): the
#           kernel runs no 32-bit Linux program, but its 32-bit system-call gate is open
#   vm      i686 programs, inside an emulated PC (scripts/vm.sh) whose own kernel runs 32-bit
#           Wine: this kernel refuses 32-bit code both ways
#   none    i686 programs: the kernel refuses 32-bit code both ways, and the emulated PC could
#           not be made or did not boot, so nothing runs them
# The kernel answers first, to two tiny programs written here (no Wine, no kernel log): a
# 32-bit Linux program, whose exec fails with ENOEXEC ("Exec format error") where 32-bit
# programs do not run, and a 64-bit one that enters the 32-bit gate (int $0x80), which the
# kernel kills with SIGSEGV where IA-32 emulation is off. The route its answers leave is then
# probed with the folder's bin/route_probe.exe; the WoW64 root and the PC are made only for
# that probe. A route that fails its probe is a broken set-up, not the machine: the script
# fails with the evidence and keeps nothing, so the next run probes again. What is kept, in
# BUILD_DIR/wine-routes.txt until the machine boots again: a route that ran its probe, and
# route none with the kernel's refusal and why the PC did not serve.
# WINE_ROUTE=wine32, wow64 or vm tries that route alone and fails, with the reason, where it
# does not run.
#   --evidence  prints the kernel's answers (and the PC's, on route none) instead of the route
# OPTINFO_FAKE_PROBE stands in for the kernel's, the PC's and the probe's answers, for the
# route test alone (scripts/probe/wine-route-test.sh; refused for a build folder): wine32
# (everything runs), wow64 (only wow64 runs), vm (the kernel refuses 32-bit code; the PC
# boots), none (the same; the PC does not boot) or broken (the kernel allows wow64, whose
# probe fails). Its messages are in the locale LC_ALL names, as a shell's are.
set -euo pipefail
# The kernel's answers are read from the shell's English messages, whatever the user's locale.
export LC_ALL=C
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
state="${OPTINFO_STATE_DIR:-$build}/wine-routes.txt"
fake=${OPTINFO_FAKE_PROBE:-}

if [ "$(cat "$build/wine-arch.txt" 2>/dev/null)" = x86_64 ]; then
  [ -n "$evidence_only" ] || echo wine64
  exit 0
fi
case "${WINE_ROUTE:-}" in
  '' | wine32 | wow64 | vm) ;;
  *) echo "WINE_ROUTE must be wine32, wow64 or vm, not '$WINE_ROUTE'" >&2; exit 2 ;;
esac
case "$fake" in
  '' | wine32 | wow64 | vm | none | broken) ;;
  *) echo "OPTINFO_FAKE_PROBE must be wine32, wow64, vm, none or broken, not '$fake'" >&2; exit 2 ;;
esac
if [ -n "$fake" ] && [ -f "$build/CMakeCache.txt" ]; then
  echo "wine-route: OPTINFO_FAKE_PROBE serves the route test alone, not the build folder $folder: unset it" >&2
  exit 2
fi

# Outcomes hold for one boot of one kernel: a build folder may meet another machine.
boot="boot $(cat /proc/sys/kernel/random/boot_id 2>/dev/null || uname -rv)"

# kept KEY: whether this boot's outcomes hold KEY ("runs ROUTE" or "none"); prints what follows it.
# A kept route whose Wine has gone since is forgotten, so that it is probed again.
kept() {
  if [ "${1#runs }" != "$1" ] && ! route_installed "${1#runs }"; then
    forget "$1"
    return 1
  fi
  local line
  [ -f "$state" ] && [ "$(head -n 1 "$state")" = "$boot" ] || return 1
  line=$(tail -n +2 "$state" | grep -m 1 -E "^$1( |\$)") || return 1
  line=${line#"$1"}
  echo "${line# }"
}

# route_installed ROUTE: whether what the route runs with is still there (checked cheaply, on
# every use of a kept route).
route_installed() {
  case $1 in
    wine32) [ -x /usr/lib/wine/wine ] ;;
    wow64) [ -f "$build/wow64-root/.optinfo-ready" ] && [ -x "$build/wow64-root/usr/lib/wine/wine64" ] ;;
    vm) [ -f "$build/vm/.optinfo-ready" ] && command -v qemu-system-x86_64 >/dev/null ;;
  esac
}

forget() {
  [ -f "$state" ] && grep -qx "$1" "$state" || return 0
  echo "wine-route: the kept route ${1#runs } of $folder has lost its Wine: probing again" >&2
  sed -i "/^$1\$/d" "$state"
}

keep() {
  if [ ! -f "$state" ] || [ "$(head -n 1 "$state")" != "$boot" ]; then
    echo "$boot" > "$state"
  fi
  echo "$1" >> "$state"
}

# The 32-bit program: exit(0) through int $0x80. The 64-bit one: the same, then exit(3)
# through syscall, should the gate return.
ELF32_EXIT='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'
ELF64_GATE='\x7fELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x3e\x00\x01\x00\x00\x00\x78\x00\x40\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x40\x00\x38\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x00\x00\x40\x00\x00\x00\x00\x00\x8d\x00\x00\x00\x00\x00\x00\x00\x8d\x00\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80\xb8\x3c\x00\x00\x00\xbf\x03\x00\x00\x00\x0f\x05'

# Runs one of them from the build folder (/tmp may forbid exec); prints the exit status and
# what the shell said, without a core file.
kernel_run() {
  local program="$build/kernel-probe-$1" status=0
  printf "$2" > "$program"
  chmod +x "$program"
  { (ulimit -c 0; exec "$program") 2>"$program.err"; } 2>/dev/null || status=$?
  echo "$status $(sed 's/^.*: //' "$program.err" | head -n 1)"
  rm -f "$program" "$program.err"
}

# ENOEXEC as a shell words it in the locale of LC_ALL: English only in the C locale.
fake_enoexec() {
  if [ "${LC_ALL:-}" = C ]; then echo "Exec format error"; else echo "Format der ausführbaren Datei ungültig"; fi
}

# Sets exec32 (runs, refused or unknown) and gate (open, closed or unknown), and kernel,
# their evidence.
ask_kernel() {
  local answer32 answer_gate
  case "$fake" in
    '')
      answer32=$(kernel_run 32 "$ELF32_EXIT")
      answer_gate=$(kernel_run gate "$ELF64_GATE")
      ;;
    wine32) answer32="0 " answer_gate="0 " ;;
    wow64 | broken) answer32="126 $(fake_enoexec)" answer_gate="0 " ;;
    vm | none) answer32="126 $(fake_enoexec)" answer_gate="139 " ;;
  esac
  case "$answer32" in
    "0 ") exec32=runs ;;
    *"Exec format error") exec32=refused ;;
    *) exec32=unknown ;;
  esac
  case "$answer_gate" in
    "0 ") gate=open ;;
    "139 "*) gate=closed ;;
    *) gate=unknown ;;
  esac
  kernel="a 32-bit Linux program: $(describe "$exec32" "$answer32" "runs" "Exec format error (ENOEXEC)");"
  kernel+=" int \$0x80 in a 64-bit program: $(describe "$gate" "$answer_gate" "returns" "killed by SIGSEGV (IA-32 emulation off)")"
  [ -z "$fake" ] || kernel+=" (simulated: OPTINFO_FAKE_PROBE=$fake)"
}

# describe ANSWER "STATUS MESSAGE" WHAT_RUNS WHAT_REFUSED
describe() {
  case $1 in
    runs | open) echo "$3" ;;
    refused | closed) echo "$4" ;;
    *) echo "exit ${2%% *}: ${2#* }" ;;
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

# Runs the probe inside the emulated PC, made first if need be; sets pc_failure where the PC
# could not be made or did not boot (vm.sh's 125).
run_probe_in_pc() {
  if ! "$here/vm.sh" setup "$build" >&2; then
    pc_failure="could not be made ($folder/vm/setup.log)"
    return 1
  fi
  local status=0
  "$here/vm.sh" run "$build" "$here/wine-run.sh" "$build/bin/route_probe.exe" || status=$?
  [ $status -ne 125 ] || pc_failure="did not boot ($folder/vm/boot.log)"
  return $status
}

# Probes one route; on success keeps and prints it, else fails with the evidence. For the PC,
# pc_failure says why it could not run at all.
probe() {
  local route=$1 log="$build/route-probe-$1.log" status=0 failure
  local shown=${log#"$(dirname "$here")"/}
  pc_failure=
  echo "Wine route probe for $folder: $route (the kernel: $kernel)" >&2
  case "$fake:$route" in
    wine32:* | wow64:wow64 | vm:vm) failure= ;;
    broken:wow64) failure="Application could not be started (simulated: OPTINFO_FAKE_PROBE=$fake)" ;;
    none:vm) pc_failure="did not boot (simulated: OPTINFO_FAKE_PROBE=$fake)" failure="the emulated PC $pc_failure" ;;
    :*)
      if [ ! -f "$build/bin/route_probe.exe" ]; then
        echo "wine-route: $folder/bin/route_probe.exe is missing: build it first (make build)" >&2
        exit 1
      fi
      if [ "$route" = wow64 ] && ! "$here/wow64.sh" setup "$build" >&2; then
        failure="the WoW64 root could not be made (see above)"
      else
        if [ "$route" = vm ]; then
          run_probe_in_pc >"$log" 2>&1 || status=$?
        else
          run_probe "$route" >"$log" 2>&1 || status=$?
        fi
        if [ $status -eq 0 ] && grep -q '^route probe: i686 code runs' "$log"; then
          failure=
        elif [ -n "$pc_failure" ]; then
          failure="the emulated PC $pc_failure"
        elif [ $status -eq 124 ]; then
          failure="no answer in 300 s ($shown)"
        else
          failure="$(summary <"$log") (exit $status; $shown)"
        fi
      fi
      ;;
  esac
  # No emulator could start: route none, with the evidence, unless the PC was asked for.
  if [ -n "$pc_failure" ] && [ -z "$forced" ]; then
    kernel+="; the emulated PC $pc_failure"
    keep "none $kernel"
    echo "Wine route for $folder: none ($kernel)" >&2
    echo none
    return 0
  fi
  if [ -n "$failure" ]; then
    echo "wine-route: $route does not run the i686 programs of $folder, although the kernel allows it ($kernel): $failure" >&2
    echo "  This is the set-up, not the machine: nothing is kept, and the next run probes again." >&2
    exit 1
  fi
  keep "runs $route"
  echo "$route"
}

refuse() {
  echo "wine-route: WINE_ROUTE=$WINE_ROUTE does not run the i686 programs of $folder on this machine ($(uname -r)): the kernel: $kernel" >&2
  echo "  Without WINE_ROUTE the route that the kernel allows is taken, or none." >&2
  exit 1
}

# Route none and its evidence, kept or asked for now.
if kernel=$(kept none); then
  exec32=refused gate=closed
else
  kernel=
fi
if [ -n "$evidence_only" ]; then
  [ -n "$kernel" ] || ask_kernel
  echo "$kernel"
  exit 0
fi

forced=${WINE_ROUTE:-}
if [ -n "$forced" ] && kept "runs $forced" >/dev/null; then
  echo "$forced"
  exit 0
fi
if [ -z "$forced" ]; then
  for route in wine32 wow64 vm; do
    if kept "runs $route" >/dev/null; then
      echo "$route"
      exit 0
    fi
  done
fi
[ -n "$kernel" ] || ask_kernel
if [ "$exec32" = unknown ] || [ "$gate" = unknown ]; then
  echo "wine-route: the kernel's answers are not the ones known: $kernel" >&2
  exit 1
fi
case "$forced:$exec32:$gate" in
  wine32:runs:* | wow64:*:open | vm:*) probe "$forced" ;;
  wine32:* | wow64:*) refuse ;;
  :runs:*) probe wine32 ;;
  :refused:open) probe wow64 ;;
  *)
    if kept none >/dev/null; then echo none; else probe vm; fi
    ;;
esac
