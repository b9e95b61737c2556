// Configuration files for the page tests, written out by hand from the file layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/file_builder.h"
#include "support/scratch_dir.h"

namespace page_files {

// Where things stand in a version-272 file with empty lists and no opaque records.
inline constexpr std::size_t kOptionBlockAt = 2;
inline constexpr std::size_t kMessagesAt = 216;
inline constexpr std::size_t kMessageBytes = 42;

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
    testing_support::FileBuilder file;
    file.U16(272).Raw(options);
    file.Text("ID", 17);
    file.U8(10).U8(0).U8(0).U8(1).Fill(92, 0);  // 10.0.0.1, then empty slots
    file.I32(0x01020304);                       // opaque_word_1
    file.I32(0);                                // allowed_only
    file.U16(0).U16(0).U8(0);                   // no patterns, no records
    file.I32(0x0a0b0c0d);                       // opaque_word_2
    file.Raw(messages);
    return file.bytes;
}

// One message item: the 41 text bytes exactly as given (padded with zeros), then the target.
inline std::vector<std::uint8_t> MessageItem(const std::string& text_field, std::uint8_t target) {
    testing_support::FileBuilder item;
    item.Text(text_field, 41).U8(target);
    return item.bytes;
}

inline std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at,
                                       std::size_t length) {
    if (at + length > bytes.size()) return {};
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at),
            bytes.begin() + static_cast<std::ptrdiff_t>(at + length)};
}

}  // namespace page_files
