// Reading the document qorcfg apply takes, and applying it to a configuration.
#include "cli/apply_document.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

#include "cli/json.h"
#include "cli/list_text.h"
#include "cli/suggest.h"
#include "cli/terminal_text.h"
#include "model/address_text.h"
#include "model/key_assign.h"

namespace {

using Json = rapidjson::Value;

std::string_view Text(const Json& j) { return {j.GetString(), j.GetStringLength()}; }

// Whole numbers up to the unsigned 64-bit limit are read as such; a longer one, like a
// fraction or an exponent, is read as a number with a point.
bool IsWholeNumber(const Json& j) { return j.IsInt64() || j.IsUint64(); }

const char* TypeName(const Json& j) {
    switch (j.GetType()) {
        case rapidjson::kObjectType: return "an object";
        case rapidjson::kArrayType: return "an array";
        case rapidjson::kStringType: return "a string";
        case rapidjson::kTrueType:
        case rapidjson::kFalseType: return "true or false";
        case rapidjson::kNullType: return "null";
        default: return IsWholeNumber(j) ? "a whole number" : "a number";
    }
}

bool Expect(ApplyDocument& doc, const Json& j, bool is_wanted, const std::string& path, const char* wanted) {
    if (is_wanted) return true;
    doc.errors.push_back(path + ": expected " + wanted + ", not " + TypeName(j));
    return false;
}

void UnknownMember(ApplyDocument& doc, const std::string& path, std::string_view key, const std::vector<std::string>& known) {
    const std::string name(key);
    doc.errors.push_back(path + "." + name + ": unknown member" + DidYouMean(name, known));
}

// An object's members in the order of their names (byte by byte), so that what the
// document says comes out in the same order however it was written; of a name given
// twice, the later member replaces the earlier.
using Member = std::pair<std::string_view, const Json*>;
std::vector<Member> Members(const Json& object) {
    std::vector<Member> members;
    members.reserve(object.MemberCount());
    for (auto it = object.MemberBegin(); it != object.MemberEnd(); ++it) members.emplace_back(Text(it->name), &it->value);
    std::stable_sort(members.begin(), members.end(), [](const Member& a, const Member& b) { return a.first < b.first; });
    std::vector<Member> last;
    last.reserve(members.size());
    for (std::size_t i = 0; i < members.size(); ++i)
        if (i + 1 == members.size() || members[i + 1].first != members[i].first) last.push_back(members[i]);
    return last;
}

const Json* Find(const std::vector<Member>& members, std::string_view name) {
    for (const Member& m : members)
        if (m.first == name) return m.second;
    return nullptr;
}

// An item's value as the document gives it: {"value": n, "meaning": "..."} with either
// or both (both must agree), a bare number, or a bare meaning; a text item takes a string.
void ReadValue(ApplyDocument& doc, const Json& j, const std::string& path, const ConfigItem& item) {
    ItemValue value;
    std::string error;
    if (item.kind == ItemKind::kConnectId || item.kind == ItemKind::kMessageText) {
        if (!Expect(doc, j, j.IsString(), path, "a string")) return;
        value.is_text = true;
        value.text = Text(j);
        doc.values.push_back({path, &item, std::move(value)});
        return;
    }
    const Json* number = &j;
    const Json* meaning = nullptr;
    if (j.IsObject()) {
        number = nullptr;
        for (const auto& [key, member] : Members(j)) {
            if (key == "value") number = member;
            else if (key == "meaning") meaning = member;
            else UnknownMember(doc, path, key, {"value", "meaning"});
        }
        if (number == nullptr && meaning == nullptr) {
            doc.errors.push_back(path + ": expected \"value\" or \"meaning\"");
            return;
        }
    } else if (j.IsString()) {
        number = nullptr;
        meaning = &j;
    }
    if (number != nullptr) {
        const std::string where = j.IsObject() ? path + ".value" : path;
        if (number->IsUint64() && !number->IsInt64()) {
            // Beyond every item's set: said as the number it is, never wrapped round
            // into one that might fit.
            doc.errors.push_back(where + ": " + item.name + " is " + ItemValueSet(item) + ", not " +
                                 std::to_string(number->GetUint64()));
            return;
        }
        if (!number->IsInt64()) {
            doc.errors.push_back(where + ": expected a whole number, not " + std::string(TypeName(*number)));
            return;
        }
        value.number = number->GetInt64();
    }
    if (meaning != nullptr) {
        const std::string where = j.IsObject() ? path + ".meaning" : path;
        if (!Expect(doc, *meaning, meaning->IsString(), where, "a string")) return;
        const std::string text(Text(*meaning));
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

const ConfigItem* ItemNamed(std::string_view name) {
    for (const ConfigItem& item : ConfigItems())
        if (item.name == name) return &item;
    return nullptr;
}

// A list array, read as it streamed by: its entries, and what was wrong with the others.
struct StreamedList {
    std::vector<AddressPattern> entries;
    std::vector<std::pair<std::size_t, std::string>> mistakes;  // {index, what is wrong}
};

// What reading a document needs besides its tree.
struct Reading {
    ApplyDocument& doc;
    std::vector<StreamedList>& lists;
};

// The entries of a list as the document gives them. A list may hold 65535 entries, so
// its entries were read as the text streamed by, and the tree holds only the number
// of that reading; its path is spelled only for a mistake.
void ReadList(Reading& r, const Json& j, const std::string& path, AddressList list) {
    ApplyDocument& doc = r.doc;
    if (!Expect(doc, j, j.IsArray(), path, "an array of addresses")) return;
    // Every array where a list stands was read as it streamed by (TreeBuilder).
    StreamedList& read = r.lists[j[0].GetUint64()];
    for (const auto& [index, mistake] : read.mistakes) doc.errors.push_back(path + "[" + std::to_string(index) + "]: " + mistake);
    doc.lists.push_back({path, list, std::move(read.entries)});
}

void ReadPlayer(ApplyDocument& doc, const Json& j, const std::string& path, int position) {
    if (!Expect(doc, j, j.IsObject(), path, "an object")) return;
    const std::vector<Member> members = Members(j);
    int player = position;
    if (const Json* number = Find(members, "player")) {
        if (!number->IsInt64() || number->GetInt64() < 1 || number->GetInt64() > 2) {
            doc.errors.push_back(path + ".player: expected 1 or 2");
            return;
        }
        player = static_cast<int>(number->GetInt64()) - 1;
    }
    const std::string prefix = "player" + std::to_string(player + 1);
    for (const auto& [key, member] : members) {
        const std::string where = path + "." + std::string(key);
        if (key == "player" || key == "keys") continue;  // which player; the labels the map shows
        if (key == "input_method") {
            ReadValue(doc, *member, where, *ItemNamed(prefix + ".input_method"));
        } else if (key == "key_map") {
            if (!Expect(doc, *member, member->IsArray(), where, "an array of 10 buttons")) continue;
            if (member->Size() != sizeof(KeyMap)) {
                doc.errors.push_back(where + ": expected 10 buttons, not " + std::to_string(member->Size()));
                continue;
            }
            for (rapidjson::SizeType slot = 0; slot < member->Size(); ++slot)
                ReadValue(doc, (*member)[slot], where + "[" + std::to_string(slot) + "]",
                          *ItemNamed(prefix + ".key_map." + std::to_string(slot)));
        } else {
            UnknownMember(doc, path, key, {"player", "input_method", "key_map", "keys"});
        }
    }
}

void ReadMessage(ApplyDocument& doc, const Json& j, const std::string& path, int position) {
    if (!Expect(doc, j, j.IsObject(), path, "an object")) return;
    const std::vector<Member> members = Members(j);
    int index = position;
    if (const Json* key = Find(members, "key")) {
        const std::string_view name = key->IsString() ? Text(*key) : "";
        if (name.size() != 2 || name[0] != 'F' || name[1] < '1' || name[1] > '8') {
            doc.errors.push_back(path + ".key: expected \"F1\" to \"F8\"");
            return;
        }
        index = name[1] - '1';
    }
    const std::string prefix = "F" + std::to_string(index + 1);
    for (const auto& [key, member] : members) {
        if (key == "key") continue;
        const std::string name(key);
        if (key == "text" || key == "target") ReadValue(doc, *member, path + "." + name, *ItemNamed(prefix + "." + name));
        else UnknownMember(doc, path, key, {"key", "text", "target"});
    }
}

void ReadDocument(Reading& r, const Json& root) {
    ApplyDocument& doc = r.doc;
    if (!Expect(doc, root, root.IsObject(), "$", "an object")) return;
    const std::vector<std::string> known = {"file",   "size",    "version",  "options",        "connect",     "allowed_only",
                                            "allowed", "denied", "players", "messages", "opaque_records", "opaque_words"};
    for (const auto& [key, member] : Members(root)) {
        const std::string path = "$." + std::string(key);
        // What describes the file rather than configures it: not applied.
        if (key == "file" || key == "size" || key == "version" || key == "opaque_records" || key == "opaque_words") continue;
        if (key == "options") {
            if (!Expect(doc, *member, member->IsObject(), path, "an object")) continue;
            std::vector<std::string> names;
            for (const OptionRule& rule : option_rules) names.emplace_back(OptionName(rule));
            for (const auto& [name, value] : Members(*member)) {
                const ConfigItem* item = ItemNamed(name);
                if (item == nullptr || item->kind != ItemKind::kOption) UnknownMember(doc, path, name, names);
                else ReadValue(doc, *value, path + "." + std::string(name), *item);
            }
        } else if (key == "connect") {
            if (!Expect(doc, *member, member->IsObject(), path, "an object")) continue;
            for (const auto& [name, value] : Members(*member)) {
                if (name == "id") ReadValue(doc, *value, path + ".id", *ItemNamed("id"));
                else if (name == "addresses") ReadList(r, *value, path + ".addresses", AddressList::kConnect);
                else UnknownMember(doc, path, name, {"id", "addresses"});
            }
        } else if (key == "allowed_only") {
            ReadValue(doc, *member, path, *ItemNamed("allowed_only"));
        } else if (key == "allowed" || key == "denied") {
            ReadList(r, *member, path, key == "allowed" ? AddressList::kAllowed : AddressList::kDenied);
        } else if (key == "players" || key == "messages") {
            const std::size_t most = key == "players" ? 2 : kFunctionMessages;
            if (!Expect(doc, *member, member->IsArray(), path, "an array")) continue;
            if (member->Size() > most) {
                doc.errors.push_back(path + ": at most " + std::to_string(most) + " entries, not " + std::to_string(member->Size()));
                continue;
            }
            for (rapidjson::SizeType i = 0; i < member->Size(); ++i) {
                const std::string where = path + "[" + std::to_string(i) + "]";
                if (key == "players") ReadPlayer(doc, (*member)[i], where, static_cast<int>(i));
                else ReadMessage(doc, (*member)[i], where, static_cast<int>(i));
            }
        } else {
            UnknownMember(doc, "$", key, known);
        }
    }
}

// The text read in place, as RapidJSON's InsituStringStream reads a string that ends in
// a NUL byte, but to the end of the text and no further: there the reader sees its end.
// Each string is unescaped where it stands, and lies there, in the tree too.
class InPlaceStream {
public:
    using Ch = char;
    explicit InPlaceStream(std::span<char> text) : head_(text.data()), src_(text.data()), end_(text.data() + text.size()) {}
    Ch Peek() const { return src_ != end_ ? *src_ : '\0'; }
    Ch Take() { return src_ != end_ ? *src_++ : '\0'; }
    std::size_t Tell() const { return static_cast<std::size_t>(src_ - head_); }
    Ch* PutBegin() { return dst_ = src_; }
    void Put(Ch ch) { *dst_++ = ch; }
    std::size_t PutEnd(Ch* begin) { return static_cast<std::size_t>(dst_ - begin); }
    void Flush() {}

private:
    Ch* head_;
    Ch* src_;
    Ch* end_;
    Ch* dst_ = nullptr;
};

// Builds the document's tree from the reader's events, but for the arrays that stand
// where a list does ($.allowed, $.denied, $.connect.addresses): their entries are read
// as they stream by, with no node for each, and the tree holds for such an array the
// number of its reading alone.
class TreeBuilder {
public:
    TreeBuilder(rapidjson::Document& tree, std::vector<StreamedList>& lists, const InPlaceStream& stream, std::size_t size)
        : tree_(tree), lists_(lists), stream_(stream), size_(size) {}

    bool Null() { return list_ != nullptr ? NotAnEntry("null") : tree_.Null(); }
    bool Bool(bool b) { return list_ != nullptr ? NotAnEntry("true or false") : tree_.Bool(b); }
    bool Int(int i) { return list_ != nullptr ? NotAnEntry("a whole number") : tree_.Int(i); }
    bool Uint(unsigned i) { return list_ != nullptr ? NotAnEntry("a whole number") : tree_.Uint(i); }
    bool Int64(std::int64_t i) { return list_ != nullptr ? NotAnEntry("a whole number") : tree_.Int64(i); }
    bool Uint64(std::uint64_t i) { return list_ != nullptr ? NotAnEntry("a whole number") : tree_.Uint64(i); }
    bool Double(double d) { return list_ != nullptr ? NotAnEntry("a number") : tree_.Double(d); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }  // not asked for
    bool String(const char* text, rapidjson::SizeType length, bool copy) {
        if (list_ == nullptr) return tree_.String(text, length, copy);
        if (skip_ == 0) Entry({text, length});
        return true;
    }
    bool Key(const char* text, rapidjson::SizeType length, bool copy) {
        if (list_ != nullptr) return true;
        if (open_.size() == 1) root_key_.assign(text, length);
        if (open_.size() == 2) connect_key_.assign(text, length);
        return tree_.Key(text, length, copy);
    }
    bool StartObject() {
        if (list_ != nullptr) return Open("an object");
        // The object of $.connect, whose "addresses" is a list.
        if (open_.size() == 1) in_connect_ = open_[0] == '{' && root_key_ == "connect";
        open_.push_back('{');
        return tree_.StartObject();
    }
    bool EndObject(rapidjson::SizeType members) {
        if (list_ != nullptr) return Close();
        open_.pop_back();
        return tree_.EndObject(members);
    }
    bool StartArray() {
        if (list_ != nullptr) return Open("an array");
        const bool root_list = open_.size() == 1 && open_[0] == '{' && (root_key_ == "allowed" || root_key_ == "denied");
        const bool connect_list = open_.size() == 2 && in_connect_ && open_[1] == '{' && connect_key_ == "addresses";
        if (root_list || connect_list) {
            list_kind_ = connect_list ? AddressList::kConnect : root_key_ == "allowed" ? AddressList::kAllowed : AddressList::kDenied;
            list_ = &lists_.emplace_back();
            index_ = 0;
            // Room for as many entries as the rest of the text can hold (an entry takes
            // nine bytes at least) up to what the list holds, so that a long list is not
            // moved as it grows; what a short one does not use is given back at its end.
            constexpr std::size_t kShortestEntry = 9;
            list_->entries.reserve(std::min((size_ - stream_.Tell()) / kShortestEntry, ListCapacity(list_kind_)));
        }
        open_.push_back('[');
        return tree_.StartArray();
    }
    bool EndArray(rapidjson::SizeType elements) {
        if (list_ != nullptr && skip_ > 0) return Close();
        open_.pop_back();
        if (list_ == nullptr) return tree_.EndArray(elements);
        if (list_->entries.capacity() > 2 * list_->entries.size()) list_->entries.shrink_to_fit();
        list_ = nullptr;
        return tree_.Uint64(lists_.size() - 1) && tree_.EndArray(1);
    }

private:
    // A value in a list that is no string (or a part of one).
    bool NotAnEntry(const char* type) {
        if (skip_ == 0) Mistake(std::string("expected an address string, not ") + type);
        return true;
    }
    bool Open(const char* type) {
        NotAnEntry(type);
        ++skip_;
        return true;
    }
    bool Close() {
        --skip_;
        return true;
    }
    void Mistake(std::string what) { list_->mistakes.emplace_back(index_++, std::move(what)); }
    void Entry(std::string_view text) {
        AddressPattern pattern;
        if (ReadPlainPattern(text, list_kind_, pattern)) {
            list_->entries.push_back(pattern);
            ++index_;
            return;
        }
        const ListLine line = ReadListLine(text, list_kind_);
        if (line.kind != ListLine::kAddress) {
            Mistake("\"" + PrintableLine(text) + "\": " + (line.kind == ListLine::kBad ? line.error : "not an address"));
            return;
        }
        list_->entries.push_back(line.address);
        list_->entries.insert(list_->entries.end(), line.more.begin(), line.more.end());
        ++index_;
    }

    rapidjson::Document& tree_;
    std::vector<StreamedList>& lists_;
    const InPlaceStream& stream_;
    std::size_t size_;         // of the text the stream reads
    std::string open_;         // the containers open outside a list: '{' or '['
    std::string root_key_;     // the last member name of the root object
    std::string connect_key_;  // the last member name of an object in the root object
    bool in_connect_ = false;  // that object is the value of "connect"
    StreamedList* list_ = nullptr;  // the list being read, if any
    AddressList list_kind_ = AddressList::kDenied;
    std::size_t index_ = 0;    // the next entry's index
    int skip_ = 0;             // how deep inside an entry that is an object or array
};

bool IsJsonSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; }

bool IsHexDigit(char ch) { return (ch >= '0' && ch <= '9') || ((ch | 0x20) >= 'a' && (ch | 0x20) <= 'f'); }

// Four hex digits at `at`: their value, or the offset of the first that is none.
bool HexUnit(std::string_view text, std::size_t at, unsigned& unit, std::size_t& bad) {
    unit = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        if (i >= text.size() || !IsHexDigit(text[i])) {
            bad = i;
            return false;
        }
        unit = unit << 4 | static_cast<unsigned>(text[i] <= '9' ? text[i] - '0' : (text[i] | 0x20) - 'a' + 10);
    }
    return true;
}

// Where the escape whose backslash stands at `at` goes wrong, read a character at a
// time: the character that cannot follow, or the last digit of a half of a pair that
// has no other half (a lone half would become bytes that are no UTF-8). The size, with
// the escape's `length`, when it is sound, or when the text ends inside it (and the
// reader's mistake is its end).
std::size_t EscapeMistake(std::string_view text, std::size_t at, std::size_t& length) {
    std::size_t bad = text.size();
    unsigned unit;
    length = 2;
    if (at + 1 >= text.size()) return at + 1;
    if (text[at + 1] != 'u') return std::string_view("\"\\/bfnrt").find(text[at + 1]) != std::string_view::npos ? text.size() : at + 1;
    if (!HexUnit(text, at + 2, unit, bad)) return bad;
    length = 6;
    if (unit >= 0xDC00 && unit < 0xE000) return at + 5;
    if (unit < 0xD800 || unit >= 0xDC00) return text.size();
    const std::size_t second = at + 6;
    if (second >= text.size() || text[second] != '\\') return second;
    if (second + 1 >= text.size() || text[second + 1] != 'u') return second + 1;
    if (!HexUnit(text, second + 2, unit, bad)) return bad;
    length = 12;
    return unit >= 0xDC00 && unit < 0xE000 ? text.size() : second + 5;
}

// In text the reader took as JSON: where its first unsound escape goes wrong (a second
// half of a pair alone, which the reader takes), or npos when there is none. Every
// backslash of such text starts an escape in a string, so the escapes are found one
// after the other.
std::size_t FirstEscapeMistake(std::string_view text) {
    std::size_t length = 0;
    for (std::size_t at = text.find('\\'); at != std::string_view::npos; at = text.find('\\', at + length))
        if (const std::size_t bad = EscapeMistake(text, at, length); bad != text.size()) return bad;
    return std::string_view::npos;
}

}  // namespace

