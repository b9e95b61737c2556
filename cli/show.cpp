// The configuration in readable form: the text that `qorcfg show` prints and its JSON.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/config_items.h"
#include "cli/list_text.h"
#include "cli/report.h"
#include "cli/terminal_text.h"
#include "model/address_text.h"
#include "text/cp932_text.h"
#include "model/key_assign.h"
#include "model/option_rules.h"

namespace {

std::string Number(long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld", value);
    return text;
}

std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// A quoted text for the text form: the same escapes as JSON, so a line break in a
// message shows as \r\n rather than breaking the listing.
std::string Quoted(std::string_view utf8) {
    std::string out;
    AppendJsonString(out, utf8);
    return out;
}

std::string IdText(const GameConfig& c) { return FieldText(c.connect_id, ShownIdBytes(c), kConnectIdBytes); }

std::string MessageText(const FunctionMessage& m) { return FieldText(m.text, kMessageTextBytes, kMessageTextLimit); }

const char* TargetMeaning(std::uint8_t target) { return MessageTargetMeaning(target); }

const char* InputMeaning(std::int32_t method) { return InputMethodMeaning(method); }

void AppendAddress(std::string& out, const AddressPattern& p) {
    char text[kAddressTextMax];
    out.append(text, WriteAddressText(text, p.octets[0], p.octets[1], p.octets[2], p.octets[3]));
}

void AppendTextList(std::string& out, const char* title, const std::vector<AddressPattern>& entries) {
    out += title;
    out += " (" + Number(static_cast<long long>(entries.size())) + "):\n";
    for (const AddressPattern& p : entries) {
        out += "  ";
        AppendAddress(out, p);
        out += '\n';
    }
}

void AppendJsonList(std::string& out, const char* name, const std::vector<AddressPattern>& entries) {
    out += "  \"";
    out += name;
    out += "\": [";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // One append per entry: the lists run to 65535 lines.
        char line[8 + kAddressTextMax];
        char* end = line + (i == 0 ? 0 : 1);
        line[0] = ',';
        std::memcpy(end, "\n    \"", 6);
        end = WriteAddressText(end + 6, entries[i].octets[0], entries[i].octets[1], entries[i].octets[2],
                               entries[i].octets[3]);
        *end++ = '"';
        out.append(line, end);
    }
    out += entries.empty() ? "],\n" : "\n  ],\n";
}

void AppendJsonValue(std::string& out, long long value, std::string_view meaning) {
    out += "{\"value\": " + Number(value) + ", \"meaning\": ";
    AppendJsonString(out, meaning);
    out += '}';
}

}  // namespace


std::vector<OptionView> OptionViews(const OptionBlock& o) {
    std::vector<OptionView> views;
    for (const OptionRule& rule : option_rules) {
        const std::int32_t value = OptionValue(o, rule);
        const std::int32_t saved = SavedOptionValue(rule, value);
        views.push_back({OptionName(rule), value, OptionMeaning(rule, value), saved == value, saved});
    }
    return views;
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

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (char ch : utf8) {
        const unsigned char byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += ch;
        }
    }
    out += '"';
}

std::string ShowText(const GameConfig& c, const FileFacts& facts) {
    std::string out;
    out += "File: " + facts.path + " (" + Number(static_cast<long long>(facts.size)) + " bytes)\n";
    out += "Version: " + Number(facts.version) + "\n";
    out += "Options:\n";
    for (const OptionView& v : OptionViews(c.options)) {
        out += "  " + Pad(v.name, 24) + Pad(Number(v.value), 8) + v.meaning;
        if (!v.in_set) out += " (outside its values; a save from the window stores " + Number(v.saved_as) + ")";
        out += '\n';
    }
    out += "Connect-to ID: " + Quoted(IdText(c)) + "\n";
    const std::vector<AddressPattern> connect = ListEntries(c, AddressList::kConnect);
    out += "Connect-to addresses (" + Number(static_cast<long long>(connect.size())) + " of " + Number(static_cast<long long>(ListCapacity(AddressList::kConnect))) + "):\n";
    for (const AddressPattern& p : connect) {
        out += "  ";
        AppendAddress(out, p);
        out += '\n';
    }
    out += "Allowed only: " + Number(c.allowed_only) + (c.allowed_only != 0 ? " (on)\n" : " (off)\n");
    AppendTextList(out, "Allowed addresses", c.allowed_patterns);
    AppendTextList(out, "Denied addresses", c.denied_patterns);
    for (int player = 0; player < 2; ++player) {
        const std::int32_t method = c.options.input_method[player];
        out += "Player " + Number(player + 1) + ": input method " + Number(method) + " (" + InputMeaning(method) + ")\n";
        for (const KeyRow& action : key_rows) {
            const std::string caption = Cp932ToUtf8(action.caption);
            out += "  " + Pad(FormatKeyLabel(c.options.key_map[player][action.slot]).text, 9) + caption +
                   (caption.empty() ? "(" : " (") + action.action + ")\n";
        }
    }
    out += "Function messages:\n";
    for (std::size_t i = 0; i < kFunctionMessages; ++i) {
        const FunctionMessage& m = c.function_messages[i];
        out += "  F" + Number(static_cast<long long>(i + 1)) + " to " + Pad(TargetMeaning(m.target), 9) +
               Quoted(MessageText(m)) + "\n";
    }
    const std::size_t records = c.opaque_records.size();
    out += "Opaque records: " + Number(static_cast<long long>(records)) + " (" +
           Number(static_cast<long long>(records * sizeof(OpaqueRecord))) + " bytes)\n";
    out += "Opaque words: " + Number(c.opaque_word_1) + ", " + Number(c.opaque_word_2) + "\n";
    return out;
}

