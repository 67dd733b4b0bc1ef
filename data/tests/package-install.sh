#!/usr/bin/env bash
# package-install.sh <package dir> <program>...
# The packages install with apt-get on this system, the programs start from
# /usr, and removing the packages leaves none of their files. Only as root
# and only in CI (or with WB_PACKAGE_INSTALL=1): it changes the machine.
set -euo pipefail
here=$(dirname "$0")
. "$here/common.sh"
out=$1
shift

[ "$(id -u)" -eq 0 ] || skip "installing packages needs root"
[ "${CI:-}" = true ] || [ "${WB_PACKAGE_INSTALL:-}" = 1 ] ||
  skip "installs into /usr only in CI (CI=true) or with WB_PACKAGE_INSTALL=1"
for p in "$@"; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    skip "$p is installed on this machine already and is left as it is"
  fi
done

debs=()
for p in "$@"; do debs+=("$(realpath "$out"/${p}_*.deb)"); done
files=$(for d in "${debs[@]}"; do dpkg-deb -c "$d" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\.||'; done)

log=$(mktemp)
apt() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$log" 2>&1 ||
    fail "apt-get $1 failed: $(cat "$log")"
}
# Whatever happens below, the machine is left without the packages.
trap 'apt-get -y -q purge "$@" >/dev/null 2>&1; rm -f "$log"' EXIT

apt install --no-install-recommends "${debs[@]}"
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" | grep -q "install ok installed" || fail "$p did not install"
  "$here/start.sh" /usr "$p"
done
# The system's MIME database takes the piece type in and lets it go again
# (shared-mime-info's trigger).
globs=/usr/share/mime/globs2
if [[ " $* " == *" parvex "* ]]; then
  grep -q 'application/x-wb-brkfile:\*\.brk' "$globs" || fail "$globs has no piece type"
fi
apt purge "$@"
trap 'rm -f "$log"' EXIT
! grep -q 'application/x-wb-brkfile' "$globs" || fail "$globs keeps the piece type"

for p in "$@"; do
  ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    fail "$p is still installed"
done
left=$(for f in $files; do [ -e "$f" ] && echo "$f"; done || true)
[ -z "$left" ] || fail "removing the packages left: $left"
echo "installed and removed: $*"
