#!/usr/bin/env bash
# Runs the README's test command (scripts/test.sh) in a brand-new Debian 12 root made with
# debootstrap, on a given number of cores, and prints how long it took: the check that the tests
# pass on a fresh machine, whatever this one has installed.
#
#   scripts/fresh-root-test.sh [-c CORES] [-r ROOT] [-m MIRROR] [-d REAL_DATA]
#
# CORES the test run may use (default 2), ROOT the folder of the new root (default
# /var/tmp/zar-fresh-root; made anew when it holds no root yet), MIRROR the Debian mirror
# (default: the first one this machine's apt uses), REAL_DATA a folder with the real example
# runs (default $ZAR_REAL_DATA, else ~/.cache/zar-real-data), copied into the root's cache so
# that the tests that need them run. Needs root (debootstrap, chroot, mounts).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cores=2
root=/var/tmp/zar-fresh-root
mirror=""
data="${ZAR_REAL_DATA:-$HOME/.cache/zar-real-data}"
while getopts "c:r:m:d:h" option; do
  case "$option" in
    c) cores="$OPTARG" ;;
    r) root="$OPTARG" ;;
    m) mirror="$OPTARG" ;;
    d) data="$OPTARG" ;;
    *) sed -n '2,14p' "$0"; exit 2 ;;
  esac
done

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-root-test.sh must run as root (debootstrap, chroot, mounts)" >&2
  exit 1
fi
if [ -z "$mirror" ]; then
  mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1)
  [ -n "$mirror" ] || mirror=$(sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\) .*/\2/p' /etc/apt/sources.list 2>/dev/null | head -1)
  [ -n "$mirror" ] || mirror=http://deb.debian.org/debian
fi
command -v debootstrap > /dev/null || { apt-get update -qq; apt-get install -y -qq debootstrap; }

if [ ! -x "$root/bin/bash" ]; then
  mkdir -p "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror"
fi

mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2> /dev/null || true; done
}
trap cleanup EXIT
for fs in proc sys dev dev/pts dev/shm; do
  mkdir -p "$root/$fs"
  mount --bind "/$fs" "$root/$fs"
  mounted+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The same package sources as this machine (sudo is not in a minimal root: the scripts run as
# root there).
cp -r /etc/apt/sources.list* "$root/etc/apt/" 2> /dev/null || true

# The committed tree, without anything built or installed here.
rm -rf "$root/work/zar"
mkdir -p "$root/work/zar"
git -C "$here" archive HEAD | tar -x -C "$root/work/zar"
if [ -d "$data" ]; then
  mkdir -p "$root/root/.cache/zar-real-data"
  cp -a "$data/." "$root/root/.cache/zar-real-data/"
fi

start=$(date +%s)
status=0
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  taskset -c "0-$((cores - 1))" bash -c 'cd /work/zar && bash scripts/test.sh' || status=$?
end=$(date +%s)
echo "The test command took $(((end - start) / 60)) min $(((end - start) % 60)) s on $cores cores in a fresh Debian 12 root (exit $status)."
exit "$status"
