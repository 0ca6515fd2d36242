#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the screenshots the AppStream description shows (the main window with
# a few directory entries, the outgoing calls log) from a built Telvaro under
# Xvfb, with settings and a log of a scratch home.
# Usage: tools/screenshots/take-screenshots.sh [TELVARO [OUTPUT_DIR]]
# Needs xvfb-run, xdotool and ImageMagick's import.
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
telvaro=$(realpath "${1:-$here/build/release/telvaro}")
mkdir -p "${2:-$here/resources/screenshots}"
out=$(realpath "${2:-$here/resources/screenshots}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/run" && chmod 700 "$scratch/run"

python3 - "$scratch" <<'PY'
import os, sys
home = sys.argv[1]
cfg, data = home + '/.config/Telvaro', home + '/.local/share/Telvaro'
os.makedirs(cfg); os.makedirs(data)
entries = [("Alice Anderson", "555-0134"), ("Alan's Garage", "555-0187"),
           ("Airport Taxi", "1-800-555-0199"), ("Amy (work)", "555-0110 ext 21"),
           ("Andrew Archer", "+44 20 7946 0018"), ("Aunt Agatha", "555-0162")]
lines = ["The following lines are required by Telvaro - do NOT edit or remove", "",
         "[Preferences]", "Call Display=0", "[Speed Dial]"]
for i, (name, number) in enumerate(entries):
    lines += ["Name01%02d=%s" % (i + 1, name), "Number01%02d=%s" % (i + 1, number)]
open(cfg + '/Telvaro.ini', 'wb').write(("\r\n".join(lines) + "\r\n").encode('cp1252'))
calls = [("Alice Anderson", "555-0134", "12-07-2026  09:14:02", "0101"),
         ("Airport Taxi", "1-800-555-0199", "12-07-2026  11:40:37", "0103"),
         ("", "555-0123", "12-08-2026  14:05:11", "0"),
         ("Alan's Garage", "555-0187", "12-08-2026  16:22:48", "0102"),
         ("Alice Anderson", "555-0134", "12-09-2026  08:51:30", "0101")]
log = ("Warning: This file is not to be edited!!!\r\nTo print this file in the tabular "
       "format use \"\"Print Outgoing Calls Log\"\" from Telvaro menu.\r\n")
log += "".join(" %-42s%-55s%-20s %s\r\n" % c for c in calls)
open(data + '/UntitledOut.log', 'wb').write(log.encode('cp1252'))
PY

cat >"$scratch/shoot.sh" <<SH
#!/bin/sh
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/.config" XDG_DATA_HOME="$scratch/.local/share"
export XDG_RUNTIME_DIR="$scratch/run" DBUS_SESSION_BUS_ADDRESS=disabled:
"$telvaro" >/dev/null 2>&1 &
pid=\$!
sleep 4
main=\$(xdotool search --name '^Telvaro - ' | head -1)
import -window "\$main" "$out/main-window.png"
xdotool windowfocus "\$main"; sleep 0.5
xdotool key --window "\$main" alt+v; sleep 1; xdotool key o; sleep 2
log=\$(xdotool search --name '^Outgoing Calls Log' | head -1)
import -window "\$log" "$out/outgoing-calls-log.png"
kill \$pid; wait \$pid
SH
xvfb-run -a -s "-screen 0 1024x768x24" sh "$scratch/shoot.sh"
echo "screenshots in $out"
