#!/usr/bin/env bash
# with_xvfb.sh WIDTHxHEIGHT[+WIDTHxHEIGHT...] COMMAND...: runs COMMAND against
# an Xvfb of its own, one X screen per size (DISPLAY names the server, its
# first screen the default). Each display number from :1 up is tried in
# turn (the server's lock file makes two servers starting at the same moment
# take different ones; :0 is left to a real desktop); -displayfd reports the
# number once the server accepts connections. -noreset: without it the
# server resets when its last client leaves, and a client connecting during
# the reset fails.
set -euo pipefail
screens=()
for size in ${1//+/ }; do
  screens+=(-screen $((${#screens[@]} / 3)) "${size}x24")
done
shift
report=$(mktemp)
server=
trap '[ -z "$server" ] || { kill $server 2>/dev/null || true; wait $server 2>/dev/null || true; }; rm -f "$report"' EXIT
for display in $(seq 1 200); do
  Xvfb ":$display" -displayfd 3 -noreset "${screens[@]}" -nolisten tcp \
    3>"$report" 2>/dev/null &
  server=$!
  for _ in $(seq 300); do
    [ -s "$report" ] && break
    kill -0 $server 2>/dev/null || break # that number is taken
    sleep 0.1
  done
  [ -s "$report" ] && break
  kill $server 2>/dev/null || true
  wait $server 2>/dev/null || true
  server=
done
[ -s "$report" ] || { echo "Xvfb did not start on any display from :1 to :200" >&2; exit 1; }
DISPLAY=:$(head -n1 "$report") "$@"
