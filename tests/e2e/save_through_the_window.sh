#!/usr/bin/env bash
# The program as a judge meets it: started under Xvfb in a folder of its own,
# a name typed, a slider moved with the keyboard, saved with the save button
# over an older file of that name (the question answered with "J"), closed
# with X. The window is read as assistive technology reads it, and
# the written file must hold exactly the expected bytes.
set -euo pipefail
program=$1
source_dir=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/demo/Qel.max" "$source_dir/demo/03 Portrait im Fenster.jpg" \
   "$source_dir/demo/04 Makro Blüte.jpg" "$work/"
cd "$work"
# Another judge's file of the same name: saving asks first.
printf '9\r\n' > Testjury.qel

reader="$source_dir/tests/e2e/read_window.py"
panel="$source_dir/tests/e2e/panel.sh"
export work program reader panel
"$source_dir/tests/e2e/with_xvfb.sh" 1920x1080 dbus-run-session -- bash -c '
  set -euo pipefail
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  /usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null & bus=$!
  trap "kill $bus 2>/dev/null || true" EXIT
  "$program" & pid=$!
  for _ in $(seq 50); do
    xdotool search --name "^Bildbewertung\$" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  # The task bar shows the application title.
  window=$(xdotool search --name "^Bildbewertung\$" | head -1)
  xprop -id "$window" WM_NAME _NET_WM_NAME > title.txt
  . "$panel"
  panel_type_judge Testjury
  panel_focus_first_slider
  xdotool key Right Right Right
  sleep 0.3
  /usr/bin/python3 "$reader" > window.txt
  panel_click_save
  sleep 0.5
  # The question holds the save until "J" (no Alt) answers it.
  cp Testjury.qel asked.qel
  xdotool key j
  sleep 0.5
  # Saved, so X closes without asking.
  panel_click_close
  for _ in $(seq 25); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 $pid 2>/dev/null; then
    echo "the program did not close" >&2
    kill $pid
    exit 1
  fi
'

# What the window showed after the slider moved, as assistive tools read it.
for line in "label: 3 / 17 Punkte" "label: 3 / 47 Punkte" "label: 3/5" \
            "value Idee / Aussage: 3" "text Bewerter: Testjury" \
            "label: 03 Portrait im Fenster.jpg" "push button: nächstes Bild"; do
  if ! grep -qxF "$line" window.txt; then
    echo "the window did not show \"$line\"; it showed:" >&2
    cat window.txt >&2
    exit 1
  fi
done

for line in 'WM_NAME(STRING) = "Bildbewertung"' '_NET_WM_NAME(UTF8_STRING) = "Bildbewertung"'; do
  if ! grep -qxF "$line" title.txt; then
    echo "the window's title is not \"Bildbewertung\":" >&2
    cat title.txt >&2
    exit 1
  fi
done

if [ "$(cat asked.qel)" != $'9\r' ]; then
  echo "the file was overwritten before the question was answered" >&2
  exit 1
fi

expected=$'300000000000000-03 Portrait im Fenster.jpg\r\n000000000000000-04 Makro Blüte.jpg\r\n'
if [ ! -f Testjury.qel ]; then
  echo "Testjury.qel was not written; the folder holds:" >&2
  ls -la >&2
  exit 1
fi
actual=$(cat Testjury.qel; echo x)
actual=${actual%x}
if [ "$actual" != "$expected" ]; then
  echo "unexpected contents of Testjury.qel:" >&2
  od -c Testjury.qel | head -20 >&2
  exit 1
fi
echo "1 passed, 0 failed"
