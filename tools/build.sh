#!/usr/bin/env bash
# Configures and builds both trees: build/win (cross build, everything) and
# build/host (portable core under the sanitizers). ERG_BUILD moves both
# trees elsewhere; ERG_DIRS (a ;-list of folders) narrows what is built;
# ERG_JOBS sets the number of parallel compile jobs (default: all cores).
# With the argument "programs" only what the main job runs is built: the
# Windows programs, their libraries and tools, not the tests nor build/host;
# a later full build reuses that tree.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${ERG_JOBS:-$(nproc)}
build=${ERG_BUILD:-$root/build}
extra=()
[ -n "${ERG_DIRS:-}" ] && extra+=("-DERG_DIRS=$ERG_DIRS")
cmake -S "$root" -B "$build/win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
if [ "${1:-}" = programs ]; then
  cmake --build "$build/win" -j "$jobs" --target programs
  exit 0
fi
cmake --build "$build/win" -j "$jobs"
cmake -S "$root" -B "$build/host" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DERG_SANITIZE=ON "${extra[@]}" >/dev/null
cmake --build "$build/host" -j "$jobs"
