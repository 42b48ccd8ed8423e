#!/usr/bin/env bash
# Builds and runs the benchmarks (bench/). They print their figures; they are
# not tests. ERG_JOBS sets the number of parallel compile jobs.
#   - the FFT in the optimised native tree ($ERG_BUILD/bench, where FFTW
#     links) beside FFTW and numpy (bench/fft_numpy.py);
#   - the session benchmark on one generated session of 100 tests, natively
#     and under Wine, each beside bench/session_numpy.py (numpy and scipy, on
#     the same files), which checks that its a-/b-wave values equal the
#     program's and prints both times and their ratio;
#   - growth: the session benchmark on 50, 100, 200 and 400 tests, natively
#     and under Wine, time and peak memory per test;
#   - Tolmaro.exe opening the sessions of 100 and 400 tests until their
#     thumbnails are painted, beside the limit (the program's start, the
#     files read, the native analysis) and the ratio;
#   - Tolmaro.exe with a session of 1000 tests of 2 sweeps each open: its
#     resident memory once the thumbnails are painted, and the time it then
#     takes to close and end with nothing changed;
#   - the session benchmark once more on a session recorded on the simulated
#     unit.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ERG_BUILD:-$root/build}
jobs=${ERG_JOBS:-$(nproc)}
export ERG_BUILD=$build
"$root/tools/install-deps.sh"
# One virtual display for the whole run: Wine takes its display driver when
# the session starts, so a benchmark that makes windows needs it from then.
[ -n "${ERG_DISPLAY:-}" ] || exec "$root/tools/with-display" "$0" "$@"
# The comparison scripts run on Debian's Python with its numpy and scipy.
py=/usr/bin/python3
if ! "$py" -c 'import numpy, scipy' 2>/dev/null; then
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends python3-numpy python3-scipy
fi
extra=()
[ -n "${ERG_DIRS:-}" ] && extra+=("-DERG_DIRS=$ERG_DIRS")
status=0

echo "== native benchmarks"
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release "${extra[@]}" >/dev/null
cmake --build "$build/bench" -j "$jobs" --target benchmarks
numpy_fft="$build/bench/fft_numpy"
mkdir -p "$numpy_fft"
"$py" "$root/bench/fft_numpy.py" "$numpy_fft" 1000 1001 4096 12000 65536 6002 9003 5005 || status=1
echo "-- fft_bench"
"$build/bench/bin/fft_bench" --numpy "$numpy_fft" || status=1
rm -rf "$numpy_fft"

echo "== Windows benchmarks under Wine"
cmake -S "$root" -B "$build/win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build "$build/win" -j "$jobs" --target benchmarks make_session make_demo_card record_protocol Tolmaro
. "$root/tools/wine-session.sh"
wine_session_begin
win_bin="$build/win/bin"
native_session="$build/bench/bin/session_bench"
sessions="$build/bench/sessions"
rm -rf "$sessions"
mkdir -p "$sessions"
win() { (cd "$win_bin" && "$root/tools/wine-run" "$@"); }
# A folder as the Windows program is given one (its file dialogs give drive
# paths): through the prefix's drive Z:, which is the root of this machine.
dos_path() { printf 'Z:%s' "${1//\//\\}"; }

for exe in "$win_bin/"*_bench.exe; do
  [ -f "$exe" ] || continue
  [ "$(basename "$exe")" = session_bench.exe ] && continue
  echo "-- $(basename "$exe")"
  (cd "$win_bin" && "$root/tools/wine-run" "$exe") || status=1
done

# One session for every run, written once (by the Windows build's writer).
for tests in 50 100 200 400; do
  mkdir -p "$sessions/$tests"
  win "$win_bin/make_session.exe" "$sessions/$tests" "$tests" >/dev/null || status=1
done

echo "-- session_bench, native, 100 tests"
"$native_session" --values "$sessions/native.values" "$sessions/100" || status=1
echo "-- session_numpy.py beside the native build"
"$py" "$root/bench/session_numpy.py" "$sessions/100" "$sessions/native.values" || status=1
echo "-- session_bench.exe under Wine, 100 tests"
win "$win_bin/session_bench.exe" --values "$sessions/wine.values" "$(dos_path "$sessions/100")" || status=1
echo "-- session_numpy.py beside the Windows build under Wine"
"$py" "$root/bench/session_numpy.py" "$sessions/100" "$sessions/wine.values" || status=1

echo "-- growth: time and peak memory per test"
for tests in 50 100 200 400; do
  line=$("$native_session" "$sessions/$tests" | grep '^per test:') || status=1
  printf '%-7s %3d tests  %s\n' native "$tests" "$line"
  line=$(win "$win_bin/session_bench.exe" "$(dos_path "$sessions/$tests")" | tr -d '\r' | grep '^per test:') || status=1
  printf '%-7s %3d tests  %s\n' Wine "$tests" "$line"
