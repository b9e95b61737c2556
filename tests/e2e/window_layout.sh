# Shared by the end-to-end scripts: where things stand in the main window and how a tab
# is selected with real clicks. Expects wx, wy (the window's screen position), game (a
# scratch folder) and shots (the screenshot folder) to be set by the sourcing script.

# Where things stand in the window, in pixels from its top-left corner: the row that
# crosses the vertical edges of the unselected tabs, the tab strip's scroll arrows, the
# right end of the tabs' room left of the arrows, and the Exit button. They follow from
# the page layout in dialog units and the dialog font installed by scripts/setup.
readonly TAB_EDGE_ROW=39 TAB_ROW=34 SCROLL_LEFT_X=280 SCROLL_RIGHT_X=296 SCROLL_Y=31
readonly TABS_END_X=270 EXIT_X=265 EXIT_Y=427 SAVE_X=187 SAVE_Y=427
# The address pages' Add button.
readonly ADD_X=187 ADD_Y=394

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

