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
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# No window manager runs on the virtual display: the program's windows are
# left unmanaged (Wine draws their frames itself and hides them at once).
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX
  WINEPREFIX="$(cd "$(dirname "$vandu")/.." && pwd)/wineprefix"
fi
WINEDEBUG=-all wine64 reg add 'HKCU\Software\Wine\AppDefaults\Vandu.exe\X11 Driver' \
  /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true

ERG_REMOTE_LINE_TRANSCRIPT=$(windows_path "$transcript") \
  "$root/tools/wine-run" "$vandu" "$(windows_path "$card")" >"$out/vandu.out" 2>&1 &
pid=$!

fail() {
  echo "vandu-screen: $*" >&2
  [ -f "$transcript" ] && sed 's/^/  remote line: /' "$transcript" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
}
# Waits up to 30 s for a text on the remote-control line.
wait_for() {
  for _ in $(seq 1 150); do
    grep -qF -- "$1" "$transcript" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

wait_for "-- WE'RE UP" || fail "no \"-- WE'RE UP\" on the remote-control line"
window=""
for _ in $(seq 1 50); do
  window=$(xdotool search --name '^VANDU$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || fail "no window VANDU on the display"
# The window's client area, the unit's 240 x 320 screen, lies inside its
# frame: borders alike on three sides, the caption above.
eval "$(xdotool getwindowgeometry --shell "$window")"
border=$(( (WIDTH - 240) / 2 ))
X=$((X + border)) Y=$((Y + HEIGHT - 320 - border)) WIDTH=240 HEIGHT=320
shot() { sleep 1.5; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"; }
# A touch on a key: the keys fill the bottom two rows, left and right.
touch_key() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }
upper_row=281 lower_row=302 right_column=181

shot vandu-main-menu.png
touch_key $right_column $lower_row   # "Quit"
sleep 1.5
touch_key $right_column $upper_row   # "SHUTDOWN"
wait_for "-- WE'RE DOWN." || fail "no \"-- WE'RE DOWN.\" after SHUTDOWN"
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after SHUTDOWN"
wait "$pid" || true
echo "vandu-screen: the unit came up and shut down through its keys; its screen is in $out/vandu-main-menu.png"
