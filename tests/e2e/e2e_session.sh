# Common start of the end-to-end scripts: the Wine session helpers, the window layout,
# the configuration file model, a scratch game folder, the screenshot folder, and a
# clean-up that ends the tool and the private Xvfb whatever happens. Expects `here` (the
# scripts' folder) to be set, and `probe` (the e2e_probe program) where texts are read.
source "$here/../../scripts/wine-session.sh"
source "$here/window_layout.sh"
shots="$session_root/build/screenshots"
config_file="$session_root/tests/support/config_file.py"
fixture="$session_root/tests/fixtures/default_config.hex"
mkdir -p "$shots"

game=$(mktemp -d)
session_scratch=$game
trap session_end EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Sets the face remembered for the user (ja or en), or with no argument removes it, so
# that the Windows language decides. Wine starts its desktop with the first program of a
# session, so this runs once the display is up.
remember_language() {
  if [ -n "${1:-}" ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\QORConfig' /v Language /d "$1" /f >/dev/null 2>&1 ||
      fail "cannot set the remembered language"
  else
    /usr/lib/wine/wine64 reg delete 'HKCU\Software\QORConfig' /v Language /f >/dev/null 2>&1 || true
  fi
}

# The remembered face, or nothing when there is none.
remembered_language() {
  /usr/lib/wine/wine64 reg query 'HKCU\Software\QORConfig' /v Language 2>/dev/null |
    awk '$1 == "Language" {print $3}' | tr -d '\r' || true
}

# Reads from inside Wine: the code page (acp) or the texts of a window (texts TITLE).
probe() { /usr/lib/wine/wine64 "$probe" "$@" | tr -d '\r'; }

# Starts the tool ($exe) in the game folder, which has no configuration file yet: the
# creation message must read $1 (compared as UTF-16 read back); it is answered, and the
# main window's id is left in `window`.
start_without_file() {
  local box message
  cd "$game"
  /usr/lib/wine/wine64 "$exe" &
  session_pid=$!
  box=$(session_wait_window Error 60) || fail "the creation message did not appear"
  message=$(probe texts Error)
  grep -qF "$1" <<<"$message" || fail "the creation message reads '$message'"
  session_answer_box "$box"
  window=$(session_wait_window QORConfig 30) || fail "the main window did not appear"
}

# Waits until the main window's controls (every page's, once the last page exists) read
# each of the given captions; their texts are left in `shown`.
expect_captions() {
  local caption missing="(not read)"
  for _ in $(seq 50); do
    shown=$(probe texts QORConfig | cut -f2)
    missing=""
    for caption in "$@"; do
      grep -qxF "$caption" <<<"$shown" || missing="$missing '$caption'"
    done
    [ -z "$missing" ] && return 0
    sleep 0.2
  done
  fail "no control reads$missing"
}
