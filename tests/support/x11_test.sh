#!/usr/bin/env bash
# The X helpers: a search that ends on an X error (as xdotool does when a window it listed
# is destroyed before it asks about it) is tried again, a window that is there is found,
# one that never comes fails after the limit, named, and a screenshot is the screen's size.
set -euo pipefail
# shellcheck source=tests/support/x11.sh
source "$(dirname "$0")/x11.sh"
work=$(mktemp -d)
trap 'kill "${kept:-}" "${x_server_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
x_server 640x480 "$work"
xclock -title kept-window >/dev/null 2>&1 &
kept=$!
x_find '^kept-window$' 30 >/dev/null

# An xdotool whose first three runs end as Xlib's default handler ends a client.
mkdir "$work/bin"
cat >"$work/bin/xdotool" <<SCRIPT
#!/bin/sh
count=\$(cat "$work/runs" 2>/dev/null || echo 0)
echo \$((count + 1)) >"$work/runs"
if [ "\$count" -lt 3 ]; then
  echo 12345
  echo 'X Error of failed request:  BadWindow (invalid Window parameter)' >&2
  echo '  Major opcode of failed request:  15 (X_QueryTree)' >&2
  exit 1
fi
exec $(command -v xdotool) "\$@"
SCRIPT
chmod +x "$work/bin/xdotool"
found=$(PATH="$work/bin:$PATH" x_find '^kept-window$' 10)
[ "$(cat "$work/runs")" = 4 ] || { echo "xdotool ran $(cat "$work/runs") times, not 4"; exit 1; }
[ "$found" = "$(xdotool search --name '^kept-window$')" ] || { echo "x_find printed $found"; exit 1; }

# Any other failure is the command's own, returned at once.
echo 3 >"$work/runs"
status=0
PATH="$work/bin:$PATH" x_run xdotool search --name '^never-shown$' || status=$?
[ "$status" = 1 ] && [ "$(cat "$work/runs")" = 4 ] || { echo "x_run: status $status"; exit 1; }

if message=$(x_find '^never-shown$' 1 2>&1); then
  echo "x_find found a window that is not there"
  exit 1
fi
[ "$message" = "no window named '^never-shown$' within 1 s" ] || { echo "x_find said: $message"; exit 1; }
x_shot "$work/screen.png"
file "$work/screen.png" | grep -q 'PNG image data, 640 x 480' || { echo "no screenshot"; exit 1; }
kill "$kept"
x_gone '^kept-window$' 10
echo "the X helpers passed"
