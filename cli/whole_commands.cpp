// The commands on the whole configuration: apply (a show --json document back into the
// file) and diff (two configurations field by field).
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "cli/commands.h"
#include "cli/config_items.h"
#include "cli/input_file.h"
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

using Json = nlohmann::json;

// A value the document gives for an item, with where it stands in the document.
struct GivenValue {
    std::string path;
    const ConfigItem* item;
    ItemValue value;
};

// A list the document gives whole.
struct GivenList {
    std::string path;
    AddressList list;
    std::vector<AddressPattern> entries;
};

struct Document {
    std::vector<GivenValue> values;
    std::vector<GivenList> lists;
    std::vector<std::string> errors;  // "PATH: what is wrong"
};

const char* TypeName(const Json& j) {
    switch (j.type()) {
        case Json::value_t::object: return "an object";
        case Json::value_t::array: return "an array";
        case Json::value_t::string: return "a string";
        case Json::value_t::boolean: return "true or false";
        case Json::value_t::null: return "null";
        default: return j.is_number_integer() || j.is_number_unsigned() ? "a whole number" : "a number";
    }
}

bool Expect(Document& doc, const Json& j, Json::value_t type, const std::string& path, const char* wanted) {
    if (j.type() == type) return true;
    doc.errors.push_back(path + ": expected " + wanted + ", not " + TypeName(j));
    return false;
}

void UnknownMember(Document& doc, const std::string& path, const std::string& key, const std::vector<std::string>& known) {
    doc.errors.push_back(path + "." + key + ": unknown member" + DidYouMean(key, known));
}

// An item's value as the document gives it: {"value": n, "meaning": "..."} with either
// or both (both must agree), a bare number, or a bare meaning; a text item takes a string.
void ReadValue(Document& doc, const Json& j, const std::string& path, const ConfigItem& item) {
    ItemValue value;
    std::string error;
    if (item.kind == ItemKind::kConnectId || item.kind == ItemKind::kMessageText) {
        if (!Expect(doc, j, Json::value_t::string, path, "a string")) return;
        value.is_text = true;
        value.text = j.get<std::string>();
        doc.values.push_back({path, &item, std::move(value)});
        return;
    }
    const Json* number = &j;
    const Json* meaning = nullptr;
    if (j.is_object()) {
        number = nullptr;
        for (const auto& [key, member] : j.items()) {
            if (key == "value") number = &member;
            else if (key == "meaning") meaning = &member;
            else UnknownMember(doc, path, key, {"value", "meaning"});
        }
        if (number == nullptr && meaning == nullptr) {
            doc.errors.push_back(path + ": expected \"value\" or \"meaning\"");
            return;
        }
    } else if (j.is_string()) {
        number = nullptr;
        meaning = &j;
    }
    if (number != nullptr) {
        const std::string where = j.is_object() ? path + ".value" : path;
        if (!number->is_number_integer()) {
            doc.errors.push_back(where + ": expected a whole number, not " + std::string(TypeName(*number)));
            return;
        }
        value.number = number->get<std::int64_t>();
    }
    if (meaning != nullptr) {
        const std::string where = j.is_object() ? path + ".meaning" : path;
        if (!Expect(doc, *meaning, Json::value_t::string, where, "a string")) return;
        const std::string text = meaning->get<std::string>();
        if (number != nullptr) {
            // Given both, the meaning is the one the value shows as: a changed meaning
            // with the old value left would otherwise be lost without a word.
            const std::string shown = ItemMeaning(item, value);
            if (shown != text) {
                doc.errors.push_back(where + ": " + std::to_string(value.number) + " means \"" + shown + "\", not \"" +
                                     text + "\"; give the value or the meaning alone");
                return;
            }
        } else if (!ParseItemValue(item, text, value, error)) {
            doc.errors.push_back(where + ": " + error);
            return;
        }
    }
    doc.values.push_back({path, &item, std::move(value)});
}

const ConfigItem* ItemNamed(const std::string& name) {
    for (const ConfigItem& item : ConfigItems())
        if (item.name == name) return &item;
    return nullptr;
}

