// How a value of each row of qorcfg's schema is read, checked, shown and stored.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

#include "cli/json_writer.h"
#include "cli/schema.h"
#include "cli/schema_texts.h"
#include "cli/terminal_text.h"
#include "cli/texts.h"
#include "model/address_text.h"
#include "text/cp932_text.h"

namespace {

// The numbered meanings of a value whose values are few: {value, meaning}.
std::vector<std::pair<std::int64_t, std::string>> Choices(const SchemaRow& row) {
    std::vector<std::pair<std::int64_t, std::string>> choices;
    switch (row.kind) {
        case ValueKind::kOption:
            if (row.rule->kind == OptionKind::kChoice || row.rule->kind == OptionKind::kOnOff)
                for (int button = 0; button < row.rule->buttons; ++button)
                    choices.emplace_back(OptionButtonValue(*row.rule, button), row.rule->meanings[button]);
            break;
        case ValueKind::kAllowedOnly: choices = {{1, kOnOffMeanings[1]}, {0, kOnOffMeanings[0]}}; break;
        case ValueKind::kInputMethod: choices = {{0, kInputMethodMeanings[0]}, {1, kInputMethodMeanings[1]}}; break;
        case ValueKind::kMessageTarget: choices = {{0, kTargetMeanings[0]}, {1, kTargetMeanings[1]}}; break;
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

std::size_t TextLimit(const SchemaRow& row) {
    return row.kind == ValueKind::kConnectId ? kConnectIdTextMax : kMessageTextLimit;
}

bool IsVolume(const SchemaRow& row) { return row.kind == ValueKind::kOption && row.rule->kind == OptionKind::kVolume; }

// "KEY 4" as the page labels a button, with or without the space: the button's number.
bool ReadKeyLabel(std::string_view text, std::int64_t& button) {
    if (text.size() <= 3 || !EqualsFolded(text.substr(0, 3), "key")) return false;
    text.remove_prefix(3);
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::int64_t label = 0;
    if (!ReadNumber(text, label) || label < 1 || label > kCaptureButtons) return false;
    button = label - 1;
    return true;
}

// "slider at N of 10000", as show prints a volume in either face: the stored value.
bool ReadSlider(std::string_view text, std::int64_t& volume) {
    for (Language face : {Language::kEnglish, Language::kJapanese}) {
        std::string_view words;
        std::int64_t position = 0;
        if (SliderWords(text, face, words) && ReadNumber(words, position) && position >= 0 && position <= -kLowestVolume)
            return volume = position + kLowestVolume, true;
    }
    return false;
}

// A word of an on/off value: 1 for on, yes and true, 0 for off, no and false; or the
// Japanese face's on and off.
bool ReadOnOffWord(std::string_view text, std::int64_t& number) {
    static const char* const kWords[][2] = {{"off", "on"}, {"no", "yes"}, {"false", "true"}};
    for (const auto& pair : kWords)
        for (int value = 0; value < 2; ++value)
            if (EqualsFolded(text, pair[value])) return number = value, true;
    if (text == SayIn(Language::kJapanese, CliText::kMeaningOn)) return number = 1, true;
    if (text == SayIn(Language::kJapanese, CliText::kMeaningOff)) return number = 0, true;
    return false;
}

// A meaning typed in either face: the English in any case, the Japanese as it stands.
bool IsMeaning(std::string_view text, const std::string& english) {
    return EqualsFolded(text, english) || text == FaceMeaning(english, Language::kJapanese);
}
}  // namespace

bool IsTextRow(const SchemaRow& row) { return row.kind == ValueKind::kConnectId || row.kind == ValueKind::kMessageText; }

bool IsOnOffRow(const SchemaRow& row) {
    return row.kind == ValueKind::kAllowedOnly || (row.kind == ValueKind::kOption && row.rule->kind == OptionKind::kOnOff);
}

ItemValue ValueOf(const GameConfig& c, const SchemaRow& row) {
    ItemValue value;
    switch (row.kind) {
        case ValueKind::kOption: value.number = OptionValue(c.options, *row.rule); break;
        case ValueKind::kAllowedOnly: value.number = c.allowed_only; break;
        case ValueKind::kInputMethod: value.number = c.options.input_method[row.index]; break;
        case ValueKind::kKeySlot: value.number = c.options.key_map[row.index][row.slot]; break;
        case ValueKind::kMessageTarget: value.number = c.function_messages[row.index].target; break;
        case ValueKind::kConnectId:
            value.is_text = true;
            value.text = FieldText(c.connect_id, ShownIdBytes(c), kConnectIdBytes);
            break;
        case ValueKind::kMessageText:
            value.is_text = true;
            value.text = FieldText(c.function_messages[row.index].text, kMessageTextBytes, kMessageTextLimit);
            break;
    }
    return value;
}

bool SameValue(const ItemValue& a, const ItemValue& b) {
    return a.is_text == b.is_text && (a.is_text ? a.text == b.text : a.number == b.number);
}

std::string Meaning(const SchemaRow& row, const ItemValue& value, Language face) {
    const std::int64_t n = value.number;
    switch (row.kind) {
        case ValueKind::kOption: return FaceMeaning(OptionMeaning(*row.rule, static_cast<std::int32_t>(n)), face);
        case ValueKind::kAllowedOnly: return FaceMeaning(kOnOffMeanings[n != 0], face);
        case ValueKind::kInputMethod: return FaceMeaning(kInputMethodMeanings[n != 0], face);
        case ValueKind::kMessageTarget: return FaceMeaning(kTargetMeanings[n != 0], face);
        case ValueKind::kKeySlot: return FormatKeyLabel(static_cast<std::uint8_t>(n)).text;
        default: return value.text;
    }
}

std::string ValueText(const SchemaRow& row, const ItemValue& value, Language face) {
    if (value.is_text) return QuotedText(value.text);
    return std::to_string(value.number) + " (" + Meaning(row, value, face) + ")";
}

std::string ValueSetText(const SchemaRow& row, Language face) {
    if (IsTextRow(row)) return SayIn(face, CliText::kSetText, {TextLimit(row)});
    if (row.kind == ValueKind::kKeySlot) return SayIn(face, CliText::kSetKeySlot);
    if (IsVolume(row)) return SayIn(face, CliText::kSetVolume);
    if (row.kind == ValueKind::kOption && row.rule->kind == OptionKind::kCarried) return SayIn(face, CliText::kSetCarried);
    std::vector<std::string> choices;
    for (const auto& [number, meaning] : Choices(row))
        choices.push_back(std::to_string(number) + " (" + FaceMeaning(meaning, face) + ")");
    std::string text = SayIn(face, CliText::kSetChoices, {Listing(choices, CliText::kJoinOr, face)});
    if (IsOnOffRow(row)) text += SayIn(face, CliText::kSetAlsoOnOff);
    return text;
}

std::vector<std::string> ValueWords(const SchemaRow& row) {
    if (IsVolume(row)) return {"-10000", "0", "slider at 0 of 10000", "slider at 10000 of 10000"};
    std::vector<std::string> words;
    for (const auto& [number, meaning] : Choices(row)) words.push_back(std::to_string(number));
    for (const auto& [number, meaning] : Choices(row)) words.push_back(meaning);
    if (IsOnOffRow(row))
        for (const char* word : {"on", "off", "yes", "no", "true", "false"})
            if (std::find(words.begin(), words.end(), word) == words.end()) words.emplace_back(word);
    if (row.kind == ValueKind::kKeySlot)
        for (int button = 0; button < kCaptureButtons; ++button) words.push_back(FormatKeyLabel(button).text);
    return words;
}

bool InValueSet(const SchemaRow& row, std::int64_t number) {
    if (row.kind == ValueKind::kOption && row.rule->kind == OptionKind::kVolume)
        return number >= kLowestVolume && number <= kHighestVolume;
    if (row.kind == ValueKind::kOption && row.rule->kind == OptionKind::kCarried)
        return number >= INT32_MIN && number <= INT32_MAX;
    if (row.kind == ValueKind::kKeySlot) return number >= 0 && number < kCaptureButtons;
    for (const auto& [value, meaning] : Choices(row))
        if (value == number) return true;
    return false;
}

std::int64_t SavedValue(const SchemaRow& row, std::int64_t number) {
    switch (row.kind) {
        case ValueKind::kOption: return SavedOptionValue(*row.rule, static_cast<std::int32_t>(number));
        case ValueKind::kAllowedOnly:
        case ValueKind::kMessageTarget: return number != 0 ? 1 : 0;
        default: return number;  // the key page keeps what it does not show
    }
}

bool ParseValue(const SchemaRow& row, std::string_view text, ItemValue& value, std::string& error) {
    value = ItemValue{};
    if (IsTextRow(row)) {
        value.is_text = true;
        value.text = std::string(text);
        return true;
    }
    std::int64_t number = 0;
    bool read = ReadNumber(text, number) || (IsOnOffRow(row) && ReadOnOffWord(text, number)) ||
                (row.kind == ValueKind::kKeySlot && ReadKeyLabel(text, number)) || (IsVolume(row) && ReadSlider(text, number));
    for (const auto& [choice, meaning] : Choices(row))
        if (!read && IsMeaning(text, meaning)) number = choice, read = true;
    if (!read && row.kind == ValueKind::kMessageTarget && EqualsFolded(text, "team")) number = 1, read = true;
    if (!read) {
        error = Say(CliText::kValueIsNot, {row.name, ValueSetText(row, CliFace()), text});
        return false;
    }
    value.number = number;
    return true;
}

bool CheckValue(const SchemaRow& row, ItemValue& value, const ItemValue& current, std::string& error) {
    if (value.is_text != IsTextRow(row)) {
        error = Say(CliText::kValueIs, {row.name, ValueSetText(row, CliFace())});
        return false;
    }
    if (!value.is_text) {
        if (value.number == current.number || InValueSet(row, value.number)) return true;
        error = Say(CliText::kValueIsNotNumber, {row.name, ValueSetText(row, CliFace()), value.number});
        return false;
    }
    // An unchanged text is not stored, so it need not convert (a byte that starts no
    // CP932 character shows as U+FFFD, which CP932 cannot hold).
    if (value.text == current.text) return true;
    if (!Utf8ToCp932(value.text, value.cp932)) {
        error = Say(CliText::kValueNotCp932, {row.name});
        return false;
    }
    for (char ch : value.cp932) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) {
            error = Say(CliText::kValueNoControl, {row.name});
            return false;
        }
    }
    if (value.cp932.size() > TextLimit(row)) {
        error = Say(CliText::kValueTooLong, {row.name, value.cp932.size(), TextLimit(row)});
        return false;
    }
    return true;
}