std::string ShowJson(const GameConfig& c, const FileFacts& facts) {
    std::string out;
    out.reserve(4096 + (c.allowed_patterns.size() + c.denied_patterns.size()) * 24);
    out += "{\n  \"file\": ";
    AppendJsonString(out, facts.path);
    out += ",\n  \"size\": " + Number(static_cast<long long>(facts.size));
    out += ",\n  \"version\": " + Number(facts.version);
    out += ",\n  \"options\": {";
    bool first = true;
    for (const OptionView& v : OptionViews(c.options)) {
        out += first ? "\n    \"" : ",\n    \"";
        first = false;
        out += v.name;
        out += "\": ";
        AppendJsonValue(out, v.value, v.meaning);
    }
    out += "\n  },\n  \"connect\": {\"id\": ";
    AppendJsonString(out, IdText(c));
    out += ", \"addresses\": [";
    const std::vector<AddressPattern> connect = ListEntries(c, AddressList::kConnect);
    for (std::size_t i = 0; i < connect.size(); ++i) {
        out += i == 0 ? "\"" : ", \"";
        AppendAddress(out, connect[i]);
        out += '"';
    }
    out += "]},\n  \"allowed_only\": ";
    AppendJsonValue(out, c.allowed_only, c.allowed_only != 0 ? "on" : "off");
    out += ",\n";
    AppendJsonList(out, "allowed", c.allowed_patterns);
    AppendJsonList(out, "denied", c.denied_patterns);
    out += "  \"players\": [";
    for (int player = 0; player < 2; ++player) {
        const KeyMap& map = c.options.key_map[player];
        out += player == 0 ? "\n    {\"player\": 1, \"input_method\": " : ",\n    {\"player\": 2, \"input_method\": ";
        AppendJsonValue(out, c.options.input_method[player], InputMeaning(c.options.input_method[player]));
        out += ",\n     \"key_map\": [";
        for (std::size_t slot = 0; slot < map.size(); ++slot) out += (slot == 0 ? "" : ", ") + Number(map[slot]);
        out += "],\n     \"keys\": [";
        for (std::size_t row = 0; row < std::size(key_rows); ++row) {
            const KeyRow& action = key_rows[row];
            out += row == 0 ? "\n       {\"slot\": " : ",\n       {\"slot\": ";
            out += Number(action.slot) + ", \"action\": ";
            AppendJsonString(out, action.action);
            out += ", \"caption\": ";
            AppendJsonString(out, Cp932ToUtf8(action.caption));
            out += ", \"label\": ";
            AppendJsonString(out, FormatKeyLabel(map[action.slot]).text);
            out += '}';
        }
        out += "]}";
    }
    out += "\n  ],\n  \"messages\": [";
    for (std::size_t i = 0; i < kFunctionMessages; ++i) {
        const FunctionMessage& m = c.function_messages[i];
        out += (i == 0 ? "\n    {\"key\": \"F" : ",\n    {\"key\": \"F") + Number(static_cast<long long>(i + 1)) +
               "\", \"text\": ";
        AppendJsonString(out, MessageText(m));
        out += ", \"target\": ";
        AppendJsonValue(out, m.target, TargetMeaning(m.target));
        out += '}';
    }
    const std::size_t records = c.opaque_records.size();
    out += "\n  ],\n  \"opaque_records\": {\"count\": " + Number(static_cast<long long>(records)) +
           ", \"bytes\": " + Number(static_cast<long long>(records * sizeof(OpaqueRecord))) + "},\n";
    out += "  \"opaque_words\": [" + Number(c.opaque_word_1) + ", " + Number(c.opaque_word_2) + "]\n}\n";
    return out;
}