void ReadList(Document& doc, const Json& j, const std::string& path, AddressList list) {
    if (!Expect(doc, j, Json::value_t::array, path, "an array of addresses")) return;
    GivenList given{path, list, {}};
    given.entries.reserve(j.size());
    // A list may hold 65535 entries: its path is spelled only for a mistake.
    auto where = [&](std::size_t i) { return path + "[" + std::to_string(i) + "]"; };
    for (std::size_t i = 0; i < j.size(); ++i) {
        if (!j[i].is_string()) {
            doc.errors.push_back(where(i) + ": expected an address string, not " + std::string(TypeName(j[i])));
            continue;
        }
        const std::string& text = j[i].get_ref<const std::string&>();
        const ListLine line = ReadListLine(text, list);
        if (line.kind != ListLine::kAddress) {
            doc.errors.push_back(where(i) + ": \"" + PrintableLine(text) + "\": " +
                                 (line.kind == ListLine::kBad ? line.error : "not an address"));
            continue;
        }
        given.entries.push_back(line.address);
        given.entries.insert(given.entries.end(), line.more.begin(), line.more.end());
    }
    doc.lists.push_back(std::move(given));
}

void ReadPlayer(Document& doc, const Json& j, const std::string& path, int position) {
    if (!Expect(doc, j, Json::value_t::object, path, "an object")) return;
    int player = position;
    if (j.contains("player")) {
        const Json& number = j["player"];
        if (!number.is_number_integer() || number.get<std::int64_t>() < 1 || number.get<std::int64_t>() > 2) {
            doc.errors.push_back(path + ".player: expected 1 or 2");
            return;
        }
        player = static_cast<int>(number.get<std::int64_t>()) - 1;
    }
    const std::string prefix = "player" + std::to_string(player + 1);
    for (const auto& [key, member] : j.items()) {
        const std::string where = path + "." + key;
        if (key == "player" || key == "keys") continue;  // which player; the labels the map shows
        if (key == "input_method") {
            ReadValue(doc, member, where, *ItemNamed(prefix + ".input_method"));
        } else if (key == "key_map") {
            if (!Expect(doc, member, Json::value_t::array, where, "an array of 10 buttons")) continue;
            if (member.size() != sizeof(KeyMap)) {
                doc.errors.push_back(where + ": expected 10 buttons, not " + std::to_string(member.size()));
                continue;
            }
            for (std::size_t slot = 0; slot < member.size(); ++slot)
                ReadValue(doc, member[slot], where + "[" + std::to_string(slot) + "]",
                          *ItemNamed(prefix + ".key_map." + std::to_string(slot)));
        } else {
            UnknownMember(doc, path, key, {"player", "input_method", "key_map", "keys"});
        }
    }
}

void ReadMessage(Document& doc, const Json& j, const std::string& path, int position) {
    if (!Expect(doc, j, Json::value_t::object, path, "an object")) return;
    int index = position;
    if (j.contains("key")) {
        const Json& key = j["key"];
        const std::string name = key.is_string() ? key.get<std::string>() : "";
        if (name.size() != 2 || name[0] != 'F' || name[1] < '1' || name[1] > '8') {
            doc.errors.push_back(path + ".key: expected \"F1\" to \"F8\"");
            return;
        }
        index = name[1] - '1';
    }
    const std::string prefix = std::string(1, 'F') + std::to_string(index + 1);
    for (const auto& [key, member] : j.items()) {
        if (key == "key") continue;
        if (key == "text" || key == "target")
            ReadValue(doc, member, path + "." + key, *ItemNamed(prefix + "." + key));
        else
            UnknownMember(doc, path, key, {"key", "text", "target"});
    }
}

