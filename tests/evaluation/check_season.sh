#!/usr/bin/env bash
# Three small competitions with entrant lists, checked from outside: the
# authors' ranking in the PDF, a judge who is also an author, the
# certificates (pdftotext, pdfimages) and the season with its rules.
# Usage: check_season.sh EVALUATION_PROGRAM SOURCE_DIR WORK_DIR
set -euo pipefail
program=$1 source=$2 work=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
pictures=("$source"/demo/*.jpg) # 4000 x 3000

# competition NAME then per picture FILE;TITLE;AUTHOR, then "--", then per
# judge JUDGE:FILE=POINTS,... (the points all in the first criterion).
competition() {
  local name=$1 folder=$work/$1 i=0
  shift
  mkdir -p "$folder"
  cp "$source/demo/Qel.max" "$folder/"
  printf '\xEF\xBB\xBFDatei;Titel;Autor\r\n' > "$work/$name Teilnehmer.csv"
  while [ "$1" != -- ]; do
    cp "${pictures[$((i++ % ${#pictures[@]}))]}" "$folder/${1%%;*}"
    printf '%s\r\n' "$1" >> "$work/$name Teilnehmer.csv"
    shift
  done
  shift
  for judge in "$@"; do
    : > "$folder/${judge%%:*}.qel"
    IFS=, read -ra lines <<< "${judge#*:}"
    for line in "${lines[@]}"; do
      printf '%s00000000000000-%s\r\n' "${line#*=}" "${line%%=*}" >> "$folder/${judge%%:*}.qel"
    done
  done
}

# Anna Berg judges too: her own 5s do not count, Jo's 3s are the means.
competition Frühling "a1.jpg;Abend;Anna Berg" "a2.jpg;Morgen;Anna Berg" "b1.jpg;Hafen;Bert Kurz" \
  "c1.jpg;Wald;Carla Roth" -- "Jo:a1.jpg=3,a2.jpg=3,b1.jpg=4,c1.jpg=2" \
  "Anna Berg:a1.jpg=5,a2.jpg=5,b1.jpg=4,c1.jpg=2"
competition Sommer "s1.jpg;Blatt;anna berg" "s2.jpg;Brücke;Bert Kurz" -- "Jo:s1.jpg=1,s2.jpg=2"
competition Herbst "h1.jpg;Nebel;Anna Berg" "h2.jpg;Turm;Bert Kurz" -- "Jo:h1.jpg=3,h2.jpg=3"

export XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config
cd "$work"
"$program" Frühling > out.txt 2> err.txt || fail "evaluation: $(cat err.txt)"
# The ranking's files in the folder or beside it.
output() { for f in "Frühling/Rangliste.$1" "Frühling Rangliste.$1"; do [ ! -f "$f" ] || echo "$f"; done; }
pdf=$(output pdf) csv=$(output csv)
pdftotext -layout "$pdf" ranking.txt
sed -n '/Autorenwertung/,$p' ranking.txt > authors.txt
grep -q 'Anna Berg .*6,0 .*3,0' authors.txt || fail "Anna Berg 6,0: $(cat authors.txt)"
[ "$(grep -n 'Anna Berg' authors.txt | head -n 1 | cut -d: -f1)" -lt \
  "$(grep -n 'Bert Kurz' authors.txt | head -n 1 | cut -d: -f1)" ] || fail "Anna before Bert"
grep -q 'eigene Bilder nicht gewertet: Anna Berg' ranking.txt || fail "own pictures note in PDF"
grep -q 'Vorläufige' ranking.txt && fail "provisional with own pictures left out"
grep -q '^2;a1.jpg;Abend;Anna Berg;;3;3,0;' "$csv" || fail "own picture at Jo's mean: $(cat "$csv")"
grep -q '^Autorenwertung' "$csv" || fail "CSV without Autorenwertung"

"$program" --urkunden Frühling > out.txt 2> err.txt || fail "--urkunden: $(cat err.txt)"
certificates="Frühling Urkunden.pdf"
[ "$(pdfinfo "$certificates" | sed -n 's/^Pages: *//p')" = 3 ] || fail "three certificates"
pdftotext -layout "$certificates" certificates.txt
for text in "1. Platz" Hafen "Bert Kurz" Abend Morgen "Anna Berg" Frühling Unterschrift; do
  grep -q "$text" certificates.txt || fail "certificates without '$text'"
done
[ "$(grep -c '2. Platz' certificates.txt)" = 2 ] || fail "two certificates for place 2"
pdfimages -list "$certificates" | awk 'NR > 2 { n++; if ($4 < 1000 && $5 < 1000) small++ }
  END { exit !(n == 3 && !small) }' || fail "pictures of 1000 pixels: $(pdfimages -list "$certificates")"

mkdir season
"$program" --jahreswertung --ausgabe season Frühling Sommer Herbst > out.txt 2> err.txt ||
  fail "--jahreswertung: $(cat err.txt)"
for row in '1;Anna Berg;6,0;1,0;3,0;10,0' '2;Bert Kurz;4,0;2,0;3,0;9,0' '3;Carla Roth;2,0;;;2,0'; do
  grep -q "^$row"$'\r' season/Jahreswertung.csv || fail "season row $row: $(cat season/Jahreswertung.csv)"
done
test -s season/Jahreswertung.pdf && test -s season/Jahreswertung.html || fail "season PDF, page"
grep -q 'Jo' season/Jahreswertung.html && fail "a judge named on the season page"
"$program" --jahreswertung --regel beste:1 --ausgabe season Frühling Sommer Herbst > out.txt
sed -n 2p season/Jahreswertung.csv | grep -q '^1;Bert Kurz;4,0;0,0;0,0;4,0' ||
  fail "beste:1: $(cat season/Jahreswertung.csv)"

# Several folders only for the season; a folder without list is named.
set +e
"$program" Frühling Sommer > /dev/null 2>&1
[ $? = 2 ] || fail "two folders without --jahreswertung"
rm "Sommer Teilnehmer.csv"
"$program" --jahreswertung --ausgabe season Frühling Sommer > /dev/null 2> err.txt
[ $? = 1 ] && grep -q "'Sommer': keine Teilnehmerliste" err.txt || fail "folder without a list"
echo "check_season: all passed"
