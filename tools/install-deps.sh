#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the main job need and
# this machine lacks. Safe to run again: it does nothing when all is there.
set -eu
need=()
have() { command -v "$1" >/dev/null 2>&1 || [ -x "$1" ]; }
have cmake                             || need+=(cmake)
have ninja                             || need+=(ninja-build)
have g++                               || need+=(g++)
have x86_64-w64-mingw32-g++-posix      || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-gcc-posix      || need+=(gcc-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres        || need+=(binutils-mingw-w64-x86-64)
[ -d /usr/share/mingw-w64/include ]    || need+=(mingw-w64-x86-64-dev)
have /usr/lib/wine/wine64              || need+=(wine64)
have Xvfb                              || need+=(xvfb)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/include/fftw3.h ]            || need+=(libfftw3-dev)
[ -x /usr/bin/import ]                 || need+=(imagemagick)
have xdotool                           || need+=(xdotool)
have gs                                || need+=(ghostscript)
# The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
have clang++                           || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
# The locale tests record and export under a German locale.
german=de_DE.UTF-8
locale -a 2>/dev/null | grep -qix 'de_DE.utf8' || { have locale-gen || need+=(locales); }
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
if [ ${#need[@]} -gt 0 ]; then
  echo "install-deps: installing ${need[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  echo "install-deps: generating the locale $german"
  grep -q "^$german UTF-8" /etc/locale.gen 2>/dev/null || echo "$german UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
