#!/usr/bin/env bash
# Runs the 32-bit Windows build's tests on a machine that cannot execute 32-bit code, in an
# emulated x86-64 machine (qemu-system-x86_64, TCG without KVM) whose kernel does run it.
#   test-32bit-vm.sh [--smoke] [--build DIR] [--jobs N] [ctest arguments...]
#   test-32bit-vm.sh --prepare     (only builds the guest)
# The guest (Debian 12 with Wine's 32-bit loader, Xvfb and PulseAudio, made with debootstrap) is
# built once and cached beside the cross-built libraries. Each run boots it with the checkout
# shared read-only at the same absolute path and a throw-away writable layer over it, so the build
# folder's tests and scripts/wine-run.sh run there unchanged; Wine prefixes stay in guest memory.
# --smoke runs the named smoke set instead of every test program. Exits non-zero on any failure,
# or when the guest cannot be built, booted or does not finish.
# SAVER_GUEST_MEMORY (MiB, default 6144), SAVER_GUEST_CPUS (default: this machine's cores).
set -uo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache="${SAVER_DEPS_CACHE:-/var/cache/photo-saver-deps}"
guest="$cache/guest32"

fail() { echo "test-32bit-vm: $*" >&2; exit 1; }
say() { echo "test-32bit-vm: $*" >&2; }

# The smoke set: the seams and framework, the platform library and the saver's start, one
# end-to-end run of the saver, the settings dialog opened and closed with OK, setup.exe and the
# wallpaper program, each a whole test program.
smoke='^(seams_test|framework_test|framework_app_test|platform_library_test|platform_saver_test|saver_run_test|config_settings_win_test|saver_setup_test|murafit_program_test)$'

smoke_only=0
prepare_only=0
build="$top/build/mingw-i686"
cpus="${SAVER_GUEST_CPUS:-$(nproc)}"
jobs=
ctest_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) smoke_only=1 ;;
    --prepare) prepare_only=1 ;;
    --build) build=$(realpath "$2"); shift ;;
    --jobs) jobs=$2; shift ;;
    *) ctest_args+=("$1") ;;
  esac
  shift
done
jobs=${jobs:-$cpus}
[ "$prepare_only" = 1 ] || [ -f "$build/CTestTestfile.cmake" ] || fail "no tests in $build (cmake --preset mingw-i686 && cmake --build --preset mingw-i686)"
[ "$prepare_only" = 1 ] || case "$build/" in "$top"/*) ;; *) fail "$build is not inside the checkout $top (only the checkout is shared with the guest)" ;; esac

# What the guest holds; a change here builds the guest again.
guest_packages="linux-image-amd64 wine wine64 wine32:i386 xvfb xauth pulseaudio cmake fontconfig fonts-dejavu-core"
guest_version="1 $guest_packages"

# The host's own Debian mirror, as its apt sources name it.
host_mirror() {
  local uri
  uri=$(grep -hE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null \
    | grep -v -e security -e '\[' | awk '/^URIs:/ {print $2; exit} /^deb / {print $2; exit}')
  echo "${uri:-http://deb.debian.org/debian}"
}

# PID 1 of the guest: mounts what the job needs, runs the job from the "job" share and powers off.
write_guest_init() {
  cat >"$1" <<'INIT'
#!/bin/sh
export PATH=/usr/sbin:/usr/bin:/sbin:/bin
# The initial ramdisk hands over /sys and /dev mounted already.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mount -o remount,rw /
modprobe 9pnet_virtio; modprobe 9p; modprobe overlay
mkdir -p /job
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 job /job; then
  bash /job/job.sh
else
  echo "guest: the job share did not mount"
fi
sync
echo 1 >/proc/sys/kernel/sysrq
echo o >/proc/sysrq-trigger
sleep 60
INIT
  chmod 755 "$1"
}

build_guest() {
  [ -f "$guest/ready" ] && [ "$(cat "$guest/ready")" = "$guest_version" ] && return 0
  command -v debootstrap >/dev/null && command -v mkfs.ext4 >/dev/null \
    || fail "debootstrap or mkfs.ext4 is missing; run scripts/setup.sh"
  say "building the guest in $guest (about 5 minutes, once)"
  local start=$SECONDS root="$guest/root" log="$guest/build.log"
  rm -rf "$guest"; mkdir -p "$root/var/cache/apt/archives"
  # The host's downloaded packages are the same release's: debootstrap and apt take those whose
  # checksums match instead of downloading them again.
  cp -l /var/cache/apt/archives/*.deb "$root/var/cache/apt/archives/" 2>/dev/null \
    || cp /var/cache/apt/archives/*.deb "$root/var/cache/apt/archives/" 2>/dev/null
  debootstrap --arch=amd64 --variant=minbase \
    --include=initramfs-tools,kmod,udev,procps,systemd-sysv,busybox,ca-certificates \
    bookworm "$root" "$(host_mirror)" >"$log" 2>&1 \
    || { tail -n 20 "$log" >&2; fail "debootstrap failed (see $log)"; }
  # No service starts in the chroot; libglib2.0-0:i386's install script cannot run its 32-bit
  # helper here ("Exec format error") and says so harmlessly.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"; chmod 755 "$root/usr/sbin/policy-rc.d"
  # The initial ramdisk needs only the disk and its file system (the 9p and overlay modules load
  # from the disk): a listed few instead of most of the kernel's modules, minutes less to build.
  sed -i 's/^MODULES=.*/MODULES=list/' "$root/etc/initramfs-tools/initramfs.conf"
  printf '%s\n' virtio_pci virtio_blk ext4 >>"$root/etc/initramfs-tools/modules"
  chroot "$root" /bin/sh -c "dpkg --add-architecture i386 && apt-get update -q \
      && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $guest_packages \
      && apt-get clean" >>"$log" 2>&1 \
    || { tail -n 20 "$log" >&2; fail "installing Wine in the guest failed (see $log)"; }
  rm -f "$root/usr/sbin/policy-rc.d"
  write_guest_init "$root/sbin/guest-init"
  cp "$root"/boot/vmlinuz-* "$guest/vmlinuz" && cp "$root"/boot/initrd.img-* "$guest/initrd.img" \
    || fail "the guest has no kernel or initrd"
  mkfs.ext4 -q -F -d "$root" -E lazy_itable_init=0 "$guest/root.raw" 4G >>"$log" 2>&1 \
    || { tail -n 20 "$log" >&2; fail "mkfs.ext4 failed (see $log)"; }
  rm -rf "$root"
  echo "$guest_version" >"$guest/ready"
  say "guest built in $((SECONDS - start)) s: $(du -sh --apparent-size "$guest/root.raw" | cut -f1) image, $(du -sh "$guest/root.raw" | cut -f1) on disk"
}

