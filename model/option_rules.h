// The rules of the option block as the window shows and saves it, for the options page
// and for qorcfg alike: each field's value set, what a value outside it shows as and is
// saved as, and what each value means.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "config/game_config.h"

enum class OptionKind {
    kChoice,   // a radio group over consecutive values; outside them, the last button
    kOnOff,    // a pair of radio buttons: "on" for any non-zero value, then "off" for 0
    kVolume,   // a slider over kLowestVolume..kHighestVolume
    kCarried,  // on no page: kept as it is
};

struct OptionRule {
    OptionFieldId field;                     // its row of the option block: name, place, defaults
    OptionKind kind;
    std::int32_t first_value;                // a choice's values: first_value, first_value + 1, ...
    int buttons;                             // radio buttons: a choice's values, or 2 for on and off
    const char* const* meanings;             // English, by button (the English face's own words
                                             // where it has any); null for a volume or carried field
};

// The value fields' rules in the order of the block, which is also the options page's
// order; the input methods, shown on the key page, have none.
extern const std::span<const OptionRule> option_rules;

// The rule of a value field that has one.
const OptionRule& OptionRuleOf(OptionFieldId field);

// Volumes run from -10000 (lowest) to 0 (highest).
inline constexpr std::int32_t kLowestVolume = -10000;
inline constexpr std::int32_t kHighestVolume = 0;

// The field's name in qorcfg's output.
const char* OptionName(const OptionRule& rule);
std::int32_t OptionValue(const OptionBlock& options, const OptionRule& rule);
void SetOptionValue(OptionBlock& options, const OptionRule& rule, std::int32_t value);

// The radio button (0 = the first) a stored value shows as, and the value a button saves.
int OptionButton(const OptionRule& rule, std::int32_t stored);
std::int32_t OptionButtonValue(const OptionRule& rule, int button);

// What the window's next save stores for a stored value: the value of the button it
// shows as, a volume held within its range, a carried value as it is.
std::int32_t SavedOptionValue(const OptionRule& rule, std::int32_t stored);

// What the window shows for a stored value, in English words.
std::string OptionMeaning(const OptionRule& rule, std::int32_t stored);
