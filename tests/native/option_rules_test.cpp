// The option rules the options page and qorcfg share: a save normalises once and for all.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/config_codec.h"
#include "model/option_rules.h"
#include "support/config_layout.h"

namespace {

TEST(OptionRules, ASavedValueSavesAsItselfAndEveryValueOfTheSetIsKept) {
    for (const OptionRule& rule : option_rules) {
        SCOPED_TRACE(rule.name);
        for (std::int32_t value : {INT_MIN, -10001, -10000, -1, 0, 1, 2, 3, 4, 255, 256, INT_MAX}) {
            if (rule.byte_field && (value < 0 || value > 255)) continue;
            const std::int32_t saved = SavedOptionValue(rule, value);
            EXPECT_EQ(SavedOptionValue(rule, saved), saved) << value;
            EXPECT_FALSE(OptionMeaning(rule, value).empty()) << value;
        }
        for (int button = 0; button < rule.buttons; ++button) {
            const std::int32_t value = OptionButtonValue(rule, button);
            EXPECT_EQ(OptionButton(rule, value), button);
            EXPECT_EQ(SavedOptionValue(rule, value), value);
        }
    }
}

// What the window shows and saves for a stored value, from the documented fields: their
// place in the block, their value sets, and that a radio group shows a value outside its
// set as its last button, an on/off pair any non-zero value as on, a slider holds a
// volume within -10000..0, and extra_option is carried.
TEST(OptionRules, EachFieldShowsAndSavesAsDocumented) {
    const struct {
        const char* field;
        std::size_t at;  // offset in the block
        std::int32_t stored, saved;
        const char* meaning;
    } cases[] = {
        {"screen_size", 0, 1, 1, "800x600"},
        {"screen_size", 0, 3, 2, "1024x768"},
        {"full_screen", 4, 0, 0, "off"},
        {"full_screen", 4, -7, 1, "on"},
        {"fps_60", 8, 0, 0, "30 frames per second"},
        {"fps_60", 8, 2, 1, "60 frames per second"},
        {"barrier_near_character", 12, 1, 1, "stage barrier around the character"},
        {"barrier_near_character", 12, 0, 0, "stage barrier always shown"},
        {"reduce_load", 16, 1, 1, "on"},
        {"screen_shake", 20, 0, 0, "off"},
        {"extra_option", 24, 0x5a5a5a5a, 0x5a5a5a5a, "on no page; carried unchanged"},
        {"bgm_volume", 28, -1600, -1600, "slider at 8400 of 10000"},
        {"se_volume", 32, INT_MIN, -10000, "slider at 0 of 10000"},
        {"voice_volume", 36, 1, 0, "slider at 10000 of 10000"},
        {"story_difficulty", 68, 0, 0, "Easy"},
        {"story_difficulty", 68, 200, 3, "Nightmare"},
        {"movie_playback", 72, 0, 0, "off"},
        {"run_when_inactive", 76, 1, 1, "on"},
        {"loading_illustration", 80, 1, 1, "default"},
        {"loading_illustration", 80, 0, 3, "all"},
        {"loading_illustration", 80, INT_MAX, 3, "all"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + std::to_string(c.stored));
        const OptionRule* rule = nullptr;
        for (const OptionRule& r : option_rules)
            if (std::string(r.name) == c.field) rule = &r;
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(SavedOptionValue(*rule, c.stored), c.saved);
        EXPECT_EQ(OptionMeaning(*rule, c.stored), c.meaning);
        // The rule reads and writes its own field and no other byte of the block.
        OptionBlock block;
        std::memset(&block, 0, sizeof block);
        SetOptionValue(block, *rule, c.stored);
        std::uint8_t bytes[sizeof block];
        std::memcpy(bytes, &block, sizeof block);
        const std::size_t width = c.at == 0 || c.at == 68 ? 1 : 4;
        std::int32_t in_place = 0;
        std::memcpy(&in_place, bytes + c.at, width);
        EXPECT_EQ(width == 1 ? static_cast<std::int32_t>(static_cast<std::uint8_t>(in_place)) : in_place, c.stored);
        std::memset(bytes + c.at, 0, width);
        for (std::uint8_t b : bytes) EXPECT_EQ(b, 0);
        EXPECT_EQ(OptionValue(block, *rule), c.stored);
    }
}

// The words `check` prints for what a migration sets name exactly the fields an older
// version's block lacks, each with the value the decoder gives it.
TEST(OptionRules, MigrationWordsNameWhatTheDecoderSets) {
    const struct {
        std::uint16_t version;
        std::vector<std::string> missing;  // fields past the version's block
    } cases[] = {
        {259, {"story_difficulty", "movie_playback", "run_when_inactive", "loading_illustration"}},
        {260, {"run_when_inactive", "loading_illustration"}},
        {261, {"loading_illustration"}},
        {271, {}},
    };
    const std::map<std::string, std::size_t> at = {
        {"story_difficulty", 68}, {"movie_playback", 72}, {"run_when_inactive", 76}, {"loading_illustration", 80}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        config_layout::FileParts parts = config_layout::DefaultParts();
        parts.options.assign(config_layout::kOptionsBytes, 0x5a);
        GameConfig decoded;
        ClearConfig(decoded);
        ASSERT_EQ(DecodeConfig(parts.Bytes(c.version), decoded), DecodeStatus::kOk);
        std::uint8_t block[sizeof decoded.options];
        std::memcpy(block, &decoded.options, sizeof block);

        std::set<std::string> named;
        std::istringstream words(MigrationDefaultsText(c.version));
        for (std::string word; std::getline(words, word, ',');) {
            std::istringstream pair(word);
            std::string field;
            long value = 0;
            if (!(pair >> field >> value) || at.count(field) == 0) continue;
            named.insert(field);
            const std::size_t width = field == "story_difficulty" ? 1 : 4;
            std::int32_t decoded_value = 0;
            std::memcpy(&decoded_value, block + at.at(field), width);
            EXPECT_EQ(decoded_value, value) << field;
        }
        EXPECT_EQ(named, std::set<std::string>(c.missing.begin(), c.missing.end()));
    }
}

}  // namespace
