# shellcheck shell=bash
# shellcheck disable=SC2154  # root, vandu and me come from the sourcing script
# Sourced by the scripts that operate Vandu.exe on the display in force
# (tools/vandu-screen.sh, tools/vandu-operator.sh); they set root, vandu
# (the program) and me (the name their messages start with).
#   vandu_start <card folder> <transcript> <output file>
# starts the program on the card, its remote-control line's transcript kept
# in <transcript> and its output in <output file>, waits for "-- WE'RE UP"
# and finds its window. Then pid is the program, and X Y WIDTH HEIGHT the
# unit's 240 x 320 screen on the display.
#   vandu_end
# after "SHUTDOWN": waits for "-- WE'RE DOWN." and for the program's end.
#   fail <text>: says it, shows the transcript, ends the program, exits 1.
#   wait_for <text>: up to 30 s for a text on the remote-control line.
#   screen_sum: a checksum of the unit's screen as it is now.
#   wait_screen_change <sum> [seconds]: up to 30 s (or the seconds given)
#   for the screen to differ from <sum>.

windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

fail() {
  echo "$me: $*" >&2
  [ -f "$transcript" ] && sed 's/^/  remote line: /' "$transcript" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
}

wait_for() {
  for _ in $(seq 1 150); do
    grep -qF -- "$1" "$transcript" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

screen_sum() {
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage rgb:- | md5sum
}

wait_screen_change() {
  for _ in $(seq 1 $(( ${2:-30} * 5 ))); do
    [ "$(screen_sum)" != "$1" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

vandu_start() {
  transcript=$2
  if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX
    WINEPREFIX="$(cd "$(dirname "$vandu")/.." && pwd)/wineprefix"
  fi
  # No window manager runs on the virtual display: the program's windows are
  # left unmanaged (Wine draws their frames itself and hides them at once).
  WINEDEBUG=-all wine64 reg add 'HKCU\Software\Wine\AppDefaults\Vandu.exe\X11 Driver' \
    /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true

  ERG_REMOTE_LINE_TRANSCRIPT=$(windows_path "$transcript") \
    "$root/tools/wine-run" "$vandu" "$(windows_path "$1")" >"$3" 2>&1 &
  pid=$!

  wait_for "-- WE'RE UP" || fail "no \"-- WE'RE UP\" on the remote-control line"
  local window=""
  for _ in $(seq 1 50); do
    window=$(xdotool search --name '^VANDU$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || fail "no window VANDU on the display"
  # The unit's 240 x 320 screen is the window's client area: borders alike
  # on three sides, the caption above.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local border=$(( (WIDTH - 240) / 2 ))
  X=$((X + border)) Y=$((Y + HEIGHT - 320 - border)) WIDTH=240 HEIGHT=320
}

vandu_end() {
  wait_for "-- WE'RE DOWN." || fail "no \"-- WE'RE DOWN.\" after SHUTDOWN"
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$pid" 2>/dev/null && fail "the program did not end after SHUTDOWN"
  wait "$pid" || true
}
