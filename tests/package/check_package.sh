#!/usr/bin/env bash
# check_package.sh BUILD_DIR SOURCE_DIR: builds the Debian package of that
# build with CPack into a scratch folder, unpacks it into a throw-away root
# and checks what a club would install: files, dependencies, the starter's
# version, and the verdicts of desktop-file-validate, appstreamcli and lintian.
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  exit 1
fi
deb=$(echo "$scratch"/out/*.deb)
version=$(dpkg-deb -f "$deb" Version)
[[ $(basename "$deb") == "bildbewertung_${version}_$(dpkg --print-architecture).deb" ]] ||
  fail "package file name $(basename "$deb")"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
(cd "$root" && find . ! -type d | sed 's/^\.//' | sort) >"$scratch/files"

# Who made and ships it, as the build was configured.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
app_id=$(cached BB_APP_ID)
applications="$root/usr/share/applications"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"

expected=(/usr/bin/bildbewertung /usr/bin/bildbewertung-starten
  "/usr/share/applications/$app_id.desktop" "/usr/share/applications/$app_id.Auswertung.desktop"
  "/usr/share/applications/$app_id.Vorbereiten.desktop"
  "/usr/share/metainfo/$app_id.metainfo.xml"
  /usr/share/icons/hicolor/scalable/apps/bildbewertung.svg
  /usr/share/man/man1/bildbewertung.1.gz /usr/share/man/man1/bildbewertung-starten.1.gz
  /usr/share/doc/bildbewertung/copyright /usr/share/doc/bildbewertung/changelog.Debian.gz
  /usr/share/bildbewertung/vorlage/Qel.max /usr/share/bildbewertung/vorlage/InfoQuintavo.pdf)
for size in 48 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/bildbewertung.png")
done
# The demo folder as it is in the sources, less what an evaluation leaves there.
while IFS= read -r -d '' file; do
  expected+=("/usr/share/bildbewertung/demo/$(basename "$file")")
done < <(find "$source/demo" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' \
         -o -name Qel.max -o -name InfoQuintavo.pdf -o -name '*.qel' \) ! -name 'Rangliste.*' -print0)
for file in "${expected[@]}"; do
  grep -qxF "$file" "$scratch/files" || fail "missing $file"
done
unexpected=$(grep -vE '^/usr/(bin/bildbewertung(-[a-z]+)?|share/(applications|metainfo|icons/hicolor|man/man1|doc/bildbewertung|bildbewertung/(vorlage|demo))/.+)$' \
  "$scratch/files" || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"
grep -q 'Rangliste' "$scratch/files" && fail "an evaluation's output went into the package"
cmp -s "$root/usr/share/bildbewertung/demo/Qel.max" "$source/demo/Qel.max" || fail "demo Qel.max differs"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libjpeg62-turbo libicu qt6-qpa-plugins; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed"
done
if grep -qE '(^|[ ,])([a-z0-9.+-]+-dev|g\+\+|gcc|clang|cmake|ninja-build)([ ,(]|$)' <<<"$depends"; then
  fail "Depends names a build tool or -dev package"
fi

starter_version=$("$root/usr/bin/bildbewertung-starten" --version)
[[ $starter_version == "bildbewertung-starten ${version%%-*}" ||
   $starter_version".0" == "bildbewertung-starten ${version%%-*}" ]] ||
  fail "starter says '$starter_version', package is $version"

"$root/usr/bin/bildbewertung-starten" --help | grep -qxF "$root/usr/share/bildbewertung/vorlage/" ||
  fail "starter's help does not name the installed template folder"

# What the installed files say: the configured maker and licence, no MIME type
# that would make a menu entry the opener of every folder, no screenshot that
# is not there. A row: file|a line it must hold (grep -E), or file|!a line it
# must not.
while IFS='|' read -r file pattern; do
  if [[ $pattern == !* ]]; then
    ! grep -qE "${pattern#!}" "$file" || fail "$file holds ${pattern#!}"
  else
    grep -qE "$pattern" "$file" || fail "$file lacks $pattern"
  fi
done <<ROWS
$applications/$app_id.desktop|!^MimeType=
$applications/$app_id.Auswertung.desktop|!^MimeType=
$applications/$app_id.Vorbereiten.desktop|!^MimeType=
$applications/$app_id.Vorbereiten.desktop|^Exec=bildbewertung-auswertung --vorbereiten
$metainfo|<project_license>GPL-3.0-or-later</project_license>
$metainfo|<url type="homepage">$(cached BB_HOMEPAGE)</url>
$metainfo|<developer_name>$(cached BB_AUTHORS)</developer_name>
$metainfo|!<screenshot
$root/usr/share/doc/bildbewertung/copyright|^License: GPL-3\+$
$root/usr/share/doc/bildbewertung/copyright|^Copyright: [0-9]+ $(cached BB_AUTHORS)$
ROWS
[[ $(dpkg-deb -f "$deb" Maintainer) == "$(cached BB_MAINTAINER)" ]] || fail "Maintainer"
[[ $(dpkg-deb -f "$deb" Homepage) == "$(cached BB_HOMEPAGE)" ]] || fail "Homepage"
# A double quote in the description cut it into a list (";") on its way through CPack.
dpkg-deb -f "$deb" Description | grep -q "(menu entry 'Rangliste\$" ||
  fail "Description: $(dpkg-deb -f "$deb" Description)"

desktop-file-validate "$applications/$app_id.desktop" "$applications/$app_id.Auswertung.desktop" \
  "$applications/$app_id.Vorbereiten.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" || fail "lintian"
fi

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "package checks passed"
