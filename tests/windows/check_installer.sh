#!/usr/bin/env bash
# check_installer.sh INSTALLER SOURCE_DIR [LINUX_BUILD] [WINDOWS_BUILD]: the
# Windows build as a club meets it, under wine and Xvfb: the installer runs
# silently into a wine prefix of its own, for the user alone (not into
# Program Files); the Start menu's "Beispielordner" copies the example into
# the documents and opens the judging program there, which shows its first
# picture (screenshot kept in LINUX_BUILD/windows-e2e/); a sheet saved
# through the window lands there with CR LF and is saved over a second time;
# the evaluation writes its three files, the CSV byte-equal to the Linux
# build's on the same folder and the PDF's text readable, also for a folder
# whose path is over 300 characters, where the starter warns that Windows
# cannot open the judging program; with the PDF held open by another
# program (hold_open.exe of WINDOWS_BUILD) it replaces none of them and
# names the file; the uninstaller removes what was installed and leaves a
# judge's file. Prints the start-up times it saw.
set -euo pipefail
installer=$(realpath "$1")
source_dir=$(realpath "$2")
linux_build=$(realpath "${3:-$source_dir/build}")
windows_build=$(realpath "${4:-$source_dir/build-windows}")
cache=${BB_WINDOWS_CACHE:-$HOME/.cache/bildbewertung-windows}
out="$linux_build/windows-e2e"
rm -rf "$out" && mkdir -p "$out"

export WINEPREFIX="$cache/wine-e2e" WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The installed programs must find everything they need beside them.
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
rm -rf "$WINEPREFIX"
work=$(mktemp -d)
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
# Wine links the documents to the home folder: a home of the check's own.
export HOME="$work/home"
mkdir -p "$HOME"
export work out installer source_dir linux_build windows_build

