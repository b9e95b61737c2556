// The configuration in readable form, as `qorcfg show` prints it, text and JSON: both
// walk the schema's rows, so each value is printed by the name set takes.
#include <cstdio>

#include "cli/json_writer.h"
#include "cli/report.h"
#include "cli/schema.h"
#include "cli/schema_texts.h"
#include "cli/terminal_text.h"
#include "cli/texts.h"
#include "model/address_text.h"

namespace {

std::string Pad(std::string text, std::size_t width) {
    text.append(text.size() < width ? width - text.size() : 1, ' ');
    return text;
}

std::string Number(long long value) { return std::to_string(value); }

// What the window makes of a value outside its set, after its meaning.
std::string OutsideNote(const SchemaRow& row, std::int64_t value) {
    if (IsTextRow(row) || InValueSet(row, value)) return "";
    const std::int64_t saved = SavedValue(row, value);
    return saved == value ? Say(CliText::kOutsideKept) : Say(CliText::kOutsideSaved, {saved});
}

// The window's caption of an option, by the option's name.
struct NamedCaption {
    const char* name;
    CliText caption;
};

const NamedCaption kCaptions[] = {
    {"screen_size", CliText::kCaptionScreenSize},     {"full_screen", CliText::kCaptionFullScreen},
    {"fps_60", CliText::kCaptionFps},                 {"barrier_near_character", CliText::kCaptionBarrier},
    {"reduce_load", CliText::kCaptionReduceLoad},     {"screen_shake", CliText::kCaptionScreenShake},
    {"bgm_volume", CliText::kCaptionBgmVolume},       {"se_volume", CliText::kCaptionSeVolume},
    {"voice_volume", CliText::kCaptionVoiceVolume},   {"story_difficulty", CliText::kCaptionDifficulty},
    {"movie_playback", CliText::kCaptionMovie},       {"run_when_inactive", CliText::kCaptionInactive},
    {"loading_illustration", CliText::kCaptionLoading},
};

// In the Japanese face, the window's own words for a value after it ("  「画面サイズ」"),
// so that a host who knows the window finds each value by its caption; the English face
// names values as set takes them alone.
std::string Caption(const SchemaRow& row) {
    if (CliFace() != Language::kJapanese) return "";
    std::string caption;
    const std::string key = "F" + Number(row.index + 1);
    switch (row.row == RowKind::kList ? ValueKind::kOption : row.kind) {
        case ValueKind::kConnectId: caption = Say(CliText::kCaptionId); break;
        case ValueKind::kAllowedOnly: caption = Say(CliText::kCaptionAllowedOnly); break;
        case ValueKind::kInputMethod: caption = Say(CliText::kCaptionInputMethod, {row.index + 1}); break;
        case ValueKind::kMessageText: caption = Say(CliText::kCaptionMessageText, {key}); break;
        case ValueKind::kMessageTarget: caption = Say(CliText::kCaptionMessageTarget, {key}); break;
        case ValueKind::kOption:
            if (row.row == RowKind::kList) {
                caption = Say(row.list == AddressList::kConnect   ? CliText::kListConnect
                              : row.list == AddressList::kAllowed ? CliText::kListAllowed
                                                                  : CliText::kListDenied);
                break;
            }
            for (const NamedCaption& named : kCaptions)
                if (row.name == named.name) caption = Say(named.caption);
            break;
        default: break;
    }
    // Corner brackets, as Japanese text quotes a caption (UTF-8: narrow literals are CP932).
    return caption.empty() ? caption
                           : std::string(row.row == RowKind::kList ? " " : "  ") +
                                 reinterpret_cast<const char*>(u8"\u300C") + caption +
                                 reinterpret_cast<const char*>(u8"\u300D");
}

// "  1.2.3.4\n" for each entry.
void AppendEntries(std::string& out, const std::vector<AddressPattern>& entries) {
    for (const AddressPattern& p : entries) {
        char line[kAddressTextMax + 3] = {' ', ' '};
        char* end = WriteAddressText(line + 2, p.octets[0], p.octets[1], p.octets[2], p.octets[3]);
        *end++ = '\n';
        out.append(line, end);
    }
}

void AppendValue(std::string& out, const SchemaRow& row, const GameConfig& c) {
    const ItemValue value = ValueOf(c, row);
    const std::string& name = ShownName(row);
    if (value.is_text) {
        out += Pad(name, 24) + QuotedText(value.text) + Caption(row) + "\n";
        return;
    }
    std::string meaning = Meaning(row, value, CliFace());
    if (row.key != nullptr) {
        const std::string caption = Cp932ToUtf8(row.key->caption);
        meaning = Pad(meaning, 10) + (caption.empty() ? SlotAction(*row.key, CliFace())
                                                     : Say(CliText::kShowKeySlot, {row.slot, caption, row.key->action}));
    }
    out += Pad(name, 24) + Pad(Number(value.number), 8) + meaning + OutsideNote(row, value.number) + Caption(row) + "\n";
}

void AppendFact(std::string& out, const SchemaRow& row, const GameConfig& c, const FileFacts& facts) {
    switch (row.fact) {
        case FactKind::kFile: out += Say(CliText::kShowFile, {facts.path, facts.size}) + "\n"; break;
        case FactKind::kVersion: out += Say(CliText::kShowVersion, {facts.version}) + "\n"; break;
        case FactKind::kOpaqueRecords: {
            const std::size_t records = c.opaque_records.size();
            out += Say(CliText::kShowOpaqueRecords, {records, records * sizeof(OpaqueRecord)}) + "\n";
            break;
        }
        case FactKind::kOpaqueWords: out += Say(CliText::kShowOpaqueWords, {c.opaque_word_1, c.opaque_word_2}) + "\n"; break;
        default: break;  // in the JSON alone
    }
}

void PutPair(JsonOut& out, long long value, std::string_view meaning) {
    out.LineObject([&](JsonOut::LineWriter& line) {
        line.Key("value");
        line.Int64(value);
        line.Key("meaning");
        JsonOut::PutString(line, meaning);
    });
}

void PutKeys(JsonOut& out, const KeyMap& map) {
    out->StartArray();
    for (const KeyRow& key : key_rows) {
        out.LineObject([&](JsonOut::LineWriter& line) {
            line.Key("slot");
            line.Uint(key.slot);
            line.Key("action");
            line.String(key.action);
            line.Key("caption");
            JsonOut::PutString(line, Cp932ToUtf8(key.caption));
            line.Key("label");
            line.String(FormatKeyLabel(map[key.slot]).text);
        });
    }
    out->EndArray();
}

void PutFact(JsonOut& out, const SchemaRow& row, const GameConfig& c, const FileFacts& facts) {
    switch (row.fact) {
        case FactKind::kFile: out.String(facts.path); break;
        case FactKind::kSize: out->Uint64(facts.size); break;
        case FactKind::kVersion: out->Uint(facts.version); break;
        case FactKind::kPlayer: out->Int(row.steps[1].index + 1); break;
        case FactKind::kKeys: PutKeys(out, c.options.key_map[row.steps[1].index]); break;
        case FactKind::kMessageKey: out.String("F" + Number(row.steps[1].index + 1)); break;
        case FactKind::kOpaqueRecords:
            out.LineObject([&](JsonOut::LineWriter& line) {
                line.Key("count");
                line.Uint64(c.opaque_records.size());
                line.Key("bytes");
                line.Uint64(c.opaque_records.size() * sizeof(OpaqueRecord));
            });
            break;
        case FactKind::kOpaqueWords:
            out.LineArray([&](JsonOut::Writer& line) {
                line.Uint(c.opaque_word_1);
                line.Uint(c.opaque_word_2);
            });
            break;
    }
}

void PutRow(JsonOut& out, const SchemaRow& row, const GameConfig& c, const FileFacts& facts) {
    if (row.row == RowKind::kFact) return PutFact(out, row, c, facts);
    if (row.row == RowKind::kList) {
        const int depth = static_cast<int>(row.steps.size());
        if (row.list == AddressList::kConnect) return out.AddressArray(ListEntries(c, row.list), depth);
        return out.AddressArray(row.list == AddressList::kAllowed ? c.allowed_patterns : c.denied_patterns, depth);
    }
    const ItemValue value = ValueOf(c, row);
    if (value.is_text) return out.String(value.text);
    if (row.kind == ValueKind::kKeySlot) return void(out->Int64(value.number));
    PutPair(out, value.number, Meaning(row, value));
}

void PutNode(JsonOut& out, const ShapeNode& node, const GameConfig& c, const FileFacts& facts) {
    if (node.kind == ShapeNode::kRow) return PutRow(out, *node.row, c, facts);
    const bool object = node.kind == ShapeNode::kObject;
    // An array of numbers (a key map) on one line.
    if (!object && node.children.front().kind == ShapeNode::kRow) {
        return out.LineArray([&](JsonOut::Writer& line) {
            for (const ShapeNode& element : node.children) line.Int64(ValueOf(c, *element.row).number);
        });
    }
    object ? out->StartObject() : out->StartArray();
    for (const ShapeNode& child : node.children) {
        if (object) out.Key(child.name);
        PutNode(out, child, c, facts);
    }
    object ? out->EndObject() : out->EndArray();
}

}  // namespace

std::string ShowText(const GameConfig& c, const FileFacts& facts) {
    std::string out;
    for (const SchemaRow& row : SchemaRows()) {
        switch (row.row) {
            case RowKind::kValue: AppendValue(out, row, c); break;
            case RowKind::kFact: AppendFact(out, row, c, facts); break;
            case RowKind::kList: {
                const std::vector<AddressPattern> entries = ListEntries(c, row.list);
                const std::string name = row.name + Caption(row);
                out += (row.list == AddressList::kConnect
                            ? Say(CliText::kShowListOf, {name, entries.size(), ListCapacity(row.list)})
                            : Say(CliText::kShowList, {name, entries.size()})) +
                       "\n";
                AppendEntries(out, entries);
                break;
            }
        }
    }
    return out;
}

void ShowJson(const GameConfig& c, const FileFacts& facts, JsonOut& out) {
    PutNode(out, DocumentShape(), c, facts);
}

std::size_t ShowJsonSize(const GameConfig& c) {
    constexpr std::size_t kFixed = 16384, kPerEntry = 24;  // "    \"255.255.255.255\",\n"
    return kFixed + (c.allowed_patterns.size() + c.denied_patterns.size()) * kPerEntry;
}
