# Sourced by the GUI benches and the installed-package check: an Xvfb display of their own
# (and openbox when WM=1), a work folder for the program's settings and lock, and cpu_ms PID,
# the CPU time a process has used.
# Sets program, work, app (for the caller to fill) and cleans up on exit; brings the X
# helpers of tests/support/x11.sh.
# shellcheck source=tests/support/x11.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/support/x11.sh"
program="${PROGRAM:-build/app/qrv470kse}"
work=$(mktemp -d)
trap 'kill "${app:-}" "${wm:-}" "${x_server_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
x_server 1024x768 "$work"
export XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work" QT_QPA_PLATFORM=xcb
display=$DISPLAY
if [ "${WM:-0}" = 1 ]; then
  # A window manager, so the keys reach the window that is activated.
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi

ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{print ($14 + $15) * 1000 / t}' "/proc/$1/stat"; }
