# Sourced by the GUI benches and the installed-package check: an Xvfb display of their own
# (and openbox when WM=1), a work folder for the program's settings and lock, and cpu_ms PID,
# the CPU time a process has used.
# Sets program, work, app (for the caller to fill) and cleans up on exit.
program="${PROGRAM:-build/app/qrv470kse}"
work=$(mktemp -d)
display=":$((200 + RANDOM % 200))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "${app:-}" "${wm:-}" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
export DISPLAY="$display" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work" QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
if [ "${WM:-0}" = 1 ]; then
  # A window manager, so the keys reach the window that is activated.
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi

ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{print ($14 + $15) * 1000 / t}' "/proc/$1/stat"; }
