# Sourced by the measuring scripts, with their arguments: sets build_dir from the first
# argument (or ZOR_BUILD_DIR, or "build"), stops when there is no game there, and starts
# the calling script again under a virtual X server when there is no display.
build_dir="${1:-${ZOR_BUILD_DIR:-build}}"
if [ ! -x "$build_dir/morrowdeep" ]; then
  echo "No game in $build_dir: build it first (bash scripts/setup.sh $build_dir)." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x720x24" bash "$0" "$@"
fi
