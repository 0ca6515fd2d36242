#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings the translations up to date with the program's texts: lupdate reads
# src/ and adds the new texts to translations/telvaro_LANG.ts as unfinished,
# drops those the program no longer has, and lrelease then counts the
# finished and unfinished ones. Translate every unfinished text (Qt Linguist,
# or the .ts file's <translation> elements) before committing.
# Usage: tools/i18n/update-translations.sh [LANG...]   (default: every .ts)
set -eu
cd "$(dirname "$0")/../.."
bin=$(qmake6 -query QT_HOST_LIBEXECS 2>/dev/null || echo /usr/lib/qt6/libexec)
for dir in "$bin" /usr/lib/qt6/bin; do
    [ -x "$dir/lupdate" ] && tools=$dir
done
[ -n "${tools:-}" ] || { echo "lupdate not found (Debian: qt6-l10n-tools)" >&2; exit 1; }

if [ $# -eq 0 ]; then
    set -- $(ls translations/telvaro_*.ts | sed 's|.*/telvaro_||; s|\.ts$||')
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for lang in "$@"; do
    ts=translations/telvaro_$lang.ts
    "$tools/lupdate" -recursive -I src -locations none -no-obsolete \
        -source-language en -target-language "$lang" src -ts "$ts"
    "$tools/lrelease" "$ts" -qm "$scratch/telvaro_$lang.qm"
    echo "$ts: $(grep -c 'type="unfinished"' "$ts" || true) unfinished"
done
