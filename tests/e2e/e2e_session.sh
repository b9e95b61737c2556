# Common start of the end-to-end scripts: the Wine session helpers, the window layout,
# the configuration file model, a scratch game folder, the screenshot folder, and a clean-up that ends the tool and
# the private Xvfb whatever happens. Expects `here` (the scripts' folder) to be set.
source "$here/../../scripts/wine-session.sh"
source "$here/window_layout.sh"
shots="$session_root/build/screenshots"
config_file="$session_root/tests/support/config_file.py"
fixture="$session_root/tests/fixtures/default_config.hex"
mkdir -p "$shots"

game=$(mktemp -d)
wine_pid=""
finish() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  session_stop_xvfb
  rm -rf "$game"
}
trap finish EXIT
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
