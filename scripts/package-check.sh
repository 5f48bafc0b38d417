#!/usr/bin/env bash
# Installs the Debian package DEB on this machine with apt-get, starts the
# installed viewer headless as the desktop entry does, with its files in a
# temporary configuration folder, ends it with SIGTERM, and removes the
# package again, checking that no file of it stays behind. Needs root; refuses
# to touch a machine on which varnot is installed already.
set -euo pipefail
deb=${1:?usage: package-check.sh DEB}
[ -f "$deb" ] || { echo "package-check: no package $deb" >&2; exit 1; }
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
if [ "$(id -u)" -ne 0 ]; then
    echo "package-check: installing a package needs root" >&2
    exit 1
fi
if dpkg-query -W -f='${Status}' varnot 2>/dev/null | grep -q 'installed'; then
    echo "package-check: varnot is installed on this machine already; remove it first" >&2
    exit 1
fi

scratch=$(mktemp -d)
viewer=
cleanup() {
    [ -n "$viewer" ] && kill -KILL "$viewer" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() {
    echo "package-check: $*" >&2
    failures=$((failures + 1))
}

echo "package-check: installing $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$scratch/apt-install.log" 2>&1 ||
    { cat "$scratch/apt-install.log" >&2; exit 1; }
dpkg-query -L varnot | sort >"$scratch/files"

# The desktop entry's command, found on the PATH as a desktop would find it.
desktop=/usr/share/applications/varnot.desktop
command=$(sed -n 's/^Exec=//p' "$desktop")
[ "$(command -v "$command")" = /usr/bin/varnot ] || fail "Exec=$command is not /usr/bin/varnot"
varnot --version >/dev/null || fail "varnot --version fails"

# A user of our own: home, configuration and runtime folders in the scratch folder.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
settings="$XDG_CONFIG_HOME/varnot/varnot.INI"
touch "$scratch/before-start"
"$command" 2>"$scratch/viewer.log" &
viewer=$!
# Up: it has marked this run in its settings and serves its announce socket.
for _ in $(seq 300); do
    if [ -S "$XDG_RUNTIME_DIR/ZEVA" ] && grep -q '^LastExitIsGood=NO' "$settings" 2>/dev/null; then
        break
    fi
    kill -0 "$viewer" 2>/dev/null || break
    sleep 0.1
done
if [ -S "$XDG_RUNTIME_DIR/ZEVA" ]; then
    echo "package-check: the installed viewer is up; settings in $settings"
else
    fail "the installed viewer did not come up"
    cat "$scratch/viewer.log" >&2
fi
kill -TERM "$viewer" 2>/dev/null || true
status=0
wait "$viewer" || status=$?
viewer=
[ "$status" -eq 0 ] || fail "the viewer ended with $status after SIGTERM"
grep -q '^LastExitIsGood=YES' "$settings" 2>/dev/null || fail "no clean exit recorded in $settings"
[ -f "$XDG_CONFIG_HOME/varnot/attr.sav" ] || fail "no marks file beside the settings"
written=$(find /usr/bin /usr/share/varnot -newer "$scratch/before-start" 2>/dev/null)
[ -z "$written" ] || fail "the viewer wrote into a system folder: $written"

echo "package-check: removing the package"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq varnot >"$scratch/apt-remove.log" 2>&1 ||
    { cat "$scratch/apt-remove.log" >&2; exit 1; }
if dpkg-query -W -f='${Status}' varnot 2>/dev/null | grep -q 'installed'; then
    fail "varnot is still installed"
fi
# Its files are gone, and so are the folders only it had (shared ones such as
# /usr/bin stay).
while read -r path; do
    if [ -L "$path" ] || [ -f "$path" ]; then fail "$path stayed behind"; fi
done <"$scratch/files"
for folder in /usr/share/varnot /usr/share/doc/varnot; do
    if [ -e "$folder" ]; then fail "$folder stayed behind"; fi
done

if [ "$failures" -ne 0 ]; then
    echo "package-check: $failures problem(s)" >&2
    exit 1
fi
echo "package-check: the package installs, runs from its installed path and removes cleanly"
