#!/usr/bin/env bash
# package-lint.sh <packages dir> <install prefix> <program>...
# The packages pass Debian's checker without an error or a warning, and the
# install tree's AppStream descriptions pass the AppStream validator; each
# check is skipped where its tool is missing.
set -euo pipefail
. "$(dirname "$0")/common.sh"
debs=$1 prefix=$2
shift 2

ran=0
if command -v appstreamcli >/dev/null; then
  for p in "$@"; do
    xml=$prefix/share/metainfo/com.example.$p.metainfo.xml
    out=$(appstreamcli validate --no-net --no-color "$xml" 2>&1) || fail "appstreamcli rejects $xml:
$out"
  done
  out=$(appstreamcli validate-tree --no-net --no-color "$prefix" 2>&1) ||
    fail "appstreamcli rejects the install tree $prefix:
$out"
  ran=1
fi
if command -v lintian >/dev/null; then
  for p in "$@"; do
    deb=$(ls "$debs"/${p}_*.deb)
    # Root runs lintian too (CI does); its own warning about that is no finding.
    out=$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1) || true
    findings=$(grep -E '^[EW]: ' <<<"$out" || true)
    [ -z "$findings" ] || fail "lintian on $deb:
$findings"
  done
  ran=1
fi
[ $ran = 1 ] || skip "neither lintian nor appstreamcli is installed (scripts/setup installs them)"
echo "packages and AppStream descriptions pass: $*"
