// The commands on the whole configuration: apply (a show --json document back into the
// file) and diff (two configurations field by field).
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "cli/apply_document.h"
#include "cli/commands.h"
#include "cli/config_items.h"
#include "cli/input_file.h"
#include "cli/json.h"
#include "cli/list_text.h"
#include "cli/report.h"
#include "cli/suggest.h"
#include "cli/terminal_text.h"
#include "config/config_codec.h"
#include "config/config_store.h"
#include "model/address_lists.h"
#include "model/address_text.h"
#include "model/key_assign.h"

namespace {

std::string Names(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 6;
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i) text += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > kShown) text += " and " + std::to_string(names.size() - kShown) + " more";
    return text;
}

}  // namespace

int ApplyCommand(Session& s) {
    if (s.line.arguments.size() != 1) return Usage(s, "apply needs one file (or - for standard input)");
    std::string source;
    FileBytes input;
    if (int status = ReadInputArgument(s, 0, source, input)) return status;
    auto doc = std::make_shared<ApplyDocument>();
    std::size_t error_byte = 0;
    if (!ReadApplyDocument({reinterpret_cast<char*>(input.data.get()), input.size}, *doc, error_byte)) {
        Message(s, source + ": not a JSON document at byte " + std::to_string(error_byte) + "; nothing changed");
        return kStatusRefused;
    }
    if (!doc->errors.empty()) {
        for (const std::string& error : doc->errors) Message(s, source + ": " + error);
        Message(s, "nothing changed");
        return kStatusRefused;
    }
    s.change = [&s, doc, source] {
        if (int status = LoadConfiguration(s, true)) return status;
        std::vector<std::string> changed;
        std::vector<ApplyLine> lines;
        const bool good = ApplyToConfig(game_config, *doc, changed, lines);
        for (const ApplyLine& line : lines) {
            if (line.refusal) Message(s, line.text);
            else Note(s, line.text);
        }
        if (!good) {
            Message(s, "nothing changed");
            return static_cast<int>(kStatusRefused);
        }
        if (changed.empty() && !s.bytes.empty()) {
            Note(s, "apply: the file already holds what " + source + " says; nothing to save");
            return static_cast<int>(kStatusDone);
        }
        const int status = Save(s);
        if (status == kStatusDone)
            Note(s, "apply: " + (changed.empty() ? std::string("no value changed") : "changed " + Names(changed)) + "; saved");
        return status;
    };
    return kStatusDone;
}

namespace {

std::string PatternText(const AddressPattern& p) {
    return FormatAddressText(p.octets[0], p.octets[1], p.octets[2], p.octets[3]);
}

using JsonWriter = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

// A string of the output, which must be UTF-8 whatever the text: a byte that starts no
// UTF-8 sequence becomes U+FFFD.
void PutString(JsonWriter& out, std::string_view text) {
    std::string valid;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceAt(text.substr(at));
        valid.append(length == 0 ? "\xEF\xBF\xBD" : text.substr(at, length));
        at += length == 0 ? 1 : length;
    }
    out.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
}

void PutValue(JsonWriter& out, const ConfigItem& item, const ItemValue& value) {
    if (value.is_text) return PutString(out, value.text);
    out.StartObject();
    out.Key("value");
    out.Int64(value.number);
    out.Key("meaning");
    PutString(out, ItemMeaning(item, value));
    out.EndObject();
}

// One field of the output's "fields": its name, and what writes its other and this value.
void PutField(JsonWriter& out, std::string_view name, const std::function<void(JsonWriter&, bool)>& value) {
    out.StartObject();
    out.Key("field");
    PutString(out, name);
    out.Key("other");
    value(out, false);
    out.Key("this");
    value(out, true);
    out.EndObject();
}

}  // namespace

