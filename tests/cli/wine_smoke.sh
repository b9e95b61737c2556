#!/usr/bin/env bash
# qorcfg.exe under Wine: `show --json` of a file written out by hand prints JSON that
# parses and holds the file's fields, with its Japanese text as UTF-8.
set -euo pipefail
exe="$1"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Data"
# The default file with F1 = "テスト" (CP932 83 65 83 58 83 67) sent to the team and
# one denied pattern 10.*.*.1.
python3 - "$root/tests/fixtures/default_config.hex" "$work/Data/GameConfig.dat" <<'PY'
import re, sys
text = "".join(line.split("#", 1)[0] for line in open(sys.argv[1], encoding="utf-8"))
data = bytearray(bytes.fromhex(re.sub(r"\s+", "", text)))
assert len(data) == 552
data[216:216 + 6] = bytes.fromhex("836583588367")
data[216 + 41] = 1
data[209:211] = bytes.fromhex("0100")
data[211:211] = bytes.fromhex("0a00 0001 0001 0100".replace(" ", ""))
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
