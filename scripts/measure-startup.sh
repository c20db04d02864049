#!/usr/bin/env bash
# Measures the game's start-up on the bundled sample data: the time from launch to the
# first frame (as the program reports it, and as seen from outside), the time of the
# load-all job, and the peak memory (GNU time's maximum resident set size). The game is
# started several times (ZOR_RUNS, 5 by default) and ended with SIGTERM once its data is
# loaded; medians are printed last. Runs under a virtual X server when there is no
# display, with a throw-away user folder. Usage: scripts/measure-startup.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/game-display.sh
source scripts/game-display.sh
cd "$build_dir"
runs="${ZOR_RUNS:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$work/first_frame" ; : > "$work/outside" ; : > "$work/load_all" ; : > "$work/peak"
for run in $(seq 1 "$runs"); do
  rm -rf "$work/user" && mkdir -p "$work/user"
  started=$(date +%s.%N)
  ZOR_USER_DIR="$work/user" ZOR_NO_MESSAGEBOX=1 /usr/bin/time -v -o "$work/time.txt" \
    ./morrowdeep -set Screen.VSync 0 > "$work/log.txt" 2> "$work/errors.txt" &
  timer=$!
  seen_frame=""
  # The data may be loaded before the first frame is shown: wait for both lines.
  for _ in $(seq 1 6000); do
    if [ -z "$seen_frame" ] && grep -q "First frame shown" "$work/log.txt"; then
      seen_frame=$(date +%s.%N)
    fi
    [ -n "$seen_frame" ] && grep -q "Game data loaded in" "$work/log.txt" && break
    kill -0 "$timer" 2>/dev/null || break
    sleep 0.01
  done
  if [ -z "$seen_frame" ] || ! grep -q "Game data loaded in" "$work/log.txt"; then
    echo "Run $run: the game did not show a frame and load its data:" >&2
    cat "$work/log.txt" "$work/errors.txt" >&2
    exit 1
  fi
  # The game is the timer's one child.
  game=$(cat "/proc/$timer/task/$timer/children" 2>/dev/null || true)
  [ -n "$game" ] && kill -TERM $game
  wait "$timer" || true
  first=$(sed -n 's/.*First frame shown \([0-9.]*\) s.*/\1/p' "$work/log.txt")
  outside=$(awk -v a="$seen_frame" -v b="$started" 'BEGIN { print a - b }')
  load=$(sed -n 's/.*Game data loaded in \([0-9.]*\) s.*/\1/p' "$work/log.txt")
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): \([0-9]*\).*/\1/p' "$work/time.txt")
  printf 'Run %d: first frame %.3f s (seen from outside %.3f s), load-all job %.3f s, peak memory %.1f MiB\n' \
    "$run" "$first" "$outside" "$load" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
  echo "$first" >> "$work/first_frame"
  echo "$outside" >> "$work/outside"
  echo "$load" >> "$work/load_all"
  echo "$peak" >> "$work/peak"
done
printf 'Median of %d runs: first frame %.3f s after start (%.3f s seen from outside), load-all job %.3f s, peak memory %.1f MiB\n' \
  "$runs" "$(median < "$work/first_frame")" "$(median < "$work/outside")" "$(median < "$work/load_all")" \
  "$(awk -v k="$(median < "$work/peak")" 'BEGIN { print k / 1024 }')"
