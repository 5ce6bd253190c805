#!/usr/bin/env bash
# Runs the README's two quick-start commands on a fresh Debian 13 (trixie),
# made with debootstrap from Debian's own packages, as a user with sudo would.
# Not part of CI: it downloads a few hundred MB and builds everything twice.
#
#   sudo scripts/check-debian13.sh [ROOT] [SUITE] [EXTRA_SUITE]
#   sudo CHECK=rtf scripts/check-debian13.sh /var/tmp/lexivane-sid sid
#
# CHECK=rtf builds and runs only the RTF document builders' tests, with the
# fast builder forced on: the check for a Qt not yet on its tested list.
# ROOT (default /var/tmp/lexivane-SUITE) is made once and reused; the source
# tree is copied in afresh every time. SUITE defaults to trixie. EXTRA_SUITE
# (say experimental) adds that suite and takes Qt from it, for trying the
# newest Qt that Debian packages. The mirror is the one this machine's apt
# uses, or DEBIAN_MIRROR.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  echo "debootstrap and chroot need root: sudo $0 $*" >&2
  exit 2
fi
suite=${2:-trixie}
root=${1:-/var/tmp/lexivane-$suite}
extra=${3:-}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

mirror=${DEBIAN_MIRROR:-}
if [ -z "$mirror" ]; then
  mirror=$(grep -hsoE '(URIs:|deb) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/* \
             | grep -v security | head -n1 | awk '{print $2}' || true)
fi
if [ -z "$mirror" ]; then
  echo "no Debian mirror found in /etc/apt/sources.list*; set DEBIAN_MIRROR" >&2
  exit 2
fi

command -v debootstrap >/dev/null || apt-get install -y --no-install-recommends debootstrap

mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -l "${mounted[$i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT
mount_in() {  # mount_in TARGET mount-arguments...
  local target=$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}

if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "== debootstrap $suite into $root"
  debootstrap --variant=minbase --include=sudo,ca-certificates,git "$suite" "$root" "$mirror"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
# A mirror's snapshot may be older than this machine's clock says.
echo 'Acquire::Check-Valid-Until "false";' > "$root/etc/apt/apt.conf.d/99lexivane-check"
if [ -n "$extra" ]; then
  echo "deb $mirror $extra main" > "$root/etc/apt/sources.list.d/$extra.list"
  # Qt alone comes from the extra suite.
  printf 'Package: qt6-* libqt6* qmake6* qt6-base-private-dev\nPin: release a=%s\nPin-Priority: 990\n' \
    "$extra" > "$root/etc/apt/preferences.d/qt-from-$extra"
fi

mount_in "$root/proc" -t proc proc
mount_in "$root/sys" -t sysfs sysfs
mount_in "$root/dev" --bind /dev
mount_in "$root/dev/pts" --bind /dev/pts
mount_in "$root/tmp" -t tmpfs tmpfs

# A user with sudo, as the README asks, with the tree in its home.
chroot "$root" /bin/sh -c 'id lexi >/dev/null 2>&1 || useradd -m -s /bin/bash lexi'
echo 'lexi ALL=(ALL) NOPASSWD: ALL' > "$root/etc/sudoers.d/lexi"
chmod 0440 "$root/etc/sudoers.d/lexi"
rm -rf "$root/home/lexi/lexivane" "$root/home/lexi/Lexivane" "$root/home/lexi/.local"
mkdir -p "$root/home/lexi/lexivane"
(cd "$top" && git ls-files -z --cached --others --exclude-standard \
   | tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$root/home/lexi/lexivane"
chroot "$root" chown -R lexi:lexi /home/lexi

# A login as the user: its own HOME and PATH, no DISPLAY.
as_user() {
  chroot "$root" /usr/bin/env -i TERM=dumb LANG=C.UTF-8 \
    /bin/su - lexi -s /bin/bash -c "cd /home/lexi/lexivane && $1"
}

echo "== $(chroot "$root" sh -c '. /etc/os-release; echo "$PRETTY_NAME"')"
if [ "${CHECK:-readme}" = rtf ]; then
  as_user 'sudo DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends cmake ninja-build g++ \
      qt6-base-dev qt6-base-private-dev libgl-dev libgtest-dev libgmock-dev fonts-dejavu-core >/dev/null &&
    echo "== Qt $(dpkg-query -W -f="\${Version}" qt6-base-dev)" &&
    cmake -S . -B build-rtf -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEXIVANE_TESTS=ON -DLEXIVANE_RTF_PRIVATE_BUILDER=ON &&
    cmake --build build-rtf --target rtfbuilder_test rtfsamples_test rtfreader_test rtfwriter_test &&
    cd build-rtf && ctest --output-on-failure -R "^rtf(builder|samples|reader|writer)_test\$"'
  exit $?
fi
status=0
echo "== bash scripts/quickstart.sh test"
as_user 'bash scripts/quickstart.sh test' || status=$?
echo "== quickstart.sh test exited $status"
echo "== Qt: $(chroot "$root" dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null)"
run_status=0
echo "== bash scripts/quickstart.sh run (no display)"
as_user 'bash scripts/quickstart.sh run' || run_status=$?
echo "== quickstart.sh run exited $run_status"
if [ "$status" -ne 0 ] || [ "$run_status" -ne 0 ]; then
  exit 1
fi
