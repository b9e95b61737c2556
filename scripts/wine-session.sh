# The one Wine session every script uses: a prefix of its own (a copy of the prepared
# prefix, see scripts/wine-prefix), a locale (QOR_WINE_LOCALE, ja_JP.UTF-8 unless set,
# which gives Wine the ANSI code page 932), a private Xvfb with the session's wine server,
# and small xdotool helpers. Sourced, never run. Every step that cannot come up says so
# and returns non-zero.
#
# One prefix is one wine server, and while it lives its desktop keeps the screen size and
# the display scale (LogPixels) of the session that started it. So every session takes a
# prefix no other session holds, and sessions run side by side. A session's screen, scale
# and dialog font make its kind; a server of an unscaled kind is left running ("warm")
# for a minute after its session, with its display, and the next session of the same kind
# in that prefix goes on with it instead of starting Wine again. A scaled session always
# starts a server of its own and ends it when it ends. Scripts run from inside a session
# (scripts/wine-run from a test script, say) work in that session.
session_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG="${QOR_WINE_LOCALE:-ja_JP.UTF-8}" LC_ALL="${QOR_WINE_LOCALE:-ja_JP.UTF-8}"
# How long a warm server outlives the last program of its session, in seconds; a session
# goes on with one only well within that.
session_linger=60
session_copy=""
session_kind=""

# Fails unless scripts/setup has made the prepared prefix.
session_check_prefix() {
  if [ ! -f "$session_root/build/wineprefix/system.reg" ]; then
    echo "no Wine prefix in $session_root/build/wineprefix: run scripts/setup" >&2
    return 1
  fi
}

# Starts a session: takes a prefix of its own (WINEPREFIX), a display (DISPLAY) and a
# wine server for them.
#   --screen WxH     the private Xvfb's screen (1024x768, or that of the scale)
#   --dpi N          display scale (Wine's LogPixels, 96 = 100 %) on a screen of that scale
#   --plain-fonts    no replacement of the dialog font, as in a player's prefix
#   --display        the caller's DISPLAY instead of a private Xvfb
session_begin() {
  local screen="" dpi=96 fonts=project display=""
  while [ $# -gt 0 ]; do
    case $1 in
      --screen) screen=$2; shift 2 ;;
      --dpi) dpi=$2; shift 2 ;;
      --plain-fonts) fonts=plain; shift ;;
      --display) display=${DISPLAY:?no DISPLAY to use}; shift ;;
      *) echo "session_begin: unknown option $1" >&2; return 2 ;;
    esac
  done
  [ -n "$screen" ] || screen=$(session_screen_for_dpi "$dpi")
  local kind="screen=$screen dpi=$dpi fonts=$fonts${display:+ display=$display}"
  if [ -n "${QOR_WINE_SESSION:-}" ]; then
    if [ "$QOR_WINE_SESSION_KIND" != "$kind" ]; then
      echo "a Wine session ($kind) inside another one ($QOR_WINE_SESSION_KIND)" >&2
      return 1
    fi
    export WINEPREFIX="$QOR_WINE_SESSION/prefix"
    return 0
  fi
  session_check_prefix || return 1
  session_copy=$("$session_root/scripts/wine-prefix" take $$) || return 1
  export WINEPREFIX="$session_copy/prefix"
  session_kind=$kind
  session_resume || session_start_server "$screen" "$dpi" "$fonts" "$display" || return 1
  export QOR_WINE_SESSION="$session_copy" QOR_WINE_SESSION_KIND="$kind"
}

# A value of the session's record (build/wine/N/session).
session_state() {
  sed -n "s/^$1=//p" "$session_copy/session" 2>/dev/null
}

# Goes on with the warm server a session of the same unscaled kind left in this prefix,
# when it has most of its minute left, its display still runs and shows no window.
session_resume() {
  local pid ended
  [[ $session_kind == *" dpi=96 "* ]] || return 1
  [ "$(session_state kind)" = "$session_kind" ] || return 1
  ended=$(session_state ended)
  [ -n "$ended" ] && [ $(($(date +%s) - ended)) -lt $((session_linger / 2)) ] || return 1
  pid=$(session_state xvfb_pid)
  if [ -n "$pid" ]; then
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 1
  fi
  export DISPLAY="$(session_state display)"
  if xdotool search --onlyvisible --class . >/dev/null 2>&1; then
    return 1
  fi
  sed -i '/^ended=/d' "$session_copy/session"
}

