#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence tag on the first line of every source file under the
# given files and folders (default: the whole tree's sources), once:
#   // SPDX-License-Identifier: GPL-3.0-or-later   C++ (.cpp, .h)
#   # SPDX-License-Identifier: GPL-3.0-or-later    CMake, shell, Python, Makefile
# A script's "#!" line stays first; the tag follows it. A file that already
# has the tag in its first two lines is left as it is, so running it again
# changes nothing.
# Usage: tools/spdx/add-spdx.sh [PATH...]
set -eu
tag='SPDX-License-Identifier: GPL-3.0-or-later'
cd "$(dirname "$0")/../.."
[ $# -gt 0 ] || set -- CMakeLists.txt Makefile cmake src tests tools bench fuzz

changed=0
for file in $(find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cmake' \
    -o -name CMakeLists.txt -o -name Makefile -o -name '*.sh' -o -name '*.py' \) \
    ! -path '*/seeds/*' | sort); do
    head -n 2 "$file" | grep -q "$tag" && continue
    case $file in
    *.cpp | *.h) line="// $tag" ;;
    *) line="# $tag" ;;
    esac
    tmp="$file.spdx.$$"
    if head -n 1 "$file" | grep -q '^#!'; then
        { head -n 1 "$file"; echo "$line"; tail -n +2 "$file"; } >"$tmp"
    else
        { echo "$line"; cat "$file"; } >"$tmp"
    fi
    chmod --reference="$file" "$tmp"
    mv "$tmp" "$file"
    changed=$((changed + 1))
done
echo "SPDX tag added to $changed file(s)"
