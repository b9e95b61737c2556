#!/usr/bin/env bash
# End to end: the real QORConfig.exe under Wine in a private Xvfb, started in a game
# folder without a configuration. Checks the system's code page, reads the creation
# message's text and answers it, checks where the window stands and that its captions
# read as their Japanese texts, clicks through the six tabs checking that each shows its
# own page and taking a screenshot of each, presses Exit, and checks the created file and
# the exit status.
# Under the Japanese locale (code page 932) the screenshots go to build/screenshots/.
# Under another (QOR_WINE_LOCALE=en_US.UTF-8, code page 1252) they go to a folder named
# after it, and every page must be pixel for pixel the Japanese run's below the title bar.
# Usage: test_startup.sh path/to/QORConfig.exe path/to/e2e_probe.exe
set -euo pipefail
exe=$(readlink -f "$1")
probe=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_session.sh"

locale_name=${LANG%%.*}
reference=""
expected_acp=932
if [ "$locale_name" != ja_JP ]; then
  reference=$shots
  shots="$shots/$locale_name"
  mkdir -p "$shots"
  expected_acp=1252
fi

mkdir "$game/Data"
session_start_xvfb
# The Japanese face under every code page: under ja_JP the Windows language chooses it,
# elsewhere it is the remembered choice.
if [ -n "$reference" ]; then remember_language ja; else remember_language; fi
acp=$(probe acp)
[ "$acp" = "$expected_acp" ] || fail "under $LANG the system code page is '$acp', expected $expected_acp"
start_without_file 'コンフィグファイルが読み込めませんでした\n新規作成します'
# Captions of every page, read back in UTF-16, once the last page has been created.
expect_captions 画面サイズ キャラ周囲 接続許可IPを使用する ジョイパッド 'ガード・魔力技３/キャンセル' 送信先 保存
read -r wx wy ww wh < <(session_geometry "$window")
[ "$wx $wy $ww $wh" = "352 120 320 528" ] ||
  fail "main window at ($wx, $wy) size ${ww}x$wh, expected (352, 120) size 320x528"
if xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1; then
  fail "a message box is still shown"
fi

# Each click on a tab must show that tab's page: the page area changes from the page
# before, and the page shows its own signs (see window_layout.sh) and no others.
# A loaded machine may show the window a moment before page 0 is drawn in it, and the
# picture is steady meanwhile: look again for a few seconds before judging.
for _ in $(seq 20); do
  settled_window_shot "$game/shown.png"
  signs=$(page_signs "$game/shown.png")
  [ -n "$signs" ] && break
  sleep 0.25
done
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
  if [ -n "$reference" ]; then
    below_title_bar "$shots/page-$k.png" "$game/this-run.png"
    below_title_bar "$reference/page-$k.png" "$game/japanese-run.png"
    images_differ "$game/this-run.png" "$game/japanese-run.png" &&
      fail "page $k under $LANG differs from the Japanese run's below the title bar"
  fi
  signs=$(page_signs "$shots/page-$k.png")
  [ "$signs" = "${PAGE_SIGNS[k]}" ] ||
    fail "after clicking tab $k the page shows the signs '$signs', page $k's are '${PAGE_SIGNS[k]}'"
  mv "$game/area-after.png" "$game/area-before.png"
done

click $EXIT_X $EXIT_Y
status=0
session_wait_end || fail "the tool did not end after Exit"
wait "$session_pid" || status=$?
session_pid=""
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"

expected=$(sed 's/#.*//' "$fixture" | tr -d ' \n')
actual=$(od -An -v -tx1 "$game/Data/GameConfig.dat" | tr -d ' \n')
[ "$actual" = "$expected" ] || fail "the created file differs from the default bytes"
echo "PASS ($LANG, code page $acp): window at (352, 120), six tabs, Exit, $(( ${#actual} / 2 ))-byte default file"
