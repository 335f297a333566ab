#!/usr/bin/env bash
# Takes the README's screenshots of the German edition under Xvfb with the real xcb platform and
# the openbox window manager (apt-get install xvfb openbox xdotool imagemagick): the strip with its
# report, the context menu on a word of the report, a copy window and the about box. The clicks
# and crops are placed for the 1280 x 800 screen started here. Usage: tools/screenshots.sh [BUILD]
set -euo pipefail
build=${1:-build}
display=:${SCREENSHOT_DISPLAY:-90}
out=docs
config=$(mktemp -d)
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $program $openbox $xvfb 2>/dev/null; rm -rf "$config"' EXIT
sleep 1
export DISPLAY=$display
openbox >/dev/null 2>&1 &
openbox=$!
sleep 1
QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$config LANG=C.UTF-8 "$build/bin/quorvane-deutsch" &
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