int DiffCommand(Session& s) {
    if (s.line.arguments.size() > 1) return Usage(s, "diff takes at most one file");
    std::string other_path = s.path + ".bak";
    if (!s.line.arguments.empty() && !PathArgument(s.argv, s.line.argument_index[0], other_path))
        return Usage(s, "the file's path holds a character that cannot be named in a file path here");
    const std::string other_shown = PathText(other_path);
    if (int status = LoadConfiguration(s, false)) return status;
    GameConfig other;
    ClearConfig(other);
    std::vector<std::uint8_t> other_bytes;
    int error_number = 0;
    switch (LoadConfigFile(other_path.c_str(), other, &other_bytes, &error_number)) {
        case LoadStatus::kOk:
        case LoadStatus::kDamaged: break;
        case LoadStatus::kMissing:
            Message(s, other_shown + (s.line.arguments.empty() ? ": no backup to compare with" : ": no such file"));
            return kStatusFailed;
        case LoadStatus::kHeld:
            Message(s, other_shown + ": cannot be read: " +
                           (error_number != 0 ? ErrorText(error_number) : std::string("held by another program")));
            return error_number != 0 ? kStatusFailed : kStatusTryAgain;
        default:
            Message(s, other_shown + ": holds no configuration the tool reads (too short, of a newer version, or text)");
            return kStatusFailed;
    }
    std::string text;
    // What the JSON output says of each difference, written once the differences are known.
    std::vector<std::function<void(JsonWriter&)>> fields, lists;
    for (const ConfigItem& item : ConfigItems()) {
        const ItemValue was = ItemValueOf(other, item);
        const ItemValue now = ItemValueOf(game_config, item);
        if (SameItemValue(was, now)) continue;
        text += item.name + ": " + ItemValueText(item, was) + " -> " + ItemValueText(item, now) + "\n";
        fields.push_back([&item, was, now](JsonWriter& out) {
            PutField(out, item.name, [&](JsonWriter& w, bool is_this) { PutValue(w, item, is_this ? now : was); });
        });
    }
    for (AddressList list : {AddressList::kConnect, AddressList::kAllowed, AddressList::kDenied}) {
        const std::vector<AddressPattern> was = ListEntries(other, list);
        const std::vector<AddressPattern> now = ListEntries(game_config, list);
        if (SamePatterns(was, now)) continue;
        std::unordered_set<std::uint64_t> in_was, in_now;
        for (const AddressPattern& p : was) in_was.insert(PatternKey(p));
        for (const AddressPattern& p : now) in_now.insert(PatternKey(p));
        std::vector<std::string> added, removed;
        for (const AddressPattern& p : now)
            if (!in_was.contains(PatternKey(p))) added.push_back(PatternText(p));
        for (const AddressPattern& p : was)
            if (!in_now.contains(PatternKey(p))) removed.push_back(PatternText(p));
        const std::string name = ListName(list);
        for (const std::string& entry : added) text += name + ": + " + entry + "\n";
        for (const std::string& entry : removed) text += name + ": - " + entry + "\n";
        const bool reordered = added.empty() && removed.empty();
        if (reordered) text += name + ": the same entries in another order (or listed another number of times)\n";
        lists.push_back([name, added = std::move(added), removed = std::move(removed), reordered](JsonWriter& out) {
            out.Key(name.c_str());
            out.StartObject();
            for (const auto& [key, entries] : {std::pair{"added", &added}, std::pair{"removed", &removed}}) {
                out.Key(key);
                out.StartArray();
                for (const std::string& entry : *entries) PutString(out, entry);
                out.EndArray();
            }
            out.Key("reordered");
            out.Bool(reordered);
            out.EndObject();
        });
    }
    if (other.opaque_word_1 != game_config.opaque_word_1 || other.opaque_word_2 != game_config.opaque_word_2) {
        const std::uint32_t was[2] = {other.opaque_word_1, other.opaque_word_2};
        const std::uint32_t now[2] = {game_config.opaque_word_1, game_config.opaque_word_2};
        text += "opaque_words: [" + std::to_string(was[0]) + "," + std::to_string(was[1]) + "] -> [" +
                std::to_string(now[0]) + "," + std::to_string(now[1]) + "]\n";
        fields.push_back([was0 = was[0], was1 = was[1], now0 = now[0], now1 = now[1]](JsonWriter& out) {
            PutField(out, "opaque_words", [&](JsonWriter& w, bool is_this) {
                w.StartArray();
                w.Uint(is_this ? now0 : was0);
                w.Uint(is_this ? now1 : was1);
                w.EndArray();
            });
        });
    }
    const bool same_records = other.opaque_records.size() == game_config.opaque_records.size() &&
                              std::equal(other.opaque_records.begin(), other.opaque_records.end(),
                                         game_config.opaque_records.begin(), [](const OpaqueRecord& a, const OpaqueRecord& b) {
                                             return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
                                         });
    if (!same_records) {
        const std::uint64_t was = other.opaque_records.size(), now = game_config.opaque_records.size();
        text += "opaque_records: " + std::to_string(was) + " -> " + std::to_string(now) + " records (their bytes differ)\n";
        fields.push_back([was, now](JsonWriter& out) {
            PutField(out, "opaque_records", [&](JsonWriter& w, bool is_this) { w.Uint64(is_this ? now : was); });
        });
    }
    ReleaseConfig(other);
    const bool same = text.empty();
    if (s.line.json) {
        rapidjson::StringBuffer buffer;
        JsonWriter out(buffer);
        out.SetIndent(' ', 2);
        out.StartObject();
        out.Key("other");
        PutString(out, other_shown);
        out.Key("this");
        PutString(out, s.shown);
        out.Key("same");
        out.Bool(same);
        out.Key("fields");
        out.StartArray();
        for (const auto& field : fields) field(out);
        out.EndArray();
        out.Key("lists");
        out.StartObject();
        for (const auto& list : lists) list(out);
        out.EndObject();
        out.EndObject();
        WriteTerminalText(s.out, std::string(buffer.GetString(), buffer.GetSize()) + "\n", true);
    } else {
        WriteTerminalText(s.out, text);
    }
    return same ? kStatusDone : kStatusRefused;
}
