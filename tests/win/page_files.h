// Configuration files for the page tests, with something in the bytes no page shows, so
// that a save which disturbs one of them is caught.
#pragma once

#include <cstdint>
#include <vector>

#include "support/config_layout.h"
#include "support/scratch_dir.h"

namespace page_files {

// An option block with a value in its set for every field and something in every byte
// no page shows: both gaps, extra_option, the input methods and both key maps.
inline std::vector<std::uint8_t> UnusualOptionBlock() {
    return testing_support::Hex(
        "01 a1a2a3"                         // screen_size 1 (800x600), gap
        "01000000 00000000 00000000"        // full_screen on, fps 30, barrier always shown
        "01000000 00000000"                 // reduce_load on, screen_shake off
        "78563412"                          // extra_option 0x12345678
        "18fcffff f0d8ffff 00000000"        // bgm -1000, se -10000, voice 0
        "01000000 00000000"                 // input methods: keyboard, joypad
        "0b0a0908070605040302"              // key map 1P
        "05050505050505050505"              // key map 2P
        "03 b1b2b3"                         // story_difficulty 3 (Nightmare), gap
        "00000000 01000000 02000000");      // movie off, inactive on, loading 2
}

// A version-272 file around the given option block (84 bytes) and message items
// (336 bytes), with an ID, one address and the lists empty.
inline std::vector<std::uint8_t> File272(const std::vector<std::uint8_t>& options,
                                         const std::vector<std::uint8_t>& messages) {
    config_layout::FileParts file;
    file.options = options;
    file.connect_id = config_layout::IdField("ID");
    file.connect[0] = {10, 0, 0, 1};
    file.opaque_word_1 = 0x01020304;
    file.opaque_word_2 = 0x0a0b0c0d;
    file.messages = messages;
    return file.Bytes();
}

}  // namespace page_files
