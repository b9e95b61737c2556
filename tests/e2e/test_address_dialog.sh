#!/usr/bin/env bash
# End to end: the address dialog of the real QORConfig.exe under Wine in a private Xvfb.
# Starts on a file with two denied addresses on a screen of odd size, checks that the
# window is centred with the odd pixel left over, shows the denied page with a real click on
# its tab, opens the dialog with Add, types 192 . 168 . * . 001, takes a screenshot of
# the open dialog, presses the dialog's Add, saves, and checks the saved denied list.
# Usage: test_address_dialog.sh path/to/QORConfig.exe path/to/e2e_probe.exe
set -euo pipefail
exe=$(readlink -f "$1")
probe=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_session.sh"

# Offsets inside the address dialog's client area, from its dialog units: the four
# octet fields and the Add button.
readonly FIELD_XS="24 72 120 168" FIELD_Y=34 DIALOG_ADD_X=85 DIALOG_ADD_Y=57

# The default file with the denied lines 10.0.0.1 and 9.9.9.9.
mkdir "$game/Data"
python3 "$config_file" "$game/Data/GameConfig.dat" --denied 10.0.0.1 --denied 9.9.9.9

# A screen one pixel wider and taller than usual: the window's margins then differ by
# one pixel, and centring gives the extra pixel to the right and bottom margins.
session_start_xvfb 1025x769
remember_language
cd "$game"
/usr/lib/wine/wine64 "$exe" &
session_pid=$!
window=$(session_wait_window QORConfig 60) || fail "the main window did not appear"
read -r wx wy _ _ < <(session_geometry "$window")
[ "$wx $wy" = "352 120" ] || fail "on a 1025x769 screen the window stands at ($wx, $wy), expected (352, 120)"

select_tab 2
for _ in $(seq 20); do
  settled_window_shot "$game/denied-page.png"
  [ "$(page_signs "$game/denied-page.png")" = "${PAGE_SIGNS[2]}" ] && break
done

click $ADD_X $ADD_Y
dialog=$(session_wait_window "追加IP" 30) || fail "Add did not open the address dialog"
read -r dx dy _ _ < <(session_geometry "$dialog")
# Wine draws the frame of the unmanaged dialog itself: its client area starts inside a
# 3-pixel border, below a 19-pixel caption.
readonly FRAME_X=3 FRAME_Y=22
read -r -a field_xs <<<"$FIELD_XS"
i=0
for text in 192 168 '*' 001; do
  session_click $((dx + FRAME_X + field_xs[i])) $((dy + FRAME_Y + FIELD_Y))
  xdotool type --delay 30 "$text"
  i=$((i + 1))
done
# The picture once the fields read what was typed and are drawn so.
for _ in $(seq 100); do
  [ "$(probe texts "追加IP" | cut -f2 | grep -xE '192|168|\*|001' | tr '\n' ' ')" = "192 168 * 001 " ] && break
  sleep 0.05
done
changed_window_shot "$game/denied-page.png" "$shots/address-dialog.png"

session_click $((dx + FRAME_X + DIALOG_ADD_X)) $((dy + FRAME_Y + DIALOG_ADD_Y))
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^追加IP$' >/dev/null 2>&1 || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^追加IP$' >/dev/null 2>&1 && fail "the dialog stayed open after Add"
if xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1; then
  fail "the dialog refused the address"
fi
import -window root -crop "320x528+$wx+$wy" +repage "$shots/address-added.png"

touch -d '2000-01-01' "$game/Data/GameConfig.dat"
old_mtime=$(stat -c %Y "$game/Data/GameConfig.dat")
click $SAVE_X $SAVE_Y
for _ in $(seq 200); do
  [ "$(stat -c %Y "$game/Data/GameConfig.dat")" != "$old_mtime" ] && break
  sleep 0.05
done
[ "$(stat -c %Y "$game/Data/GameConfig.dat")" != "$old_mtime" ] || fail "Save did not write the file"
# The denied count (no allowed lines), then the lines in list order: the added line
# sorts between 10.0.0.1 and 9.9.9.9.
actual=$(od -An -v -tx1 -j "$(python3 "$config_file" --denied-at)" -N 26 "$game/Data/GameConfig.dat" | tr -d ' \n')
expected="0300""0a00000000000100""c000a80000010100""0900090009000900"
[ "$actual" = "$expected" ] || fail "saved denied list $actual, expected $expected"

click $EXIT_X $EXIT_Y
session_wait_end || fail "the tool did not end after Exit"
session_pid=""
echo "PASS: dialog opened from the denied page, 192.168.*.1 added in sorted place and saved"
