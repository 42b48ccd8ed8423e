#!/usr/bin/env bash
# Vandu.exe from outside, as a person operates it: started on a fresh
# demonstration card, its keys touched on the screen (xdotool) until it
# shuts down, and its remote-control line read.
#   vandu_blackbox_test.sh <Vandu.exe> <make_demo_card.exe> <work folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
vandu=$1 make_card=$2 work=$3
rm -rf "$work"
mkdir -p "$work/card"
"$root/tools/wine-run" "$make_card" "Z:${work//\//\\}\\card" >/dev/null
ERG_VANDU=$vandu "$root/tools/vandu-screen.sh" "$work/card" "$work/out"
line=$work/out/vandu-remote-line.txt
expect() { grep -qF -- "$1" "$line" || { echo "missing on the remote line: $1" >&2; cat "$line" >&2; exit 1; }; }
expect "-- WE'RE UP"
expect "-- WE'RE DOWN."
if grep -qE '###|\*\*\* (UNABLE|DLL|NO INIT)' "$line"; then
  echo "a fault on the remote line:" >&2
  cat "$line" >&2
  exit 1
fi
[ "$(sed -n '1p' "$line" | tr -d '\r')" = "-- WE'RE UP" ] || { echo "start-up wrote before coming up:" >&2; cat "$line" >&2; exit 1; }
echo "vandu_blackbox_test: passed"
