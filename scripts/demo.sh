#!/usr/bin/env bash
# Generates the demo archive (once), points the viewer's settings file at it and
# starts the viewer. BIN is the folder of the built programs, DIR the demo folder.
set -euo pipefail
bin=$(cd "$1" && pwd)
mkdir -p "$2"
dir=$(cd "$2" && pwd)
archive="$dir/archive"

if [ ! -d "$archive" ]; then
    "$bin/varnot-gen" --out "$archive" --days 10 --per-day 60 --seed 7 --end-today
fi
"$bin/varnot-gen" --settings "$bin/varnot.INI" --set-path "$archive"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "This machine has no display, so the viewer cannot open a window here."
    echo "Run it under a virtual X server instead:"
    echo "  xvfb-run -a make demo"
    echo "or start it directly: xvfb-run -a $bin/varnot"
    exit 0
fi
echo "Archive: $archive"
echo "Settings: $bin/varnot.INI"
exec "$bin/varnot"
