# Where things stand in the main window, in pixels from its top-left corner: the row that
# crosses the vertical edges of the unselected tabs, the tab strip's scroll arrows, the
# right end of the tabs' room left of the arrows, the Exit and Save buttons, and the
# address pages' Add button. They follow from the page layout in dialog units and the
# dialog font installed by scripts/setup. Sourced by scripts/run (it ends the tool with
# Exit) and by the end-to-end tests.
readonly TAB_EDGE_ROW=39 TAB_ROW=34 SCROLL_LEFT_X=280 SCROLL_RIGHT_X=296 SCROLL_Y=31
readonly TABS_END_X=270 EXIT_X=265 EXIT_Y=427 SAVE_X=187 SAVE_Y=427
readonly ADD_X=187 ADD_Y=394

# A screenshot of the window at (wx, wy), ww x wh (320 x 528 unless set), into $1 once two
# taken $2 seconds apart (0.05 unless given) are alike: the tool paints its pages only
# after the window shows, and a first start in a session can pause between two of its
# paints for a few tenths of a second under Wine. 1 when it kept changing for 40 looks,
# 2 when the pictures could not be compared.
settled_shot() {
  local status size="${ww:-320}x${wh:-528}"
  import -window root -crop "$size+$wx+$wy" +repage "$1"
  for _ in $(seq 40); do
    sleep "${2:-0.05}"
    import -window root -crop "$size+$wx+$wy" +repage "$1.next.png"
    status=0
    compare -metric AE "$1" "$1.next.png" null: >/dev/null 2>&1 || status=$?
    [ "$status" -le 1 ] || { rm -f "$1.next.png"; return 2; }
    mv "$1.next.png" "$1"
    [ "$status" -eq 0 ] && return 0
  done
  return 1
}
