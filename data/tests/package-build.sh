#!/usr/bin/env bash
# package-build.sh <cpack> <build dir> <out dir> <icon sizes|-> <program>...
# CPack makes one Debian package per program, holding the program's files
# below /usr and declaring the shared libraries it runs on.
set -euo pipefail
. "$(dirname "$0")/common.sh"
cpack=$1 build=$2 out=$3 sizes=$4
shift 4

rm -rf "$out"
mkdir -p "$(dirname "$out")"
"$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 ||
  fail "cpack failed: $(cat "$out.log")"

# The libraries each program links, as the packages that must come with it.
needs() {
  case $1 in
    sonafex) echo libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libasound2 ;;
    *) echo libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 ;;
  esac
}

for p in "$@"; do
  debs=("$out"/${p}_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package for $p in $out"
  deb=${debs[0]}
  [ "$(dpkg-deb -f "$deb" Package)" = "$p" ] || fail "$deb is not named $p"

  expected=$(installed_files "$p" "$sizes" | sed 's|^|usr/|' | sort)
  actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
  [ "$expected" = "$actual" ] ||
    fail "$deb holds other files than expected (< expected, > in the package):
$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"

  depends=$(dpkg-deb -f "$deb" Depends)
  names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
  for lib in $(needs "$p"); do
    grep -qxF "$lib" <<<"$names" || fail "$deb does not depend on $lib: $depends"
  done
done
echo "packages: $(cd "$out" && ls ./*.deb | tr '\n' ' ')"
