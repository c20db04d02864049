#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. The whole ctest run sits
# under one virtual X server so the "gl" tests find a GLX display; audio tests
# use openal-soft's null backend (no sound card needed).
# Usage: scripts/run-tests.sh [extra ctest args...]   (e.g. -L gl, -LE gl)
# ZOR_BUILD_DIR and ZOR_CMAKE_ARGS choose another build, e.g. the sanitizer one.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ZOR_BUILD_DIR:-build}"
# shellcheck disable=SC2086
bash scripts/setup.sh "$build_dir" ${ZOR_CMAKE_ARGS:-}

export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
export ZOR_NO_MESSAGEBOX=1
# SDL and Mesa leak at exit; never set fast_unwind_on_malloc=0 (llvmpipe hangs).
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-suppressions=$PWD/scripts/tsan-suppressions.txt}"
cd "$build_dir"
xvfb-run -a -s "-screen 0 1280x720x24" ctest --output-on-failure -j "$(nproc)" "$@"
