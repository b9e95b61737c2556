// Key-map assignment and the key labels.
#include "model/key_assign.h"

#include <cstdio>

const KeyRow key_rows[kKeySlotRows] = {
    {3, "攻撃・魔力技１", "attack, magic skill 1"},
    {0, "魔力弾・魔力技２/決定", "magic shot, magic skill 2, confirm"},
    {1, "ガード・魔力技３/キャンセル", "guard, magic skill 3, cancel"},
    {2, "ダッシュ", "dash"},
    {4, "魔力溜め・魔力技トリガー", "charge magic, magic skill trigger"},
    {5, "ターゲット変更", "change target"},
    {7, "上昇", "rise"},
    {6, "下降", "descend"},
    {9, "メニュー", "menu"},
    {8, "", "on no page; carried in the map"},
};

void AssignButton(KeyMap& map, std::size_t slot, std::uint8_t button) {
    const std::uint8_t old = map[slot];
    for (std::size_t k = 0; k < map.size(); ++k) {
        if (k != slot && map[k] == button) map[k] = old;
    }
    map[slot] = button;
}

KeyLabel FormatKeyLabel(std::uint8_t button) {
    KeyLabel label;
    std::snprintf(label.text, sizeof label.text, "KEY %d", button + 1);
    return label;
}

KeyLabel RowLabel(const KeyMap& map, int row) { return FormatKeyLabel(map[key_rows[row].slot]); }
