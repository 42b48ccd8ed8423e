#!/usr/bin/env bash
# The main job: installs what is missing, builds what it runs, probes the
# hardware access library on the simulated unit, then writes the
# demonstration card into a fresh card folder (build/win/demo-card, or the
# folder given as the first argument). Then Vandu itself starts on that card
# under a virtual display and an operator records the demonstration session
# through its soft keys (tools/vandu-operator.sh), checking the electrodes in
# the electrode check window before the run and browsing the stored files
# after it: the pictures of each step go to build/win/shots and the stored
# tests are listed. The session is run once more on a copy of the card that
# takes no new file, as a read-only card (pictures read-only-*.png). A
# technician then runs a
# background calibration on a copy of the card (pictures calibration-*.png). Vandu is started
# once more for the picture of its main menu and shut down through its keys.
# Last, the desktop program Tolmaro starts with the first recorded test of
# the card as its start-up file (its session opens); the pictures of its main
# window and of the screen go to build/win/shots too, and it is closed
# through its File menu.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
export ERG_BUILD=$build
card=${1:-$build/win/demo-card}
"$root/tools/install-deps.sh"
"$root/tools/build.sh" programs
. "$root/tools/wine-session.sh"
wine_session_begin
trap wine_session_end EXIT
"$root/tools/wine-run" "$build/win/bin/kestal_probe.exe"
rm -rf "$card"
"$root/tools/wine-run" "$build/win/bin/make_demo_card.exe" "$card"
wine_session_end
trap - EXIT

# The demonstration session recorded on Vandu, keys pressed as a person
# presses them.
export root card shots="$build/win/shots"
"$root/tools/with-display" bash -c '
  . "$root/tools/wine-session.sh"
  wine_session_begin
  trap wine_session_end EXIT
  "$root/tools/vandu-operator.sh" --electrodes "$card" "$shots" DEMO DEMO01'

# The same session once more on a copy of the card that takes no new file,
# as a card mounted read-only (pictures read-only-*.png).
export root card shots="$build/win/shots"
"$root/tools/with-display" bash -c '
  . "$root/tools/wine-session.sh"
  wine_session_begin
  trap wine_session_end EXIT
  "$root/tools/vandu-operator.sh" --read-only "$card" "$shots" DEMO A7'

# A background calibration through the technician's pages.
export root card shots="$build/win/shots"
"$root/tools/with-display" bash -c '
  . "$root/tools/wine-session.sh"
  wine_session_begin
  trap wine_session_end EXIT
  "$root/tools/vandu-operator.sh" --calibration "$card" "$shots"'

# Vandu on the simulated unit, on a display of its own.
export root card shots="$build/win/shots"
"$root/tools/with-display" bash -c '
  . "$root/tools/wine-session.sh"
  wine_session_begin
  trap wine_session_end EXIT
  "$root/tools/vandu-screen.sh" "$card" "$shots"'

# Tolmaro with the recorded session, on a display of its own.
first_test=$(find "$card" -iname '*.tst' | LC_ALL=C sort | head -1)
export first_test
"$root/tools/with-display" bash -c '
  . "$root/tools/wine-session.sh"
  wine_session_begin
  trap wine_session_end EXIT
  "$root/tools/tolmaro-screen.sh" "$shots" ${first_test:+"$first_test"}'
