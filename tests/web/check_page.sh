#!/usr/bin/env bash
# Rangliste.html of a provisional evaluation with five judges (one of them a
# partial second file, one with a long name, one with a letter in a line), a
# long title, an unreadable picture, one nobody rated and an entrant list
# naming one picture's title and author, checked in headless Chromium by
# check_page.mjs.
# Usage: check_page.sh EVALUATION_PROGRAM SOURCE_DIR WORK_DIR
set -euo pipefail
program=$1 source=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work/folder" "$work/folder "*
mkdir -p "$work/folder"
folder=$work/folder
cp "$source"/demo/*.jpg "$source/demo/Qel.max" "$source"/demo/*.qel "$folder/"
long="Sonnenuntergang_über_dem_Wattenmeer_bei_Ebbe_mit_Prielen_und_Möwen.jpg"
cp "$folder/01 Abendlicht am See.jpg" "$folder/$long"
printf 'kein JPEG' > "$folder/06 kaputt.jpg"
first=$(head -n 1 "$folder/Anna Berger.qel" | tr -d '\r')
printf '%s\r\n' "$first" > "$folder/Anna Berger B.qel"
for judge in "Maximiliane von Hohenzollern-Sigmaringen" "Bernd"; do
  : > "$folder/$judge.qel"
  for picture in "$folder"/*.jpg; do
    printf '443204332043220-%s\r\n' "$(basename "$picture")" >> "$folder/$judge.qel"
  done
done
printf '44x204332043220-04 Makro Blüte.jpg\r\n' >> "$folder/Bernd.qel"
cp "$folder/02 Altstadtgasse.jpg" "$folder/07 Niemand bewertet.jpg"
printf 'Datei;Titel;Autor\r\n01 Abendlicht am See.jpg;Abendlicht am See;Max Muster\r\n' \
  > "$folder/Teilnehmer.csv"

"$program" "$folder" > "$work/out.txt" 2> "$work/err.txt" || true
test -s "$folder Rangliste.html" || { echo "no $folder Rangliste.html"; cat "$work/err.txt"; exit 1; }

# The pinned packages, installed by scripts/setup (no network here).
modules=${BB_WEB_MODULES:-$HOME/.cache/bildbewertung-web}
cmp -s "$here/package-lock.json" "$modules/package-lock.json" &&
  [ -d "$modules/node_modules/puppeteer-core" ] ||
  { echo "puppeteer-core is missing in $modules: run scripts/setup"; exit 1; }
rm -rf "$work/node_modules"
ln -s "$modules/node_modules" "$work/node_modules"
cp "$here/check_page.mjs" "$work/"
node "$work/check_page.mjs" "$folder Rangliste.html" "$work"
