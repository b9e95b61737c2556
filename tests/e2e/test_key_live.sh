#!/usr/bin/env bash
# End to end: the key page's live view in the real QORConfig.exe. A copy of the tool runs
# in a game folder beside the stand-in dinput8.dll (built from the window tests' scripted
# DirectInput), whose one controller holds buttons 3 and 10. In each face the key page is
# opened with real clicks: the label of button 3 (row 0, "KEY 4") is highlighted and no
# other, button 10, which no row shows, is named on the held line, and the controller's
# name is shown. Screenshots: build/screenshots/key-page-held.png and
# build/screenshots/english/key-page-held.png. Then, with a slow enumeration, the
# controller is plugged in and pulled out while the page stands: each time a device notice
# sent from another process makes one enumeration, and the name line follows.
# Usage: test_key_live.sh path/to/QORConfig.exe path/to/e2e_probe.exe
set -euo pipefail
exe=$(readlink -f "$1")
probe=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_session.sh"

stand_in="$(dirname "$exe")/stand_in/dinput8.dll"
[ -f "$stand_in" ] || fail "no stand-in DirectInput at $stand_in"
readonly PAD_NAME="QOR Stand-in Pad"
mkdir -p "$game/Data" "$shots/english"
python3 "$config_file" "$game/Data/GameConfig.dat"
cp "$exe" "$game/QORConfig.exe"
cp "$stand_in" "$game/dinput8.dll"

# Mean brightness (0 to 1) of the inside of row r's button label, from its place in
# dialog units (120, 70 + 22 r; 25 x 8), at 1.5 x 1.375 pixels per unit below the
# 3-pixel border and 22-pixel caption Wine draws.
label_brightness() {
  local top=$((22 + (70 + 22 * $2) * 11 / 8))
  convert "$1" -crop "30x9+185+$((top + 1))" +repage -colorspace Gray -format '%[fx:mean]' info:
}

# Starts the tool in face $1, opens the key page, checks it and takes its screenshot to $2;
# $3 is the held line expected.
held_page() {
  local face=$1 shot=$2 line=$3 lit other texts
  remember_language "$face"
  cd "$game"
  WINEDLLOVERRIDES="dinput8=n,b" QOR_STAND_IN_PAD="$PAD_NAME" QOR_STAND_IN_HELD="3 10" \
    /usr/lib/wine/wine64 "$game/QORConfig.exe" &
  session_pid=$!
  window=$(session_wait_window QORConfig 60) || fail "the main window did not appear"
  read -r wx wy _ _ < <(session_geometry "$window")
  select_tab 4
  for _ in $(seq 50); do
    texts=$(probe texts QORConfig | cut -f2)
    grep -qxF "$line" <<<"$texts" && break
    sleep 0.1
  done
  grep -qxF "$PAD_NAME" <<<"$texts" || fail "($face) the page does not name the controller"
  grep -qxF "$line" <<<"$texts" || fail "($face) no held line '$line'"
  settled_window_shot "$shot"
  lit=$(label_brightness "$shot" 0)
  for row in 1 2 8; do
    other=$(label_brightness "$shot" "$row")
    awk -v l="$lit" -v o="$other" 'BEGIN {exit !(l + 0.15 < o)}' ||
      fail "($face) row 0's label (button 3 held, brightness $lit) is not highlighted against row $row's ($other)"
  done
  click $EXIT_X $EXIT_Y
  session_wait_end || fail "the tool did not end after Exit"
  session_pid=""
}

# Waits up to ten seconds for a control of the window to read $1.
wait_text() {
  local texts
  for _ in $(seq 100); do
    texts=$(probe texts QORConfig | cut -f2)
    grep -qxF "$1" <<<"$texts" && return 0
    sleep 0.1
  done
  return 1
}

enumerations() { grep -c EnumDevices "$game/enum.log" || true; }

plug_and_pull() {
  local plugged="$game/plugged" count
  rm -f "$plugged" "$game/enum.log"
  remember_language ja
  cd "$game"
  WINEDLLOVERRIDES="dinput8=n,b" QOR_STAND_IN_PAD="$PAD_NAME" QOR_STAND_IN_HELD="10" \
    QOR_STAND_IN_PLUGGED="Z:$plugged" QOR_STAND_IN_ENUM_MS=400 QOR_STAND_IN_LOG="Z:$game/enum.log" \
    /usr/lib/wine/wine64 "$game/QORConfig.exe" &
  session_pid=$!
  window=$(session_wait_window QORConfig 60) || fail "the main window did not appear"
  read -r wx wy _ _ < <(session_geometry "$window")
  select_tab 4
  wait_text "ジョイパッド未接続" || fail "the page names a controller that is not plugged in"
  count=$(enumerations)
  [ "$count" = 1 ] || fail "$count enumerations before any notice, not start-up's one"
  touch "$plugged"
  probe notice QORConfig 3
  wait_text "$PAD_NAME" || fail "the controller plugged in was not named after the notices"
  count=$(enumerations)
  [ "$count" = 2 ] || fail "$count enumerations after three notices of one plug, not 1 + 1"
  rm "$plugged"
  probe notice QORConfig
  wait_text "ジョイパッド未接続" || fail "the name line did not follow the controller pulled out"
  click $EXIT_X $EXIT_Y
  session_wait_end || fail "the tool did not end after Exit"
  session_pid=""
}

session_start_xvfb
held_page ja "$shots/key-page-held.png" "押下中: KEY 11"
held_page en "$shots/english/key-page-held.png" "Held: KEY 11"
plug_and_pull
remember_language
echo "PASS: the key page highlights a held button's label, names the one no row shows and the controller, in both faces," \
  "and follows a controller plugged in and pulled out by the device notices"
