#!/usr/bin/env bash
# qorcfg.exe under Wine: `show --json` of the default file with a message and a list line
# prints JSON that parses and holds the file's fields, with its Japanese text as UTF-8.
# Then, under a Western code page (1252), a file in a folder with a Japanese name is
# changed through --file, exported to a file with a Japanese name, and restored. Last, a
# native program holding the save's lock keeps it out.
set -euo pipefail
exe="$1"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Data"
# The default file with F1 = "テスト" (CP932 83 65 83 58 83 67) sent to the team and
# one denied pattern 10.*.*.1.
python3 -B - "$root/tests/support" "$work/Data/GameConfig.dat" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import config_file
data = config_file.build(denied=[config_file.pattern("10.*.*.1")],
                         messages=[config_file.message(bytes.fromhex("836583588367"), 1)])
open(sys.argv[2], "wb").write(data)
PY
cd "$work"
"$root/scripts/wine-run" "$exe" show --json > out.json
python3 - out.json <<'PY'
import json, sys
doc = json.load(open(sys.argv[1], encoding="utf-8"))
assert doc["version"] == 272, doc["version"]
assert doc["size"] == 560, doc["size"]
assert doc["denied"] == ["10.*.*.1"], doc["denied"]
assert doc["messages"][0] == {"key": "F1", "text": "テスト", "target": {"value": 1, "meaning": "own team"}}, doc["messages"][0]
assert doc["players"][1]["key_map"] == list(range(10))
assert doc["options"]["bgm_volume"]["value"] == -1600
print("qorcfg.exe show --json: ok")
PY

# Paths with characters the system code page lacks reach the right files.
mkdir -p "$work/ゲーム/Data"
cp "$work/Data/GameConfig.dat" "$work/ゲーム/Data/GameConfig.dat"
QOR_WINE_LOCALE=en_US.UTF-8 "$root/scripts/wine-run" "$exe" --file 'ゲーム/Data/GameConfig.dat' add denied 1.2.3.4
QOR_WINE_LOCALE=en_US.UTF-8 "$root/scripts/wine-run" "$exe" --file 'ゲーム/Data/GameConfig.dat' export denied '一覧.txt'
[ "$(tr -d '\r' < "$work/一覧.txt")" = "$(printf '10.*.*.1\n1.2.3.4')" ] || { echo "FAIL: export read '$(cat "$work/一覧.txt")'" >&2; exit 1; }
[ -f "$work/ゲーム/Data/GameConfig.dat.bak" ] || { echo "FAIL: no backup beside the file named" >&2; exit 1; }
[ "$(ls "$work/ゲーム/Data" | grep -vx 'GameConfig.dat.lock')" = "$(printf 'GameConfig.dat\nGameConfig.dat.bak')" ] || { echo "FAIL: Data holds $(ls "$work/ゲーム/Data")" >&2; exit 1; }
echo "qorcfg.exe with Japanese paths under code page 1252: ok"

# restore puts the file from before the add back, and the added one becomes the backup.
QOR_WINE_LOCALE=en_US.UTF-8 "$root/scripts/wine-run" "$exe" --file 'ゲーム/Data/GameConfig.dat' restore
cmp -s "$work/Data/GameConfig.dat" "$work/ゲーム/Data/GameConfig.dat" || { echo "FAIL: restore did not bring the file back" >&2; exit 1; }
QOR_WINE_LOCALE=en_US.UTF-8 "$root/scripts/wine-run" "$exe" --file 'ゲーム/Data/GameConfig.dat.bak' list denied > bak.txt
[ "$(tr -d '\r' < bak.txt)" = "$(printf '10.*.*.1\n1.2.3.4')" ] || { echo "FAIL: the backup after restore lists '$(cat bak.txt)'" >&2; exit 1; }
echo "qorcfg.exe restore: ok"

# A native program's lock on the save's lock file (an fcntl lock of the byte Windows
# programs lock) keeps qorcfg.exe out: it waits, then says "try again" and changes nothing.
before=$(md5sum < "$work/Data/GameConfig.dat")
python3 - "$root/scripts/wine-run" "$exe" "$work" <<'PY'
import fcntl, os, subprocess, sys
wine_run, exe, work = sys.argv[1:]
os.chdir(work)
fd = os.open("Data/GameConfig.dat.lock", os.O_RDWR | os.O_CREAT)
fcntl.lockf(fd, fcntl.LOCK_EX | fcntl.LOCK_NB, 1, 0x7ffffff0)
# In the English face: the session's Japanese locale would choose the Japanese one.
r = subprocess.run([wine_run, exe, "add", "denied", "1.2.3.4"], capture_output=True, text=True,
                   env=dict(os.environ, QORCFG_LANG="en"))
assert r.returncode == 75, (r.returncode, r.stderr)
assert "try again" in r.stderr, r.stderr
PY
[ "$(md5sum < "$work/Data/GameConfig.dat")" = "$before" ] || { echo "FAIL: the file changed while another program held the lock" >&2; exit 1; }
echo "qorcfg.exe waits for a native program's lock: ok"
