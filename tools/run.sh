#!/usr/bin/env bash
# The main job: installs what is missing, builds everything and runs the
# hardware probe on the simulated unit.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
export ERG_BUILD=$build
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
. "$root/tools/wine-session.sh"
wine_session_begin
trap wine_session_end EXIT
"$root/tools/wine-run" "$build/win/bin/kestal_probe.exe" "$@"
