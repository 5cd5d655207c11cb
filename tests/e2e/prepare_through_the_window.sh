#!/usr/bin/env bash
# The organiser's evening, first step: 20 pictures in 4 member folders (and
# a file that is no JPEG) become an anonymous competition folder through the
# preparation window, driven and read as assistive technology does. The
# folder must hold the pictures byte for byte as 01.jpg ... 20.jpg, Qel.max
# and the guide; the entrant list lies beside it; no original changed.
set -euo pipefail
program=$1
source_dir=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
entries="$work/Einsendungen"
n=0
# A lossless turn per member tells the four copies apart: an anonymous copy
# keeps the picture's data, nothing after it and no metadata.
turns=("-flip horizontal" "-rotate 90" "-rotate 180" "-rotate 270")
for member in "Anna Berg" "Max Muster" "Jens Vogt" "Eva Licht"; do
  mkdir -p "$entries/$member"
  turn=${turns[$((n / 5))]}
  for picture in "$source_dir"/demo/*.jpg; do
    n=$((n + 1))
    title=$(basename "$picture" .jpg)
    # shellcheck disable=SC2086 # the turn is two words
    jpegtran -copy none $turn "$picture" > "$entries/$member/${title:3} $n.jpg"
  done
done
printf 'GIF89a' > "$entries/Max Muster/Katze.png"
(cd "$entries" && find . -type f -exec sha256sum {} + | sort) > "$work/before.txt"

export program entries source_dir
"$source_dir/tests/e2e/with_xvfb.sh" 1400x900 dbus-run-session -- bash -c '
  set -euo pipefail
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  /usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null & bus=$!
  "$program" --vorbereiten "$entries" & pid=$!
  trap "kill $pid $bus 2>/dev/null || true" EXIT
  /usr/bin/python3 "$source_dir/tests/e2e/prepare_through_the_window.py" "Herbst 2026" \
    > "$entries/../window.txt"
'
cd "$work"
fail() { echo "$*" >&2; cat window.txt >&2; exit 1; }
for line in "table cell: Max Muster/Altstadtgasse 7.jpg" "table cell: Altstadtgasse 7" \
            "table cell: Eva Licht" "table cell: Max Muster/Katze.png" \
            "table cell: kein JPEG-Bild" "label: 21 Bilder, 20 aufgenommen" \
            "text Beschreibung W1: Idee / Aussage" "value Höchstpunkte W1: 5" \
            "label: W3 passt" "label: W5 ausgeblendet" "label: Zusammen: 47 Punkte" \
            "check box Anonym bewerten: an" "push button: Wettbewerb anlegen"; do
  grep -qxF "$line" window.txt || fail "the window did not show \"$line\""
done
grep -q '^message .*Der Wettbewerb ist angelegt: 20 Bilder' window.txt ||
  fail "no message that the competition was made"

folder="Herbst 2026"
[ -d "$folder" ] || fail "no competition folder; the work folder holds: $(ls)"
expected=$(printf '%02d.jpg\n' $(seq 20); printf '%s\n' InfoQuintavo.pdf Qel.max)
[ "$(ls "$folder" | sort)" == "$(echo "$expected" | sort)" ] ||
  fail "the folder holds: $(ls "$folder")"
cmp "$folder/InfoQuintavo.pdf" "$source_dir/demo/InfoQuintavo.pdf"
# The template's criteria, in Windows-1252 with CR LF.
head -c 17 "$folder/Qel.max" | cmp - <(printf '5 Idee / Aussage\r')
grep -qa $'^3 Originalit\xe4t\r$' "$folder/Qel.max" || fail "Qel.max is not Windows-1252"
# Every picture byte for byte, in an order that is not the members' order.
(cd "$folder" && sha256sum [0-9]*.jpg | cut -d' ' -f1 | sort) > copied.txt
grep -v Katze before.txt | cut -d' ' -f1 | sort > sent.txt
cmp copied.txt sent.txt || fail "the pictures were not copied byte for byte"
(cd Einsendungen && find . -type f -exec sha256sum {} + | sort) | cmp - before.txt ||
  fail "an original changed"

list="$folder Teilnehmer.csv"
[ -f "$list" ] || fail "no entrant list beside the folder"
[ "$(head -c 22 "$list")" == $'\xef\xbb\xbfDatei;Titel;Autor\r' ] || fail "list header: $(head -1 "$list")"
[ "$(wc -l < "$list")" == 21 ] || fail "the list has $(wc -l < "$list") lines"
first=$(sed -n 2p "$list")
sum=$(sha256sum "$folder/01.jpg" | cut -d' ' -f1)
source=$(grep "$sum" before.txt | head -1 | cut -c69-)
member=${source%%/*}
title=$(basename "$source" .jpg)
[ "$first" == "01.jpg;$title;$member"$'\r' ] || fail "01.jpg is $source, the list says $first"
echo "1 passed, 0 failed"
