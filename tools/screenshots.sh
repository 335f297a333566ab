#!/usr/bin/env bash
# Takes the README's screenshots of the German edition under Xvfb with the real xcb platform and
# the openbox window manager (apt-get install xvfb openbox xdotool imagemagick x11-utils): the
# strip with its report, the context menu on a word of the report, a copy window and the about box. The clicks
# and crops are placed for the 1280 x 800 screen started here. The online lookups go to a local
# stand-in that is up and knows no word, so that no network is needed and the pictures show only
# the word files. Usage: tools/screenshots.sh [BUILD]
set -euo pipefail
build=${1:-build}
display=:${SCREENSHOT_DISPLAY:-90}
out=docs
config=$(mktemp -d)
# Waits up to 10 s for a command to succeed: a busy machine starts the X server and the window
# manager late, and a window shown before the window manager runs stays in the screen's corner.
wait_for() {
  for _ in $(seq 50); do
    "$@" >/dev/null 2>&1 && return
    sleep 0.2
  done
  echo "screenshots.sh: gave up waiting for $*" >&2
  exit 1
}
python3 "$(dirname "$0")/screenshot-services.py" >"$config/port" &
services=$!
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
program='' openbox=''
trap 'kill $program $openbox $xvfb $services 2>/dev/null; rm -rf "$config"' EXIT
export DISPLAY=$display
wait_for xprop -root
openbox >/dev/null 2>&1 &
openbox=$!
wait_for sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
wait_for test -s "$config/port"
QUORVANE_LOCAL_SERVICES_PORT=$(cat "$config/port") QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$config \
  LANG=C.UTF-8 "$build/bin/quorvane-deutsch" &
program=$!
sleep 2
shot() { import -window root "$config/root.png" && convert "$config/root.png" -crop "$2" +repage "$out/$1"; }
xdotool type --delay 90 "Haus"
sleep 3.5
shot screenshot.png 300x436+978+24
xdotool mousemove 1010 174 click 3   # "Heim" in the synonyms
sleep 1
shot context-menu.png 300x436+978+24
xdotool mousemove 1092 364 click 1   # Open new window
sleep 1.5
shot copy-window.png 302x325+338+237
xdotool mousemove 1100 32 click 1    # the title picture, then About Quorvane
sleep 1
xdotool mousemove 1050 75 click 1
sleep 1.5
shot about.png 402x271+440+275
