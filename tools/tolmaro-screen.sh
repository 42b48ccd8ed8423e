#!/usr/bin/env bash
# Starts Tolmaro.exe on the display in force (run it under tools/with-display,
# inside a Wine session), saves a picture of its main window
# (tolmaro-main-window.png) and of the whole screen (tolmaro-screen.png);
# with a session, of its panel, its summary, the third test's measurement
# graph, comparison graph, spectrum and information, and the pages of the
# session's printed report; and ends it through its File menu's "Exit"
# (answering Yes when it asks to close its other windows), as a person does:
#   tools/tolmaro-screen.sh <output folder> [test or special session file]
# A file given opens as the start-up session.
# ERG_TOLMARO names the program when it is not the build's
# (build/win/bin/Tolmaro.exe).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
tolmaro=${ERG_TOLMARO:-$build/win/bin/Tolmaro.exe}
mkdir -p "$1"
out=$(cd "$1" && pwd)
rm -f "$out"/tolmaro-*.png "$out"/tolmaro-printed-report.ps
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# No window manager runs on the virtual display: the program's windows are
# left unmanaged (Wine draws their frames itself and hides them at once).
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX
  WINEPREFIX="$(cd "$(dirname "$tolmaro")/.." && pwd)/wineprefix"
fi
WINEDEBUG=-all wine64 reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$tolmaro")\\X11 Driver" \
  /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true