# Ends the server and the display an earlier session left in this prefix (its record is
# written before it starts them).
session_end_server() {
  local pid
  [ -f "$session_copy/session" ] || return 0
  # A server or a display that has already ended is no failure.
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  pid=$(session_state xvfb_pid)
  if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$session_copy/session"
}

# Starts the session's display and wine server: the screen $1, the scale $2, the dialog
# font $3 (project or plain), on the display $4 or a private Xvfb. Wine reads the scale
# and the font when a program starts, and the desktop keeps the scale it started with, so
# the values are set before the desktop is started. Wine's own programs (the desktop,
# the services) start here, with no terminal, so that no test's output waits for them.
session_start_server() {
  local screen=$1 dpi=$2 fonts=$3 display=$4 xvfb_pid="" settings
  session_end_server
  if [ -n "$display" ]; then
    export DISPLAY=$display
  else
    session_start_xvfb_only "$screen" || return 1
    xvfb_pid=$session_xvfb_pid
  fi
  printf 'kind=%s\ndisplay=%s\nxvfb_pid=%s\n' "$session_kind" "$DISPLAY" "$xvfb_pid" >"$session_copy/session"
  /usr/lib/wine/wineserver -p"$session_linger" </dev/null >/dev/null 2>&1
  settings="$session_copy/session.reg"
  {
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n'
    if [ "$dpi" = 96 ]; then echo '"LogPixels"=-'; else printf '"LogPixels"=dword:%08x\n' "$dpi"; fi
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
    if [ "$fonts" = plain ]; then echo '"MS Shell Dlg"=-'; else echo '"MS Shell Dlg"="Monapo"'; fi
  } >"$settings"
  # Z: is the root of the Unix file system in every prefix.
  if ! /usr/lib/wine/wine64 regedit /S "Z:${settings//\//\\}" </dev/null >/dev/null 2>&1 ||
     ! /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1; then
    echo "Wine did not start in $WINEPREFIX" >&2
    session_end_server
    return 1
  fi
  # The display lives as long as the server.
  if [ -n "$xvfb_pid" ]; then
    (/usr/lib/wine/wineserver -w; kill "$xvfb_pid") </dev/null >/dev/null 2>&1 &
  fi
}

# Starts Xvfb on a free display with the screen WIDTHxHEIGHT and points DISPLAY at it;
# fails when it does not come up within ten seconds.
session_start_xvfb_only() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fdfile" </dev/null >/dev/null 2>&1 &
  session_xvfb_pid=$!
  # -displayfd writes the display's number once the server accepts connections.
  for _ in $(seq 200); do
    [ -s "$fdfile" ] && break
    kill -0 "$session_xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$fdfile" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$fdfile"
    kill "$session_xvfb_pid" 2>/dev/null
    return 1
  fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

# Ends the session: an unscaled one leaves its server warm for the next session of its
# kind in this prefix, a scaled one ends it. Nothing to do inside another session.
session_finish() {
  [ -n "$session_copy" ] || return 0
  if [[ $session_kind == *" dpi=96 "* ]] && [ -f "$session_copy/session" ]; then
    echo "ended=$(date +%s)" >>"$session_copy/session"
  else
    session_end_server
  fi
  session_copy=""
}

# The earlier names of a start: a session on a private Xvfb of the screen $1 (1024x768
# unless given), or at the display scale $1.
session_start_xvfb() { session_begin ${1:+--screen "$1"}; }
session_start_scaled() { session_begin --dpi "$1"; }

# What a session started besides its server, ended by session_end: the Windows program
# (its process id in session_pid) and a scratch folder (session_scratch).
session_pid=""
session_scratch=""

# Ends whatever the session started; scripts run it as their EXIT trap. Whatever has
# already ended by itself is no failure: the script's own status stands.
session_end() {
  set +e
  if [ -n "$session_pid" ]; then
    kill "$session_pid" 2>/dev/null
    wait "$session_pid" 2>/dev/null
  fi
  session_finish
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
  for _ in $(seq 20); do
    xdotool search --onlyvisible --name '^Error$' 2>/dev/null | grep -qx "$id" || return 0
    sleep 0.05
  done
  xdotool windowfocus "$id" 2>/dev/null || true
  xdotool key --window "$id" Return 2>/dev/null || true
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

# The display scale and the dialog font of a session are set when it begins
# (session_begin --dpi N, --plain-fonts).
