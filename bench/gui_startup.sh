#!/usr/bin/env bash
# Measures the GUI as an operator meets it, under Xvfb, with the simulated board and with a
# port that is not there: time from launch to the window's first paint, resident memory once
# up, and CPU time while it sits idle
# (the watchdog ticks every 500 ms). Reports; asserts nothing.
# Usage: bench/gui_startup.sh [RUNS [IDLE_SECONDS]]   (needs scripts/build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
idle="${2:-10}"
# shellcheck source=bench/xvfb_session.sh
source bench/xvfb_session.sh

for mode in "--simulate" "--port /nonexistent/tty"; do
  for run in $(seq "$runs"); do
    # The program prints its own first paint against the launch time it is given: exact,
    # where a watcher polling for the window finds it only at its next look.
    # shellcheck disable=SC2086
    # A file of its own each run: the last run's line must not be read as this one's.
    err="$work/err.$run.${mode%% *}"
    QRV470KSE_STARTUP_TRACE=$(date +%s%N) QRV470KSE_BOXES=stderr "$program" $mode 2>"$err" &
    app=$!
    for _ in $(seq 100); do grep -q '^startup:' "$err" 2>/dev/null && break; sleep 0.05; done
    painted=$(grep -o "first paint [0-9.]* ms" "$err" || echo "no paint seen")
    sleep 1
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
    if [ "$run" = 1 ] && [ "$mode" = "--simulate" ]; then
      before=$(cpu_ms "$app")
      sleep "$idle"
      after=$(cpu_ms "$app")
      echo "idle CPU over ${idle} s: $(awk -v a="$after" -v b="$before" 'BEGIN {print a - b}') ms"
    fi
    echo "${mode%% *} run $run: $painted after launch, resident ${rss} kB"
    kill "$app"
    wait "$app" 2>/dev/null || true
  done
done
