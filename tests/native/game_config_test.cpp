// The two sets of defaults: what each leaves alone matters as much as what it sets.
#include <gtest/gtest.h>

#include <cstring>

#include "config/game_config.h"

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

TEST(GameConfigDefaults, OptionResetTouchesOnlyTheOptionsPageFields) {
    GameConfig c = Unusual();
    ResetOptionPage(c);
    const OptionBlock& o = c.options;
    // The thirteen fields of the options page.
    EXPECT_EQ(o.screen_size, 0);
    EXPECT_EQ(o.full_screen, 0);
    EXPECT_EQ(o.fps_60, 1);
    EXPECT_EQ(o.barrier_near_character, 1);
    EXPECT_EQ(o.reduce_load, 0);
    EXPECT_EQ(o.screen_shake, 1);
    EXPECT_EQ(o.bgm_volume, -1600);
    EXPECT_EQ(o.se_volume, -1600);
    EXPECT_EQ(o.voice_volume, 0);
    EXPECT_EQ(o.story_difficulty, 1);
    EXPECT_EQ(o.movie_playback, 1);
    EXPECT_EQ(o.run_when_inactive, 0);
    EXPECT_EQ(o.loading_illustration, 3);
    // Everything else as it was.
    EXPECT_EQ(o.extra_option, 0x5a5a5a5a);
    EXPECT_EQ(o.input_method[1], 1);
    EXPECT_EQ(o.key_map[0], (KeyMap{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(o.gap_after_screen_size[1], 0x5a);
    EXPECT_STREQ(c.connect_id, "someone");
    EXPECT_EQ(c.allowed_only, 1);
    EXPECT_EQ(c.allowed_patterns.size(), 1u);
    EXPECT_EQ(c.denied_patterns.size(), 1u);
    EXPECT_EQ(c.opaque_records.size(), 3u);
    EXPECT_STREQ(c.function_messages[2].text, "hi");
    EXPECT_EQ(c.function_messages[2].target, 1);
}
