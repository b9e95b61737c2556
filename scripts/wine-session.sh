# The one Wine session every script uses: the project's prefix, a locale (QOR_WINE_LOCALE,
# ja_JP.UTF-8 unless set, which gives Wine the ANSI code page 932), a private Xvfb, and
# small xdotool helpers. Sourced, never run. Only the Xvfb started here is ever stopped,
# by its process id. Every step that cannot come up says so and returns non-zero.

session_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$session_root/build/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG="${QOR_WINE_LOCALE:-ja_JP.UTF-8}" LC_ALL="${QOR_WINE_LOCALE:-ja_JP.UTF-8}"
session_xvfb_pid=""
session_restore=()
session_own_desktop=""

# Fails unless scripts/setup has made the prefix.
session_check_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "no Wine prefix in $WINEPREFIX: run scripts/setup" >&2
    return 1
  fi
}

# Starts Xvfb on a free display, 1024x768 unless a size WIDTHxHEIGHT is given, and
# points DISPLAY at it. Fails when the server does not come up within ten seconds.
session_start_xvfb() {
  local fdfile size=${1:-1024x768}
  # A Wine server of an earlier session keeps that session's display for a few seconds
  # after its last program; a program started meanwhile on the new display dies at once.
  # A scaled session must start a server of its own (the server keeps the screen and the
  # scale it started with), so it refuses to go on beside one that will not end.
  if ! timeout 20 /usr/lib/wine/wineserver -w 2>/dev/null && [ -n "$session_own_desktop" ]; then
    echo "the Wine server of another session in $WINEPREFIX is still running" >&2
    return 1
  fi
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  session_xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$fdfile" ] && break
    kill -0 "$session_xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$fdfile" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$fdfile"
    session_stop_xvfb
    return 1
  fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

# Uses the display that is set, or starts a private Xvfb when there is none.
session_ensure_display() {
  [ -n "${DISPLAY:-}" ] || session_start_xvfb "$@"
}

session_stop_xvfb() {
  session_restore_registry
  if [ -n "$session_xvfb_pid" ]; then
    kill "$session_xvfb_pid" 2>/dev/null || true
    wait "$session_xvfb_pid" 2>/dev/null || true
    session_xvfb_pid=""
  fi
  if [ -n "$session_own_desktop" ]; then
    /usr/lib/wine/wineserver -w
    session_own_desktop=""
  fi
}

# A session at display scale $1 (DPI) on a screen of that scale. Wine's desktop keeps the
# screen size of the session that started it for as long as the wine server lives, a few
# seconds after its last program; so this session waits for the server of the one before
# to end, and the next session waits for this one's.
session_start_scaled() {
  session_own_desktop=1
  session_start_xvfb "$(session_screen_for_dpi "$1")" || return 1
  session_set_dpi "$1"
}

# What a session started besides its Xvfb, ended by session_end: the Windows program
# (its process id in session_pid) and a scratch folder (session_scratch).
session_pid=""
session_scratch=""

# Ends whatever the session started; scripts run it as their EXIT trap.
session_end() {
  [ -n "$session_pid" ] && kill "$session_pid" 2>/dev/null
  session_stop_xvfb
  [ -n "$session_scratch" ] && rm -rf "$session_scratch"
  return 0
}

# Waits up to ten seconds for the session's program to end (after its Exit button, say);
# fails when it is still running.
session_wait_end() {
  for _ in $(seq 100); do
    kill -0 "$session_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Prints the id of the visible top-level window titled exactly $1, waiting up to $2
# seconds (default 30); fails when none appears.
session_wait_window() {
  local title=$1 limit=${2:-30} id
  local tries=$((limit * 20))
  for _ in $(seq "$tries"); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# Window geometry as "x y width height" (no window manager: no frame offsets).
session_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

session_click() {
  xdotool mousemove "$1" "$2" click 1
}

# Presses OK on the message box with the given window id (its default button).
# The box's one button is clicked, centred near its bottom edge: a Return key sent to a
# box that focus has not reached can stay queued and press the default button of the
# next dialog instead. Return only when the click did not close the box.
session_answer_box() {
  local id=$1 x y w h
  read -r x y w h < <(session_geometry "$id")
  session_click $((x + w / 2)) $((y + h - 24))
  sleep 0.3
  if xdotool search --onlyvisible --name '^Error$' 2>/dev/null | grep -qx "$id"; then
    xdotool windowfocus "$id" 2>/dev/null || true
    xdotool key --window "$id" Return 2>/dev/null || true
  fi
}

# The median of the numbers on standard input, one a line; the mean of the middle two for
# an even count.
session_median() {
  sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

# The screen of a display at DPI $1: 1024x768 at 96 DPI, scaled, as a monitor of that
# scale would be.
session_screen_for_dpi() {
  echo "$((1024 * $1 / 96))x$((768 * $1 / 96))"
}

# Sets a registry value of the prefix for this session only (KEY NAME TYPE DATA, or KEY
# NAME with nothing more to delete it); session_stop_xvfb puts back what was there. Wine
# reads these when a program starts, and starts its desktop with the first program of a
# session, so this runs once the display is up.
session_set_value() {
  local key=$1 name=$2 old
  # A value reads as "    NAME    REG_TYPE    DATA"; it is put back as TYPE|DATA.
  old=$(/usr/lib/wine/wine64 reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' |
        sed -n 's/^.*[[:space:]]\(REG_[A-Z_]*\)[[:space:]]*\(.*\)$/\1|\2/p' | head -n1 || true)
  if [ -n "$old" ]; then
    session_restore+=("add|$key|$name|$old")
  else
    session_restore+=("delete|$key|$name")
  fi
  if [ $# -ge 4 ]; then
    /usr/lib/wine/wine64 reg add "$key" /v "$name" /t "$3" /d "$4" /f >/dev/null 2>&1
  else
    /usr/lib/wine/wine64 reg delete "$key" /v "$name" /f >/dev/null 2>&1 || true
  fi
}

session_restore_registry() {
  local i entry action key name type data
  for ((i = ${#session_restore[@]} - 1; i >= 0; i--)); do
    IFS='|' read -r action key name type data <<<"${session_restore[i]}"
    if [ "$action" = add ]; then
      /usr/lib/wine/wine64 reg add "$key" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1 || true
    else
      /usr/lib/wine/wine64 reg delete "$key" /v "$name" /f >/dev/null 2>&1 || true
    fi
  done
  session_restore=()
}

# The display scale for this session: Wine's LogPixels (96 = 100 %, 144 = 150 %).
session_set_dpi() {
  session_set_value 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD "$1"
}

# A player's prefix for this session: no replacement of the dialog font.
session_plain_fonts() {
  session_set_value 'HKCU\Software\Wine\Fonts\Replacements' 'MS Shell Dlg'
}
