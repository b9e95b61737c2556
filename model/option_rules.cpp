// The options' value sets, their normalisation and their meanings.
#include "model/option_rules.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* const kSizes[] = {"640x480", "800x600", "1024x768"};
const char* const kOnOff[] = {"on", "off"};
const char* const kFrameRates[] = {"60 frames per second", "30 frames per second"};
const char* const kBarriers[] = {"Nearby", "Always"};
const char* const kDifficulties[] = {"Easy", "Normal", "Hard", "Nightmare"};
const char* const kLoading[] = {"Default", "Pictures", "All"};

constexpr OptionRule Choice(OptionFieldId field, std::int32_t first, int buttons, const char* const* meanings) {
    return {field, OptionKind::kChoice, first, buttons, meanings};
}

constexpr OptionRule OnOff(OptionFieldId field, const char* const* meanings = kOnOff) {
    return {field, OptionKind::kOnOff, 0, 2, meanings};
}

constexpr OptionRule Volume(OptionFieldId field) { return {field, OptionKind::kVolume, 0, 0, nullptr}; }

const OptionRule kRules[] = {
    Choice(kScreenSizeField, 0, 3, kSizes),
    OnOff(kFullScreenField),
    OnOff(kFps60Field, kFrameRates),
    OnOff(kBarrierField, kBarriers),
    OnOff(kReduceLoadField),
    OnOff(kScreenShakeField),
    {kExtraOptionField, OptionKind::kCarried, 0, 0, nullptr},
    Volume(kBgmVolumeField),
    Volume(kSeVolumeField),
    Volume(kVoiceVolumeField),
    Choice(kDifficultyField, 0, 4, kDifficulties),
    OnOff(kMovieField),
    OnOff(kInactiveField),
    Choice(kLoadingField, 1, 3, kLoading),
};

}  // namespace

const std::span<const OptionRule> option_rules = kRules;

const OptionRule& OptionRuleOf(OptionFieldId field) {
    for (const OptionRule& rule : kRules)
        if (rule.field == field) return rule;
    return kRules[0];  // every field the pages show has its row
}

const char* OptionName(const OptionRule& rule) { return option_fields[rule.field].name; }

std::int32_t OptionValue(const OptionBlock& options, const OptionRule& rule) {
    return OptionFieldValue(options, rule.field);
}

void SetOptionValue(OptionBlock& options, const OptionRule& rule, std::int32_t value) {
    SetOptionFieldValue(options, rule.field, value);
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
