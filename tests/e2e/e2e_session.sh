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
