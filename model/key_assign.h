// Key-map edits of the key configuration page that need no window: the rows, the
// slot each row shows, assigning a captured button, and the label text of a slot.
#pragma once

#include <cstddef>
#include <cstdint>

#include "config/game_config.h"

// Nine rows on the page; slot 8 of the ten belongs to no row.
inline constexpr int kKeyRows = 9;

// A capture reads buttons 0 to 11 of the first controller.
inline constexpr std::uint8_t kCaptureButtons = 12;

// One row of the key configuration page: the KeyMap slot it shows, its caption on the
// page (CP932, as qorcfg shows it; the page itself shows its template's) and its action
// in English, which the page's English face and qorcfg both show.
struct KeyRow {
    std::uint8_t slot;
    const char* caption;
    const char* action;
};

// The page's rows top to bottom, then slot 8, which no row shows (its caption is empty):
// the map carries it unchanged.
inline constexpr int kKeySlotRows = kKeyRows + 1;
extern const KeyRow key_rows[kKeySlotRows];

// Puts `button` into `slot`. Whichever other slot (of all ten) held `button` takes the
// slot's former button, so a map that holds each button once keeps that property.
void AssignButton(KeyMap& map, std::size_t slot, std::uint8_t button);

// "KEY n" with n the stored button number plus one, for any stored byte.
inline constexpr std::size_t kKeyLabelBytes = 8;  // "KEY 256" and the NUL
struct KeyLabel {
    char text[kKeyLabelBytes];
};
KeyLabel FormatKeyLabel(std::uint8_t button);

// The label text of `row` for the given map.
KeyLabel RowLabel(const KeyMap& map, int row);
