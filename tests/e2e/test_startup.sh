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

# Where things stand in the window, in pixels from its top-left corner: the row that
# crosses the vertical edges of the unselected tabs, the tab strip's scroll arrows, the
# right end of the tabs' room left of the arrows, and the Exit button. They follow from
# the page layout in dialog units and the dialog font installed by scripts/setup.
readonly TAB_EDGE_ROW=39 TAB_ROW=34 SCROLL_LEFT_X=280 SCROLL_RIGHT_X=296 SCROLL_Y=31
readonly TABS_END_X=270 EXIT_X=265 EXIT_Y=427

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

click() { session_click $((wx + $1)) $((wy + $2)); sleep 0.15; }
strip() { import -window root -crop "300x24+$((wx + 10))+$((wy + 22))" +repage "$1"; }

# The x positions of the vertical tab edges left of the scroll arrows, from a screenshot.
tab_edges() {
  import -window root "$game/screen.png"
  convert "$game/screen.png" -crop "${TABS_END_X}x1+$wx+$((wy + TAB_EDGE_ROW))" +repage \
      -depth 8 txt:- |
    awk -F'[ ,:()]+' 'NR > 1 && $3 < 200 && $4 < 200 && $5 < 200 {
        if ($1 > last + 1) printf "%d ", $1; last = $1 }'
}

# The tabs left of the scroll arrows, as an image.
tabs_shot() { import -window root -crop "${TABS_END_X}x20+$wx+$((wy + 22))" +repage "$1"; }

# A real click on tab k of the page shown: the strip is scrolled fully left, then right
# by k tabs, counting the steps that moved it (it stops where the last tab fits, which
# depends on the font), and tab k is clicked where it stands among the shown tabs.
select_tab() {
  local k=$1 i edges scrolled=0
  for i in 1 2 3 4 5 6; do click $SCROLL_LEFT_X $SCROLL_Y; done
  for ((i = 0; i < k; i++)); do
    tabs_shot "$game/tabs-before.png"
    click $SCROLL_RIGHT_X $SCROLL_Y
    tabs_shot "$game/tabs-after.png"
    if [ "$(compare -metric AE "$game/tabs-before.png" "$game/tabs-after.png" null: 2>&1 || true)" != 0 ]; then
      scrolled=$((scrolled + 1))
    fi
  done
  read -r -a edges <<<"$(tab_edges)"
  [ -n "${E2E_DEBUG:-}" ] && { echo "tab $k scrolled $scrolled edges: ${edges[*]}" >&2; import -window root "$shots/debug-tab-$k.png"; }
  local at=$((k - scrolled))
  [ "${#edges[@]}" -ge $((at + 2)) ] || fail "tab $k not found in the strip"
  click $(((edges[at] + edges[at + 1]) / 2)) $TAB_ROW
}

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