void StoreValue(GameConfig& c, const SchemaRow& row, const ItemValue& value) {
    const auto number = static_cast<std::int32_t>(value.number);
    switch (row.kind) {
        case ValueKind::kOption: SetOptionValue(c.options, *row.rule, number); break;
        case ValueKind::kAllowedOnly: c.allowed_only = number; break;
        case ValueKind::kInputMethod: c.options.input_method[row.index] = number; break;
        case ValueKind::kKeySlot: c.options.key_map[row.index][row.slot] = static_cast<std::uint8_t>(number); break;
        case ValueKind::kMessageTarget: c.function_messages[row.index].target = static_cast<std::uint8_t>(number); break;
        case ValueKind::kConnectId: std::memcpy(c.connect_id, value.cp932.c_str(), value.cp932.size() + 1); break;
        case ValueKind::kMessageText:
            std::memcpy(c.function_messages[row.index].text, value.cp932.c_str(), value.cp932.size() + 1);
            break;
    }
}

std::string FieldText(const char* field, std::size_t field_size, std::size_t shown) {
    char text[64];
    CopyCp932Text(field, field_size, text, shown + 1 < sizeof text ? shown + 1 : sizeof text);
    return Cp932ToUtf8(text);
}

std::size_t ShownIdBytes(const GameConfig& c) {
    const std::string_view id(c.connect_id, strnlen(c.connect_id, kConnectIdBytes));
    return std::min(id.size(), id.find_first_of("\r\n"));
}
