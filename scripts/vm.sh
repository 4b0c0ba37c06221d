#!/usr/bin/env bash
# An emulated PC for the i686 programs on machines whose kernel refuses 32-bit code: a
# Debian 12 amd64 system with 32-bit Wine, booted under QEMU (KVM where /dev/kvm serves,
# else software emulation). Inside it, 32-bit Wine runs as on a machine whose kernel allows
# 32-bit programs.
#   vm.sh setup BUILD_DIR                 makes BUILD_DIR/vm once: the root, its disk image
#                                         with a ready Wine prefix, the kernel and initramfs
#   vm.sh run BUILD_DIR COMMAND [ARGS...] boots the PC, runs COMMAND in the current folder
#                                         with the source tree and the build folder at their
#                                         own paths, powers off; exits with its status, or
#                                         125 where the PC did not boot (BUILD_DIR/vm/boot.log)
# Each run boots the image as a snapshot, so every run starts from the same clean system and
# prefix. What a run writes to the build folder reaches this machine over 9p; the build
# folder's machine-local state (the route kept, the test bed, the prefix) stays in the PC.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
action=$1
build=$(cd "$2" && pwd)
shift 2
vm="$build/vm"
root="$vm/root"
image="$vm/disk.img"
stamp="$vm/.optinfo-ready"
mirror=${OPTINFO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# Two ctest jobs of Wine programs, with their wineserver and display.
memory_mb=4096
cpus=2

# Runs a command chrooted in the root, with /dev, /proc and /sys mounted for it alone.
in_root() {
  unshare --mount --propagation private -- /bin/sh -ec '
    root=$1
    shift
    for d in dev proc sys; do mount --rbind "/$d" "$root/$d"; done
    [ ! -f /etc/resolv.conf ] || mount --bind /etc/resolv.conf "$root/etc/resolv.conf"
    exec chroot "$root" "$@"
  ' sh "$root" "$@"
}

# PID 1 of the PC: mounts the shared folders at the paths named on the kernel's command line,
# runs the job that vm.sh wrote into the build folder, and powers off.
write_init() {
  cat > "$root/sbin/optinfo-init" <<'EOF'
#!/bin/bash
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm && mount -t devpts devpts /dev/pts && mount -t tmpfs shm /dev/shm
mount -t tmpfs tmp /tmp
exec </dev/null >/dev/ttyS0 2>&1
stty -onlcr 2>/dev/null
for arg in $(cat /proc/cmdline); do
  case $arg in optinfo.*=*) v=${arg#optinfo.}; declare "${v%%=*}=${v#*=}" ;; esac
done
modprobe -a 9p 9pnet_virtio
opts=trans=virtio,version=9p2000.L,msize=1048576,cache=loose
mkdir -p "$repo" "$build" && mount -t 9p -o "$opts" repo "$repo" && mount -t 9p -o "$opts" build "$build"
status=0
bash "$build/vm/job.sh" || status=$?
echo "$status" > "$build/vm/job.status"
sync
echo o > /proc/sysrq-trigger
sleep 60
EOF
  chmod +x "$root/sbin/optinfo-init"
}

setup() {
  [ ! -f "$stamp" ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" setup "$build"
  fi
  # A set-up that did not finish starts again (its mounts were its namespaces' alone).
  rm -rf --one-file-system "$vm"
  mkdir -p "$vm"
  "$here/install-deps.sh" debootstrap qemu-system-x86 e2fsprogs
  local log="$vm/setup.log" start=$SECONDS
  echo "vm: making the emulated PC (Debian 12 with 32-bit Wine) in ${vm#"$repo"/} (once; several minutes)"
  if ! unshare --mount --propagation private -- debootstrap --variant=minbase \
      --include=linux-image-amd64,kmod,cmake,xvfb,xauth,fonts-wine,fonts-ipafont-gothic \
      bookworm "$root" "$mirror" >"$log" 2>&1; then
    echo "vm: debootstrap failed, see $log" >&2
    tail -n 5 "$log" >&2
    exit 1
  fi
  if ! in_root /bin/sh -ec '
      dpkg --add-architecture i386
      apt-get -q update
      DEBIAN_FRONTEND=noninteractive apt-get -q install -y --no-install-recommends wine wine32:i386
      apt-get clean
      rm -rf /var/lib/apt/lists/*' >>"$log" 2>&1; then
    echo "vm: installing 32-bit Wine failed, see $log" >&2
    tail -n 5 "$log" >&2
    exit 1
  fi
  write_init
  cp "$root"/boot/vmlinuz-* "$vm/vmlinuz"
  cp "$root"/boot/initrd.img-* "$vm/initrd.img"
  mkdir -p "$root/var/lib/optinfo"
  local size_mb=$(($(du -sm "$root" | cut -f1) + 1536))
  mkfs.ext4 -q -F -L optinfo -d "$root" "$image" "${size_mb}M" >>"$log" 2>&1
  choose_accel > "$vm/accel"
  # The prefix is made once, in the image, where the test bed looks for it (the PC's
  # OPTINFO_STATE_DIR): the runs boot snapshots of it.
  cat > "$vm/job.sh" <<EOF
export OPTINFO_STATE_DIR=/var/lib/optinfo OPTINFO_BUILD_DIR=$(printf %q "$build") OPTINFO_PROBING=wine32
. $(printf %q "$here/wine-env.sh")
"\${WINE[@]}" wineboot -i >/dev/null 2>&1
"\${WINESERVER[@]}" -w
test -f "\$WINEPREFIX/system.reg"
EOF
  if ! boot off >>"$log" 2>&1; then
    echo "vm: the PC did not make its Wine prefix, see $log" >&2
    tail -n 5 "$log" >&2
    exit 1
  fi
  rm -rf --one-file-system "$root"
  echo "vm: ready in $((SECONDS - start)) s: $(du -sh "$image" | cut -f1) image" | tee "$stamp"
}

# KVM where it serves. /dev/kvm may be there on a machine that cannot run a guest on it (seen
# here: the guest never printed a line), so the PC's kernel must greet on KVM within 20 s.
# Else software emulation, with a processor model whose SMAP does not crash 32-bit Wine.
choose_accel() {
  if [ -w /dev/kvm ] && timeout 20 qemu-system-x86_64 -accel kvm -cpu host -m 256 -nodefaults \
      -display none -no-reboot -serial stdio -monitor none -kernel "$vm/vmlinuz" \
      -append "console=ttyS0 panic=-1" </dev/null 2>/dev/null | grep -q "Linux version"; then
    echo "kvm host"
  else
    echo "tcg,thread=multi qemu64"
  fi
}

# boot SNAPSHOT: boots the PC on job.sh; its output goes to this process's output.
boot() {
  local accel cpu
  read -r accel cpu < "$vm/accel"
  rm -f "$vm/job.status"
  timeout 3600 qemu-system-x86_64 -accel "$accel" -cpu "$cpu" \
    -smp "$cpus" -m "$memory_mb" -nodefaults -display none -no-reboot \
    -serial stdio -monitor none \
    -kernel "$vm/vmlinuz" -initrd "$vm/initrd.img" \
    -append "root=/dev/vda rw init=/sbin/optinfo-init console=ttyS0 quiet loglevel=0 optinfo.repo=$repo optinfo.build=$build" \
    -drive "file=$image,if=virtio,format=raw,snapshot=$1" \
    -virtfs "local,path=$repo,mount_tag=repo,security_model=none" \
    -virtfs "local,path=$build,mount_tag=build,security_model=none" </dev/null | tee "$vm/boot.log" || true
  [ -f "$vm/job.status" ] || { echo "vm: the PC ended without running its job (${vm#"$repo"/}/boot.log)" >&2; return 125; }
  return "$(cat "$vm/job.status")"
}

case "$action" in
  setup) setup ;;
  run)
    [ -f "$stamp" ] || { echo "vm: no PC in $build (vm.sh setup makes it)" >&2; exit 1; }
    {
      # The build folder's state of this machine (route, test bed, prefix) is the PC's own.
      # Its Wine ran when the image was made: the route is kept for this boot, not probed.
      # Output through a pipe, not the console: Wine would draw on a terminal.
      echo 'exec > >(cat) 2>&1'
      echo "export OPTINFO_STATE_DIR=/var/lib/optinfo"
      echo "printf 'boot %s\\nruns wine32\\n' \"\$(cat /proc/sys/kernel/random/boot_id)\" > /var/lib/optinfo/wine-routes.txt"
      # Software emulation runs Wine's programs 10 to 50 times slower than this machine
      # (docs/testing.md): a test's child gets longer, and the tests that measure scale
      # alone (the sweep's random cases, the soak's cycles) run a tenth, and say so.
      if [ "$(cut -d' ' -f1 "$vm/accel")" != kvm ]; then
        echo "export OPTINFO_ROUTE_CHILD_SECONDS=300 OPTINFO_SCALE_DIVISOR=10"
      fi
      printf 'cd %q && ' "$PWD"
      printf '%q ' "$@"
    } > "$vm/job.sh"
    boot on
    ;;
  *) echo "usage: vm.sh setup|run BUILD_DIR [COMMAND ARGS...]" >&2; exit 2 ;;
esac