bool ReadApplyDocument(std::span<char> bytes, ApplyDocument& doc, std::size_t& error_byte) {
    std::string converted;
    if (ListTextAsUtf8({bytes.data(), bytes.size()}, converted)) bytes = converted;
    // A UTF-8 byte-order mark, as some editors write one, is no part of the document;
    // the places of mistakes still count it.
    const std::size_t mark = std::string_view(bytes.data(), bytes.size()).starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const std::span<char> place = bytes.subspan(mark);
    const std::string_view text(place.data(), place.size());
    // What the reading in place changes is checked before it: that the whole document
    // is UTF-8 (apart, many bytes at a time, where the reader's own check would go
    // character by character), and the escapes.
    const std::size_t not_utf8 = Utf8MistakeAt(text);
    const std::size_t escape_mistake = FirstEscapeMistake(text);
    // The reader stops after the value, so that what follows is checked here, up to the
    // last byte (it takes a NUL byte for the end).
    InPlaceStream stream(place);
    rapidjson::Reader reader;
    rapidjson::Document root;
    std::vector<StreamedList> lists;
    auto read_tree = [&](rapidjson::Document& tree) {
        TreeBuilder builder(tree, lists, stream, text.size());
        return !reader.Parse<rapidjson::kParseInsituFlag | rapidjson::kParseStopWhenDoneFlag>(stream, builder).IsError();
    };
    root.Populate(read_tree);
    std::size_t bad = std::string_view::npos;  // where the first mistake lies
    std::size_t read = stream.Tell();            // how far the reader took the text as JSON
    if (reader.HasParseError()) {
        read = bad = reader.GetErrorOffset();
        // The reader names an escape by its backslash; the place is where, read a
        // character at a time, the escape turns out wrong.
        const rapidjson::ParseErrorCode code = reader.GetParseErrorCode();
        std::size_t length;
        if ((code == rapidjson::kParseErrorStringEscapeInvalid || code == rapidjson::kParseErrorStringUnicodeEscapeInvalidHex ||
             code == rapidjson::kParseErrorStringUnicodeSurrogateInvalid) &&
            bad < text.size() && text[bad] == '\\')
            bad = EscapeMistake(text, bad, length);
    } else {
        std::size_t end = read;
        while (end < text.size() && IsJsonSpace(text[end])) ++end;
        if (end != text.size()) bad = end;
    }
    // Whichever mistake comes first counts. Up to where the reader went, every
    // backslash began an escape, so the escapes were found where they are.
    if (escape_mistake < read) bad = std::min(bad, escape_mistake);
    if (not_utf8 != text.size()) bad = std::min(bad, not_utf8);
    if (bad != std::string_view::npos) {
        // Counted from 1: the byte at which the reading found the mistake.
        error_byte = mark + bad + 1;
        return false;
    }
    Reading reading{doc, lists};
    ReadDocument(reading, root);
    return true;
}

