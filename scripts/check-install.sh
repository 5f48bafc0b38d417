#!/usr/bin/env bash
# Installs the built tree BUILD into a temporary DESTDIR, as a package would
# lay it out, and checks what a desktop needs of it: the desktop entry, the
# AppStream metainfo, every icon size, the manual pages, and programs that run.
set -euo pipefail
build=${1:?usage: check-install.sh BUILD}
prefix=/usr
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
    echo "check-install: $*" >&2
    failures=$((failures + 1))
}

DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >/dev/null
root="$stage$prefix"

for program in varnot varnot-poke varnot-sim varnot-gen; do
    [ -x "$root/bin/$program" ] || fail "bin/$program is missing"
done
[ -d "$root/share/varnot" ] || fail "the data folder share/varnot is missing"

desktop="$root/share/applications/varnot.desktop"
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "varnot.desktop does not validate"
else
    fail "share/applications/varnot.desktop is missing"
fi

metainfo=("$root"/share/metainfo/*.metainfo.xml)
if [ -f "${metainfo[0]}" ]; then
    appstreamcli validate --no-net "${metainfo[@]}" >/dev/null ||
        { appstreamcli validate --no-net "${metainfo[@]}" >&2; fail "the metainfo does not validate"; }
else
    fail "no metainfo in share/metainfo"
fi

icons="$root/share/icons/hicolor"
[ -f "$icons/scalable/apps/varnot.svg" ] || fail "the scalable icon is missing"
for size in 16 22 24 32 48 64 128 256; do
    png="$icons/${size}x${size}/apps/varnot.png"
    if [ ! -f "$png" ]; then
        fail "the ${size}x${size} icon is missing"
        continue
    fi
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height"
done

for page in varnot.1 varnot-poke.1; do
    man="$root/share/man/man1/$page"
    if [ ! -f "$man" ]; then
        fail "share/man/man1/$page is missing"
        continue
    fi
    MANPAGER=cat MANWIDTH=80 man -l "$man" >/dev/null || fail "man cannot show $page"
    warnings=$(groff -ww -z -man "$man" 2>&1) || fail "groff fails on $page"
    [ -z "$warnings" ] || fail "groff warns on $page: $warnings"
done

# The installed programs run (without a display: --version needs none).
for program in varnot varnot-poke varnot-sim varnot-gen; do
    [ -x "$root/bin/$program" ] || continue
    version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/$program" --version) ||
        fail "$program --version fails"
    case $version in
    "$program "[0-9]*) ;;
    *) fail "$program --version printed \"$version\"" ;;
    esac
done

if [ "$failures" -ne 0 ]; then
    echo "check-install: $failures problem(s) in the installed tree" >&2
    exit 1
fi
echo "check-install: the installed tree is complete and valid"
