// The configuration record's defaults and its lifetime.
#include "config/game_config.h"

#include <cstring>

GameConfig game_config;

namespace {

// The option values a player gets back from "reset", and a new file gets as well.
void ApplyOptionDefaults(OptionBlock& o) {
    o.screen_size = 0;
    o.full_screen = 0;
    o.fps_60 = 1;
    o.barrier_near_character = 1;
    o.reduce_load = 0;
    o.screen_shake = 1;
    o.bgm_volume = -1600;
    o.se_volume = -1600;
    o.voice_volume = 0;
    o.story_difficulty = 1;
    o.movie_playback = 1;
    o.run_when_inactive = 0;
    o.loading_illustration = 3;
}

}  // namespace

KeyMap IdentityKeyMap() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}; }

void ClearConfig(GameConfig& config) {
    std::memset(&config.options, 0, sizeof config.options);
    std::memset(config.connect_id, 0, sizeof config.connect_id);
    std::memset(config.connect_addresses, 0, sizeof config.connect_addresses);
    config.opaque_word_1 = 0;
    config.allowed_only = 0;
    config.allowed_patterns.clear();
    config.denied_patterns.clear();
    config.opaque_records.clear();
    config.opaque_word_2 = 0;
    std::memset(config.function_messages, 0, sizeof config.function_messages);
}

void SetConfigDefaults(GameConfig& config) {
    // Everything outside the option block is cleared; inside it, the input methods, the
    // key maps and the gap bytes keep their values.
    const OptionBlock kept = config.options;
    ClearConfig(config);
    config.options = kept;
    ApplyOptionDefaults(config.options);
    config.options.extra_option = 0;
}

void NewFileConfig(GameConfig& config) {
    ClearConfig(config);
    SetConfigDefaults(config);
    for (int player = 0; player < 2; ++player) {
        config.options.input_method[player] = 0;
        config.options.key_map[player] = IdentityKeyMap();
    }
}

void ResetOptionPage(GameConfig& config) { ApplyOptionDefaults(config.options); }

void ReleaseConfig(GameConfig& config) {
    // Swapping with empty vectors gives the memory back, not just the elements.
    std::vector<AddressPattern>().swap(config.allowed_patterns);
    std::vector<AddressPattern>().swap(config.denied_patterns);
    std::vector<OpaqueRecord>().swap(config.opaque_records);
}
