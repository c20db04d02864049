#!/usr/bin/env bash
# Installs what is missing, builds, and runs the game on the bundled sample data.
# Without a display (no X11 or Wayland), the game runs under a virtual X server for a few
# seconds (ZOR_HEADLESS_SECONDS, 5 by default); a screenshot of that screen is saved as
# build/screenshot.png before the game is asked to quit, so the command still shows it
# working. Without a sound device the game itself picks openal-soft's silent output.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the game, its data with the tools that write it, and the level-editor sender: the
# tests and benchmarks are built by run-tests.sh.
ZOR_BUILD_TARGETS="morrowdeep bundle pipe_send" bash scripts/setup.sh build
cd build
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./morrowdeep "$@"
fi
seconds="${ZOR_HEADLESS_SECONDS:-5}"
screenshot="$PWD/screenshot.png"
rm -f "$screenshot"
echo "No display found: running the game under a virtual X server (xvfb-run) for ${seconds} seconds."
status=0
# shellcheck disable=SC2016
# No message box: nobody could see or close it on the virtual display.
ZOR_NO_MESSAGEBOX=1 xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  seconds="$1" screenshot="$2"
  shift 2
  ./morrowdeep "$@" &
  game=$!
  sleep "$seconds"
  if kill -0 "$game" 2>/dev/null; then
    import -window root "$screenshot" || echo "The screenshot could not be taken."
    kill -TERM "$game"
  fi
  wait "$game"
' run-game "$seconds" "$screenshot" "$@" || status=$?
echo "The game ran for ${seconds} seconds on the virtual display and ended with exit code ${status}."
if [ -f "$screenshot" ]; then
  echo "Screenshot of the game window: ${screenshot}"
fi
exit "$status"
