#!/usr/bin/env bash
# Measures what the idle game costs: the share of one core the game process uses (all its
# threads, the software renderer's included) while it shows its screen after loading,
# with default settings and a throw-away user folder. Read from /proc/<pid>/stat over
# ZOR_IDLE_SECONDS (10 by default), after the data is loaded and ZOR_SETTLE_SECONDS (2)
# more. Runs under a virtual X server when there is no display.
# Usage: scripts/measure-idle-cpu.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/game-display.sh
source scripts/game-display.sh
cd "$build_dir"
seconds="${ZOR_IDLE_SECONDS:-10}"
settle="${ZOR_SETTLE_SECONDS:-2}"
work="$(mktemp -d)"
game=""
cleanup() {
  [ -n "$game" ] && kill -TERM "$game" 2>/dev/null && wait "$game" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/user"
ZOR_USER_DIR="$work/user" ZOR_NO_MESSAGEBOX=1 ./morrowdeep > "$work/log.txt" 2> "$work/errors.txt" &
game=$!
for _ in $(seq 1 3000); do
  grep -q "Game data loaded in" "$work/log.txt" && break
  if ! kill -0 "$game" 2>/dev/null; then
    echo "The game ended before its data was loaded:" >&2
    cat "$work/log.txt" "$work/errors.txt" >&2
    exit 1
  fi
  sleep 0.01
done
sleep "$settle"

# Fields 14 and 15 of /proc/<pid>/stat: user and system time of all threads, in clock
# ticks. The command name (field 2) may hold blanks, so fields are counted after its ")".
cpu_ticks() { sed 's/.*) //' "/proc/$game/stat" | awk '{ print $12 + $13 }'; }
ticks_per_second=$(getconf CLK_TCK)
# Other processes slow the software renderer's threads, so the figure goes with the load.
load_before=$(cut -d' ' -f1 /proc/loadavg)
before=$(cpu_ticks)
started=$(date +%s.%N)
sleep "$seconds"
after=$(cpu_ticks)
ended=$(date +%s.%N)
load_after=$(cut -d' ' -f1 /proc/loadavg)
awk -v t="$((after - before))" -v hz="$ticks_per_second" -v a="$started" -v b="$ended" \
  -v l0="$load_before" -v l1="$load_after" -v cores="$(nproc)" \
  'BEGIN { printf "Idle game: %.1f %% of one core over %.1f s (load average %s, then %s, on %d cores)\n",
           100 * t / hz / (b - a), b - a, l0, l1, cores }'
