#!/usr/bin/env bash
# bench/start_under_wine.sh [LINUX_BUILD] [WINDOWS_BUILD]: start-up to the
# first picture on screen, the Linux build beside the Windows build under
# wine, on one Xvfb (1920 x 1080) in one folder: the demo's first picture
# and a 45 MP one. A run ends when the middle of the screen shows the
# picture (sampled every ~40 ms); the median of 5 runs each is printed.
# Wine's server is started once before: a run measures the program and
# wine's loading of it, not the start of wine itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(realpath "${1:-$root/build}")
windows=$(realpath "${2:-$root/build-windows}")
cache=${BB_WINDOWS_CACHE:-$HOME/.cache/bildbewertung-windows}
export WINEPREFIX=$cache/wine-bench
work=$(mktemp -d)
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/demo" "$work/large"
cp "$root/demo/"*.jpg "$root/demo/Qel.max" "$work/demo/"
cp "$root/demo/Qel.max" "$work/large/"
convert -size 8192x5464 xc:gray +noise Random -quality 92 "$work/large/01 gross.jpg"
export root linux windows work

"$root/tests/e2e/with_xvfb.sh" 1920x1080 bash -c '
  set -euo pipefail
  wine="$root/scripts/windows-wine"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" cmd /c exit >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  shown() { # the middle of the screen is no longer one colour
    [ "$(import -window root -crop 32x32+700+520 png:- 2>/dev/null | identify -format %k -)" -gt 1 ]
  }
  once() { # folder, program...
    local folder=$1 start pid
    shift
    cd "$folder"
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 & pid=$!
    until shown; do sleep 0.02; done
    echo $(( ($(date +%s%N) - start) / 1000000 ))
    kill $pid; wait $pid 2>/dev/null || true
    sleep 0.5
  }
  median() { sort -n | sed -n 3p; }
  # The wine server stays up between runs, as Windows itself does.
  /usr/lib/wine/wineserver -p
  "$wine" cmd /c exit >/dev/null 2>&1 || true
  for folder in demo large; do
    l=$(for _ in 1 2 3 4 5; do once "$work/$folder" "$linux/app/bildbewertung"; done | median)
    w=$(for _ in 1 2 3 4 5; do once "$work/$folder" "$wine" "$windows/bildbewertung.exe"; done | median)
    echo "$folder: Linux $l ms, Windows under wine $w ms (median of 5)"
  done
'