args=()
[ $# -ge 2 ] && args+=("$(windows_path "$(cd "$(dirname "$2")" && pwd)/$(basename "$2")")")
"$root/tools/wine-run" "$tolmaro" "${args[@]}" >"$out/tolmaro.out" 2>&1 &
pid=$!

fail() {
  echo "tolmaro-screen: $*" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
}

window=""
for _ in $(seq 1 150); do
  window=$(xdotool search --name '^ TOLMARO [0-9.]+V?$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its main window came up"
  sleep 0.2
done
[ -n "$window" ] || fail "no main window TOLMARO on the display"
sleep 2  # the first layout resizes the window once
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/tolmaro-main-window.png"
import -window root "$out/tolmaro-screen.png"

# Waits for the window whose name matches $1 and saves its picture as
# tolmaro-$2.png; a window that does not come is said, not fatal.
picture_of() {
  local found=""
  for _ in $(seq 1 50); do
    found=$(xdotool search --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$found" ] && break
    sleep 0.2
  done
  if [ -z "$found" ]; then
    echo "tolmaro-screen: no window $1 came up for $2" >&2
    return 0
  fi
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$found")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/tolmaro-$2.png"
}
# Opens a window from the third thumbnail's pop-up menu (the keys choose the
# item) and saves its picture.
picture_from_thumbnail() {
  xdotool windowraise "$session"
  sleep 0.3
  xdotool mousemove $((session_x + 60)) $((session_y + 310)) click 3
  sleep 0.7
  xdotool key $1
  picture_of "$2" "$3"
}

# The session's report, printed from its File menu ("Print", the print
# dialog's default printer): Wine's PostScript driver writes the job to
# page.ps (tools/wine-printer.sh), and ghostscript turns each page into
# tolmaro-printed-report-N.png.
printed_report() {
  local ps="$WINEPREFIX/printed/page.ps"
  rm -f "$ps"
  xdotool windowraise "$session"
  sleep 0.3
  xdotool mousemove $((session_x + 20)) $((session_y + 31)) click 1
  sleep 0.5
  xdotool key Up Up Return
  local dialog=""
  for _ in $(seq 1 50); do
    dialog=$(xdotool search --name '^Print$' 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] && break
    sleep 0.2
  done
  if [ -z "$dialog" ]; then
    echo "tolmaro-screen: no print dialog came up" >&2
    return 0
  fi
  sleep 0.5
  xdotool windowfocus --sync "$dialog" key Return 2>/dev/null || true
  # The job is whole when the driver has written its trailer.
  for _ in $(seq 1 150); do
    [ -f "$ps" ] && grep -q '%%EOF' "$ps" && break
    sleep 0.2
  done
  if ! { [ -f "$ps" ] && grep -q '%%EOF' "$ps"; }; then
    echo "tolmaro-screen: the printed report did not come to $ps" >&2
    return 0
  fi
  cp "$ps" "$out/tolmaro-printed-report.ps"
  gs -q -dBATCH -dNOPAUSE -sDEVICE=png16m -r100 -o "$out/tolmaro-printed-report-%d.png" "$ps" ||
    echo "tolmaro-screen: ghostscript could not render $ps" >&2
}

# With a start-up session: its panel's picture, then the measurement graph
# of its first test, opened from the thumbnail's pop-up menu ("Copy Test
# Data To", "Measurement Graph") as a person opens it.
if [ $# -ge 2 ]; then
  session=$(xdotool search --name '^\[[0-9]+\] ' 2>/dev/null | head -1 || true)
  [ -n "$session" ] || fail "no session window for $2"
  eval "$(xdotool getwindowgeometry --shell "$session")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/tolmaro-session.png"
  session_x=$X session_y=$Y
  # The third test (a bright flash); the main window sits over the session's
  # right side, the graph opens on the left, at the window cascade's place.
  xdotool mousemove $((X + 60)) $((Y + 310)) click 3
  sleep 0.7
  xdotool key Down Right Down Return
  graph=""
  for _ in $(seq 1 50); do
    graph=$(xdotool search --name '^MG[0-9]+\(' 2>/dev/null | head -1 || true)
    [ -n "$graph" ] && break
    sleep 0.2
  done
  [ -n "$graph" ] || fail "no measurement graph after the thumbnail's menu"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$graph")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/tolmaro-measurement-graph.png"
  import -window root "$out/tolmaro-screen.png"
  # The same test's comparison graph and spectrum, from the same menu; and
  # the session's summary from its View menu.
  picture_from_thumbnail "Down Right Down Down Return" '^CG[0-9]+\(' comparison-graph
  # The test's trace dragged out of its mini graph: the drag item follows
  # the mouse (tolmaro-drag.png); released over the comparison graph's plot
  # it adds the trace there (tolmaro-comparison-drop.png).
  cg=$(xdotool search --name '^CG[0-9]+\(' 2>/dev/null | head -1 || true)
  if [ -n "$cg" ]; then
    xdotool windowraise "$session"
    sleep 0.3
    xdotool mousemove $((session_x + 340)) $((session_y + 330)) mousedown 1
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$cg")"
    # In steps, as a hand moves it.
    for step in 1 2 3 4 5 6 7 8; do
      xdotool mousemove $((session_x + 340 + (X + WIDTH / 2 - session_x - 340) * step / 8)) \
        $((session_y + 330 + (Y + HEIGHT / 2 - 20 - session_y - 330) * step / 8))
      sleep 0.1
    done
    sleep 0.7
    import -window root "$out/tolmaro-drag.png"
    xdotool mouseup 1
    sleep 0.7
    xdotool windowraise "$cg"
    sleep 0.7
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/tolmaro-comparison-drop.png"
  fi
  picture_from_thumbnail "Down Right Down Down Down Down Return" '^FF\( ' fft-graph
  xdotool windowraise "$session"
  sleep 0.3
  xdotool mousemove $((session_x + 87)) $((session_y + 31)) click 1
  sleep 0.5
  xdotool key Down Return
  picture_of '^summary$' summary
  # The third test's information (its pop-up menu's "Test source info").
  picture_from_thumbnail "Down Down Down Down Return" '^Test Information$' test-information
  printed_report
  # The main window comes back to the front for its File menu.
  xdotool windowraise "$window"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
fi

# File, then the last item of its menu: "Exit". The menu bar lies under the
# caption; its first item starts at the left.
xdotool mousemove $((X + 20)) $((Y + 35)) click 1
sleep 0.5
xdotool key Up Return
# With other windows open it asks first; Yes is the box's default button.
question=""
for _ in $(seq 1 10); do
  kill -0 "$pid" 2>/dev/null || break
  question=$(xdotool search --name '^Yes or No$' 2>/dev/null | head -1 || true)
  [ -n "$question" ] && break
  sleep 0.2
done
[ -n "$question" ] && xdotool windowfocus --sync "$question" key Return 2>/dev/null || true
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after File, Exit"
wait "$pid" || true
echo "tolmaro-screen: the main window came up and closed through File, Exit; its picture is in $out/tolmaro-main-window.png"
