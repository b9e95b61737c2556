// The two sets of defaults: what each leaves alone matters as much as what it sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "config/config_codec.h"
#include "config/game_config.h"
#include "support/config_layout.h"

namespace {

GameConfig Unusual() {
    GameConfig c;
    ClearConfig(c);
    std::memset(&c.options, 0x5a, sizeof c.options);
    c.options.key_map[0] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    c.options.input_method[1] = 1;
    std::strcpy(c.connect_id, "someone");
    c.connect_addresses[3] = ConnectAddress{{1, 2, 3, 4}};
    c.opaque_word_1 = 7;
    c.allowed_only = 1;
    c.allowed_patterns.push_back(AddressPattern{{1, 2, 3, 256}});
    c.denied_patterns.push_back(AddressPattern{{4, 3, 2, 1}});
    c.opaque_records.resize(3);
    c.opaque_word_2 = 9;
    std::strcpy(c.function_messages[2].text, "hi");
    c.function_messages[2].target = 1;
    return c;
}

}  // namespace

TEST(GameConfigDefaults, FullDefaultsKeepInputMethodsKeyMapsAndGaps) {
    GameConfig c = Unusual();
    SetConfigDefaults(c);
    const OptionBlock& o = c.options;
    EXPECT_EQ(o.key_map[0], (KeyMap{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(o.input_method[1], 1);
    EXPECT_EQ(o.input_method[0], 0x5a5a5a5a);
    EXPECT_EQ(o.gap_after_screen_size[0], 0x5a);
    EXPECT_EQ(o.gap_after_difficulty[2], 0x5a);
    EXPECT_EQ(o.extra_option, 0);
    EXPECT_EQ(o.screen_size, 0);
    EXPECT_EQ(o.fps_60, 1);
    EXPECT_EQ(o.bgm_volume, -1600);
    EXPECT_EQ(o.voice_volume, 0);
    EXPECT_EQ(o.story_difficulty, 1);
    EXPECT_EQ(o.loading_illustration, 3);
    EXPECT_STREQ(c.connect_id, "");
    EXPECT_EQ(c.connect_addresses[3].octets[0], 0);
    EXPECT_EQ(c.opaque_word_1, 0u);
    EXPECT_EQ(c.allowed_only, 0);
    EXPECT_TRUE(c.allowed_patterns.empty());
    EXPECT_TRUE(c.denied_patterns.empty());
    EXPECT_TRUE(c.opaque_records.empty());
    EXPECT_EQ(c.opaque_word_2, 0u);
    EXPECT_EQ(c.function_messages[2].target, 0);
}

// Reset gives the thirteen fields of the options page the values a new file has (the
// hand-written default file) and leaves every other byte of the file as it was.
TEST(GameConfigDefaults, OptionResetTouchesOnlyTheOptionsPageFields) {
    GameConfig c = Unusual();
    std::vector<std::uint8_t> before, after;
    ASSERT_TRUE(EncodeConfig(c, before));
    ResetOptionPage(c);
    ASSERT_TRUE(EncodeConfig(c, after));
    const struct {
        std::size_t at, width;  // in the option block
    } page_fields[] = {{0, 1},  {4, 4},  {8, 4},  {12, 4}, {16, 4}, {20, 4}, {28, 4},
                       {32, 4}, {36, 4}, {68, 1}, {72, 4}, {76, 4}, {80, 4}};
    const std::vector<std::uint8_t>& fresh = config_layout::DefaultFile();
    std::vector<std::uint8_t> expected = before;
    for (const auto& f : page_fields) {
        const std::size_t at = config_layout::kOptionsAt + f.at;
        std::copy_n(fresh.begin() + static_cast<std::ptrdiff_t>(at), f.width,
                    expected.begin() + static_cast<std::ptrdiff_t>(at));
    }
    EXPECT_EQ(after, expected);
}

namespace {

// Clearing leaves nothing of what a record held: every byte of the file it encodes, past
// the version, is zero, and its lists and records are empty.
TEST(GameConfigClear, EveryItemOfTheFileIsCleared) {
    GameConfig c = Unusual();
    std::memset(c.connect_id, 0x33, sizeof c.connect_id);
    std::memset(c.connect_addresses, 0x44, sizeof c.connect_addresses);
    std::memset(c.function_messages, 0x55, sizeof c.function_messages);
    ClearConfig(c);
    EXPECT_TRUE(c.allowed_patterns.empty() && c.denied_patterns.empty() && c.opaque_records.empty());
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(EncodeConfig(c, bytes));
    ASSERT_EQ(bytes.size(), config_layout::FileSize());
    const auto nonzero = std::find_if(bytes.begin() + 2, bytes.end(), [](std::uint8_t b) { return b != 0; });
    EXPECT_EQ(nonzero, bytes.end()) << "byte " << (nonzero - bytes.begin());
}

// What `check` says a file of an older version is read with, item by item.
TEST(GameConfigClear, AnOlderVersionIsReadWithWhatItLacksInWords) {
    const struct {
        std::uint16_t version;
        const char* text;
    } rows[] = {
        {259,
         "story_difficulty 1, movie_playback 1, run_when_inactive 0, loading_illustration 3, allowed-only off, "
         "an empty allowed list, an empty denied list, no opaque records, opaque word 2 zero and empty messages"},
        {261, "loading_illustration 3, no opaque records, opaque word 2 zero and empty messages"},
        {271, "no opaque records, opaque word 2 zero and empty messages"},
        {272, ""},
    };
    for (const auto& row : rows) EXPECT_EQ(MigrationDefaultsText(row.version), row.text) << row.version;
}

}  // namespace