void ReadDocument(Document& doc, const Json& root) {
    if (!Expect(doc, root, Json::value_t::object, "$", "an object")) return;
    const std::vector<std::string> known = {"file",   "size",    "version",  "options",        "connect",     "allowed_only",
                                            "allowed", "denied", "players", "messages", "opaque_records", "opaque_words"};
    for (const auto& [key, member] : root.items()) {
        const std::string path = "$." + key;
        // What describes the file rather than configures it: not applied.
        if (key == "file" || key == "size" || key == "version" || key == "opaque_records" || key == "opaque_words") continue;
        if (key == "options") {
            if (!Expect(doc, member, Json::value_t::object, path, "an object")) continue;
            std::vector<std::string> names;
            for (const OptionRule& rule : option_rules) names.emplace_back(OptionName(rule));
            for (const auto& [name, value] : member.items()) {
                const ConfigItem* item = ItemNamed(name);
                if (item == nullptr || item->kind != ItemKind::kOption) UnknownMember(doc, path, name, names);
                else ReadValue(doc, value, path + "." + name, *item);
            }
        } else if (key == "connect") {
            if (!Expect(doc, member, Json::value_t::object, path, "an object")) continue;
            for (const auto& [name, value] : member.items()) {
                if (name == "id") ReadValue(doc, value, path + ".id", *ItemNamed("id"));
                else if (name == "addresses") ReadList(doc, value, path + ".addresses", AddressList::kConnect);
                else UnknownMember(doc, path, name, {"id", "addresses"});
            }
        } else if (key == "allowed_only") {
            ReadValue(doc, member, path, *ItemNamed("allowed_only"));
        } else if (key == "allowed" || key == "denied") {
            ReadList(doc, member, path, key == "allowed" ? AddressList::kAllowed : AddressList::kDenied);
        } else if (key == "players" || key == "messages") {
            const std::size_t most = key == "players" ? 2 : kFunctionMessages;
            if (!Expect(doc, member, Json::value_t::array, path, "an array")) continue;
            if (member.size() > most) {
                doc.errors.push_back(path + ": at most " + std::to_string(most) + " entries, not " + std::to_string(member.size()));
                continue;
            }
            for (std::size_t i = 0; i < member.size(); ++i) {
                const std::string where = path + "[" + std::to_string(i) + "]";
                if (key == "players") ReadPlayer(doc, member[i], where, static_cast<int>(i));
                else ReadMessage(doc, member[i], where, static_cast<int>(i));
            }
        } else {
            UnknownMember(doc, "$", key, known);
        }
    }
}

bool SamePatterns(const std::vector<AddressPattern>& a, const std::vector<AddressPattern>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (PatternKey(a[i]) != PatternKey(b[i])) return false;
    return true;
}

