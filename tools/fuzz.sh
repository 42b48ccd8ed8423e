#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) natively with clang under AddressSanitizer
# and UndefinedBehaviorSanitizer and runs each for the given seconds (default
# 60) on its committed corpus; prints, per target, the runs, the coverage
# reached and the crashes. New inputs go to build/fuzz/corpus/<target>, crash
# inputs to build/fuzz/crashes/<target>. ERG_FUZZ_TARGETS (a blank-separated
# list of names) narrows which targets run. Exit status 1 when any target
# crashed or failed to run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${ERG_BUILD:-$root/build}/fuzz
jobs=$(nproc)
# Coverage for every library; clang ignores the code's gnu_printf format
# checks (the gcc builds make them).
flags="-fsanitize=fuzzer-no-link -Wno-ignored-attributes"
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DERG_SANITIZE=ON -DERG_FUZZ=ON \
  "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags" \
  "-DERG_DIRS=platform/unit;platform/ce;hwlib;handheld/engine;desktop/winlib;desktop/data;fuzz" >/dev/null
cmake --build "$build" -j "$jobs" --target fuzz_targets

targets=${ERG_FUZZ_TARGETS:-$(cd "$root/fuzz/corpus" && ls)}
status=0
printf '%-22s %10s %8s %8s\n' target runs coverage crashes
for name in $targets; do
  exe="$build/bin/fuzz_$name"
  work="$build/corpus/$name"
  crashes="$build/crashes/$name"
  mkdir -p "$work" "$crashes"
  log="$build/logs/$name.txt"
  mkdir -p "$(dirname "$log")"
  rc=0
  # New inputs go to the work folder; the committed corpus is read only.
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=8192 \
    -artifact_prefix="$crashes/" -print_final_stats=1 "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$crashes" -type f | wc -l)
  printf '%-22s %10s %8s %8s\n' "$name" "${runs:-?}" "${cov:-?}" "$found"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    status=1
    echo "  $name failed (exit $rc); its log: $log" >&2
    grep -m 5 -E 'ERROR|fuzz check failed|SUMMARY' "$log" >&2 || true
  fi
done
exit $status
