#!/usr/bin/env bash
# End to end: the real QORConfig.exe under Wine in a private Xvfb, started in a game
# folder without a configuration. Answers the creation message, checks where the window
# stands, clicks through the six tabs checking that each shows its own page and taking a
# screenshot of each, presses Exit, and checks the created file and the exit status.
# Usage: test_startup.sh path/to/QORConfig.exe
set -euo pipefail
exe=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_session.sh"

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

# Each click on a tab must show that tab's page: the page area changes from the page
# before, and the page shows its own signs (see window_layout.sh) and no others.
settled_window_shot "$game/shown.png"
signs=$(page_signs "$game/shown.png")
[ "$signs" = "${PAGE_SIGNS[0]}" ] || fail "start-up shows the signs '$signs', not page 0's '${PAGE_SIGNS[0]}'"
page_area "$game/shown.png" "$game/area-before.png"
for k in 1 2 3 4 5 0; do
  x=$(tab_position "$k") || fail "tab $k not found in the strip"
  # The strip as it stands once scrolled, just before the click.
  strip "$game/before.png"
  click "$x" $TAB_ROW
  changed=""
  for _ in $(seq 20); do
    settled_window_shot "$shots/page-$k.png"
    page_area "$shots/page-$k.png" "$game/area-after.png"
    if images_differ "$game/area-before.png" "$game/area-after.png"; then changed=yes; break; fi
  done
  [ -n "$changed" ] || fail "clicking tab $k left the page area as it was"
  # The selected tab is drawn raised: the click must change the strip too.
  strip "$game/after.png"
  images_differ "$game/before.png" "$game/after.png" || fail "clicking tab $k did not change the strip"
  signs=$(page_signs "$shots/page-$k.png")
  [ "$signs" = "${PAGE_SIGNS[k]}" ] ||
    fail "after clicking tab $k the page shows the signs '$signs', page $k's are '${PAGE_SIGNS[k]}'"
  mv "$game/area-after.png" "$game/area-before.png"
done

click $EXIT_X $EXIT_Y
status=0
for _ in $(seq 100); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$wine_pid" 2>/dev/null && fail "the tool did not end after Exit"
wait "$wine_pid" || status=$?
wine_pid=""
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"

expected=$(sed 's/#.*//' "$fixture" | tr -d ' \n')
actual=$(od -An -v -tx1 "$game/Data/GameConfig.dat" | tr -d ' \n')
[ "$actual" = "$expected" ] || fail "the created file differs from the default bytes"
echo "PASS: window at (352, 120), six tabs, Exit, $(( ${#actual} / 2 ))-byte default file"
