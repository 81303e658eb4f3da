#!/usr/bin/env bash
# Starts the program under Xvfb, connected to its simulated board, and saves a PNG of each
# window an operator sees: the main window, its menus, the About box, the communication
# settings with their list of ports, every setting dialog, a send answered by the board, a whole configuration sent
# and read back, the open dialog, the panel with a file opened, its preview and the board's,
# a line selected in the preview's editor, the traffic monitor after the send, a CSV import's
# file dialog and its problems (under a Japanese locale too), and a port warning.
# Usage: tests/screenshots.sh [OUT_DIR]   (default build/screenshots; needs scripts/build)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tests/support/x11.sh
source tests/support/x11.sh
out="${1:-build/screenshots}"
program="${PROGRAM:-build/app/qrv470kse}"
mkdir -p "$out"
work=$(mktemp -d)
cleanup() {
  kill "${app:-}" "${board:-}" "${wm:-}" "${x_server_pid:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
x_server 800x600 "$work"
export XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work" QT_QPA_PLATFORM=xcb
# A window manager, so captions show and focus follows the windows that open.
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# A second board, on a pseudo-terminal the settings name: the communication settings show
# it beside the serial devices this machine has.
"${BOARD:-build/tools/qrv470kse-board}" >"$work/pty" 2>/dev/null &
board=$!
for _ in $(seq 50); do [ -s "$work/pty" ] && break; sleep 0.1; done
printf '[QRV-470KSE_Section]\ncom_device=%s\n' "$(head -n 1 "$work/pty")" >"$work/qrv470kse.ini"

"$program" --simulate 2>"$work/board.log" &
app=$!
window=$(x_find '^For QRV-470K Program$')
sleep 1

shot() { x_shot "$out/$1.png"; echo "$out/$1.png"; }
# Keyboard only, so no coordinates are assumed: Alt reaches the menu bar, arrows walk it.
menu() {
  x_run xdotool windowactivate --sync "$window" 2>/dev/null || x_run xdotool windowfocus --sync "$window"
  xdotool key --delay 150 alt "$@"
  sleep 1
}
# A menu command that opens the window named $1: its keys again should a loaded machine
# have let them go astray, then the window must come.
open_window() {
  local name=$1
  shift
  menu "$@"
  if ! x_find "^$name\$" 15 >/dev/null 2>&1; then
    xdotool key Escape Escape Escape
    menu "$@"
    x_find "^$name\$" 45 >/dev/null
  fi
  sleep 0.5
}
# The dialog is the active window: openbox gives it the focus.
close_dialog() {
  xdotool key Escape
  sleep 0.5
}

shot main-window
open_window "QRV470KSEのﾊﾞｰｼﾞｮﾝ情報" Right Right Right Down Return  # Information > version
shot about-box
close_dialog
open_window 通信の設定 Right Down Down Return  # Set > 通信の設定
shot comm-settings
xdotool key F4                       # the port list, looked for again as it drops down
sleep 0.5
shot comm-settings-ports
xdotool key Escape
sleep 0.3
close_dialog
# Set > QRVの設定 > the item at position $1 (0 = first), the dialog $3, shot as $2.
setting_dialog() {
  local keys=(Right Down Right)
  for _ in $(seq "$1"); do keys+=(Down); done
  open_window "$3" "${keys[@]}" Return
  shot "$2"
}
setting_dialog 0 title-text 情報（タイトル）の設定
# Focus starts on the page list; Shift+Tab reaches line 7, whose text is typed in.
xdotool key --delay 100 shift+Tab
xdotool type --delay 50 "案内 Ａ1"
xdotool type "€"                    # not in code page 932: refused, with a note
sleep 0.5
shot title-text-typed
close_dialog
setting_dialog 1 fill-bordering 文字背景色ベタ塗りの設定
close_dialog
setting_dialog 2 char-level 文字レベルの設定
close_dialog
setting_dialog 3 display-page 表示ページの設定
close_dialog
setting_dialog 4 display-time 表示時間の設定
close_dialog
setting_dialog 5 display-position 表示位置微調整
close_dialog
setting_dialog 6 char-colour 文字色の設定
close_dialog
setting_dialog 8 display-on-off 表示/非表示の設定
close_dialog
setting_dialog 7 blink 点滅表示の設定
# Focus starts on line 1; past the seven lines and the page list lies "設定".
xdotool key --delay 100 Tab Tab Tab Tab Tab Tab Tab Tab space
x_find '^設定完了$' >/dev/null
sleep 0.5
shot blink-sent
xdotool key Return
sleep 0.5
close_dialog
open_window 全項目の設定 Right Down Down Down Return  # Set > 全項目の設定
shot all-items
# "全項目設定" has the focus. Line 7 of page 1 holds a half-width digit: the first step
# warns, and the run goes on behind the box.
xdotool key space
x_find '^Error$' >/dev/null
sleep 0.5
shot all-items-warning
xdotool key Return
sleep 2
shot all-items-running
close_dialog
open_window 定値項目の読み込み Right Down Down Down Down Right Return  # Set > メンテナンス > 設定項目の読み込み
shot maintenance-read
xdotool key space                   # "読み込み"
# The title typed above is unsaved: the read asks first, and Yes reads over it.
x_find '^QRV-470KSE$' 10 >/dev/null
sleep 0.5
shot read-question
xdotool key Return
sleep 2
shot maintenance-reading
# The read ends itself after 103 steps of 300 ms, and the dialog with it.
x_gone '^定値項目の読み込み$' 90
# Said once the board's last answers are in.
x_find '^読み込み完了$' 10 >/dev/null
sleep 0.5
shot read-done
xdotool key Return
sleep 0.5
menu Down                           # the File menu open
shot file-menu
xdotool key Escape Escape Escape
menu Right Down Right               # Set > QRVの設定 open
shot set-menu
xdotool key Escape Escape Escape
menu Down Down Return               # File > 開く
# The runs above left changes unsaved: Yes, open another file without saving them.
x_find '^QRV-470KSE$' 30 >/dev/null
sleep 0.5
xdotool key Return
x_find '^ファイルのオープン$' 30 >/dev/null
sleep 1
shot open-dialog
xdotool type --delay 20 "$PWD/samples/sample.dat"
xdotool key Return
x_gone '^ファイルのオープン$' 30
sleep 1
shot file-opened
open_window プレビュー Right Right Down Return  # 表示 > プレビュー: page 1 of the file opened
sleep 1
shot preview
# The file sent whole, then the simulated board's own dots, drawn from what it holds.
open_window 全項目の設定 Right Down Down Down Return  # Set > 全項目の設定
xdotool key space
x_gone '^全項目の設定$' 120
while x_exists '^(Error|設定完了)$'; do
  xdotool key Return
  sleep 0.5
done
preview=$(x_find '^プレビュー$' 10)
x_run xdotool windowactivate --sync "$preview"
xdotool key Down                     # the source: ボード
sleep 1
shot preview-board
# Back to the configuration; a click on the picture's third line selects it for the editor.
xdotool key Up
sleep 0.5
eval "$(x_run xdotool getwindowgeometry --shell "$preview")"
x_run xdotool mousemove --window "$preview" $((WIDTH / 2)) $((HEIGHT * 30 / 100)) click 1
sleep 1
shot preview-editor
open_window 通信モニタ Right Right Down Down Return  # 表示 > 通信モニタ: the frames of the send and the answers
sleep 1
shot traffic-monitor
# A spreadsheet's CSV with mistakes: the import names each one and changes nothing.
{
  printf '\xef\xbb\xbfpage,line,text,char_colour,border_colour,blink,fill,display_time,char_level\r\n'
  printf '1,1,本日の予定,赤,黒,0,1,5,High\r\n1,2,"会議, 10時",紫,黒,7,0,5,High\r\n'
  printf '1,3,,白,黒,0,0,6,Low\r\n'
} >"$work/roster.csv"
# File > CSVから読み込み… of that CSV, its file dialog shot as $1 (when given), its
# problems as $2.
csv_import() {
  menu Down Down Down Down Down Down Return
  # Yes to the question, should the document hold unsaved changes.
  x_find '^(QRV-470KSE|CSVから読み込み)$' 30 >/dev/null
  if x_exists '^QRV-470KSE$'; then
    sleep 0.5
    xdotool key Return
  fi
  x_find '^CSVから読み込み$' 30 >/dev/null
  sleep 1
  [ -z "$1" ] || shot "$1"
  xdotool type --delay 20 "$work/roster.csv"
  xdotool key Return
  x_find '^Error$' >/dev/null
  sleep 0.5
  shot "$2"
  xdotool key Return
  sleep 0.5
}
csv_import csv-import-dialog csv-import-problems
kill "$app"
wait "$app" 2>/dev/null || true

# The same problems under a Japanese locale: the core's words in Japanese, the captions as
# they are in every locale.
if locale -a | grep -qix 'ja_JP\.utf-\?8'; then
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$program" --simulate 2>/dev/null &
  app=$!
  window=$(x_find '^For QRV-470K Program$')
  sleep 1
  # The pointer out of the way of the box's text.
  xdotool mousemove 799 599
  csv_import "" csv-import-problems-ja
  kill "$app"
  wait "$app" 2>/dev/null || true
fi

# Without a port: the set-up warnings come up over the main window.
"$program" --port /nonexistent/tty 2>/dev/null &
app=$!
x_find '^Error$' >/dev/null
sleep 1
shot port-warning
