# Shared by the install and package tests: a private home for a program's
# run, failures that say what went wrong, and the files each program installs.

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }

# HOME, the XDG folders and the temp folder in a private folder, removed at
# exit, so a test never touches the machine's own desktop.
make_sandbox() {
  box=$(mktemp -d "${TMPDIR:-/tmp}/wb-install-test.XXXXXX")
  trap 'rm -rf "$box"' EXIT
  export HOME=$box/home XDG_CONFIG_HOME=$box/config XDG_DATA_HOME=$box/data TMPDIR=$box/tmp
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$TMPDIR"
}

# The files a program installs, below the prefix, one a line.
# installed_files <program> <icon sizes, or "-" for none>
installed_files() {
  local p=$1 sizes=$2
  echo "bin/$p"
  echo "share/applications/$p.desktop"
  echo "share/doc/$p/README.md"
  echo "share/doc/$p/changelog.Debian.gz"
  echo "share/doc/$p/copyright"
  echo "share/lintian/overrides/$p"
  echo "share/man/man1/$p.1.gz"
  echo "share/metainfo/com.example.$p.metainfo.xml"
  echo "share/icons/hicolor/scalable/apps/$p.svg"
  if [ "$sizes" != - ]; then
    for s in $sizes; do echo "share/icons/hicolor/${s}x${s}/apps/$p.png"; done
  fi
  case $p in
    parvex)
      echo "share/mime/packages/parvex.xml"
      echo "share/parvex/qz15help.doc"
      ;;
  esac
}
