#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the host
# build's portable tests under the sanitizers, each fuzz target for a few
# seconds on its corpus, then the Windows build's tests under Wine (window
# tests on a virtual display).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
export ERG_BUILD=$build
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
jobs=$(nproc)
status=0
echo "== host build (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir "$build/host" --output-on-failure -j "$jobs" || status=1
echo "== fuzz targets, briefly on their corpora"
"$root/tools/fuzz.sh" 2 || status=1
echo "== Windows build under Wine"
. "$root/tools/wine-session.sh"
run_windows_tests() {
  wine_session_begin
  ctest --test-dir "$build/win" --output-on-failure -j "$jobs"
  local rc=$?
  wine_session_end
  return $rc
}
export -f run_windows_tests wine_session_begin wine_session_end
export root build
"$root/tools/with-display" bash -c run_windows_tests || status=1
exit $status
