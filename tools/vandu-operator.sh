#!/usr/bin/env bash
# Operates Vandu.exe as an operator does, through its soft keys on the
# display in force (run it under tools/with-display, inside a Wine session),
# saving a picture of the unit's screen at each step:
#   tools/vandu-operator.sh [--electrodes] [--calibration] [--read-only] <card folder> <output folder> [session] [test id]
# Without --calibration it records a session: the card must hold the
# session's program (tools/make_demo_card makes the demonstration card; the
# session is then DEMO). The operator enters the test id (letters and
# digits, ten at most; "A7" unless given), leaves the eye label, chooses the
# session from the session list, with --electrodes checks the electrodes in
# the electrode check window (its lamps and meters, with and without the
# impedance check, paused, then ended), runs the session, looks at the
# result, goes back to the main menu, browses the stored files ("File
# Info", into the day's folder, a stored test's graph, back) and shuts the
# unit down. The pictures are road-NN-<step>.png; the remote-control line's
# transcript is operator-remote-line.txt; the stored tests are listed at
# the end.
# With --read-only the operator runs the session once on a copy of the card
# (read-only-card in the output folder) that takes no new file, as a card
# mounted read-only: the run ends with one message, three keys lead back to
# the main menu, and nothing on the card changes. The pictures are
# read-only-NN-<step>.png, the transcript read-only-remote-line.txt.
# With --calibration the operator instead runs the background intensity
# calibration on a copy of the card whose ini file carries a service cfc id
# (calibration-card in the output folder): system set-up, the warning, the
# five points read and typed on the keypad, the fit shown and accepted. The
# pictures are calibration-NN-<step>.png, the transcript
# calibration-remote-line.txt, and the accepted line is shown from the log.
# ERG_VANDU names the program when it is not the build's.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
vandu=${ERG_VANDU:-$build/win/bin/Vandu.exe}
electrodes=0 calibration=0 read_only=0
while [ $# -gt 0 ]; do
  case $1 in
    --electrodes) electrodes=1; shift ;;
    --calibration) calibration=1; shift ;;
    --read-only) read_only=1; shift ;;
    *) break ;;
  esac
done
[ $# -ge 2 ] || {
  echo "usage: vandu-operator.sh [--electrodes] [--calibration] [--read-only] <card folder> <output folder> [session] [test id]" >&2
  exit 2
}
card=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
session=${3:-DEMO}
test_id=${4:-A7}
me="vandu-operator"
. "$root/tools/vandu-window.sh"
say() { echo "$me: $*"; }
if [ $calibration = 1 ]; then
  # Calibration is offered on a unit whose cfc id (the ini file's second
  # line) has the service letter 'c' as its seventh character.
  rm -rf "$out/calibration-card"
  cp -r "$card" "$out/calibration-card"
  card=$out/calibration-card
  ini=$(find "$card" -maxdepth 1 -iname 'vandu.ini' | head -1)
  [ -n "$ini" ] || { echo "vandu-operator: no VANDU.ini on the card $1" >&2; exit 1; }
  sed -i '2s/.*/UNIT01c/' "$ini"
  prefix=calibration
  transcript=$out/calibration-remote-line.txt
elif [ $read_only = 1 ]; then
  rm -rf "$out/read-only-card"
  cp -r "$card" "$out/read-only-card"
  card=$out/read-only-card
  export ERG_CARD_READ_ONLY=1
  prefix=read-only
  transcript=$out/read-only-remote-line.txt
else
  prefix=road
  transcript=$out/operator-remote-line.txt
fi
rm -f "$transcript" "$out"/$prefix-*.png

# The session's place in the session list: entry 0 leads to the test list,
# then the sessions of the card's root and of its TESTS folder, each by name.
position=0 n=0
[ $calibration = 1 ] && position=1
while [ $calibration = 0 ] && read -r name; do
  n=$((n + 1))
  [ "$(echo "${name%.*}" | tr a-z A-Z)" = "$(echo "$session" | tr a-z A-Z)" ] && position=$n
done < <( (cd "$card" && find . -maxdepth 1 -type f -iname '*.ses' -printf '%f\n' | sort -f;
           [ -d "$card/TESTS" ] && cd "$card/TESTS" && find . -maxdepth 1 -type f -iname '*.ses' -printf '%f\n' | sort -f) || true)
[ "$position" -gt 0 ] || { echo "vandu-operator: no session $session on the card $card" >&2; exit 1; }

vandu_start "$card" "$transcript" "$out/$prefix-vandu.out"