// Applies the document to the record; the names of what changed go to `changed`.
// False, with every refusal said, when a value does not fit.
bool ApplyDocument(const Session& s, Document& doc, std::vector<std::string>& changed) {
    bool good = true;
    for (GivenValue& given : doc.values) {
        const ItemValue current = ItemValueOf(game_config, *given.item);
        std::string error;
        if (!CheckItemValue(*given.item, given.value, current, error)) {
            Message(s, given.path + ": " + error);
            good = false;
            continue;
        }
        if (SameItemValue(current, given.value)) continue;
        StoreItemValue(game_config, *given.item, given.value);
        changed.push_back(given.item->name);
    }
    for (GivenList& given : doc.lists) {
        if (SamePatterns(ListEntries(game_config, given.list), given.entries)) continue;
        std::vector<AddressPattern> entries = NewEntries({}, given.entries, [&](std::size_t i, std::size_t) {
            Note(s, given.path + "[" + std::to_string(i) + "]: " +
                        FormatAddressText(given.entries[i].octets[0], given.entries[i].octets[1],
                                          given.entries[i].octets[2], given.entries[i].octets[3]) +
                        " is listed twice; dropped");
        });
        if (entries.size() > ListCapacity(given.list)) {
            Message(s, given.path + ": " + std::to_string(entries.size()) + " addresses, more than the " +
                           std::to_string(ListCapacity(given.list)) + " the " + ListName(given.list) + " list holds");
            good = false;
            continue;
        }
        StoreEntries(game_config, given.list, std::move(entries));
        changed.emplace_back(ListName(given.list));
    }
    return good;
}

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
    // A document saved by a Windows shell's ">" is UTF-16 with its byte-order mark.
    std::string_view text(reinterpret_cast<const char*>(input.data.get()), input.size);
    std::string converted;
    if (ListTextAsUtf8(text, converted)) text = converted;
    const char* begin = text.data();
    const std::size_t size = text.size();
    Json root = Json::parse(begin, begin + size, nullptr, false);
    if (root.is_discarded()) {
        // Parsed again for the place of the mistake, which the quiet parse does not keep.
        std::string where;
        try {
            const Json unused = Json::parse(begin, begin + size);
        } catch (const Json::parse_error& error) {
            where = " at byte " + std::to_string(error.byte);
        }
        Message(s, source + ": not a JSON document" + where + "; nothing changed");
        return kStatusRefused;
    }
    auto doc = std::make_shared<Document>();
    ReadDocument(*doc, root);
    if (!doc->errors.empty()) {
        for (const std::string& error : doc->errors) Message(s, source + ": " + error);
        Message(s, "nothing changed");
        return kStatusRefused;
    }
    s.change = [&s, doc, source] {
        if (int status = LoadConfiguration(s, true)) return status;
        std::vector<std::string> changed;
        if (!ApplyDocument(s, *doc, changed)) {
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

// Output keeps the order in which members are written.
using OutJson = nlohmann::ordered_json;

OutJson ValueJson(const ConfigItem& item, const ItemValue& value) {
    if (value.is_text) return value.text;
    return OutJson{{"value", value.number}, {"meaning", ItemMeaning(item, value)}};
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
    OutJson fields = OutJson::array();
    OutJson lists = OutJson::object();
    for (const ConfigItem& item : ConfigItems()) {
        const ItemValue was = ItemValueOf(other, item);
        const ItemValue now = ItemValueOf(game_config, item);
        if (SameItemValue(was, now)) continue;
        text += item.name + ": " + ItemValueText(item, was) + " -> " + ItemValueText(item, now) + "\n";
        fields.push_back({{"field", item.name}, {"other", ValueJson(item, was)}, {"this", ValueJson(item, now)}});
    }
    for (AddressList list : {AddressList::kConnect, AddressList::kAllowed, AddressList::kDenied}) {
        const std::vector<AddressPattern> was = ListEntries(other, list);
        const std::vector<AddressPattern> now = ListEntries(game_config, list);
        if (SamePatterns(was, now)) continue;
        std::unordered_set<std::uint64_t> in_was, in_now;
        for (const AddressPattern& p : was) in_was.insert(PatternKey(p));
        for (const AddressPattern& p : now) in_now.insert(PatternKey(p));
        OutJson added = OutJson::array(), removed = OutJson::array();
        for (const AddressPattern& p : now)
            if (!in_was.contains(PatternKey(p))) added.push_back(PatternText(p));
        for (const AddressPattern& p : was)
            if (!in_now.contains(PatternKey(p))) removed.push_back(PatternText(p));
        const std::string name = ListName(list);
        for (const auto& entry : added) text += name + ": + " + entry.get<std::string>() + "\n";
        for (const auto& entry : removed) text += name + ": - " + entry.get<std::string>() + "\n";
        const bool reordered = added.empty() && removed.empty();
        if (reordered) text += name + ": the same entries in another order (or listed another number of times)\n";
        lists[name] = {{"added", added}, {"removed", removed}, {"reordered", reordered}};
    }
    if (other.opaque_word_1 != game_config.opaque_word_1 || other.opaque_word_2 != game_config.opaque_word_2) {
        const OutJson was = {other.opaque_word_1, other.opaque_word_2};
        const OutJson now = {game_config.opaque_word_1, game_config.opaque_word_2};
        text += "opaque_words: " + was.dump() + " -> " + now.dump() + "\n";
        fields.push_back({{"field", "opaque_words"}, {"other", was}, {"this", now}});
    }
    const bool same_records = other.opaque_records.size() == game_config.opaque_records.size() &&
                              std::equal(other.opaque_records.begin(), other.opaque_records.end(),
                                         game_config.opaque_records.begin(), [](const OpaqueRecord& a, const OpaqueRecord& b) {
                                             return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
                                         });
    if (!same_records) {
        text += "opaque_records: " + std::to_string(other.opaque_records.size()) + " -> " +
                std::to_string(game_config.opaque_records.size()) + " records (their bytes differ)\n";
        fields.push_back({{"field", "opaque_records"},
                          {"other", other.opaque_records.size()},
                          {"this", game_config.opaque_records.size()}});
    }
    ReleaseConfig(other);
    const bool same = text.empty();
    if (s.line.json) {
        OutJson out = OutJson::object();
        out["other"] = other_shown;
        out["this"] = s.shown;
        out["same"] = same;
        out["fields"] = fields;
        out["lists"] = lists;
        WriteTerminalText(s.out, out.dump(2, ' ', false, OutJson::error_handler_t::replace) + "\n", true);
    } else {
        WriteTerminalText(s.out, text);
    }
    return same ? kStatusDone : kStatusRefused;
}
