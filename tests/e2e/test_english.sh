#!/usr/bin/env bash
# End to end: the English face. The real QORConfig.exe starts under en_US.UTF-8 with no
# remembered choice, in a game folder without a configuration: the creation message and
# every page read in English. Takes a screenshot of each page and of the address dialog
# (opened from the denied page and cancelled) into build/screenshots/english/, presses
# Exit, and checks that the created file holds the default bytes and that nothing was
# remembered (only a choice from the system menu is).
# Usage: test_english.sh path/to/QORConfig.exe path/to/e2e_probe.exe
set -euo pipefail
exe=$(readlink -f "$1")
probe=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)
export QOR_WINE_LOCALE=en_US.UTF-8
source "$here/e2e_session.sh"
shots="$shots/english"
mkdir -p "$shots"

# The Cancel button inside the address dialog's client area, from its dialog units.
readonly DIALOG_CANCEL_X=158 DIALOG_CANCEL_Y=57 FRAME_X=3 FRAME_Y=22

mkdir "$game/Data"
session_start_xvfb
remember_language
start_without_file 'The config file could not be read.\nA new one will be created.'
read -r wx wy _ _ < <(session_geometry "$window")
expect_captions 'Screen size' Nearby 'Use the allowed list' Joypad 'Guard/Skill 3/Cancel' 'Send to' Save
# Kana and kanji (and the full-width forms) left anywhere; "×" is the same in both faces.
japanese=$(perl -CS -ne 'print if /[\x{3000}-\x{9FFF}\x{FF00}-\x{FFEF}]/' <<<"$shown")
[ -z "$japanese" ] || fail "controls still read: $japanese"

# Each tab's page, once it is drawn: its signs (see window_layout.sh), a moment after the
# tab is selected.
for k in 1 2 3 4 5 0; do
  select_tab "$k"
  for _ in $(seq 20); do
    settled_window_shot "$shots/page-$k.png"
    signs=$(page_signs "$shots/page-$k.png")
    [ "$signs" = "${PAGE_SIGNS[k]}" ] && break
  done
  [ "$signs" = "${PAGE_SIGNS[k]}" ] ||
    fail "after clicking tab $k the page shows the signs '$signs', page $k's are '${PAGE_SIGNS[k]}'"
done

select_tab 2
for _ in $(seq 20); do
  settled_window_shot "$game/denied-page.png"
  [ "$(page_signs "$game/denied-page.png")" = "${PAGE_SIGNS[2]}" ] && break
done
click $ADD_X $ADD_Y
dialog=$(session_wait_window "Add IP" 30) || fail "Add did not open the address dialog as 'Add IP'"
dialog_texts=$(probe texts "Add IP" | cut -f2)
for caption in Add Cancel; do
  grep -qxF "$caption" <<<"$dialog_texts" || fail "the dialog has no '$caption' button"
done
changed_window_shot "$game/denied-page.png" "$shots/address-dialog.png"
read -r dx dy _ _ < <(session_geometry "$dialog")
session_click $((dx + FRAME_X + DIALOG_CANCEL_X)) $((dy + FRAME_Y + DIALOG_CANCEL_Y))
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^Add IP$' >/dev/null 2>&1 || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^Add IP$' >/dev/null 2>&1 && fail "Cancel left the dialog open"

click $EXIT_X $EXIT_Y
session_wait_end || fail "the tool did not end after Exit"
session_pid=""

expected=$(sed 's/#.*//' "$here/../fixtures/default_config.hex" | tr -d ' \n')
actual=$(od -An -v -tx1 "$game/Data/GameConfig.dat" | tr -d ' \n')
[ "$actual" = "$expected" ] || fail "the created file differs from the default bytes"
remembered=$(remembered_language)
[ -z "$remembered" ] || fail "a choice was remembered without the menu: '$remembered'"
echo "PASS: English face under $LANG without a remembered choice, six pages and the dialog, default file"
