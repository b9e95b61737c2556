#!/usr/bin/env bash
# The README's two commands: they stand in a code block within its first 40 lines, they
# and the set-up they share are executable, and the set-up is idempotent: run again on
# the machine it prepared, it installs nothing, prints nothing and leaves the Wine prefix
# as it was. (The build itself is not run again here: scripts/test just ran it.)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

first_screen=$(head -n 40 README.md | awk '/^```/ {inside = !inside; next} inside')
for command in scripts/run scripts/test; do
  grep -qE "^$command( |$)" <<<"$first_screen" || fail "README.md's first 40 lines hold no '$command' in a code block"
  [ -x "$command" ] || fail "$command is not executable"
done
[ -x scripts/setup ] || fail "scripts/setup is not executable"
for command in scripts/run scripts/test; do
  grep -q '"$root/scripts/setup"' "$command" || fail "$command does not run scripts/setup"
done

prefix_state() { cat build/wineprefix/*.reg 2>/dev/null | md5sum; }
# The Wine server of a test that ran just before saves the registry when it ends: wait
# for that, so that only what setup itself does is compared.
WINEPREFIX="$root/build/wineprefix" timeout 30 /usr/lib/wine/wineserver -w 2>/dev/null
before=$(prefix_state)
for what in test run; do
  output=$(scripts/setup "$what" 2>&1)
  status=$?
  [ "$status" = 0 ] || fail "scripts/setup $what exited $status: $output"
  [ -z "$output" ] || fail "scripts/setup $what on a prepared machine said: $output"
done
[ "$(prefix_state)" = "$before" ] || fail "scripts/setup changed the prepared Wine prefix"

[ "$failures" = 0 ] || exit 1
echo "setup: the two commands stand in the README's first screen; scripts/setup is idempotent"
