#!/bin/sh
# Builds the Debian package and checks the installed program: installs into
# a temporary prefix, validates its desktop and metainfo files, starts the
# installed program offscreen with a file and checks the file opened, builds
# the package with cpack and checks its file list.
#
#   tools/package.sh [--install-deb]
#
# --install-deb also installs the package on this machine with apt-get and
# starts the program from /usr/bin (for a fresh machine, as CI is).
set -eu
cd "$(dirname "$0")/.."

install_deb=no
[ "${1:-}" = "--install-deb" ] && install_deb=yes

tools/setup.sh

packages="desktop-file-utils appstream dpkg-dev"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package check failed: $*" >&2; exit 1; }

# Starts a program offscreen with one file, away from the user's settings,
# and checks the window opened it.
smoke() {
    program=$1
    home="$work/home"
    mkdir -p "$home"
    chmod 700 "$home"
    printf '<%%@ page import="java.util.*" %%>\n<p>${greeting}</p>\n' > "$work/start.jsp"
    out=$(HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
          XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen TARNEL_QUIT_AFTER_START=1 \
          "$program" --new-window "$work/start.jsp") || fail "$program did not start"
    echo "$out"
    echo "$out" | grep -qx "document: $work/start.jsp" || fail "$program did not open its file"
    echo "$out" | grep -qx "title: Tarnel version 0.9.1 - beta" || fail "$program has another title"
    "$program" --version | grep -qx "Tarnel 0.9.1" || fail "$program --version"
}

echo "== install into a temporary prefix"
prefix="$work/prefix/usr"
cmake --install build --prefix "$prefix" > /dev/null
desktop-file-validate "$prefix/share/applications/tarnel.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/example.ostrevin.tarnel.metainfo.xml"
smoke "$prefix/bin/tarnel"

echo "== Debian package"
rm -f build/tarnel_*.deb
(cd build && cpack -G DEB > /dev/null)
deb=$(ls build/tarnel_*.deb)
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' | grep -v '/$' | sort > "$work/files"
cat "$work/files"
for f in /usr/bin/tarnel /usr/lib/tarnel/tarnel /usr/lib/tarnel/tarnel.htm /usr/lib/tarnel/Dat/Tags.txt \
         /usr/lib/tarnel/Commando/build.bat /usr/lib/tarnel/Templates/html.tpl \
         /usr/share/applications/tarnel.desktop /usr/share/icons/hicolor/scalable/apps/tarnel.svg \
         /usr/share/metainfo/example.ostrevin.tarnel.metainfo.xml /usr/share/mime/packages/tarnel.xml; do
    grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the package does not depend on Qt"
echo "package: $deb"

if [ "$install_deb" = yes ]; then
    echo "== install the package"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb"
    smoke /usr/bin/tarnel
fi
echo "package checks passed"
