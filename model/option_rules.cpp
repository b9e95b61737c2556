// The options' value sets, their normalisation and their meanings.
#include "model/option_rules.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* const kSizes[] = {"640x480", "800x600", "1024x768"};
const char* const kOnOff[] = {"on", "off"};
const char* const kFrameRates[] = {"60 frames per second", "30 frames per second"};
const char* const kBarriers[] = {"stage barrier around the character", "stage barrier always shown"};
const char* const kDifficulties[] = {"Easy", "Normal", "Hard", "Nightmare"};
const char* const kLoading[] = {"default", "illustrations", "all"};

constexpr OptionRule Choice(const char* name, std::uint8_t OptionBlock::*byte_field,
                            std::int32_t OptionBlock::*int_field, std::int32_t first, int buttons,
                            const char* const* meanings) {
    return {name, OptionKind::kChoice, int_field, byte_field, first, buttons, meanings};
}

constexpr OptionRule OnOff(const char* name, std::int32_t OptionBlock::*field, const char* const* meanings = kOnOff) {
    return {name, OptionKind::kOnOff, field, nullptr, 0, 2, meanings};
}

constexpr OptionRule Volume(const char* name, std::int32_t OptionBlock::*field) {
    return {name, OptionKind::kVolume, field, nullptr, 0, 0, nullptr};
}

}  // namespace

const OptionRule option_rules[kOptionRuleCount] = {
    Choice("screen_size", &OptionBlock::screen_size, nullptr, 0, 3, kSizes),
    OnOff("full_screen", &OptionBlock::full_screen),
    OnOff("fps_60", &OptionBlock::fps_60, kFrameRates),
    OnOff("barrier_near_character", &OptionBlock::barrier_near_character, kBarriers),
    OnOff("reduce_load", &OptionBlock::reduce_load),
    OnOff("screen_shake", &OptionBlock::screen_shake),
    {"extra_option", OptionKind::kCarried, &OptionBlock::extra_option, nullptr, 0, 0, nullptr},
    Volume("bgm_volume", &OptionBlock::bgm_volume),
    Volume("se_volume", &OptionBlock::se_volume),
    Volume("voice_volume", &OptionBlock::voice_volume),
    Choice("story_difficulty", &OptionBlock::story_difficulty, nullptr, 0, 4, kDifficulties),
    OnOff("movie_playback", &OptionBlock::movie_playback),
    OnOff("run_when_inactive", &OptionBlock::run_when_inactive),
    Choice("loading_illustration", nullptr, &OptionBlock::loading_illustration, 1, 3, kLoading),
};

std::int32_t OptionValue(const OptionBlock& options, const OptionRule& rule) {
    return rule.byte_field ? options.*rule.byte_field : options.*rule.int_field;
}

// One-byte fields are written as one byte: the gap bytes after them are not ours.
void SetOptionValue(OptionBlock& options, const OptionRule& rule, std::int32_t value) {
    if (rule.byte_field)
        options.*rule.byte_field = static_cast<std::uint8_t>(value);
    else
        options.*rule.int_field = value;
}

int OptionButton(const OptionRule& rule, std::int32_t stored) {
    if (rule.kind == OptionKind::kOnOff) return stored != 0 ? 0 : 1;
    // Compared before subtracting, so a damaged value near the integer limits cannot overflow.
    const bool in_set = stored >= rule.first_value && stored <= rule.first_value + rule.buttons - 1;
    return in_set ? static_cast<int>(stored - rule.first_value) : rule.buttons - 1;
}

std::int32_t OptionButtonValue(const OptionRule& rule, int button) {
    if (rule.kind == OptionKind::kOnOff) return button == 0 ? 1 : 0;
    return rule.first_value + button;
}

std::int32_t SavedOptionValue(const OptionRule& rule, std::int32_t stored) {
    switch (rule.kind) {
    case OptionKind::kChoice:
    case OptionKind::kOnOff: return OptionButtonValue(rule, OptionButton(rule, stored));
    case OptionKind::kVolume: return std::clamp(stored, kLowestVolume, kHighestVolume);
    case OptionKind::kCarried: break;
    }
    return stored;
}

std::string OptionMeaning(const OptionRule& rule, std::int32_t stored) {
    switch (rule.kind) {
    case OptionKind::kChoice:
    case OptionKind::kOnOff: return rule.meanings[OptionButton(rule, stored)];
    case OptionKind::kVolume: {
        char meaning[64];
        std::snprintf(meaning, sizeof meaning, "slider at %d of 10000",
                      static_cast<int>(SavedOptionValue(rule, stored) - kLowestVolume));
        return meaning;
    }
    case OptionKind::kCarried: break;
    }
    return "on no page; carried unchanged";
}
