// The configuration record's defaults and its lifetime.
#include "config/game_config.h"

#include <cstring>

#include "config/config_codec.h"

GameConfig game_config;

namespace {

// Sets the fields the options page's reset restores to their full defaults, and with
// `full` the other fields that have one as well.
void ApplyOptionDefaults(OptionBlock& o, bool full) {
    for (int id = 0; id < kOptionFieldCount; ++id) {
        const OptionField& field = option_fields[id];
        if (field.defaulted == OptionDefault::kReset || (full && field.defaulted == OptionDefault::kFull))
            SetOptionFieldValue(o, static_cast<OptionFieldId>(id), field.full_default);
    }
}

std::uint8_t* FieldBytes(OptionBlock& block, OptionFieldId field) {
    return reinterpret_cast<std::uint8_t*>(&block) + option_fields[field].offset;
}

}  // namespace

std::int32_t OptionFieldValue(const OptionBlock& block, OptionFieldId field) {
    const std::uint8_t* at = reinterpret_cast<const std::uint8_t*>(&block) + option_fields[field].offset;
    if (option_fields[field].width == 1) return *at;
    std::int32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void SetOptionFieldValue(OptionBlock& block, OptionFieldId field, std::int32_t value) {
    if (option_fields[field].width == 1)
        *FieldBytes(block, field) = static_cast<std::uint8_t>(value);
    else
        std::memcpy(FieldBytes(block, field), &value, sizeof value);
}

KeyMap IdentityKeyMap() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}; }

void ClearConfig(GameConfig& config) {
    for (const FileItem& item : file_items) {
        switch (item.kind) {
            case FileItemKind::kVersion: break;
            case FileItemKind::kOptionBlock: std::memset(&config.options, 0, sizeof config.options); break;
            case FileItemKind::kBytes:
            case FileItemKind::kWord: std::memset(item.at(config), 0, item.size); break;
            case FileItemKind::kList:
                if (item.list == FileList::kRecords) config.opaque_records.clear();
                else if (item.list == FileList::kAllowed) config.allowed_patterns.clear();
                else config.denied_patterns.clear();
                break;
        }
    }
}

void SetConfigDefaults(GameConfig& config) {
    // Everything outside the option block is cleared; inside it, the input methods, the
    // key maps and the gap bytes keep their values.
    const OptionBlock kept = config.options;
    ClearConfig(config);
    config.options = kept;
    ApplyOptionDefaults(config.options, true);
}

void NewFileConfig(GameConfig& config) {
    ClearConfig(config);
    SetConfigDefaults(config);
    for (int player = 0; player < 2; ++player) {
        config.options.input_method[player] = 0;
        config.options.key_map[player] = IdentityKeyMap();
    }
}

void ResetOptionPage(GameConfig& config) { ApplyOptionDefaults(config.options, false); }

void ReleaseConfig(GameConfig& config) {
    // Swapping with empty vectors gives the memory back, not just the elements.
    std::vector<AddressPattern>().swap(config.allowed_patterns);
    std::vector<AddressPattern>().swap(config.denied_patterns);
    std::vector<OpaqueRecord>().swap(config.opaque_records);
}
