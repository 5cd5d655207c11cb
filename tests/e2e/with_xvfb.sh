#!/usr/bin/env bash
# with_xvfb.sh WIDTHxHEIGHT COMMAND...: runs COMMAND against an Xvfb of its
# own. The server picks a free display number itself (-displayfd) and
# reports it once it accepts connections, so two servers starting at the
# same moment never race for one number.
set -euo pipefail
size=$1
shift
report=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$report" 2>/dev/null &
server=$!
trap 'kill $server 2>/dev/null || true; wait $server 2>/dev/null || true; rm -f "$report"' EXIT
for _ in $(seq 100); do
  [ -s "$report" ] && break
  kill -0 $server 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$report" ] || { echo "Xvfb reported no display" >&2; exit 1; }
DISPLAY=:$(head -n1 "$report") "$@"