shots=0
shot() {
  sleep 1
  shots=$((shots + 1))
  local name
  name=$(printf '%s-%02d-%s.png' "$prefix" "$shots" "$1")
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

# The electrode check from the protocol page, and back to it.
electrode_check() {
  press 1002                                 # "Electrodes": the electrodes page
  shot electrodes
  press 1002                                 # "Manual": the electrode check window
  sleep 3
  shot electrode-check
  press 1003                                 # "+ impedance"
  sleep 6
  shot electrode-check-impedance
  press 1001                                 # "Pause"
  shot electrode-check-paused
  press 1004                                 # "End Probe Test": the protocol page
  shot ready-again
}

# The background intensity calibration from the main menu, and back to it:
# five points, each typed as its first digit (the exponent stays 4).
background_calibration() {
  press 1003                                 # "System Setup"
  shot setup
  press 1002                                 # "Calibration"
  shot warning
  press 1001                                 # "Yes"
  shot calibration-choice
  press 1002                                 # "Background Int"
  shot zero-photometer
  local digit=0 point=0 target k
  for target in 2 3 1 2 1; do
    point=$((point + 1))
    press 1001                               # "On"
    [ $point = 1 ] && shot background-on
    for ((k = (target - digit + 10) % 10; k > 0; k--)); do press $UP; done
    digit=$target
    press 1004                               # "DONE"
    [ $point = 1 ] && shot confirm-point
    press 1001                               # "YES"
  done
  shot background-fit
  press 1001                                 # "ACCEPT"
  shot accepted
  press 1004                                 # "Back": the main menu
  shot back-at-main-menu
}

# The card's files and their contents, to compare.
card_state() { (cd "$card" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum); }

# "File Info" from the main menu: the day's folder, its first test's graph,
# and back to the main menu.
browse_files() {
  press 1002                                 # "File Info": the card's folders
  shot file-list
  press $DOWN                                # the day's folder
  press 1003                                 # "SELECT": its tests
  press $DOWN                                # the first test
  shot file-list-test
  press 1003                                 # "SELECT": its graph
  shot stored-test-graph
  press 1004                                 # "Back": the list again
  shot file-list-again
  press 1004                                 # "Back": the main menu
  shot back-from-files
}

if [ $calibration = 1 ]; then
shot main-menu
background_calibration
else
shot main-menu
if [ $read_only = 1 ] && grep -q "OPEN LOG FILE" "$transcript"; then
  press 1004                                 # the start's message (no log on the card): "Back"
  shot main-menu-after-message
fi
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
[ $electrodes = 1 ] && electrode_check
if [ $read_only = 1 ]; then
  state=$(card_state)
  shown=$(grep -c '^\[' "$transcript" || true)
  press 1001                                 # "Run Protocol"
  wait_for "UNABLE TO OPEN" || fail "no message of the card refusing the test"
  shot read-only-message
  messages=$(( $(grep -c '^\[' "$transcript" || true) - shown ))
  grep -q "OVERFLOW" "$transcript" && fail "the menu stack overflowed"
  [ "$messages" = 1 ] || fail "the run showed $messages messages, not one"
  press 1001                                 # a blank key: the message stays as it is
  shot blank-key-touched
  press 1004                                 # the message's "Back": the page after the test
  shot after-the-run
  press 1004                                 # "Next": the protocol page
  press 1004                                 # "Back": the main menu
  shot back-at-main-menu
  [ "$(card_state)" = "$state" ] || fail "the read-only card changed"
  say "the run on the read-only card ended with $messages message(s); nothing on the card changed"
else
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
browse_files
fi
fi
press 1004                                   # "Quit"
shot shutdown-question
press 1003                                   # "SHUTDOWN"
vandu_end
if [ $calibration = 1 ]; then
  accepted=$(grep -rah "BACKGROUND (dome 1) CALIBRATION ACCEPTED" "$card" | head -1 || true)
  [ -n "$accepted" ] || fail "no accepted background calibration in the card's log"
  say "background calibration accepted: $accepted"
elif [ $read_only = 1 ]; then
  :
else
  if [ $electrodes = 1 ]; then
    checked=$(grep -rah "(ELECTRODES " "$card" | head -1 || true)
    [ -n "$checked" ] || fail "no electrode check in the card's log"
    say "electrodes checked: $checked"
  fi
  say "session $session recorded with test id $test_id; the stored tests:"
  (cd "$card" && find . -iname '*.tst' | sed 's|^\./||' | sort | sed 's/^/  /')
fi
say "pictures of each step in $out"
