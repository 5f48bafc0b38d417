#!/usr/bin/env bash
# Makes the pictures of the documentation: docs/screenshot-en.png and
# docs/screenshot-ru.png. The viewer runs headless on a generated archive with
# a filter group, highlight words and a few marked messages, grabs its own
# window once the first pass has shown a message, and closes.
# BIN is the folder of the built programs, DIR the demo folder.
set -euo pipefail
bin=$(cd "$1" && pwd)
mkdir -p "$2"
dir=$(cd "$2" && pwd)
repo=$(cd "$(dirname "$0")/.." && pwd)
archive="$dir/screenshot-archive"

rm -rf "$archive"
"$bin/varnot-gen" --out "$archive" --days 3 --per-day 40 --seed 11 --end-today --non-text 2 >/dev/null

# A DOS packed date-time of a file's modification time, as the marks file stores it.
dos_time() {
    local y m d H M S
    read -r y m d H M S < <(date -d "@$(stat -c %Y "$1")" '+%Y %-m %-d %-H %-M %-S')
    echo $((((y - 1980) << 25) | (m << 21) | (d << 16) | (H << 11) | (M << 5) | (S / 2)))
}

# Marks of the previous run: all but the three newest messages are read, a
# few are selected.
marks_file() {
    local i=0 file day name flags
    while read -r file; do
        day=$(basename "$(dirname "$file")")
        name=$(basename "$file")
        flags=8
        if [ $i -ge 3 ]; then flags=$((flags | 32)); fi
        if [ $i -ge 5 ] && [ $i -le 9 ]; then flags=$((flags | 4)); fi
        printf '%s\\%s,%d,%d,0\r\n' "$day" "$name" "$flags" "$(dos_time "$file")"
        i=$((i + 1))
    done < <(find "$archive" -type f -name '*.TXT' -printf '%T@ %p\n' | sort -rn | head -n 14 | cut -d' ' -f2-)
}

shoot() {
    local lang=$1 english=$2 group=$3
    local work="$dir/screenshot-$lang"
    rm -rf "$work"
    mkdir -p "$work/run"
    chmod 700 "$work/run"
    # A program folder of its own: its settings and marks never touch the demo's.
    cp "$bin/varnot" "$work/varnot"
    {
        printf '[main]\r\nPath=%s\r\nEnglish=%s\r\nLastExitIsGood=YES\r\nFilterIndex=1\r\n' \
            "$archive" "$english"
        printf '[Frame]\r\nX=0\r\nY=0\r\nW=980\r\nH=640\r\nSplit=50\r\n'
        printf '[List]\r\nFont=DejaVu Sans\r\nSize=10\r\n[View]\r\nFont=DejaVu Sans Mono\r\nSize=10\r\n'
        printf '[Colors]\r\nHighLightWords=министр ТАСС \r\n'
        printf '[Filters]\r\n0=%s *.TXT прав эконом рынк\r\n1=Texts *.TXT\r\n' "$group"
    } | iconv -f UTF-8 -t CP1251 >"$work/varnot.INI"
    marks_file >"$work/attr.sav"
    XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen \
        VARNOT_SCREENSHOT="$repo/docs/screenshot-$lang.png" "$work/varnot"
    echo "docs/screenshot-$lang.png"
}

mkdir -p "$repo/docs"
shoot en YES Economy
shoot ru NO Экономика