done

# The program itself: Tolmaro.exe started with a session's first test until
# every window it opens, the session's thumbnails with them, is painted (it
# says so and ends: ERG_END_WHEN_PAINTED), beside the limit measured in the
# same run: the program's start alone (the same, without a session), the
# session's files read from the page cache, and the native analysis
# (session_bench's total). Each time the median of three runs.
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median3() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
painted_ms() {
  local t0 t1
  t0=$(now_ms)
  (cd "$win_bin" && ERG_END_WHEN_PAINTED=1 "$root/tools/wine-run" "$win_bin/Tolmaro.exe" "$@") | grep -q painted || status=1
  t1=$(now_ms)
  echo $((t1 - t0))
}
echo "-- Tolmaro.exe until a session's thumbnails are painted, beside the limit"
start_ms=$(median3 "$(painted_ms)" "$(painted_ms)" "$(painted_ms)")
printf '%5s tests  %9s %9s %9s %9s %9s %7s\n' "" "start ms" "read ms" "native ms" "limit ms" "Tolmaro" "ratio"
for tests in 100 400; do
  first=$(ls "$sessions/$tests"/*.TST | head -1)
  runs=()
  for run in 1 2 3; do
    t0=$(now_ms); cat "$sessions/$tests"/* >/dev/null; t1=$(now_ms)
    runs+=($((t1 - t0)))
  done
  read_ms=$(median3 "${runs[@]}")
  runs=()
  for run in 1 2 3; do
    runs+=("$("$native_session" "$sessions/$tests" | awk '$1 == "total" { printf "%d", $2 }')")
  done
  native_ms=$(median3 "${runs[@]}")
  tolmaro_ms=$(median3 "$(painted_ms "$(dos_path "$first")")" "$(painted_ms "$(dos_path "$first")")" \
                       "$(painted_ms "$(dos_path "$first")")")
  limit_ms=$((start_ms + read_ms + native_ms))
  printf '%5d tests  %9d %9d %9d %9d %9d %7s\n' "$tests" "$start_ms" "$read_ms" "$native_ms" "$limit_ms" \
    "$tolmaro_ms" "$(awk -v t="$tolmaro_ms" -v l="$limit_ms" 'BEGIN { printf "%.2f", t / l }')"
done

# Tolmaro.exe with a large session open, ended by closing its windows
# (ERG_END_WHEN_PAINTED=close): its resident memory when it says the
# thumbnails are painted and its peak, read from /proc while it runs, and
# the time from then until it has ended. The second of two runs counts: the
# first writes the tests' state files, the second leaves them as they are.
mkdir -p "$sessions/1000"
win "$win_bin/make_session.exe" "$sessions/1000" 1000 2 >/dev/null || status=1
large_first=$(ls "$sessions/1000"/*.TST | head -1)
large_session() {
  local out="$sessions/large.out" pid rss="" peak="" painted="" line
  : >"$out"
  (cd "$win_bin" && ERG_END_WHEN_PAINTED=close exec "$root/tools/wine-run" "$win_bin/Tolmaro.exe" \
    "$(dos_path "$large_first")") >"$out" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    # (The process may end between the test and the reading.)
    line=$(awk '/^VmHWM:/ { h = $2 } /^VmRSS:/ { r = $2 } END { if (h) print r, h }' "/proc/$pid/status" \
      2>/dev/null || true)
    [ -n "$line" ] && peak=${line#* }
    if [ -z "$painted" ] && grep -q painted "$out"; then
      painted=$(now_ms)
      rss=${line% *}
    fi
    sleep 0.02
  done
  wait "$pid" || status=1
  local ended
  ended=$(now_ms)
  if [ -z "$painted" ]; then
    echo "Tolmaro.exe did not say painted" >&2
    status=1
    return
  fi
  printf '1000 tests  resident %d MB at painting, peak %d MB; ended %d ms after painting\n' \
    $((rss / 1024)) $((peak / 1024)) $((ended - painted))
}
echo "-- Tolmaro.exe with 1000 tests of 2 sweeps each open, then closed with nothing changed"
large_session >/dev/null
large_session
rm -rf "$sessions"

# The session benchmark again, on a session recorded on the simulated unit.
card="$build/win/bench-card"
rm -rf "$card"
echo "-- session_bench.exe on the demonstration session recorded on the simulated unit"
if win "$win_bin/make_demo_card.exe" "$card" >/dev/null &&
   win "$win_bin/record_protocol.exe" "$card" DEMO.ses BENCH >/dev/null; then
  win "$win_bin/session_bench.exe" "$(dos_path "$(ls -d "$card"/T*_DEMO)")" || status=1
else
  status=1
fi
wine_session_end
exit $status
