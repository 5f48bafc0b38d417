#!/usr/bin/env bash
# Checks that the core keeps its floors: a folder of src/core includes only
# its own floor or lower ones, the core includes nothing outside itself, and
# no Qt header is ever included there.
#
# Floors, bottom to top (folders on one line share a floor):
#   text                  separator, masks, code pages, Latin case, trim
#   app                   settings file, keys, options values, program paths
#   announce              the announce protocol (the tools share it)
#   archive               records, lists, day folders, marks, message text
#   filters               filter groups, keyword scanner, text filter
#   scan                  the scanner pass's thread and its control
#   main output editor    the window-side logic
#
# Usage: scripts/check-layers.sh [source root]   (default: the tree's src/core)
set -euo pipefail

root=${1:-$(dirname "$0")/../src/core}
cd "$root"

floors='
text 0
app 1
announce 2
archive 3
filters 4
scan 5
main 6
output 6
editor 6
'

awk -v floors="$floors" '
BEGIN {
    n = split(floors, lines, "\n")
    for (i = 1; i <= n; i++)
        if (split(lines[i], f, " ") == 2) level[f[1]] = f[2]
}
FNR == 1 {
    file = FILENAME
    sub(/^\.\//, "", file)
    folder = file
    sub(/\/.*/, "", folder)
    if (!(folder in level)) {
        printf "src/core/%s: folder %s has no floor\n", file, folder
        bad = 1
    }
}
/^[ \t]*#[ \t]*include[ \t]*<Q/ {
    printf "src/core/%s:%d: Qt header in the core: %s\n", file, FNR, $0
    bad = 1
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    path = $0
    sub(/^[^"]*"/, "", path)
    sub(/".*/, "", path)
    if (path !~ /^core\//) {
        printf "src/core/%s:%d: includes %s from outside the core\n", file, FNR, path
        bad = 1
        next
    }
    target = path
    sub(/^core\//, "", target)
    sub(/\/.*/, "", target)
    if (!(target in level)) {
        printf "src/core/%s:%d: includes %s of folder %s, which has no floor\n", file, FNR, path, target
        bad = 1
    } else if ((folder in level) && level[target] > level[folder]) {
        printf "src/core/%s:%d: %s/ includes %s of the higher floor %s/\n", file, FNR, folder, path, target
        bad = 1
    }
}
END { exit bad }
' $(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sort) && echo "check-layers: the core keeps its floors"
