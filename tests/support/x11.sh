# Sourced by every script that drives the program under X. An X client that walks the window
# tree gets BadWindow when a window it listed is destroyed before it asks about it (a dialog
# closing while another opens), and Xlib's default handler ends the client: such a failure is
# transient and is tried again, while a window that never comes fails after the time limit,
# named.

# x_server SIZE DIR: starts Xvfb with a screen of SIZE (800x600) and its frame buffer in DIR
# on a display number no server holds, exports DISPLAY and sets x_server_pid once a client
# can connect. The number is drawn at random rather than the lowest free one, which a server
# just ended would hand on: a client started at once then sometimes fails to connect to it.
# A server that does not start, or takes no client within 30 s, is replaced by another.
# -noreset: a server resets when its last client leaves (the probe below), and a client that
# connects meanwhile is refused.
x_server() {
  mkdir -p "$2/fb"
  x_fbdir="$2/fb"
  local attempt number _
  for attempt in 1 2 3 4 5; do
    number=$((100 + RANDOM % 800))
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 "$1x24" -nolisten tcp -noreset -fbdir "$x_fbdir" \
      >"$2/xvfb.log" 2>&1 &
    x_server_pid=$!
    export DISPLAY=":$number"
    for _ in $(seq 300); do
      # Ours, not one that held the number a moment before: a server that lost the number
      # to another ends at once.
      kill -0 "$x_server_pid" 2>/dev/null || break
      xdotool getmouselocation >/dev/null 2>&1 && kill -0 "$x_server_pid" 2>/dev/null && return 0
      sleep 0.1
    done
    kill "$x_server_pid" 2>/dev/null || true
    wait "$x_server_pid" 2>/dev/null || true
  done
  echo "no Xvfb took a client (tried $attempt displays):" >&2
  cat "$2/xvfb.log" >&2
  return 1
}

# x_run COMMAND...: runs an X client, again while it fails on an X error (at most 20 times).
# Its stdout is passed on; any other failure is returned as it is.
x_run() {
  local tries=0 status out err
  out=$(mktemp)
  err=$(mktemp)
  while :; do
    status=0
    "$@" >"$out" 2>"$err" || status=$?
    if [ "$status" != 0 ] && grep -q '^X Error of failed request' "$err" && [ $((tries += 1)) -lt 20 ]; then
      sleep 0.1
      continue
    fi
    cat "$out"
    cat "$err" >&2
    rm -f "$out" "$err"
    return "$status"
  done
}

# x_find NAME [SECONDS [SEARCH OPTIONS...]]: prints the first window whose name matches the
# pattern NAME once one exists (default limit 60 s); fails naming it after the limit.
x_find() {
  local name=$1 limit=${2:-60} found
  shift 2 2>/dev/null || shift $#
  local until=$((SECONDS + limit))
  while :; do
    if found=$(x_run xdotool search "$@" --name "$name" 2>/dev/null) && [ -n "$found" ]; then
      head -n 1 <<<"$found"
      return 0
    fi
    if [ "$SECONDS" -ge "$until" ]; then
      echo "no window named '$name' within $limit s" >&2
      return 1
    fi
    sleep 0.1
  done
}

# x_exists NAME: whether a window whose name matches NAME exists now.
x_exists() {
  local found
  found=$(x_run xdotool search --name "$1" 2>/dev/null) && [ -n "$found" ]
}

# x_gone NAME [SECONDS]: waits until no window's name matches NAME; fails naming it after
# the limit (default 60 s).
x_gone() {
  local until=$((SECONDS + ${2:-60}))
  while x_exists "$1"; do
    if [ "$SECONDS" -ge "$until" ]; then
      echo "the window named '$1' is still there after ${2:-60} s" >&2
      return 1
    fi
    sleep 0.2
  done
}

# x_shot FILE: the whole screen as a PNG, from the frame buffer x_server keeps in a file:
# every X client that captures the screen (xwd, import) walks the window tree first.
x_shot() {
  cp "$x_fbdir/Xvfb_screen0" "$x_fbdir/shot.xwd"
  convert "xwd:$x_fbdir/shot.xwd" "png:$1"
}
