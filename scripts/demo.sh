#!/usr/bin/env bash
# Generates the demo archive (once), points the viewer's settings file at it and
# starts the viewer, with the receiving-program simulator writing new messages. BIN is the folder of the built programs, DIR the demo folder.
set -euo pipefail
bin=$(cd "$1" && pwd)
mkdir -p "$2"
dir=$(cd "$2" && pwd)
archive="$dir/archive"

if [ ! -d "$archive" ]; then
    "$bin/varnot-gen" --out "$archive" --days 10 --per-day 60 --seed 7 --end-today
fi
# The settings' own window size (400 x 200) folds the tool bar away; the demo
# opens large enough to show the whole window.
"$bin/varnot-gen" --settings "$bin/varnot.INI" --set-path "$archive" --window 1100x750

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "This machine has no display, so the viewer cannot open a window here."
    echo "Run it under a virtual X server instead:"
    echo "  xvfb-run -a -s '-screen 0 1280x1024x24' make demo"
    echo "or start it directly: xvfb-run -a -s '-screen 0 1280x1024x24' $bin/varnot"
    exit 0
fi
echo "Archive: $archive"
echo "Settings: $bin/varnot.INI"

# The receiving program's stand-in: a new message about every five seconds,
# announced to the viewer (service ZEVA, the default of DDE/Service). It ends
# with the viewer.
"$bin/varnot-sim" --archive "$archive" --interval 5 >"$dir/varnot-sim.log" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
echo "New messages: every 5 seconds by varnot-sim (log: $dir/varnot-sim.log)"
"$bin/varnot"