"$source_dir/tests/e2e/with_xvfb.sh" 1920x1080 bash -c '
  set -euo pipefail
  wine=/usr/lib/wine/wine64
  fail() { echo "$*" >&2; exit 1; }
  $wine wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w
  # Wine does not find its own fonts where Debian puts them: without Tahoma
  # (the Windows dialog font) Qt falls back to a font whose text a line
  # edit cannot show. Every Windows PC has it.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

  $wine "$installer" /S
  /usr/lib/wine/wineserver -w
  # From here one server for the whole check: one that exits after each
  # program may be shutting down when the next connects, which then fails.
  /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
  [ ! -e "$WINEPREFIX/drive_c/Program Files/Bildbewertung" ] || fail "installed into Program Files"
  user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public | head -n 1)
  dir=$(dirname "$(find "$user" -path "*/Programs/Bildbewertung/bildbewertung.exe" | head -n 1)")
  [ -f "$dir/bildbewertung.exe" ] || fail "not installed under the user profile: $(find "$user" -name bildbewertung.exe)"
  menu="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Bildbewertung"
  for f in bildbewertung.exe bildbewertung-auswertung.exe bildbewertung-starten.exe \
           platforms/qwindows.dll bildbewertung/vorlage/Qel.max "bildbewertung/demo/04 Makro Blüte.jpg" \
           Deinstallieren.exe; do
    [ -f "$dir/$f" ] || fail "not installed: $f"
  done
  for f in "Bildbewertung.lnk" "Rangliste erstellen.lnk" "Wettbewerb vorbereiten.lnk" "Beispielordner.lnk"; do
    [ -f "$menu/$f" ] || fail "no Start-menu entry $f"
  done
  $wine reg query "HKCU\\Software\\Classes\\.qel" 2>/dev/null | grep -q Bildbewertung.Bewertung ||
    fail "no .qel association"
  windir="C:${dir#"$WINEPREFIX/drive_c"}"
  windir=${windir//\//\\}

  # The judging program in the example, as the Start menu entry "Beispielordner" opens it.
  cd "$work"
  start=$(date +%s%N)
  $wine "$windir\\bildbewertung-starten.exe" --beispiel & pid=$!
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "^Bildbewertung\$" >/dev/null 2>&1 && break
    sleep 0.1
  done
  shown=$(date +%s%N)
  xdotool search --onlyvisible --name "^Bildbewertung\$" >/dev/null || fail "no window"
  echo "windows start-up of the example to the shown window: $(( (shown - start) / 1000000 )) ms"
  example=$(find -L "$user/" -maxdepth 2 -name "Bildbewertung Beispiel" | head -n 1)
  [ -f "$example/Qel.max" ] || fail "the example was not copied into the documents"
  cd "$example"
  sleep 2
  import -window root "$out/first-picture.png"
  colours=$(identify -format %k "$out/first-picture.png")
  [ "$colours" -gt 1000 ] || fail "the first picture is not shown ($colours colours on the screen)"

  . "$source_dir/tests/e2e/panel.sh"
  panel_type_judge Testjury
  panel_focus_first_slider
  xdotool key Right Right Right
  sleep 0.3
  save() {
    panel_click_save
    for _ in $(seq 30); do [ -f Testjury.qel ] && break; sleep 0.1; done
    sleep 0.5
  }
  save
  cp Testjury.qel "$out/first.qel" 2>/dev/null || fail "Testjury.qel was not written: $(ls)"
  xdotool key Right
  sleep 0.3
  save
  cp Testjury.qel "$out/second.qel"
  import -window root "$out/after-saving.png"
  panel_click_close
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
  kill -0 $pid 2>/dev/null && { kill $pid; fail "the program did not close"; }

  # The evaluation on a fresh copy, and the Linux build on another.
  cp -r "$dir/bildbewertung/demo" "$work/windows" && cp -r "$dir/bildbewertung/demo" "$work/linux"
  start=$(date +%s%N)
  $wine "$windir\\bildbewertung-auswertung.exe" "Z:${work//\//\\}\\windows" \
    >"$out/evaluation.txt" 2>&1 || fail "the evaluation failed: $(cat "$out/evaluation.txt")"
  echo "windows evaluation of the demo: $(( ($(date +%s%N) - start) / 1000000 )) ms"
  QT_QPA_PLATFORM=offscreen "$linux_build/evaluation/bildbewertung-auswertung" "$work/linux" >/dev/null
  # Beside the folder, never in it.
  for f in Rangliste.csv Rangliste.pdf Rangliste.html; do
    [ -s "$work/windows $f" ] || fail "the evaluation did not write windows $f"
    [ ! -e "$work/windows/$f" ] || fail "the evaluation wrote $f into the folder"
  done
  cmp "$work/windows Rangliste.csv" "$work/linux Rangliste.csv" || fail "the CSV differs from Linux"
  cp "$work/windows Rangliste."* "$out/"
  pdftotext "$work/windows Rangliste.pdf" "$out/Rangliste.txt"
  grep -q "Makro Blüte" "$out/Rangliste.txt" || fail "the PDF text lacks a picture name: $(head "$out/Rangliste.txt")"
  # Once more: now the thumbnails come from the disk cache, as JPEGs only.
  $wine "$windir\\bildbewertung-auswertung.exe" "Z:${work//\//\\}\\windows" \
    >"$out/second-evaluation.txt" 2>&1 || fail "the second evaluation failed: $(cat "$out/second-evaluation.txt")"
  images=$(pdfimages -list "$work/windows Rangliste.pdf" | tail -n +3 | wc -l)
  [ "$images" -eq 5 ] || fail "the PDF from the thumbnail cache shows $images of 5 thumbnails"

  # Windows stage only: a picture the organiser hid (attrib +h) to withdraw
  # it is no picture; the ranking has one row less than with all pictures.
  cp -r "$dir/bildbewertung/demo" "$work/hidden"
  $wine attrib +h "Z:${work//\//\\}\\hidden\\04 Makro Blüte.jpg" || fail "attrib +h failed"
  $wine "$windir\\bildbewertung-auswertung.exe" "Z:${work//\//\\}\\hidden" \
    >"$out/hidden.txt" 2>&1 || fail "the evaluation of the folder with a hidden picture failed"
  rows=$(wc -l <"$work/hidden Rangliste.csv") all=$(wc -l <"$work/windows Rangliste.csv")
  [ "$rows" -eq $((all - 1)) ] || fail "the hidden picture was ranked ($rows of $all CSV lines)"

  # A folder whose path is over 300 characters.
  long="$work/long"
  for i in 1 2 3 4 5; do long="$long/Wettbewerb mit einem recht langen Ordnernamen, Teil $i"; done
  mkdir -p "$long" && cp -r "$dir/bildbewertung/demo" "$long/Abend"
  echo "long path: $(( ${#long} + 8 )) characters"
  $wine "$windir\\bildbewertung-auswertung.exe" "Z:${long//\//\\}\\Abend" \
    >"$out/long.txt" 2>&1 || fail "the evaluation of the long path failed: $(cat "$out/long.txt")"
  cmp "$long/Abend Rangliste.csv" "$work/windows Rangliste.csv" || fail "the CSV of the long path differs"
  # The judging program works in its folder, which Windows without long
  # paths enabled (and wine) cannot enter: the starter says so instead.
  $wine "$windir\\bildbewertung-starten.exe" "Z:${long//\//\\}\\Abend" & starter=$!
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^Warnung\$" >/dev/null 2>&1 && break
    sleep 0.2
  done
  import -window root "$out/too-deep.png"
  xdotool search --onlyvisible --name "^Warnung\$" windowfocus --sync key Return ||
    fail "no warning for the long folder"
  if wait $starter; then fail "the starter reported success in the long folder"; fi

  # The PDF open in another program: no output is replaced, the file is named.
  hold=$(find "$windows_build" -maxdepth 2 -name hold_open.exe | head -n 1)
  if [ -f "$hold" ]; then
    $wine "$hold" "Z:${work//\//\\}\\windows Rangliste.pdf" & holder=$!
    for _ in $(seq 100); do [ -f "$work/windows Rangliste.pdf.gehalten" ] && break; sleep 0.1; done
    [ -f "$work/windows Rangliste.pdf.gehalten" ] || fail "hold_open did not hold the PDF"
    touch -d "1 hour ago" "$work/windows Rangliste.csv"
    if $wine "$windir\\bildbewertung-auswertung.exe" "Z:${work//\//\\}\\windows" >"$out/held.txt" 2>&1; then
      fail "the evaluation reported success with the PDF held open"
    fi
    grep -q "windows Rangliste.pdf ist in einem anderen Programm geöffnet" "$out/held.txt" ||
      fail "the held PDF is not named: $(cat "$out/held.txt")"
    [ "$(stat -c %Y "$work/windows Rangliste.csv")" -lt "$(( $(date +%s) - 600 ))" ] ||
      fail "the CSV was replaced although the PDF was held open"
    rm -f "$work/windows Rangliste.pdf.gehalten"
    wait $holder
  else
    fail "no hold_open.exe in $windows_build: build the target hold_open"
  fi

  # A judge saved a sheet into the installed demo folder: it stays.
  printf "9\r\n" > "$dir/bildbewertung/demo/Eigene Jury.qel"
  $wine "$windir\\Deinstallieren.exe" /S
  # The uninstaller runs on as a copy of itself; it is done when it has
  # removed itself.
  for _ in $(seq 120); do [ -e "$dir/Deinstallieren.exe" ] || break; sleep 0.5; done
  sleep 2
  [ -f "$dir/bildbewertung/demo/Eigene Jury.qel" ] || fail "the uninstaller removed a judge file"
  left=$(cd "$dir" && find . -type f | sort)
  [ "$left" = "./bildbewertung/demo/Eigene Jury.qel" ] || fail "the uninstaller left: $left"
  [ ! -e "$menu" ] || fail "the Start-menu entries stayed"
  if $wine reg query "HKCU\\Software\\Classes\\.qel" >/dev/null 2>&1; then
    fail "the .qel association stayed"
  fi
'

expected1=$'300000000000000-01 Abendlicht am See.jpg\r\n'
expected2=$'400000000000000-01 Abendlicht am See.jpg\r\n'
for n in first second; do
  want=$expected1
  [ $n = second ] && want=$expected2
  head=$(head -c ${#want} "$out/$n.qel"; echo x)
  if [ "${head%x}" != "$want" ]; then
    echo "the $n save wrote:" >&2
    od -c "$out/$n.qel" | head >&2
    exit 1
  fi
done
grep -c $'\r$' "$out/second.qel" | grep -qx "$(wc -l <"$out/second.qel")" ||
  { echo "a line of the sheet does not end in CR LF" >&2; exit 1; }
echo "windows installer: silent install, first picture, two saves, ranking equal to Linux, uninstall"
