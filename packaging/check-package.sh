#!/usr/bin/env bash
# Builds the Debian package and checks it, for CTest:
#   check-package.sh build FOLDER CPACK CPACK_CONFIG   make the .deb in FOLDER
#   check-package.sh contents FOLDER VERSION           its files and control fields
#   check-package.sh desktop-files FOLDER              its desktop entry, metadata and manual pages
set -euo pipefail

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

the_package() {
  local found=("$1"/spanwick_*.deb)
  if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
    echo "expected exactly one spanwick_*.deb in $1, found: ${found[*]}" >&2
    exit 1
  fi
  echo "${found[0]}"
}

build() {
  local folder=$1 cpack=$2 config=$3
  rm -rf "$folder"
  mkdir -p "$folder"
  if ! "$cpack" -G DEB --config "$config" -B "$folder" >"$folder/cpack.log" 2>&1; then
    cat "$folder/cpack.log" >&2
    exit 1
  fi
  the_package "$folder"
}

contents() {
  local folder=$1 version=$2 deb
  deb=$(the_package "$folder")
  local arch
  arch=$(dpkg --print-architecture)
  [ "$(basename "$deb")" = "spanwick_${version}_${arch}.deb" ] || fail "file name $(basename "$deb")"

  # Every file the installation needs, and nothing else: a stray install()
  # elsewhere in the tree would show up here.
  local expected=(
    ./usr/bin/spanwick
    ./usr/bin/spanwick-measure
    ./usr/lib/spanwick/spanwick
    "./usr/lib/spanwick/Spanwick Help.hlp"
    ./usr/share/applications/spanwick.desktop
    ./usr/share/metainfo/spanwick.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/spanwick.svg
    ./usr/share/man/man1/spanwick.1.gz
    ./usr/share/man/man1/spanwick-measure.1.gz
  )
  for size in 16 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/spanwick.png")
  done
  local listing
  listing=$(dpkg-deb -c "$deb")
  # Columns: mode owner size date time path [-> target]; paths may hold spaces.
  local files
  files=$(awk '$1 !~ /^d/ { $1=$2=$3=$4=$5=""; sub(/^ +/, ""); sub(/ -> .*/, ""); print }' <<<"$listing" | sort)
  local want
  want=$(printf '%s\n' "${expected[@]}" | sort)
  if [ "$files" != "$want" ]; then
    fail "package files differ from the expected list:"
    diff <(echo "$want") <(echo "$files") >&2 || true
  fi
  grep -q '^lrwxrwxrwx .* \./usr/bin/spanwick -> \.\./lib/spanwick/spanwick$' <<<"$listing" \
    || fail "usr/bin/spanwick is not a link to ../lib/spanwick/spanwick"
  grep -q '^-rwxr-xr-x .* \./usr/bin/spanwick-measure$' <<<"$listing" || fail "spanwick-measure is not executable"
  grep -q '^-rwxr-xr-x .* \./usr/lib/spanwick/spanwick$' <<<"$listing" || fail "the program is not executable"
  if awk '$2 != "root/root"' <<<"$listing" | grep -q .; then
    fail "files not owned by root: $(awk '$2 != "root/root"' <<<"$listing")"
  fi

  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = spanwick ] || fail "Package: $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
  [ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
  for name in Maintainer Section Description; do
    [ -n "$(field "$name")" ] || fail "$name is empty"
  done
  local depends
  depends=$(field Depends)
  [ -n "$depends" ] || fail "Depends is empty"
  for library in libqt6core6 libqt6gui6 libqt6widgets6 libfreetype6 libfontconfig1 qt6-qpa-plugins fonts-dejavu-core; do
    grep -Eq "(^|, )${library}( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
  done
}

desktop_files() {
  local folder=$1 deb root
  deb=$(the_package "$folder")
  root="$folder/root"
  rm -rf "$root"
  dpkg-deb -x "$deb" "$root"

  desktop-file-validate "$root/usr/share/applications/spanwick.desktop" || fail "desktop-file-validate"
  # The component id matches the desktop entry's, spanwick.desktop; a reverse
  # domain name would need a domain of our own. Anything else fails.
  appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
    "$root/usr/share/metainfo/spanwick.metainfo.xml" || fail "appstreamcli validate"
  for page in spanwick spanwick-measure; do
    local file="$root/usr/share/man/man1/$page.1.gz" warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null) || fail "man $page"
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
  done
  # help2man kept the help's characters past ASCII (… and ↵), which it
  # writes as "?" when run in the C locale.
  if zcat "$root/usr/share/man/man1/spanwick-measure.1.gz" | grep -q '???'; then
    fail "spanwick-measure's manual page lost characters past ASCII"
  fi
  # help2man found the synopsis lines of --help.
  zcat "$root/usr/share/man/man1/spanwick-measure.1.gz" | grep -q '^\.SH SYNOPSIS' || fail "no synopsis"
  if zcat "$root/usr/share/man/man1/spanwick-measure.1.gz" | sed -n '/^\.SH DESCRIPTION/,$p' \
      | grep -q 'spanwick\\-measure \\fB'; then
    fail "usage lines of spanwick-measure --help ended up in the DESCRIPTION"
  fi
}

case "${1:-}" in
  build) build "$2" "$3" "$4" ;;
  contents) contents "$2" "$3" ;;
  desktop-files) desktop_files "$2" ;;
  *) echo "usage: $0 build|contents|desktop-files FOLDER ..." >&2; exit 2 ;;
esac
if [ "$failures" -ne 0 ]; then
  exit 1
fi
echo "ok"
