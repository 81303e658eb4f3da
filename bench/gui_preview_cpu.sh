#!/usr/bin/env bash
# CPU time of the GUI with its preview window open under Xvfb: a still page, then a page
# whose lines blink (the window animates), each over the same span. Reports; asserts nothing.
# Usage: bench/gui_preview_cpu.sh [SECONDS]   (needs scripts/build)
set -euo pipefail
cd "$(dirname "$0")/.."
span="${1:-10}"
program="${PROGRAM:-build/app/qrv470kse}"
work=$(mktemp -d)
display=":$((300 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "${app:-}" "${wm:-}" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
export DISPLAY="$display" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work" QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
# A window manager, so the keys reach the window that is activated.
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{print ($14 + $15) * 1000 / t}' "/proc/$1/stat"; }
measure() {
  local before after
  before=$(cpu_ms "$app")
  sleep "$span"
  after=$(cpu_ms "$app")
  echo "$1: $(awk -v a="$after" -v b="$before" -v s="$span" 'BEGIN {printf "%.0f ms CPU in %d s (%.1f %%)", a - b, s, (a - b) / s / 10}')"
}

"$program" --simulate 2>/dev/null &
app=$!
window=$(xdotool search --sync --onlyvisible --name '^For QRV-470K Program$' | head -n 1)
sleep 1
measure "main window alone"
# 表示 > プレビュー, by keyboard: the fourth menu of the bar.
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --delay 150 alt Right Right Down Return
xdotool search --sync --onlyvisible --name '^プレビュー$' >/dev/null
sleep 1
measure "preview, still page"
# "Auto" (the last page choice) keeps the animation running.
xdotool key --delay 150 Tab End
sleep 1
measure "preview, Auto (looked at every 100 ms, drawn when a dot changes)"
