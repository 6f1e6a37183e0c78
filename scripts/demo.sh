#!/usr/bin/env bash
# Builds lecdl, starts the demo site on loopback and runs lecdl against it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

work=$(mktemp -d)
build/bin/lecdl-demo-site --port 0 >"$work/site.out" 2>&1 &
site=$!
trap 'kill $site 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do grep -q listening "$work/site.out" && break; sleep 0.05; done
host=$(sed -n 's/.*listening on \([0-9.]*:[0-9]*\).*/\1/p' "$work/site.out")
printf '[HOSTS]\r\nsite=%s\r\nvideo=%s\r\nstats=%s\r\nstatus=%s\r\nupdate=%s\r\n' \
  "$host" "$host" "$host" "$host" "$host" >"$work/ini.ini"
lecdl() { echo "\$ lecdl $*"; build/bin/lecdl --config "$work/ini.ini" "$@"; echo; }

lecdl --version
lecdl list "http://$host/serie_400050557.shtml"
lecdl list "http://$host/serie_400012000.shtml" --range 3-5
lecdl search 导论 --field title

# With a display, the desktop window opens against the same demo site; closing it ends the demo.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/lecdl-qt ]; then
  echo "\$ lecdl-qt --config $work/ini.ini"
  build/bin/lecdl-qt --config "$work/ini.ini"
fi
