#!/usr/bin/env bash
# start.sh <prefix> <program>
# The installed program starts headless from the prefix, finds what it
# needs there, keeps its own files in the user's folders and none beside
# itself. The programs have no way to end at once, so the test waits for
# what a started program writes, then ends it.
set -euo pipefail
. "$(dirname "$0")/common.sh"
prefix=$1 p=$2
exe=$prefix/bin/$p
[ -x "$exe" ] || fail "$exe is not installed"
make_sandbox
touch "$box/started"

# What shows that the program is up: Parvex registers its piece file type
# and writes its first-start marker; Sonafex's main window makes its undo
# folder; for others, still running after a while.
started() {
  case $p in
    parvex) [ -f "$XDG_CONFIG_HOME/parvex/regfile.qzt" ] ;;
    sonafex) compgen -G "$TMPDIR/sonafex-*" >/dev/null ;;
    *) [ -f "$box/waited" ] ;;
  esac
}

QT_QPA_PLATFORM=offscreen "$exe" >"$box/output" 2>&1 &
pid=$!
for ((i = 0; i < 200; i++)); do
  kill -0 "$pid" 2>/dev/null || { wait "$pid" && rc=0 || rc=$?; fail "$p ended by itself (exit $rc):
$(cat "$box/output")"; }
  started && break
  sleep 0.1
  ((i == 30)) && touch "$box/waited"
done
started || { kill "$pid"; fail "$p showed no sign of starting in 20 s:
$(cat "$box/output")"; }
kill "$pid"
wait "$pid" 2>/dev/null || true

written=$(find "$prefix/bin" -maxdepth 1 -newer "$box/started" -printf '%f\n')
[ -z "$written" ] || fail "$p wrote beside itself into $prefix/bin: $written"

if [ "$p" = parvex ]; then
  # The file manager's entry for piece files runs this program and shows
  # its icon from the prefix.
  entry=$XDG_DATA_HOME/applications/wb-brkfile.desktop
  [ -f "$entry" ] || fail "no desktop entry for piece files was written"
  grep -qxF "Exec=$exe %f" "$entry" || fail "the entry does not run $exe: $(grep Exec= "$entry")"
  icon=$prefix/share/icons/hicolor/scalable/apps/parvex.svg
  grep -qxF "Icon=$icon" "$entry" || fail "the entry does not show $icon: $(grep Icon= "$entry" || true)"
  [ -f "$icon" ] || fail "$icon does not exist"
  out=$(desktop-file-validate "$entry" 2>&1) || fail "$entry: $out"
  [ -z "$out" ] || fail "$entry: $out"
  [ -f "$XDG_CONFIG_HOME/parvex/cmopt.qzt" ] || fail "the option file is not in the user's folder"
fi
echo "$p started from $prefix"
