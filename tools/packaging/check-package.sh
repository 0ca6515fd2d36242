#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# `make check-package`: the Debian package as a distribution would judge it.
# lintian (pedantic and info tags shown, errors and warnings fail), the
# AppStream description and the menu entry from the package validated, and
# the D-Bus service of the package naming the program it installs.
# Usage: check-package.sh TELVARO.deb
set -eu
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unpacked=$work/root
status=0

echo "== lintian $deb"
# lintian warns when run as root; that is not about the package.
lintian --pedantic --display-info --fail-on error,warning "$deb" >"$work/lintian" 2>&1 || status=1
grep -vx 'running with root privileges is not recommended!' "$work/lintian" || true

dpkg-deb -x "$deb" "$unpacked"
echo "== appstreamcli validate --pedantic --strict"
appstreamcli validate --pedantic --strict --no-net \
    "$unpacked/usr/share/metainfo/org.telvaro.Telvaro.metainfo.xml" || status=1

echo "== desktop-file-validate"
out=$(desktop-file-validate "$unpacked/usr/share/applications/org.telvaro.Telvaro.desktop" 2>&1) ||
    status=1
if [ -n "$out" ]; then
    echo "$out"
    status=1
fi

echo "== D-Bus service"
service="$unpacked/usr/share/dbus-1/services/org.telvaro.Telvaro.service"
if ! grep -qx 'Exec=/usr/bin/telvaro' "$service" 2>/dev/null; then
    echo "the D-Bus service does not start /usr/bin/telvaro"
    status=1
fi

[ $status = 0 ] && echo "package checks passed" || echo "package checks FAILED"
exit $status
