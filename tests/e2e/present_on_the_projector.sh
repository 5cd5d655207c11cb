#!/usr/bin/env bash
# The results evening from outside: a competition of three pictures (one
# stored lying with EXIF orientation 6, one nobody rated) presented with
# --praesentation on an Xvfb with two screens, the organiser's 1024 x 768
# the primary one, so the projector is the other, 1920 x 1080. Page Down
# through the announcement, read as assistive technology reads it at each
# step; `b` blacks the screen; Esc ends the program. The screenshots stay in
# the folder given as the third argument, if any.
set -euo pipefail
program=$1
source_dir=$2
shots=${3:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder="$work/Herbst"
mkdir "$folder"
cp "$source_dir/demo/Qel.max" "$folder/"
cp "$source_dir/demo/01 Abendlicht am See.jpg" "$folder/01.jpg"
cp "$source_dir/demo/02 Altstadtgasse.jpg" "$folder/03.jpg"
# An EXIF block with orientation 6 after the start marker: the 800 x 600
# flower stands upright as 600 x 800.
/usr/bin/python3 - "$source_dir/demo/04 Makro Blüte.jpg" "$folder/02.jpg" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
tiff = b"MM\x00\x2a" + struct.pack(">IHHHIHHI", 8, 1, 0x0112, 3, 1, 6, 0, 0)
app1 = b"Exif\x00\x00" + tiff
open(sys.argv[2], "wb").write(data[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1
                              + data[2:])
PY
printf '443204332043220-01.jpg\r\n332204322043320-02.jpg\r\n' > "$folder/Anna.qel"
printf 'Datei;Titel;Autor\r\n01.jpg;Abendlicht;Anna Berg\r\n02.jpg;Blüte;Bert Kurz\r\n03.jpg;Ungesehen;Carla Roth\r\n' \
  > "$folder/Teilnehmer.csv"

reader="$source_dir/tests/e2e/read_window.py"
export program folder reader work
"$source_dir/tests/e2e/with_xvfb.sh" 1920x1080+1024x768 dbus-run-session -- bash -c '
  set -euo pipefail
  projector=$DISPLAY.0
  export DISPLAY=$DISPLAY.1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  /usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null & bus=$!
  "$program" --praesentation "$folder" & pid=$!
  trap "kill $pid $bus 2>/dev/null || true" EXIT
  for _ in $(seq 50); do
    DISPLAY=$projector xdotool search --name "^Präsentation – Herbst\$" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  look() {
    /usr/bin/python3 "$reader" bildbewertung-auswertung > "$work/step$1.txt"
    import -display "$projector" -window root "$work/step$1.png"
  }
  look 0
  for step in 1 2 3 4; do
    DISPLAY=$projector xdotool key Next
    sleep 0.5
    look $step
  done
  DISPLAY=$projector xdotool key b
  sleep 0.5
  look black
  DISPLAY=$projector xdotool key Escape
  for _ in $(seq 25); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 $pid 2>/dev/null; then
    echo "Esc did not end the presentation" >&2
    exit 1
  fi
  wait $pid
'

cd "$work"
[ -z "$shots" ] || cp step*.png "$shots/"
fail() { echo "$1" >&2; cat "$2" >&2; exit 1; }
expect() { grep -qxF "$2" "$1" || fail "step $1 did not show \"$2\"; it showed:" "$1"; }
expect step0.txt "filler: Bild 1 von 2"
expect step1.txt "filler: Platz 2 · Mittelwert 33,0 · Blüte – Bert Kurz"
expect step2.txt "filler: Bild 2 von 2"
expect step3.txt "filler: Platz 1 · Mittelwert 36,0 · Abendlicht – Anna Berg"
expect step3.txt "description Platz 1 · Mittelwert 36,0 · Abendlicht – Anna Berg: Schritt 4 von 4"
# Page Down at the last step stays there; the unrated picture never came.
expect step4.txt "filler: Platz 1 · Mittelwert 36,0 · Abendlicht – Anna Berg"
! grep -l "Ungesehen\|Carla Roth" step*.txt || fail "the unrated picture was shown" /dev/null
expect stepblack.txt "filler: Schwarz"

# The projector's screen: the picture fills it top to bottom above the
# band, on black; black means black everywhere.
size() { identify -format "%wx%h" "$1"; }
[ "$(size step0.png)" == 1920x1080 ] || fail "the projector is $(size step0.png)" /dev/null
# The upright flower (600 x 800) fills the height above the band: a
# portrait, centred, black to its left and right.
trimmed=$(convert step0.png -fuzz 2% -trim -format "%wx%h%O" info:)
width=${trimmed%%x*}
height=${trimmed#*x}
height=${height%%+*}
[ "$width" -lt "$height" ] || fail "the first picture is not upright: $trimmed" /dev/null
[ "$height" -ge 900 ] || fail "the first picture is not as large as the screen allows: $trimmed" /dev/null
[ "$(convert stepblack.png -format "%[fx:maxima]" info:)" == 0 ] ||
  fail "b did not black the screen" /dev/null
echo "the presentation announced both places and blacked the screen"
