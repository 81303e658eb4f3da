#!/usr/bin/env bash
# Starts the program on a fresh X server together with a window manager that is starting
# too, as a kiosk session does, several times; the main window must be mapped every time.
# Usage: window_manager_start.sh PROGRAM [LAUNCHES]
set -euo pipefail
# shellcheck source=tests/support/x11.sh
source "$(dirname "$0")/../support/x11.sh"
program=$1
launches=${2:-5}
failed=0
for n in $(seq "$launches"); do
  work=$(mktemp -d)
  # A free display of its own, so this runs beside other tests that use Xvfb.
  x_server 1024x768 "$work"
  export XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work" QT_QPA_PLATFORM=xcb \
    QRV470KSE_BOXES=stderr
  openbox >/dev/null 2>&1 &
  wm=$!
  "$program" --simulate >/dev/null 2>&1 &
  app=$!
  # Mapped, so visible; a loaded machine may take long to start both.
  shown=no
  if x_find '^For QRV-470K Program$' 30 --onlyvisible >/dev/null; then shown=yes; fi
  echo "launch $n: window shown: $shown"
  [ "$shown" = yes ] || failed=$((failed + 1))
  kill "$app" "$wm" "$x_server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
done
[ "$failed" = 0 ] || { echo "$failed of $launches launches never showed the main window"; exit 1; }
