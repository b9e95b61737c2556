#!/usr/bin/env bash
# qorcfg.exe under Wine: `show --json` of the default file with a message and a list line
# prints JSON that parses and holds the file's fields, with its Japanese text as UTF-8.
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
