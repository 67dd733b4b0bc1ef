#!/usr/bin/env bash
# mime.sh <prefix>
# Once the installed MIME package is registered in a user's data folder,
# the desktop knows piece files by name, in any case.
set -euo pipefail
. "$(dirname "$0")/common.sh"
prefix=$1
make_sandbox
mkdir -p "$XDG_DATA_HOME/mime/packages"
cp "$prefix/share/mime/packages/parvex.xml" "$XDG_DATA_HOME/mime/packages/"
update-mime-database "$XDG_DATA_HOME/mime"
# xdg-mime asks the desktop's own tool; without a desktop it asks file(1),
# which reads no MIME packages, so it is pointed at GNOME's gio.
export XDG_CURRENT_DESKTOP=GNOME
command -v gio >/dev/null || fail "gio (libglib2.0-bin) is missing; scripts/setup installs it"

while read -r name expected; do
  printf 'piece' >"$box/$name"
  type=$(xdg-mime query filetype "$box/$name")
  if [ "$expected" = brk ]; then
    [ "$type" = application/x-wb-brkfile ] || fail "$name is $type, not a piece file"
  else
    [ "$type" != application/x-wb-brkfile ] || fail "$name taken for a piece file"
  fi
done <<'ROWS'
movie.brk brk
MOVIE.BRK brk
movie.mkv.brk brk
movieb01 other
movie.brk.txt other
ROWS
echo "piece files are application/x-wb-brkfile"
