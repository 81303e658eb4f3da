#!/usr/bin/env bash
# CPU time of the GUI with its preview window open under Xvfb: a still page, then a page
# whose lines blink (the window animates), each over the same span. Reports; asserts nothing.
# Usage: bench/gui_preview_cpu.sh [SECONDS]   (needs scripts/build)
set -euo pipefail
cd "$(dirname "$0")/.."
span="${1:-10}"
WM=1
# shellcheck source=bench/xvfb_session.sh
source bench/xvfb_session.sh
measure() {
  local before after
  before=$(cpu_ms "$app")
  sleep "$span"
  after=$(cpu_ms "$app")
  echo "$1: $(awk -v a="$after" -v b="$before" -v s="$span" 'BEGIN {printf "%.0f ms CPU in %d s (%.1f %%)", a - b, s, (a - b) / s / 10}')"
}

"$program" --simulate 2>/dev/null &
app=$!
window=$(x_find '^For QRV-470K Program$' 60 --onlyvisible)
sleep 1
measure "main window alone"
# 表示 > プレビュー, by keyboard: the fourth menu of the bar.
x_run xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --delay 150 alt Right Right Down Return
x_find '^プレビュー$' 30 --onlyvisible >/dev/null
sleep 1
measure "preview, still page"
# "Auto" (the last page choice) keeps the animation running.
xdotool key --delay 150 Tab End
sleep 1
measure "preview, Auto (looked at every 100 ms, drawn when a dot changes)"
