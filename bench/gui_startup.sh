#!/usr/bin/env bash
# Measures the GUI as an operator meets it, under Xvfb with the simulated board: time from
# start to the main window mapped, resident memory once up, and CPU time while it sits idle
# (the watchdog ticks every 500 ms). Reports; asserts nothing.
# Usage: bench/gui_startup.sh [RUNS [IDLE_SECONDS]]   (needs scripts/build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
idle="${2:-10}"
program="${PROGRAM:-build/app/qrv470kse}"
work=$(mktemp -d)
display=":$((200 + RANDOM % 100))"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "${app:-}" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
export DISPLAY="$display" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work" QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{print ($14 + $15) * 1000 / t}' "/proc/$1/stat"; }

for run in $(seq "$runs"); do
  start=$(date +%s%N)
  "$program" --simulate 2>/dev/null &
  app=$!
  xdotool search --sync --onlyvisible --name '^For QRV-470K Program$' >/dev/null
  shown=$((($(date +%s%N) - start) / 1000000))
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
  if [ "$run" = 1 ]; then
    before=$(cpu_ms "$app")
    sleep "$idle"
    after=$(cpu_ms "$app")
    echo "idle CPU over ${idle} s: $(awk -v a="$after" -v b="$before" 'BEGIN {print a - b}') ms"
  fi
  echo "run $run: window shown after ${shown} ms, resident ${rss} kB"
  kill "$app"
  wait "$app" 2>/dev/null || true
done