bool ApplyToConfig(GameConfig& config, ApplyDocument& doc, std::vector<std::string>& changed, std::vector<ApplyLine>& lines) {
    bool good = true;
    for (GivenValue& given : doc.values) {
        const ItemValue current = ItemValueOf(config, *given.item);
        std::string error;
        if (!CheckItemValue(*given.item, given.value, current, error)) {
            lines.push_back({true, given.path + ": " + error});
            good = false;
            continue;
        }
        if (SameItemValue(current, given.value)) continue;
        StoreItemValue(config, *given.item, given.value);
        changed.push_back(given.item->name);
    }
    for (GivenList& given : doc.lists) {
        if (SamePatterns(ListEntries(config, given.list), given.entries)) continue;
        std::vector<AddressPattern> entries = NewEntries({}, given.entries, [&](std::size_t i, std::size_t) {
            lines.push_back({false, given.path + "[" + std::to_string(i) + "]: " +
                                        FormatAddressText(given.entries[i].octets[0], given.entries[i].octets[1],
                                                          given.entries[i].octets[2], given.entries[i].octets[3]) +
                                        " is listed twice; dropped"});
        });
        if (entries.size() > ListCapacity(given.list)) {
            lines.push_back({true, given.path + ": " + std::to_string(entries.size()) + " addresses, more than the " +
                                       std::to_string(ListCapacity(given.list)) + " the " + ListName(given.list) +
                                       " list holds"});
            good = false;
            continue;
        }
        StoreEntries(config, given.list, std::move(entries));
        changed.emplace_back(ListName(given.list));
    }
    return good;
}
