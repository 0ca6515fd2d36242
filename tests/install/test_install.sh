#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# `make install` as a user's desktop sees it: every file in its place under a
# staging folder (DESTDIR), the D-Bus service naming the installed program,
# the menu entry and the AppStream description valid, Telvaro the handler of tel: and callto: links in a scratch home, and
# the install manifest (what `make uninstall` removes) covering every file.
# Usage: test_install.sh BUILD_DIR
set -eu
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr/local >/dev/null
prefix="$stage/root/usr/local"
for f in bin/telvaro bin/telvaro-modemsim \
    share/applications/org.telvaro.Telvaro.desktop \
    share/icons/hicolor/scalable/apps/telvaro.svg \
    share/metainfo/org.telvaro.Telvaro.metainfo.xml \
    share/dbus-1/interfaces/org.telvaro.Telvaro.AssistedTelephony.xml \
    share/dbus-1/services/org.telvaro.Telvaro.service \
    share/man/man1/telvaro.1.gz share/man/man1/telvaro-modemsim.1.gz; do
    [ -f "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
"$prefix/bin/telvaro" --version | grep -q '^Telvaro '
# The bus starts the program of this prefix.
grep -qx 'Exec=/usr/local/bin/telvaro' "$prefix/share/dbus-1/services/org.telvaro.Telvaro.service" ||
    { echo "D-Bus service file:"; cat "$prefix/share/dbus-1/services/org.telvaro.Telvaro.service"; exit 1; }
# The Debian package's own files stay out of a plain install.
[ ! -e "$prefix/share/doc/telvaro/changelog.Debian.gz" ] || { echo "Debian changelog installed"; exit 1; }

desktop-file-validate "$prefix/share/applications/org.telvaro.Telvaro.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.telvaro.Telvaro.metainfo.xml"

# A scratch home that knows only the installed files.
export HOME="$stage/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_DATA_DIRS="$prefix/share" XDG_CONFIG_DIRS="$stage/etc-xdg"
unset XDG_CURRENT_DESKTOP KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION || true
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
update-desktop-database "$prefix/share/applications"
for scheme in tel callto; do
    handler=$(xdg-mime query default "x-scheme-handler/$scheme")
    [ "$handler" = org.telvaro.Telvaro.desktop ] ||
        { echo "x-scheme-handler/$scheme opens '$handler'"; exit 1; }
done

# Uninstall (as `make uninstall`): the manifest names every installed file.
rm -f "$prefix/share/applications/mimeinfo.cache"
sed "s|^|$stage/root|" "$build/install_manifest.txt" | xargs -d '\n' rm -f
left=$(find "$stage/root" -type f)
[ -z "$left" ] || { echo "left after uninstall: $left"; exit 1; }
echo "install and uninstall: all files in place and removed"
