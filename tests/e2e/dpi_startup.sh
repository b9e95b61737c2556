#!/usr/bin/env bash
# End to end at a display scale: the real QORConfig.exe under Wine at QOR_E2E_DPI (96
# unless set; Wine's LogPixels for this session only, on a screen of that scale), in a
# game folder without a configuration, and with QOR_E2E_PLAIN=1 without the dialog font
# replacement, as in a player's own prefix. Checks the window's size and place, that
# every control of every page lies inside its client area, takes a screenshot of each
# page (switching with the tab strip's arrow key), presses Save and checks that it wrote
# the file, presses Exit and checks the exit status.
# Screenshots: build/screenshots/dpi-N/ or build/screenshots/plain-prefix/.
# Usage: dpi_startup.sh path/to/QORConfig.exe path/to/e2e_probe.exe
set -euo pipefail
exe=$(readlink -f "$1")
probe=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_session.sh"
dpi=${QOR_E2E_DPI:-96}
plain=${QOR_E2E_PLAIN:-}
if [ -n "$plain" ]; then shots="$shots/plain-prefix"; else shots="$shots/dpi-$dpi"; fi
mkdir -p "$shots"

mkdir "$game/Data"
session_begin --dpi "$dpi" ${plain:+--plain-fonts}
remember_language
start_without_file 'コンフィグファイルが読み込めませんでした\n新規作成します'
expect_captions 画面サイズ キャラ周囲 接続許可IPを使用する ジョイパッド 'ガード・魔力技３/キャンセル' ダッシュ メニュー 送信先 保存

# 320 x 528 at 96 DPI, scaled, centred by the truncating rule. The project's dialog font
# and the fallback of a plain prefix both leave the pages inside that size.
read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ {split($2, s, "x"); print s[1], s[2]}')
width=$(((320 * dpi + 48) / 96))
height=$(((528 * dpi + 48) / 96))
expected="$(((screen_w - width) / 2)) $(((screen_h - height) / 2)) $width $height"
read -r wx wy ww wh < <(session_geometry "$window")
[ "$wx $wy $ww $wh" = "$expected" ] ||
  fail "at $dpi DPI on ${screen_w}x$screen_h the window is '$wx $wy $ww $wh' (x y w h), expected '$expected'"

layout=$(probe layout QORConfig)
grep -q '^outside' <<<"$layout" && fail "controls past the client area (page id l t r b): $(grep '^outside' <<<"$layout")"
controls=$(awk '$1 == "controls" {print $2}' <<<"$layout")
[ "${controls:-0}" -ge 60 ] || fail "the probe saw ${controls:-no} controls on the pages"

# Each page in turn; a switch must change the picture.
for k in 0 1 2 3 4 5; do
  if [ "$k" -gt 0 ]; then
    probe next-tab QORConfig || fail "no page is shown before tab $k"
    changed=""
    for _ in $(seq 40); do
      settled_window_shot "$shots/page-$k.png"
      if images_differ "$shots/page-$((k - 1)).png" "$shots/page-$k.png"; then changed=yes; break; fi
      sleep 0.05
    done
    [ -n "$changed" ] || fail "the arrow key on the tab strip did not show page $k"
  else
    settled_window_shot "$shots/page-0.png"
  fi
done

layout=$(probe layout QORConfig)
read -r _ save_x save_y < <(grep '^save' <<<"$layout")
read -r _ exit_x exit_y < <(grep '^exit' <<<"$layout")
touch -d '2000-01-01' "$game/Data/GameConfig.dat"
old_mtime=$(stat -c %Y "$game/Data/GameConfig.dat")
session_click "$save_x" "$save_y"
for _ in $(seq 200); do
  [ "$(stat -c %Y "$game/Data/GameConfig.dat")" != "$old_mtime" ] && break
  sleep 0.05
done
[ "$(stat -c %Y "$game/Data/GameConfig.dat")" != "$old_mtime" ] || fail "Save at ($save_x, $save_y) did not write the file"
expected_bytes=$(sed 's/#.*//' "$fixture" | tr -d ' \n')
[ "$(od -An -v -tx1 "$game/Data/GameConfig.dat" | tr -d ' \n')" = "$expected_bytes" ] ||
  fail "Save wrote other bytes than the defaults"

session_click "$exit_x" "$exit_y"
session_wait_end || fail "the tool did not end after Exit at ($exit_x, $exit_y)"
status=0
wait "$session_pid" || status=$?
session_pid=""
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"
echo "PASS at $dpi DPI${plain:+ without the font replacement}: window $ww x $wh at ($wx, $wy), $controls controls inside, six pages, Save, Exit"
