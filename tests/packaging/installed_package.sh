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
done
qrv470kse-cli --version
qrv470kse-cli frames "/usr/share/doc/$package/examples/sample.dat" >frames.txt
[ "$(wc -l <frames.txt)" -gt 100 ] || { echo "frames printed too little"; exit 1; }
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

# A new user: a home of its own, no settings file yet.
mkdir -m 700 home run
env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run" DISPLAY="$display" \
  LANG=C.UTF-8 QRV470KSE_BOXES=stderr qrv470kse --simulate 2>qrv470kse.log &
app=$!
if ! timeout 60 xdotool search --sync --onlyvisible --name '^For QRV-470K Program$' >/dev/null; then
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
