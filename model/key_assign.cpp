// Key-map assignment and the key labels.
#include "model/key_assign.h"

#include <cstdio>

const KeyRow key_rows[kKeySlotRows] = {
    {3, "攻撃・魔力技１", "Attack/Skill 1"},
    {0, "魔力弾・魔力技２/決定", "Shot/Skill 2/OK"},
    {1, "ガード・魔力技３/キャンセル", "Guard/Skill 3/Cancel"},
    {2, "ダッシュ", "Dash"},
    {4, "魔力溜め・魔力技トリガー", "Charge/Skill trigger"},
    {5, "ターゲット変更", "Target"},
    {7, "上昇", "Rise"},
    {6, "下降", "Fall"},
    {9, "メニュー", "Menu"},
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
