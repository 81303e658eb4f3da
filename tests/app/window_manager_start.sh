#!/usr/bin/env bash
# Starts the program on a fresh X server together with a window manager that is starting
# too, as a kiosk session does, several times; the main window must be mapped every time.
# Usage: window_manager_start.sh PROGRAM [LAUNCHES]
set -euo pipefail
program=$1
launches=${2:-5}
failed=0
for n in $(seq "$launches"); do
  work=$(mktemp -d)
  # -displayfd picks a free display, so this runs beside other tests that use Xvfb.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work" \
    QT_QPA_PLATFORM=xcb QRV470KSE_BOXES=stderr
  openbox >/dev/null 2>&1 &
  wm=$!
  "$program" --simulate >/dev/null 2>&1 &
  app=$!
  # Mapped, so visible; a loaded machine may take long to start both.
  shown=no
  for _ in $(seq 300); do
    if xdotool search --onlyvisible --name '^For QRV-470K Program$' >/dev/null 2>&1; then
      shown=yes
      break
    fi
    sleep 0.1
  done
  echo "launch $n: window shown: $shown"
  [ "$shown" = yes ] || failed=$((failed + 1))
  kill "$app" "$wm" "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
done
[ "$failed" = 0 ] || { echo "$failed of $launches launches never showed the main window"; exit 1; }
