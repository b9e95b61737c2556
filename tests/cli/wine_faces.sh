#!/usr/bin/env bash
# qorcfg.exe's face under Wine, as Windows chooses it: QORCFG_LANG over all, then the
# window's remembered choice (HKCU\Software\QORConfig, Language), then the user's UI
# language (the session's locale). Its words reach a redirected file whole (in the
# console's code page, or UTF-8 where that is UTF-8 or cannot hold them) and a console
# (a terminal, through Wine's console).
set -euo pipefail
exe="$1"
root=$(cd "$(dirname "$0")/../.." && pwd)
run="$root/scripts/wine-run"
work=$(mktemp -d)
forget() { "$run" reg delete 'HKCU\Software\QORConfig' /v Language /f >/dev/null 2>&1 || true; }
trap 'forget; rm -rf "$work"' EXIT
cd "$work"
mkdir Data
fail() { echo "FAIL: $*" >&2; exit 1; }
english='unknown command frob'
japanese='不明なコマンド frob'

# What qorcfg.exe frob said on standard error, as text.
said() { python3 -c '
import sys
data = open(sys.argv[1], "rb").read()
for encoding in ("utf-8", "cp932"):
    try:
        print(data.decode(encoding)); break
    except UnicodeDecodeError:
        pass
else:
    print("undecodable: %r" % data)' err.txt; }

# locale, QORCFG_LANG, remembered choice, the face expected
while read -r locale face remembered expected; do
  forget
  [ "$remembered" = - ] || "$run" reg add 'HKCU\Software\QORConfig' /v Language /d "$remembered" /f >/dev/null
  status=0
  if [ "$face" = - ]; then chosen=(env -u QORCFG_LANG); else chosen=(env QORCFG_LANG="$face"); fi
  "${chosen[@]}" QOR_WINE_LOCALE="$locale" "$run" "$exe" frob 2>err.txt || status=$?
  [ "$status" = 2 ] || fail "$locale $face $remembered: exit $status"
  grep -qF "${!expected}" <(said) || fail "$locale QORCFG_LANG=$face remembered $remembered: said '$(said)', not in $expected"
done <<'ROWS'
ja_JP.UTF-8 - - japanese
en_US.UTF-8 - - english
en_US.UTF-8 ja - japanese
ja_JP.UTF-8 en - english
ja_JP.UTF-8 - en english
en_US.UTF-8 - ja japanese
en_US.UTF-8 en ja english
ROWS
echo "qorcfg.exe chooses its face as Windows does: ok"

# A console: script gives Wine a terminal, which Wine's console writes to.
forget
env -u QORCFG_LANG script -qec "'$run' '$exe' frob" tty.txt >/dev/null || true
grep -qF "$japanese" tty.txt || fail "the console showed '$(cat tty.txt)'"
echo "qorcfg.exe's Japanese in a console: ok"
