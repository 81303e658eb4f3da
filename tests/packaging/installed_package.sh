#!/usr/bin/env bash
# Installs the Debian package, checks from PATH alone what it put on the system, starts the
# installed program under Xvfb as a new user would until its window shows, then purges the
# package and checks that none of its files is left. Needs root; run from anywhere.
# Usage: tests/packaging/installed_package.sh FILE.deb
set -euo pipefail
deb=$(realpath "$1")
# An Xvfb display of its own and an empty work folder, both gone on exit.
# shellcheck source=bench/xvfb_session.sh
source "$(dirname "$0")/../../bench/xvfb_session.sh"
package=$(dpkg-deb -f "$deb" Package)
id=org.qrv470kse.QRV470KSE
export DEBIAN_FRONTEND=noninteractive

apt-get install -y -qq "$deb" >/dev/null
# Nothing may come from the source or build tree.
cd "$work"

for program in qrv470kse qrv470kse-cli qrv470kse-board; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || { echo "$program not in /usr/bin"; exit 1; }
  man -w "$program"
  # The Japanese page, as a Japanese operator's man finds it (man falls back to the English
  # one when there is none), rendered without a word from groff.
  page=$(man -w -L ja "$program")
  [[ $page == /usr/share/man/ja/man1/* ]] || { echo "no Japanese man page of $program: $page"; exit 1; }
  warnings=$(LC_ALL=C.UTF-8 man --warnings -L ja "$program" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; echo "groff warns about $page"; exit 1; }
done
qrv470kse-cli --version
qrv470kse-cli frames "/usr/share/doc/$package/examples/sample.dat" >frames.txt
[ "$(wc -l <frames.txt)" -gt 100 ] || { echo "frames printed too little"; exit 1; }
# The package carries the Japanese catalogue and its Japanese man pages, and the installed
# client finds the catalogue beside its prefix (not in a build tree, which is not there).
contents=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
for file in ./usr/share/locale/ja/LC_MESSAGES/qrv470kse.mo ./usr/share/man/ja/man1/qrv470kse.1.gz \
  ./usr/share/man/ja/man1/qrv470kse-cli.1.gz ./usr/share/man/ja/man1/qrv470kse-board.1.gz; do
  grep -qxF "$file" <<<"$contents" || { echo "not in the package: $file"; exit 1; }
done
if locale -a | grep -qix 'ja_JP\.utf-\?8'; then
  said=$(LC_ALL=ja_JP.UTF-8 qrv470kse-cli check no-such.dat 2>&1 || true)
  [[ $said == "qrv470kse-cli: no-such.dat を読めない: "* ]] ||
    { echo "the installed client is not Japanese under ja_JP.UTF-8: $said"; exit 1; }
fi
desktop-file-validate "/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml"
for icon in scalable/apps/$id.svg 48x48/apps/$id.png 256x256/apps/$id.png; do
  test -s "/usr/share/icons/hicolor/$icon" || { echo "no icon $icon"; exit 1; }
done
completions=$(pkg-config --variable=completionsdir bash-completion)
bash -c "source '$completions/qrv470kse-cli' && complete -p qrv470kse-cli" >/dev/null

# The schedule units: installed, disabled, and sound to systemd. systemd-analyze verify
# loads them as the service manager would, without one running (a container's PID 1 is
# not systemd), checks that ExecStart's program and the Documentation= man page are there,
# and only warns about unknown keys and bad values: any word from it fails.
units=/lib/systemd/system
for unit in qrv470kse-display@.service qrv470kse-display-on.timer qrv470kse-display-off.timer \
  qrv470kse-send@.service; do
  test -s "$units/$unit" || { echo "no unit $unit"; exit 1; }
done
for timer in qrv470kse-display-on.timer qrv470kse-display-off.timer; do
  state=$(systemctl --root=/ is-enabled "$timer" || true)
  [ "$state" = disabled ] || { echo "$timer is $state, not disabled"; exit 1; }
done
grep -q '^#QRV470KSE_PORTS=' /etc/default/qrv470kse || { echo "no example in /etc/default/qrv470kse"; exit 1; }
if ! verified=$(cd "$units" && systemd-analyze verify qrv470kse-display@on.service \
  qrv470kse-display@off.service qrv470kse-send@morning.service qrv470kse-display-on.timer \
  qrv470kse-display-off.timer 2>&1) || [ -n "$verified" ]; then
  echo "$verified"
  echo "systemd-analyze verify found fault with the units"
  exit 1
fi
echo "the schedule units are installed, disabled and verified"

# The units' commands as their transient user runs them: an unknown uid with the unit's
# SupplementaryGroups=, an environment of the default file's variables only, a serial line
# that is root:dialout 0660 as udev makes it. Without the group the unit fails with status 1.
qrv470kse-board >board.pty 2>/dev/null &
board=$!
for _ in $(seq 50); do [ -s board.pty ] && break; sleep 0.1; done
line=$(head -n 1 board.pty)
chgrp dialout "$line"
chmod 0660 "$line"
mkdir -p /etc/qrv470kse
cp "/usr/share/doc/$package/examples/sample.dat" /etc/qrv470kse/morning.dat
as_unit() {  # UNIT INSTANCE [--clear-groups]: the unit's ExecStart, as systemd expands it
  local command groups=${3:-}
  command=$(sed -n 's/^ExecStart=//p' "$units/$1")
  [ -n "$groups" ] || groups=--groups=$(getent group "$(sed -n 's/^SupplementaryGroups=//p' \
    "$units/$1")" | cut -d: -f3)
  env -i QRV470KSE_PORTS="$line" QRV470KSE_SEND_OPTIONS="--pace answer" \
    setpriv --reuid=61873 --regid=61873 "$groups" --inh-caps=-all --bounding-set=-all \
    bash -c "cd / && exec ${command//%i/$2}"
}
as_unit qrv470kse-display@.service off >unit.log
as_unit qrv470kse-send@.service morning >>unit.log
status=0
as_unit qrv470kse-display@.service on --clear-groups >>unit.log 2>&1 || status=$?
kill "$board"
rm -r /etc/qrv470kse
[ "$status" = 1 ] || { cat unit.log; echo "without dialout the unit gave status $status"; exit 1; }
grep -q 'permission denied' unit.log || { cat unit.log; echo "no word of the denied line"; exit 1; }
echo "the units' commands reach a dialout serial line as a transient user, and only so"

# A new user: a home of its own, no settings file yet.
mkdir -m 700 home run
env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run" DISPLAY="$display" \
  LANG=C.UTF-8 QRV470KSE_BOXES=stderr qrv470kse --simulate 2>qrv470kse.log &
app=$!
if ! x_find '^For QRV-470K Program$' 60 --onlyvisible >/dev/null; then
  cat qrv470kse.log
  echo "the installed qrv470kse showed no window"
  exit 1
fi
echo "the installed qrv470kse --simulate showed its window"
kill "$app"
wait "$app" 2>/dev/null || true

apt-get purge -y -qq "$package" >/dev/null
contents=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
left=0
# Every file, and the folders that are the package's own (its doc folder).
while read -r path; do
  path=${path#.}
  if [ -e "$path" ] || [ -L "$path" ]; then
    echo "left after purge: $path"
    left=1
  fi
done < <(grep -v '/$' <<<"$contents"; grep "/$package/" <<<"$contents" | grep '/$')
[ "$left" = 0 ]
echo "purged: no file of $package is left"
