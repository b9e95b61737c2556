// Key-map assignment and the key labels.
#include "ui/key_assign.h"

#include <cstdio>

const std::uint8_t key_row_slots[kKeyRows] = {3, 0, 1, 2, 4, 5, 7, 6, 9};

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

KeyLabel RowLabel(const KeyMap& map, int row) { return FormatKeyLabel(map[key_row_slots[row]]); }
