#!/usr/bin/env bash
# Builds and runs the benchmarks (bench/): every *_bench program of the
# optimised native tree ($ERG_BUILD/bench, where FFTW links), then every
# *_bench.exe of the Windows tree ($ERG_BUILD/win) under Wine, and the
# session benchmark once more on a session recorded on the simulated unit.
# They print their figures; they are not tests.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
export ERG_BUILD=$build
"$root/tools/install-deps.sh"
extra=()
[ -n "${ERG_DIRS:-}" ] && extra+=("-DERG_DIRS=$ERG_DIRS")

echo "== native benchmarks"
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release "${extra[@]}" >/dev/null
cmake --build "$build/bench" --target benchmarks
for exe in "$build/bench/bin/"*_bench; do
  [ -x "$exe" ] || continue
  echo "-- $(basename "$exe")"
  "$exe"
done

echo "== Windows benchmarks under Wine"
cmake -S "$root" -B "$build/win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build "$build/win" --target benchmarks make_demo_card record_protocol
. "$root/tools/wine-session.sh"
wine_session_begin
status=0
for exe in "$build/win/bin/"*_bench.exe; do
  [ -f "$exe" ] || continue
  echo "-- $(basename "$exe")"
  # A benchmark may make windows: each gets a virtual display.
  (cd "$build/win/bin" && "$root/tools/with-display" "$root/tools/wine-run" "$exe") || status=1
done
# The session benchmark again, on a session recorded on the simulated unit.
card="$build/win/bench-card"
rm -rf "$card"
echo "-- session_bench.exe on the demonstration session recorded on the simulated unit"
if "$root/tools/wine-run" "$build/win/bin/make_demo_card.exe" "$card" >/dev/null &&
   "$root/tools/wine-run" "$build/win/bin/record_protocol.exe" "$card" DEMO.ses BENCH >/dev/null; then
  (cd "$build/win/bin" && "$root/tools/wine-run" "$build/win/bin/session_bench.exe" "$(ls -d "$card"/T*_DEMO)") || status=1
else
  status=1
fi
wine_session_end
exit $status
