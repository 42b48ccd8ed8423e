# Sourced by the scripts that run Windows programs: sets the build's Wine
# prefix, creates it on first use and keeps one wineserver alive until
# wine_session_end (without it every program pays Wine's start-up).
build=${ERG_BUILD:?}
export WINEPREFIX="$build/win/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export PATH="$PATH:/usr/lib/wine"
ERG_TOOLS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ERG_TOOLS_DIR
wine_session_begin() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the prefix in $WINEPREFIX"
    timeout 300 wine64 wineboot --init >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
  fi
  # A server left over from an interrupted run would keep its desktop on a
  # display that is gone: end it first.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1 || true
  # Start Wine's own service and desktop processes here, detached from any
  # test's output: a test that creates the first window would otherwise have
  # them inherit its output pipe, and ctest would wait on them for ever.
  timeout 120 wine64 wineboot </dev/null >/dev/null 2>&1 || true
  # Wine's own window frames rather than a window manager's: the virtual
  # display has none, and Wine waits about two seconds for one whenever a
  # managed top-level window closes.
  wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  # The PostScript printer that prints to a file (once per prefix).
  "$ERG_TOOLS_DIR/wine-printer.sh" </dev/null || true
  if [ -n "${DISPLAY:-}" ]; then
    setsid wine64 explorer.exe /desktop </dev/null >/dev/null 2>&1 &
    sleep 1
  fi
}
wine_session_end() {
  wineserver -k >/dev/null 2>&1 || true
}
