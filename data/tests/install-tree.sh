#!/usr/bin/env bash
# install-tree.sh <cmake> <build dir> <prefix> <icon sizes|-> <program>...
# A fresh `cmake --install` into the prefix holds what every program needs
# and nothing else, each PNG icon of its size.
set -euo pipefail
. "$(dirname "$0")/common.sh"
cmake=$1 build=$2 prefix=$3 sizes=$4
shift 4

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

expected=$(for p in "$@"; do installed_files "$p" "$sizes"; done | sort)
actual=$(cd "$prefix" && find . -type f -printf '%P\n' | sort)
[ "$expected" = "$actual" ] ||
  fail "installed files differ from the expected ones (< expected, > installed):
$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"

for p in "$@"; do
  [ -x "$prefix/bin/$p" ] || fail "bin/$p is not executable"
  [ "$sizes" = - ] && continue
  for s in $sizes; do
    png=$prefix/share/icons/hicolor/${s}x${s}/apps/$p.png
    file -b "$png" | grep -q "^PNG image data, $s x $s," ||
      fail "$png is not a $s x $s PNG: $(file -b "$png")"
  done
done
echo "installed into $prefix: $(echo "$actual" | wc -l) files of $*"
