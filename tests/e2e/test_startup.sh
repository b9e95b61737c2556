#!/usr/bin/env bash
# End to end: the real QORConfig.exe under Wine in a private Xvfb, started in a game
# folder without a configuration. Answers the creation message, checks where the window
# stands, clicks through the six tabs taking a screenshot of each, presses Exit, and
# checks the created file and the exit status.
# Usage: test_startup.sh path/to/QORConfig.exe
set -euo pipefail
exe=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-session.sh"
source "$here/window_layout.sh"
shots="$session_root/build/screenshots"
mkdir -p "$shots"

game=$(mktemp -d)
wine_pid=""
finish() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  session_stop_xvfb
  rm -rf "$game"
}
trap finish EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir "$game/Data"
session_start_xvfb
cd "$game"
/usr/lib/wine/wine64 "$exe" &
wine_pid=$!

box=$(session_wait_window Error 60) || fail "the creation message did not appear"
session_answer_box "$box"
window=$(session_wait_window QORConfig 30) || fail "the main window did not appear"
read -r wx wy ww wh < <(session_geometry "$window")
[ "$wx $wy $ww $wh" = "352 120 320 528" ] ||
  fail "main window at ($wx, $wy) size ${ww}x$wh, expected (352, 120) size 320x528"
if xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1; then
  fail "a message box is still shown"
fi

for k in 1 2 3 4 5 0; do
  strip "$game/before.png"
  select_tab "$k"
  sleep 0.3
  strip "$game/after.png"
  # The selected tab is drawn raised: clicking another tab must change the strip.
  if [ "$(compare -metric AE "$game/before.png" "$game/after.png" null: 2>&1 || true)" = 0 ]; then
    fail "clicking tab $k changed nothing"
  fi
  import -window root -crop "320x528+$wx+$wy" +repage "$shots/page-$k.png"
done

click $EXIT_X $EXIT_Y
status=0
for _ in $(seq 100); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$wine_pid" 2>/dev/null && fail "the tool did not end after Exit"
wait "$wine_pid" || status=$?
wine_pid=""
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"

expected=$(sed 's/#.*//' "$here/../fixtures/default_config.hex" | tr -d ' \n')
actual=$(od -An -v -tx1 "$game/Data/GameConfig.dat" | tr -d ' \n')
[ "$actual" = "$expected" ] || fail "the created file differs from the default bytes"
echo "PASS: window at (352, 120), six tabs, Exit, $(( ${#actual} / 2 ))-byte default file"
