#!/usr/bin/env bash
# Records a session on Vandu.exe as an operator does, through its soft keys
# on the display in force (run it under tools/with-display, inside a Wine
# session), saving a picture of the unit's screen at each step:
#   tools/vandu-operator.sh <card folder> <output folder> [session] [test id]
# The card must hold the session's program (tools/make_demo_card makes the
# demonstration card; the session is then DEMO). The operator enters the
# test id (letters and digits, ten at most; "A7" unless given), leaves the
# eye label, chooses the session from the session list, runs it, looks at
# the result, goes back to the main menu and shuts the unit down. The
# pictures are road-NN-<step>.png; the remote-control line's transcript is
# operator-remote-line.txt; the stored tests are listed at the end.
# ERG_VANDU names the program when it is not the build's.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
vandu=${ERG_VANDU:-$build/win/bin/Vandu.exe}
[ $# -ge 2 ] || { echo "usage: vandu-operator.sh <card folder> <output folder> [session] [test id]" >&2; exit 2; }
card=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
session=${3:-DEMO}
test_id=${4:-A7}
transcript=$out/operator-remote-line.txt
rm -f "$transcript" "$out"/road-*.png
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
say() { echo "vandu-operator: $*"; }

# The session's place in the session list: entry 0 leads to the test list,
# then the sessions of the card's root and of its TESTS folder, each by name.
position=0 n=0
while read -r name; do
  n=$((n + 1))
  [ "$(echo "${name%.*}" | tr a-z A-Z)" = "$(echo "$session" | tr a-z A-Z)" ] && position=$n
done < <( (cd "$card" && find . -maxdepth 1 -type f -iname '*.ses' -printf '%f\n' | sort -f;
           [ -d "$card/TESTS" ] && cd "$card/TESTS" && find . -maxdepth 1 -type f -iname '*.ses' -printf '%f\n' | sort -f) || true)
[ "$position" -gt 0 ] || { echo "vandu-operator: no session $session on the card $card" >&2; exit 1; }

if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX
  WINEPREFIX="$(cd "$(dirname "$vandu")/.." && pwd)/wineprefix"
fi
# No window manager runs on the virtual display: the program's windows are
# left unmanaged.
WINEDEBUG=-all wine64 reg add 'HKCU\Software\Wine\AppDefaults\Vandu.exe\X11 Driver' \
  /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true

ERG_REMOTE_LINE_TRANSCRIPT=$(windows_path "$transcript") \
  "$root/tools/wine-run" "$vandu" "$(windows_path "$card")" >"$out/operator-vandu.out" 2>&1 &
pid=$!

fail() {
  echo "vandu-operator: $*" >&2
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
# The unit's 240 x 320 screen is the window's client area: borders alike on
# three sides, the caption above.
eval "$(xdotool getwindowgeometry --shell "$window")"
border=$(( (WIDTH - 240) / 2 ))
X=$((X + border)) Y=$((Y + HEIGHT - 320 - border)) WIDTH=240 HEIGHT=320

shots=0
shot() {
  sleep 1
  shots=$((shots + 1))
  local name
  name=$(printf 'road-%02d-%s.png' "$shots" "$1")
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$name"
  say "$name"
}
# The soft keys fill the bottom two rows: 1001 upper left, 1003 upper
# right, 1002 lower left, 1004 lower right.
press() {
  local x y
  case $1 in
    1001) x=60 y=281 ;; 1003) x=181 y=281 ;; 1002) x=60 y=302 ;; 1004) x=181 y=302 ;;
  esac
  xdotool mousemove $((X + x)) $((Y + y)) click 1
  sleep 0.3
}
UP=1001 DOWN=1002 TAB=1003 OK=1004
# The entry alphabet of the id page: digits, the blank (10), the capitals.
alphabet="0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ?"
stored() { find "$card" -iname '*.tst' | wc -l; }

shot main-menu
press 1001                                   # "Acquire Data"
shot id-entry
id=$(echo "$test_id" | tr a-z A-Z | cut -c1-10)
for ((i = 0; i < ${#id}; i++)); do
  c=${id:i:1}
  index=${alphabet%%"$c"*}
  index=${#index}
  [ "$index" -lt 38 ] || fail "the test id $test_id holds a character the unit cannot enter"
  press $TAB
  # From the blank (10): UP toward the capitals, DOWN toward the digits.
  if [ "$index" -gt 10 ]; then
    for ((k = 10; k < index; k++)); do press $UP; done
  else
    for ((k = 10; k > index; k--)); do press $DOWN; done
  fi
done
shot test-id
press $OK                                    # the protocol page, which asks for the eye label
shot eye-label
press 1004                                   # "NEXT": the session list
shot session-list
for ((k = 0; k < position; k++)); do press $DOWN; done
shot session-chosen
press 1003                                   # "SELECT": the protocol page
shot ready
before=$(stored)
press 1001                                   # "Run Protocol"
shot running
# The run has ended when its tests are stored and no more come.
last=-1 quiet=0
for _ in $(seq 1 600); do
  now=$(stored)
  if [ "$now" -gt "$before" ] && [ "$now" = "$last" ]; then
    quiet=$((quiet + 1))
    [ $quiet -ge 10 ] && break
  else
    quiet=0
  fi
  last=$now
  kill -0 "$pid" 2>/dev/null || fail "the program ended during the run"
  sleep 0.5
done
[ "$(stored)" -gt "$before" ] || fail "the run stored no test"
shot result
press 1004                                   # "Next": the protocol page
press 1004                                   # "Back": the main menu
shot back-at-main-menu
press 1004                                   # "Quit"
shot shutdown-question
press 1003                                   # "SHUTDOWN"
wait_for "-- WE'RE DOWN." || fail "no \"-- WE'RE DOWN.\" after SHUTDOWN"
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after SHUTDOWN"
wait "$pid" || true
say "session $session recorded with test id $test_id; the stored tests:"
(cd "$card" && find . -iname '*.tst' | sed 's|^\./||' | sort | sed 's/^/  /')
say "pictures of each step in $out"
