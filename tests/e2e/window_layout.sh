# Shared by the end-to-end scripts: where things stand in the main window and how a tab
# is selected with real clicks. Expects wx, wy (the window's screen position), game (a
# scratch folder), shots (the screenshot folder) and probe (e2e_session.sh's reader of
# the tab strip) to be set by the sourcing script.

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/window-layout.sh"

# A click at (x, y) in the window. A script that looks at its effect waits for it.
click() { session_click $((wx + $1)) $((wy + $2)); }
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

# Scrolls the strip of the page shown so that tab k stands among the shown tabs and
# prints the x at which a click selects it. The strip's arrows scroll it one tab a click,
# up to where the last tab fits (which depends on the font); each click is waited for
# until the strip stands where it moved to, then until it is drawn so. Fails when the
# tab cannot be found.
tab_position() {
  local k=$1 edges scroll scroll_max target
  read -r scroll scroll_max < <(probe tabs QORConfig | awk '$1 == "scroll" {print $2, $3}')
  [ -n "$scroll" ] || return 1
  target=$((k < scroll_max ? k : scroll_max))
  if [ "$scroll" != "$target" ]; then
    tabs_shot "$game/tabs-before.png"
    while [ "$scroll" -gt "$target" ]; do
      click $SCROLL_LEFT_X $SCROLL_Y
      scroll=$((scroll - 1))
      probe wait-tabs QORConfig scroll "$scroll" || return 1
    done
    while [ "$scroll" -lt "$target" ]; do
      click $SCROLL_RIGHT_X $SCROLL_Y
      scroll=$((scroll + 1))
      probe wait-tabs QORConfig scroll "$scroll" || return 1
    done
    wait_strip_drawn "$game/tabs-before.png" || return 1
  fi
  read -r -a edges <<<"$(tab_edges)"
  [ -n "${E2E_DEBUG:-}" ] && { echo "tab $k scrolled to $scroll edges: ${edges[*]}" >&2; import -window root "$shots/debug-tab-$k.png"; }
  local at=$((k - scroll))
  [ "${#edges[@]}" -ge $((at + 2)) ] || return 1
  echo $(((edges[at] + edges[at + 1]) / 2))
}

# Waits until the tabs are drawn otherwise than in the picture $1, and then alike in two
# pictures in a row.
wait_strip_drawn() {
  local i moved=""
  for i in $(seq 100); do
    tabs_shot "$game/tabs-after.png"
    images_differ "$1" "$game/tabs-after.png" && { moved=1; break; }
    sleep 0.02
  done
  [ -n "$moved" ] || return 1
  for i in $(seq 50); do
    sleep 0.02
    tabs_shot "$game/tabs-settled.png"
    images_differ "$game/tabs-after.png" "$game/tabs-settled.png" || return 0
    cp "$game/tabs-settled.png" "$game/tabs-after.png"
  done
  return 1
}

# A real click on tab k of the page shown; returns once tab k is the selected one.
select_tab() {
  local x
  x=$(tab_position "$1") || fail "tab $1 not found in the strip"
  click "$x" $TAB_ROW
  probe wait-tabs QORConfig selected "$1" || fail "a click on tab $1 at x $x did not select it"
}

# True when two images differ in any pixel; a comparison that cannot be made (a missing
# or unreadable image, different sizes) ends the test rather than reading as a change.
images_differ() {
  local status=0 out
  out=$(compare -metric AE "$1" "$2" null: 2>&1) || status=$?
  case $status in
    0) return 1 ;;
    1) return 0 ;;
    *) fail "cannot compare $1 and $2: $out" ;;
  esac
}

# A screenshot of the window once drawing has settled: two shots in a row alike. The
# window stands at (wx, wy) and is ww x wh, 320 x 528 unless set.
settled_window_shot() {
  settled_shot "$1" || fail "the window kept changing, or its pictures could not be compared"
}

# A settled screenshot of the window into $2 once it shows something else than the
# picture $1 (a dialog opened over it, say).
changed_window_shot() {
  for _ in $(seq 50); do
    settled_window_shot "$2"
    images_differ "$1" "$2" && return 0
  done
  fail "the window still shows what $1 shows"
}

# A window screenshot without its title bar: Wine draws the frame and caption itself
# (no window manager), 3 pixels of border and a 19-pixel caption.
below_title_bar() { convert "$1" -crop 320x506+0+22 +repage "$2"; }

# The page area of a window screenshot: everything below the tab strip.
page_area() { convert "$1" -crop 320x390+0+45 +repage "$2"; }

# Outward signs of the pages: lines of pixels in the window (x y width height) that are
# dark along their whole length only where a page has the edge of a certain control.
# They follow from the page layouts and the dialog font, like the positions above.
declare -A SIGN=(
  [options]="20 128 272 1"  # the lower edge of the display-setting group boxes
  [id]="30 62 170 1"        # the upper edge of a full-width edit at the top: the ID, F1's text
  [list]="30 97 250 1"      # the upper edge of the address list
  [check]="26 59 11 1"      # the upper edge of the allowed-only check box
  [key]="230 131 50 1"      # the lower edge of the first change button
)
# The signs each page shows, pages 0 to 5.
PAGE_SIGNS=("options" "id list" "list" "list check" "key" "id")

# The names of the signs a window screenshot shows, in a fixed order. All the lines are
# read in one pass over the picture: a pixel of slack either way, since caption and font
# metrics of a Wine prefix can move the page by one pixel without changing its layout.
page_signs() {
  local name x y w h dy crops=() maxima=() shown=() i=0
  for name in options id list check key; do
    read -r x y w h <<<"${SIGN[$name]}"
    for dy in 0 -1 1; do crops+=("mpr:page[${w}x$h+$x+$((y + dy))]"); done
  done
  read -r -a maxima < <(convert "$1" -colorspace Gray -write mpr:page +delete "${crops[@]}" \
      -format '%[fx:int(255 * maxima)] ' info: 2>/dev/null) || true
  [ "${#maxima[@]}" -eq "${#crops[@]}" ] || fail "cannot read $1"
  for name in options id list check key; do
    if [ "${maxima[i]}" -lt 200 ] || [ "${maxima[i + 1]}" -lt 200 ] || [ "${maxima[i + 2]}" -lt 200 ]; then
      shown+=("$name")
    fi
    i=$((i + 3))
  done
  echo "${shown[*]}"
}
