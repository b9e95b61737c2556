// The option rules the options page and qorcfg share: a save normalises once and for all.
#include <gtest/gtest.h>

#include <climits>

#include "config/config_codec.h"
#include "model/option_rules.h"

namespace {

TEST(OptionRules, ASavedValueSavesAsItselfAndEveryValueOfTheSetIsKept) {
    for (const OptionRule& rule : option_rules) {
        SCOPED_TRACE(OptionName(rule));
        for (std::int32_t value : {INT_MIN, -10001, -10000, -1, 0, 1, 2, 3, 4, 255, 256, INT_MAX}) {
            if (option_fields[rule.field].width == 1 && (value < 0 || value > 255)) continue;
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

TEST(OptionRules, MigrationsNameTheFieldsTheySetInWords) {
    const struct {
        std::uint16_t version;
        const char* text;
    } cases[] = {
        {259, "story_difficulty 1, movie_playback 1, run_when_inactive 0, loading_illustration 3, allowed-only off, "
              "empty allowed and denied lists, no opaque records and empty messages"},
        {260, "run_when_inactive 0, loading_illustration 3, no opaque records and empty messages"},
        {261, "loading_illustration 3, no opaque records and empty messages"},
        {271, "no opaque records and empty messages"},
    };
    for (const auto& c : cases) EXPECT_EQ(MigrationDefaultsText(c.version), c.text) << c.version;
}

}  // namespace
