// The table of the configuration's single values and how each is read, checked and stored.
#include "cli/config_items.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <vector>

#include "cli/report.h"
#include "cli/terminal_text.h"
#include "config/config_codec.h"
#include "model/address_text.h"
#include "model/key_assign.h"

namespace {

std::vector<ConfigItem> BuildItems() {
    std::vector<ConfigItem> items;
    for (const OptionRule& rule : option_rules) {
        const OptionField& field = option_fields[rule.field];
        const std::uint16_t since = field.missing_up_to == kEveryVersion ? 0 : field.missing_up_to + 1;
        items.push_back({field.name, ItemKind::kOption, &rule, 0, 0, since});
    }
    items.push_back({"id", ItemKind::kConnectId, nullptr, 0, 0, file_items[kConnectIdItem].since});
    items.push_back({"allowed_only", ItemKind::kAllowedOnly, nullptr, 0, 0, file_items[kAllowedOnlyItem].since});
    for (int player = 0; player < 2; ++player) {
        const std::string prefix = std::string("player").append(std::to_string(player + 1));
        items.push_back({prefix + ".input_method", ItemKind::kInputMethod, nullptr, player, 0, 0});
        for (int slot = 0; slot < static_cast<int>(sizeof(KeyMap)); ++slot)
            items.push_back({prefix + ".key_map." + std::to_string(slot), ItemKind::kKeySlot, nullptr, player, slot, 0});
    }
    for (int i = 0; i < static_cast<int>(kFunctionMessages); ++i) {
        const std::string prefix = std::string("F").append(std::to_string(i + 1));
        items.push_back({prefix + ".text", ItemKind::kMessageText, nullptr, i, 0, file_items[kMessagesItem].since});
        items.push_back({prefix + ".target", ItemKind::kMessageTarget, nullptr, i, 0, file_items[kMessagesItem].since});
    }
    return items;
}

std::string Folded(std::string_view name) {
    std::string out;
    for (char ch : name) out += ch == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

bool IsOnOff(const ConfigItem& item) {
    return item.kind == ItemKind::kAllowedOnly || (item.kind == ItemKind::kOption && item.rule->kind == OptionKind::kOnOff);
}

// The numbered meanings of an item whose values are few: {value, meaning}.
std::vector<std::pair<std::int64_t, std::string>> Choices(const ConfigItem& item) {
    std::vector<std::pair<std::int64_t, std::string>> choices;
    switch (item.kind) {
        case ItemKind::kOption:
            if (item.rule->kind == OptionKind::kChoice || item.rule->kind == OptionKind::kOnOff)
                for (int button = 0; button < item.rule->buttons; ++button)
                    choices.emplace_back(OptionButtonValue(*item.rule, button), item.rule->meanings[button]);
            break;
        case ItemKind::kAllowedOnly: choices = {{1, "on"}, {0, "off"}}; break;
        case ItemKind::kInputMethod: choices = {{0, InputMethodMeaning(0)}, {1, InputMethodMeaning(1)}}; break;
        case ItemKind::kMessageTarget: choices = {{0, MessageTargetMeaning(0)}, {1, MessageTargetMeaning(1)}}; break;
        default: break;
    }
    return choices;
}

bool ReadNumber(std::string_view text, std::int64_t& number) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool EqualsFolded(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::size_t TextLimit(const ConfigItem& item) {
    return item.kind == ItemKind::kConnectId ? kConnectIdTextMax : kMessageTextLimit;
}

bool InSet(const ConfigItem& item, std::int64_t number) {
    switch (item.kind) {
        case ItemKind::kOption:
            switch (item.rule->kind) {
                case OptionKind::kVolume: return number >= kLowestVolume && number <= kHighestVolume;
                case OptionKind::kCarried: return number >= INT32_MIN && number <= INT32_MAX;
                default: break;
            }
            break;
        case ItemKind::kKeySlot: return number >= 0 && number < kCaptureButtons;
        default: break;
    }
    for (const auto& [value, meaning] : Choices(item))
        if (value == number) return true;
    return false;
}

}  // namespace

const char* InputMethodMeaning(std::int32_t method) { return method != 0 ? "keyboard" : "joypad"; }

const char* MessageTargetMeaning(std::uint8_t target) { return target == 0 ? "everyone" : "own team"; }

std::span<const ConfigItem> ConfigItems() {
    static const std::vector<ConfigItem> items = BuildItems();
    return items;
}

const ConfigItem* FindConfigItem(std::string_view name) {
    const std::string folded = Folded(name);
    for (const ConfigItem& item : ConfigItems())
        if (Folded(item.name) == folded) return &item;
    return nullptr;
}

ItemValue ItemValueOf(const GameConfig& c, const ConfigItem& item) {
    ItemValue value;
    switch (item.kind) {
        case ItemKind::kOption: value.number = OptionValue(c.options, *item.rule); break;
        case ItemKind::kAllowedOnly: value.number = c.allowed_only; break;
        case ItemKind::kInputMethod: value.number = c.options.input_method[item.index]; break;
        case ItemKind::kKeySlot: value.number = c.options.key_map[item.index][item.slot]; break;
        case ItemKind::kMessageTarget: value.number = c.function_messages[item.index].target; break;
        case ItemKind::kConnectId:
            value.is_text = true;
            value.text = FieldText(c.connect_id, ShownIdBytes(c), kConnectIdBytes);
            break;
        case ItemKind::kMessageText:
            value.is_text = true;
            value.text = FieldText(c.function_messages[item.index].text, kMessageTextBytes, kMessageTextLimit);
            break;
    }
    return value;
}

bool SameItemValue(const ItemValue& a, const ItemValue& b) {
    return a.is_text == b.is_text && (a.is_text ? a.text == b.text : a.number == b.number);
}

std::string ItemMeaning(const ConfigItem& item, const ItemValue& value) {
    switch (item.kind) {
        case ItemKind::kOption: return OptionMeaning(*item.rule, static_cast<std::int32_t>(value.number));
        case ItemKind::kAllowedOnly: return value.number != 0 ? "on" : "off";
        case ItemKind::kInputMethod: return InputMethodMeaning(static_cast<std::int32_t>(value.number));
        case ItemKind::kMessageTarget: return MessageTargetMeaning(static_cast<std::uint8_t>(value.number));
        case ItemKind::kKeySlot: return FormatKeyLabel(static_cast<std::uint8_t>(value.number)).text;
        default: return value.text;
    }
}

std::string ItemValueText(const ConfigItem& item, const ItemValue& value) {
    if (value.is_text) {
        std::string quoted;
        AppendJsonString(quoted, value.text);
        return quoted;
    }
    return std::to_string(value.number) + " (" + ItemMeaning(item, value) + ")";
}

std::string ItemValueSet(const ConfigItem& item) {
    if (item.kind == ItemKind::kConnectId || item.kind == ItemKind::kMessageText)
        return "text of at most " + std::to_string(TextLimit(item)) +
               " bytes in the file's Japanese code page (CP932), without control characters";
    if (item.kind == ItemKind::kKeySlot) return "a joypad button: 0 to 11, or KEY 1 to KEY 12";
    if (item.kind == ItemKind::kOption && item.rule->kind == OptionKind::kVolume)
        return "-10000 (lowest) to 0 (highest), or \"slider at N of 10000\" with N from 0 to 10000";
    if (item.kind == ItemKind::kOption && item.rule->kind == OptionKind::kCarried)
        return "a whole number from -2147483648 to 2147483647";
    std::string text;
    const auto choices = Choices(item);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        text += i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ";
        text += std::to_string(choices[i].first) + " (" + choices[i].second + ")";
    }
    if (IsOnOff(item)) text += " (also on/off, yes/no, true/false)";
    return text;
}

bool ParseItemValue(const ConfigItem& item, std::string_view text, ItemValue& value, std::string& error) {
    value = ItemValue{};
    if (item.kind == ItemKind::kConnectId || item.kind == ItemKind::kMessageText) {
        value.is_text = true;
        value.text = std::string(text);
        return true;
    }
    std::int64_t number = 0;
    bool read = ReadNumber(text, number);
    if (!read && IsOnOff(item)) {
        static const char* const kOn[] = {"on", "yes", "true"};
        static const char* const kOff[] = {"off", "no", "false"};
        for (const char* word : kOn)
            if (EqualsFolded(text, word)) number = 1, read = true;
        for (const char* word : kOff)
            if (EqualsFolded(text, word)) number = 0, read = true;
    }
    if (!read) {
        for (const auto& [choice, meaning] : Choices(item))
            if (EqualsFolded(text, meaning)) number = choice, read = true;
    }
    if (!read && item.kind == ItemKind::kMessageTarget && EqualsFolded(text, "team")) number = 1, read = true;
    if (!read && item.kind == ItemKind::kKeySlot) {
        // "KEY 4" as the page labels it, with or without the space.
        std::string_view rest = text;
        if (rest.size() > 3 && EqualsFolded(rest.substr(0, 3), "key")) {
            rest.remove_prefix(3);
            if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
            std::int64_t label = 0;
            if (ReadNumber(rest, label) && label >= 1 && label <= kCaptureButtons) number = label - 1, read = true;
        }
    }
    if (!read && item.kind == ItemKind::kOption && item.rule->kind == OptionKind::kVolume) {
        // "slider at N of 10000", as show prints it.
        constexpr std::string_view kHead = "slider at ", kTail = " of 10000";
        std::int64_t position = 0;
        if (text.size() > kHead.size() + kTail.size() && EqualsFolded(text.substr(0, kHead.size()), kHead) &&
            EqualsFolded(text.substr(text.size() - kTail.size()), kTail) &&
            ReadNumber(text.substr(kHead.size(), text.size() - kHead.size() - kTail.size()), position) &&
            position >= 0 && position <= -kLowestVolume)
            number = position + kLowestVolume, read = true;
    }
    if (!read) {
        error = item.name + " is " + ItemValueSet(item) + ", not \"" + std::string(text) + "\"";
        return false;
    }
    value.number = number;
    return true;
}

bool CheckItemValue(const ConfigItem& item, ItemValue& value, const ItemValue& current, std::string& error) {
    const bool text_item = item.kind == ItemKind::kConnectId || item.kind == ItemKind::kMessageText;
    if (value.is_text != text_item) {
        error = item.name + " is " + ItemValueSet(item);
        return false;
    }
    if (!text_item) {
        if (value.number == current.number || InSet(item, value.number)) return true;
        error = item.name + " is " + ItemValueSet(item) + ", not " + std::to_string(value.number);
        return false;
    }
    // An unchanged text is not stored, so it need not convert (a byte that starts no
    // CP932 character shows as U+FFFD, which CP932 cannot hold).
    if (value.text == current.text) return true;
    if (!Utf8ToCp932(value.text, value.cp932)) {
        error = item.name + " must be text that the file's Japanese code page (CP932) can hold";
        return false;
    }
    for (char ch : value.cp932) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) {
            error = item.name + " cannot hold control characters";
            return false;
        }
    }
    if (value.cp932.size() > TextLimit(item)) {
        error = item.name + " is " + std::to_string(value.cp932.size()) + " bytes in CP932, more than the " +
                std::to_string(TextLimit(item)) + " it holds";
        return false;
    }
    return true;
}

void StoreItemValue(GameConfig& c, const ConfigItem& item, const ItemValue& value) {
    const auto number = static_cast<std::int32_t>(value.number);
    switch (item.kind) {
        case ItemKind::kOption: SetOptionValue(c.options, *item.rule, number); break;
        case ItemKind::kAllowedOnly: c.allowed_only = number; break;
        case ItemKind::kInputMethod: c.options.input_method[item.index] = number; break;
        case ItemKind::kKeySlot: c.options.key_map[item.index][item.slot] = static_cast<std::uint8_t>(number); break;
        case ItemKind::kMessageTarget: c.function_messages[item.index].target = static_cast<std::uint8_t>(number); break;
        case ItemKind::kConnectId: std::memcpy(c.connect_id, value.cp932.c_str(), value.cp932.size() + 1); break;
        case ItemKind::kMessageText:
            std::memcpy(c.function_messages[item.index].text, value.cp932.c_str(), value.cp932.size() + 1);
            break;
    }
}
