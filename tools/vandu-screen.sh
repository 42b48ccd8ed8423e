#!/usr/bin/env bash
# Operates Vandu.exe on the simulated unit as a person does, on the display
# in force (run it under tools/with-display, inside a Wine session):
#   tools/vandu-screen.sh <card folder> <output folder>
# It starts the program on the card, waits for "-- WE'RE UP" on its
# remote-control line, saves the unit's screen (vandu-main-menu.png),
# touches "Quit" and then "SHUTDOWN", and checks that
# the unit says "-- WE'RE DOWN." and ends. The remote-control line's
# transcript is kept as vandu-remote-line.txt. ERG_VANDU names the program
# when it is not the build's (build/win/bin/Vandu.exe).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
vandu=${ERG_VANDU:-$build/win/bin/Vandu.exe}
card=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
transcript=$out/vandu-remote-line.txt
rm -f "$transcript" "$out"/vandu-*.png
me="vandu-screen"
. "$root/tools/vandu-window.sh"
vandu_start "$card" "$transcript" "$out/vandu.out"
shot() { sleep 1.5; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"; }
# A touch on a key: the keys fill the bottom two rows, left and right.
touch_key() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }
upper_row=281 lower_row=302 right_column=181

shot vandu-main-menu.png
# The first touch after the start can be lost while the program's window
# becomes the active one: a touch that changed nothing is made again.
before=$(screen_sum)
for _ in 1 2 3; do
  touch_key $right_column $lower_row # "Quit"
  wait_screen_change "$before" 10 && break
done
[ "$(screen_sum)" != "$before" ] || fail "the screen did not change after \"Quit\""
sleep 0.5                            # the page is drawn whole
touch_key $right_column $upper_row   # "SHUTDOWN"
vandu_end
echo "vandu-screen: the unit came up and shut down through its keys; its screen is in $out/vandu-main-menu.png"
