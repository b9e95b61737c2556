// The configuration file on disk: creation with defaults, version handling, failures.
#include <gtest/gtest.h>

#include "config/config_file.h"
#include "config/game_config.h"
#include "support/scratch_dir.h"

using testing_support::Hex;
using testing_support::MessageRecorder;
using testing_support::ScratchGameFolder;

namespace {

// The file a start without a configuration creates, written out by hand from the file
// layout: version 272, the option block with its defaults, then the empty rest.
std::vector<std::uint8_t> DefaultFileBytes() {
    std::string hex =
        "1001"                              // version 272
        "00 000000"                         // screen_size 0, gap
        "00000000 01000000 01000000"        // full_screen 0, fps_60 1, barrier 1
        "00000000 01000000 00000000"        // reduce_load 0, screen_shake 1, extra 0
        "c0f9ffff c0f9ffff 00000000"        // bgm -1600, se -1600, voice 0
        "00000000 00000000"                 // input methods: joypad
        "00010203040506070809"              // key map 1P
        "00010203040506070809"              // key map 2P
        "01 000000"                         // story_difficulty 1, gap
        "01000000 00000000 03000000";       // movie 1, inactive 0, loading 3
    hex += std::string(17 * 2, '0');        // connect_id
    hex += std::string(96 * 2, '0');        // connect addresses
    hex += "00000000 00000000";             // opaque_word_1, allowed_only
    hex += "0000 0000 00";                  // allowed count, denied count, record count
    hex += "00000000";                      // opaque_word_2
    hex += std::string(336 * 2, '0');       // function messages
    return Hex(hex);
}

}  // namespace

TEST(ConfigFile, MissingFileIsCreatedWithTheDefaultBytes) {
    ScratchGameFolder folder;
    MessageRecorder messages;
    game_config.options.input_method[0] = 1;  // must not leak into the new file
    ASSERT_TRUE(LoadConfig());
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"コンフィグファイルが読み込めませんでした\n新規作成します"});
    std::vector<std::uint8_t> expected = DefaultFileBytes();
    ASSERT_EQ(expected.size(), 552u);
    EXPECT_EQ(folder.ReadConfig(), expected);
    EXPECT_EQ(game_config.options.input_method[0], 0);
    EXPECT_EQ(game_config.options.key_map[1], IdentityKeyMap());
    EXPECT_EQ(game_config.options.loading_illustration, 3);
}
