#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the include graph of src/ against the program's layers:
#   settings < core < platform < gui < app
# A file includes only its own layer and the layers below it. Within core and
# gui, a feature is the folder under the layer (core/dialing and gui/dialing
# are both "dialing"); two features never include each other in both
# directions, and core/common and gui/common include no feature.
# Usage: check-layers.sh [SOURCE_DIR]; prints each fault and exits 1 on any.
set -euo pipefail
src="${1:-$(dirname "$0")/../..}/src"
cd "$src"

rank() {
    case "$1" in
    settings/*) echo 0 ;; core/*) echo 1 ;; platform/*) echo 2 ;;
    gui/*) echo 3 ;; app/* | main.cpp) echo 4 ;; *) echo -1 ;;
    esac
}
feature() {
    case "$1" in
    core/* | gui/*) local rest="${1#*/}"; echo "${rest%%/*}" ;;
    *) echo "" ;;
    esac
}

faults=0
declare -A edges=()
while IFS= read -r file; do
    from_rank=$(rank "$file")
    from_feature=$(feature "$file")
    while IFS= read -r inc; do
        [ -n "$inc" ] || continue
        [ -f "$inc" ] || continue # a system or generated header
        to_rank=$(rank "$inc")
        if [ "$to_rank" -gt "$from_rank" ]; then
            echo "layer: $file includes $inc (a higher layer)"
            faults=$((faults + 1))
        fi
        to_feature=$(feature "$inc")
        if [ -n "$from_feature" ] && [ -n "$to_feature" ] && [ "$from_feature" != "$to_feature" ]; then
            if [ "$from_feature" = common ]; then
                echo "common: $file includes $inc (a feature)"
                faults=$((faults + 1))
            elif [ "$to_feature" != common ]; then
                edges["$from_feature>$to_feature"]+="    $file -> $inc"$'\n'
            fi
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    if [ "$from_rank" -le 1 ] && grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(QtWidgets/|QtPrintSupport/|QWidget|QDialog|QMainWindow|QMessageBox|QApplication>)' "$file"; then
        echo "widgets: $file includes a Qt Widgets header"
        faults=$((faults + 1))
    fi
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort)

for edge in "${!edges[@]}"; do
    a="${edge%%>*}" b="${edge#*>}"
    if [[ "$a" < "$b" ]] && [ -n "${edges["$b>$a"]:-}" ]; then
        echo "cycle: features $a and $b include each other"
        printf '%s%s' "${edges[$edge]}" "${edges["$b>$a"]}"
        faults=$((faults + 1))
    fi
done

if [ "$faults" -gt 0 ]; then
    echo "$faults layering fault(s)"
    exit 1
fi
echo "layers: no faults"
