#!/usr/bin/env bash
# The Windows build under wine: its Qt-free tests, with boards for its COM port tests, then
# the Windows client sending and reading a whole configuration through COM1, which must give
# the board exactly the frames of the Linux client and the same file; last the Windows board
# on a loopback port, reached by the Linux client.
#   tests/windows/wine_tests.sh LINUX_BUILD WINDOWS_BUILD
# Each board is the Linux qrv470kse-board on a pseudo-terminal, mapped to a COM port in the
# registry of a wine prefix made for the run (a pseudo-terminal takes one set-up: each test
# has its own board).
set -euo pipefail
cd "$(dirname "$0")/../.."
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The boards' process ids, one a line (boards start inside command substitutions).
pids="$work/pids"
cleanup() {
  if [ -f "$pids" ]; then
    while read -r pid; do kill "$pid" 2>/dev/null || true; done <"$pids"
  fi
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# Starts the Linux board with the options given, logging into $work/NAME.log; prints its
# pseudo-terminal.
board() {
  local name=$1
  shift
  "$linux/tools/qrv470kse-board" "$@" >"$work/$name.pty" 2>"$work/$name.log" &
  echo $! >>"$pids"
  for _ in $(seq 50); do [ -s "$work/$name.pty" ] && break; sleep 0.1; done
  cat "$work/$name.pty"
}

# wine's services first, or a program that starts them leaves their pipe open behind it.
start_wine() {
  mkdir -p "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit 0 >/dev/null 2>&1
}
start_wine
declare -A ports=(
  [COM1]=$(board client)
  [COM2]=$(board link)
  [COM3]=$(board parity --fault 1:E1)
  [COM4]=$(board silent --fault 0:silent)
  [COM5]=$(board unplug --fault 2:unplug)
)
# Maps the ports; wine reads the mapping when it starts.
map_ports() {
  for com in "${!ports[@]}"; do
    wine reg add 'HKLM\Software\Wine\Ports' /v "$com" /t REG_SZ /d "${ports[$com]}" /f \
      >/dev/null 2>&1
  done
  wineserver -k >/dev/null 2>&1
  start_wine
}
map_ports

echo "-- the Qt-free tests under wine"
QRV_TEST_COM_BOARD=COM2 QRV_TEST_COM_PARITY=COM3 QRV_TEST_COM_SILENT=COM4 \
  QRV_TEST_COM_UNPLUG=COM5 QRV_REQUIRE_COM_BOARDS=1 \
  ctest --test-dir "$windows" --output-on-failure

echo "-- the Windows client through COM1, beside the Linux client on a board of its own"
wine "$windows/tools/qrv470kse-cli.exe" send samples/sample.dat --port COM1 --pace answer
# wine cannot set up a pseudo-terminal a second time (this kernel refuses a change of the
# parity alone, which it drops): the read goes to a board of its own on COM1, holding the
# file as the first board now does.
ports=([COM1]=$(board client-read --load samples/sample.dat))
map_ports
wine "$windows/tools/qrv470kse-cli.exe" read --port COM1 --pace answer -o "$work/windows.dat"
linux_pty=$(board linux-client)
"$linux/tools/qrv470kse-cli" send samples/sample.dat --port "$linux_pty" --pace answer >/dev/null
linux_pty=$(board linux-client-read --load samples/sample.dat)
"$linux/tools/qrv470kse-cli" read --port "$linux_pty" --pace answer -o "$work/linux.dat" >/dev/null
cat "$work/client-read.log" >>"$work/client.log"
cat "$work/linux-client-read.log" >>"$work/linux-client.log"
frames=$(grep -c '^<- ' "$work/client.log")
if ! cmp "$work/client.log" "$work/linux-client.log"; then
  diff "$work/linux-client.log" "$work/client.log" | head -20
  echo "the Windows client's frames differ from the Linux client's"
  exit 1
fi
cmp "$work/windows.dat" "$work/linux.dat" || { echo "the files read differ"; exit 1; }
cmp "$work/windows.dat" samples/sample.dat || { echo "the file read is not the file sent"; exit 1; }
echo "the same $frames frames and answers, and the same file"

echo "-- the Windows board on a loopback port, reached by the Linux client"
wine "$windows/tools/qrv470kse-board.exe" --listen 127.0.0.1:0 >"$work/wine-board.out" \
  2>"$work/wine-board.log" &
echo $! >>"$pids"
for _ in $(seq 100); do [ -s "$work/wine-board.out" ] && break; sleep 0.1; done
device=$(tr -d '\r' <"$work/wine-board.out")
"$linux/tools/qrv470kse-cli" page 7 --port "$device"
grep -q '^<- P07<CR><LF>' "$work/wine-board.log"
echo "Windows stage passed"