# The job the guest runs: the checkout under a writable layer, ctest with its timeouts scaled.
write_job() {
  local job=$1 select=()
  [ "$smoke_only" = 1 ] && select=(-R "$smoke")
  {
    echo "top='$top' build='$build' jobs='$jobs' scale='${SAVER_GUEST_TIMEOUT_SCALE:-6}'"
    printf 'ctest_args=(%s)\n' "$(printf '%q ' "${select[@]}" "${ctest_args[@]}")"
    cat <<'JOB'
echo "guest: up after $(cut -d' ' -f1 /proc/uptime) s"
mkdir -p /mnt/src /tmp/layer/upper /tmp/layer/work "$top"
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,ro,cache=loose src /mnt/src \
  && mount -t overlay overlay -o lowerdir=/mnt/src,upperdir=/tmp/layer/upper,workdir=/tmp/layer/work "$top" \
  || { echo "guest: the checkout did not mount"; echo 125 >/job/rc; exit; }
export HOME=/tmp/home TMPDIR=/tmp PATH=/usr/sbin:/usr/bin:/sbin:/bin
mkdir -p "$HOME"
# Timeouts are set for native speed; the emulated machine runs a few times slower.
find "$build" -name CTestTestfile.cmake -exec perl -pi -e 's/(TIMEOUT ")(\d+)/$1.($2*'"$scale"')/ge' {} +
# The Wine prefix template first, timed on its own (minutes here), instead of inside the time of
# whichever test programs start first and wait for it.
probe=$(find "$build/tests" -name '*_test.exe' -print -quit)
if [ -n "$probe" ]; then
  t0=$(cut -d' ' -f1 /proc/uptime)
  "$top/scripts/wine-run.sh" --prefixes "$build/wine" "$probe" --gtest_list_tests >/dev/null 2>&1
  echo "guest: Wine prefix template made in $(awk -v a="$t0" '{printf "%.0f", $1 - a}' /proc/uptime) s"
fi
cd "$build" && ctest -j "$jobs" --no-tests=error --output-on-failure --output-junit /job/junit.xml \
  "${ctest_args[@]}" 2>&1 | tee /job/ctest.log
echo "${PIPESTATUS[0]}" >/job/rc
JOB
  } >"$job/job.sh"
}

# One build at a time; a run that waited finds the guest ready.
mkdir -p "$cache"
exec 9>"$cache/guest32.lock"
flock 9 || fail "could not lock $cache/guest32.lock"
build_guest
flock -u 9; exec 9>&-
[ "$prepare_only" = 1 ] && exit 0

job=$(mktemp -d "${TMPDIR:-/tmp}/test-32bit-vm.XXXXXX")
trap 'rm -rf "$job"' EXIT
write_job "$job"

accel=tcg,thread=multi
[ -w /dev/kvm ] && accel=kvm
say "booting the guest ($cpus cores, ${SAVER_GUEST_MEMORY:-6144} MiB, $accel)"
start=$SECONDS
# -cpu max without SMAP: with SMAP every Wine process dies of a guest-kernel page fault under TCG.
timeout --foreground "${SAVER_GUEST_WALL_LIMIT:-7200}" qemu-system-x86_64 \
  -accel "$accel" -smp "$cpus" -m "${SAVER_GUEST_MEMORY:-6144}" -cpu max,-smap \
  -nographic -no-reboot -monitor none -serial stdio \
  -kernel "$guest/vmlinuz" -initrd "$guest/initrd.img" \
  -append "console=ttyS0 root=/dev/vda ro init=/sbin/guest-init quiet loglevel=3 mitigations=off" \
  -drive file="$guest/root.raw",if=virtio,format=raw,snapshot=on,cache=unsafe \
  -virtfs local,path="$top",mount_tag=src,security_model=none,readonly=on \
  -virtfs local,path="$job",mount_tag=job,security_model=none \
  -nic none </dev/null
qemu_rc=$?
say "guest ran $((SECONDS - start)) s (qemu exit $qemu_rc)"

[ -f "$job/rc" ] || fail "the guest did not finish its tests (qemu exit $qemu_rc)"
rc=$(cat "$job/rc")
passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed ' "$job/ctest.log")
failed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Failed|Exception|Timeout|Not Run)' "$job/ctest.log")
[ "${SAVER_GUEST_KEEP_LOG:-}" ] && cp "$job/ctest.log" "$job/junit.xml" "$SAVER_GUEST_KEEP_LOG/" 2>/dev/null
echo "mingw-i686 in the emulated machine: $passed passed, $failed failed"
[ "$rc" = 0 ] && [ "$failed" = 0 ] && [ "$passed" -gt 0 ]
