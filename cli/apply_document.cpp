// Reading the document qorcfg apply takes by the schema's rows, and applying it to a
// configuration.
#include "cli/apply_document.h"

#include <algorithm>
#include <unordered_set>

#include "cli/list_text.h"
#include "cli/suggest.h"
#include "cli/texts.h"
#include "model/address_lists.h"

namespace {

// A value given as {"value": n, "meaning": "..."}, read member by member.
struct Pair {
    const SchemaRow* row = nullptr;
    JsonPath path, meaning_path;
    bool has_number = false, has_meaning = false;
    std::int64_t number = 0;
    std::string meaning;
};

// A container the document reader is inside: a part of the document's shape, a pair or
// a list.
struct Frame {
    enum Mode { kShape, kPair, kList } mode;
    const ShapeNode* node = nullptr;  // kShape
    std::size_t values_begin = 0;     // kShape, an element of an array: its first value
    int selected = -1;                // the same: the entry its selector picked
    bool overflow = false;            // kShape, an array: past its last element said once
};

class DocumentReader : public JsonHandler {
public:
    DocumentReader(ApplyDocument& doc, std::size_t text_size) : doc_(doc), text_size_(text_size) {}

    void Scalar(const JsonPath& path, const JsonScalar& value) override {
        if (path.Depth() == 0) return Mistake(path, Not(Say(CliText::kExpectedObject), value.TypeName()));
        Frame& top = frames_.back();
        if (top.mode == Frame::kList) return Entry(path, value);
        if (top.mode == Frame::kPair) return PairMember(path, value);
        const ShapeNode* node = Child(top, path);
        if (node == nullptr) return;
        if (node->kind != ShapeNode::kRow) return Mistake(path, Not(Wanted(*node), value.TypeName()));
        const SchemaRow& row = *node->row;
        if (row.row == RowKind::kFact) return Fact(path, row, value);
        if (row.row == RowKind::kList) return Mistake(path, Not(Say(CliText::kExpectedAddresses), value.TypeName()));
        ItemValue read;
        std::string error;
        if (!ReadScalar(row, value, read, error)) return Mistake(path, error);
        doc_.values.push_back({path.Place(), path.Text(), &row, std::move(read)});
    }

    JsonOpen Open(const JsonPath& path, bool object) override {
        const std::string type = Say(object ? CliText::kTypeObject : CliText::kTypeArray);
        if (path.Depth() == 0) {
            if (!object) return Mistake(path, Not(Say(CliText::kExpectedObject), type)), JsonOpen::kSkip;
            frames_.push_back({Frame::kShape, &DocumentShape()});
            return JsonOpen::kRead;
        }
        Frame& top = frames_.back();
        if (top.mode == Frame::kList) return Entry(path, type), JsonOpen::kSkip;
        if (top.mode == Frame::kPair)
            return Mistake(path, Not(Say(CliText::kExpectedWholeOrString), type)), JsonOpen::kSkip;
        const ShapeNode* node = Child(top, path);
        if (node == nullptr) return JsonOpen::kSkip;
        if (node->kind == ShapeNode::kRow) return OpenRow(path, *node->row, object);
        if ((node->kind == ShapeNode::kObject) != object) return Mistake(path, Not(Wanted(*node), type)), JsonOpen::kSkip;
        frames_.push_back({Frame::kShape, node, doc_.values.size()});
        return JsonOpen::kRead;
    }

    // An entry of a list that is a pattern as it stands, read where it stands.
    bool TakePlainString(std::string_view text, std::size_t room) override {
        GivenList& list = doc_.lists.back();
        AddressPattern pattern;
        if (!ReadPlainPattern(text, list.row->list, pattern, room)) return false;
        list.entries.push_back(pattern);
        return true;
    }

    void Close(const JsonPath& path, bool, std::size_t count) override {
        const Frame frame = frames_.back();
        frames_.pop_back();
        if (frame.mode == Frame::kPair) return ClosePair();
        if (frame.mode == Frame::kList) return CloseList();
        const ShapeNode& node = *frame.node;
        if (node.kind == ShapeNode::kArray && Whole(node) && count != node.children.size())
            Mistake(path, Say(CliText::kExpectedElements, {node.children.size(), count}));
        if (frame.selected >= 0 && static_cast<std::size_t>(frame.selected) != path.Last().index)
            Reselect(path, frame);
    }

private:
    // An array of values (a key map) is given whole; an array of objects, in part.
    static bool Whole(const ShapeNode& array) { return array.children.front().kind == ShapeNode::kRow; }

    static std::string Wanted(const ShapeNode& node) {
        if (node.kind == ShapeNode::kObject) return Say(CliText::kExpectedObject);
        return Whole(node) ? Say(CliText::kExpectedArrayOf, {node.children.size()}) : Say(CliText::kExpectedArray);
    }

    // "expected ..., not a string".
    static std::string Not(const std::string& expected, const std::string& given) {
        return Say(CliText::kExpectedNot, {expected, given});
    }

    void Mistake(const JsonPath& path, std::string text) { doc_.mistakes.push_back({path.Place(), path.Text(), std::move(text)}); }

    // The shape of the member or element at the end of `path` in the container `top`;
    // null, after saying so where it is a mistake, when there is none.
    const ShapeNode* Child(Frame& top, const JsonPath& path) {
        const ShapeNode& node = *top.node;
        const JsonPathStep& step = path.Last();
        if (!step.element) {
            std::vector<std::string> names;
            for (const ShapeNode& child : node.children) {
                if (child.name == step.name) return &child;
                names.push_back(child.name);
            }
            Mistake(path, Say(CliText::kUnknownMember, {DidYouMean(step.name, names)}));
            return nullptr;
        }
        if (step.index < node.children.size()) return &node.children[step.index];
        if (!Whole(node) && !top.overflow)
            Mistake(path, Say(CliText::kExpectedAtMost, {node.children.size()}));
        top.overflow = true;
        return nullptr;
    }

    JsonOpen OpenRow(const JsonPath& path, const SchemaRow& row, bool object) {
        if (row.row == RowKind::kList && !object) {
            frames_.push_back({Frame::kList});
            doc_.lists.push_back({path.Place(), path.Text(), &row, {}});
            // Room for as many entries as the text can hold (an entry takes nine bytes at
            // least), up to what the list holds; what is not used is given back at its end.
            constexpr std::size_t kShortestEntry = 9;
            doc_.lists.back().entries.reserve(std::min(text_size_ / kShortestEntry, ListCapacity(row.list)));
            return JsonOpen::kReadStrings;
        }
        if (row.row == RowKind::kValue && object && !IsTextRow(row) && row.kind != ValueKind::kKeySlot) {
            frames_.push_back({Frame::kPair});
            pair_ = Pair{};
            pair_.row = &row;
            pair_.path = path;
            return JsonOpen::kRead;
        }
        if (row.row == RowKind::kFact && row.fact != FactKind::kPlayer && row.fact != FactKind::kMessageKey)
            return JsonOpen::kSkip;
        Mistake(path, Not(Expected(row), Say(object ? CliText::kTypeObject : CliText::kTypeArray)));
        return JsonOpen::kSkip;
    }

    static std::string Expected(const SchemaRow& row) {
        if (row.row == RowKind::kList) return Say(CliText::kExpectedAddresses);
        if (row.row == RowKind::kFact)
            return Say(row.fact == FactKind::kPlayer ? CliText::kExpectedPlayer : CliText::kExpectedMessageKey);
        if (IsTextRow(row)) return Say(CliText::kExpectedString);
        return Say(IsOnOffRow(row) ? CliText::kExpectedOnOffValue : CliText::kExpectedValue);
    }

    // A value given as a scalar: a text row takes a string; any other a whole number, a
    // meaning, and an on/off value true or false as well.
    static bool ReadScalar(const SchemaRow& row, const JsonScalar& given, ItemValue& value, std::string& error) {
        if (given.type == JsonScalar::kString) return ParseValue(row, given.text, value, error);
        if (given.type == JsonScalar::kWhole && !IsTextRow(row)) return value.number = given.whole, true;
        if (given.type == JsonScalar::kBool && IsOnOffRow(row)) return value.number = given.boolean ? 1 : 0, true;
        // Beyond every set: said as the number it is, never wrapped round into one that might fit.
        if (given.type == JsonScalar::kTooBig && !IsTextRow(row))
            return error = Say(CliText::kValueIsNotNumber, {row.name, ValueSetText(row, CliFace()), given.too_big}), false;
        error = Not(Expected(row), given.TypeName());
        return false;
    }

    void PairMember(const JsonPath& path, const JsonScalar& given) {
        const std::string& key = path.Last().name;
        if (key == "value") {
            ItemValue value;
            std::string error;
            const bool number = given.type != JsonScalar::kString && ReadScalar(*pair_.row, given, value, error);
            if (!number)
                return Mistake(path, error.empty() ? Not(Say(CliText::kExpectedWhole), Say(CliText::kTypeString)) : error);
            pair_.has_number = true;
            pair_.number = value.number;
        } else if (key == "meaning") {
            if (given.type != JsonScalar::kString) return Mistake(path, Not(Say(CliText::kExpectedString), given.TypeName()));
            pair_.has_meaning = true;
            pair_.meaning = given.text;
            pair_.meaning_path = path;
        } else {
            Mistake(path, Say(CliText::kUnknownMember, {DidYouMean(key, std::vector<std::string>{"value", "meaning"})}));
        }
    }

    void ClosePair() {
        const SchemaRow& row = *pair_.row;
        ItemValue value;
        value.number = pair_.number;
        std::string error;
        if (!pair_.has_number && !pair_.has_meaning) return Mistake(pair_.path, Say(CliText::kExpectedValueOrMeaning));
        if (pair_.has_meaning && !pair_.has_number && !ParseValue(row, pair_.meaning, value, error))
            return Mistake(pair_.meaning_path, error);
        // Given both, the meaning is the one the value shows as, in either face: a changed
        // meaning with the old value left would otherwise be lost without a word.
        if (pair_.has_meaning && pair_.has_number && Meaning(row, value) != pair_.meaning &&
            Meaning(row, value, Language::kJapanese) != pair_.meaning)
            return Mistake(pair_.meaning_path,
                           Say(CliText::kMeansNot, {value.number, Meaning(row, value, CliFace()), pair_.meaning}));
        doc_.values.push_back({pair_.path.Place(), pair_.path.Text(), &row, std::move(value)});
    }

    // A selector ("player": 2, "key": "F3") picks the entry its object stands for.
    void Fact(const JsonPath& path, const SchemaRow& row, const JsonScalar& given) {
        if (row.fact != FactKind::kPlayer && row.fact != FactKind::kMessageKey) return;
        const std::size_t entries = row.fact == FactKind::kPlayer ? 2 : kFunctionMessages;
        for (std::size_t k = 0; k < entries; ++k) {
            const bool picks = row.fact == FactKind::kPlayer
                                   ? given.type == JsonScalar::kWhole && given.whole == static_cast<std::int64_t>(k + 1)
                                   : given.type == JsonScalar::kString && given.text == "F" + std::to_string(k + 1);
            if (picks) return void(frames_.back().selected = static_cast<int>(k));
        }
        Mistake(path, Expected(row));
    }

    // The values an entry gave, moved to the rows of the entry its selector picked.
    void Reselect(const JsonPath& path, const Frame& entry) {
        const std::string& array = path.steps[path.Depth() - 2].name;
        const std::string from = array + "[" + std::to_string(path.Last().index) + "]";
        const std::string to = array + "[" + std::to_string(entry.selected) + "]";
        for (std::size_t i = entry.values_begin; i < doc_.values.size(); ++i) {
            const SchemaRow* row = doc_.values[i].row;
            if (row->path.starts_with(from + ".")) doc_.values[i].row = RowAtPath(to + row->path.substr(from.size()));
        }
    }

    void Entry(const JsonPath& path, const JsonScalar& value) {
        if (value.type != JsonScalar::kString) return Entry(path, value.TypeName());
        GivenList& list = doc_.lists.back();
        AddressPattern pattern;
        if (ReadPlainPattern(value.text, list.row->list, pattern)) return list.entries.push_back(pattern);
        const ListLine line = ReadListLine(value.text, list.row->list);
        if (line.kind != ListLine::kAddress)
            return Mistake(path, "\"" + PrintableLine(value.text) + "\": " +
                                     (line.kind == ListLine::kBad ? line.error : Say(CliText::kNotAnAddress)));
        list.entries.push_back(line.address);
        list.entries.insert(list.entries.end(), line.more.begin(), line.more.end());
    }
    void Entry(const JsonPath& path, const std::string& type) { Mistake(path, Not(Say(CliText::kExpectedAddress), type)); }

    void CloseList() {
        std::vector<AddressPattern>& entries = doc_.lists.back().entries;
        if (entries.capacity() > 2 * entries.size()) entries.shrink_to_fit();
    }

    ApplyDocument& doc_;
    std::size_t text_size_;
    std::vector<Frame> frames_;
    Pair pair_;
};

// Of a row given twice, the last counts.
template <typename Given>
void KeepTheLast(std::vector<Given>& given) {
    std::unordered_set<const SchemaRow*> seen;
    std::vector<Given> kept;
    for (auto it = given.rbegin(); it != given.rend(); ++it)
        if (seen.insert(it->row).second) kept.push_back(std::move(*it));
    std::reverse(kept.begin(), kept.end());
    given = std::move(kept);
}

}  // namespace

const GivenValue* ApplyDocument::ValueFor(const SchemaRow& row) const {
    for (const GivenValue& given : values)
        if (given.row == &row) return &given;
    return nullptr;
}

const GivenList* ApplyDocument::ListFor(const SchemaRow& row) const {
    for (const GivenList& given : lists)
        if (given.row == &row) return &given;
    return nullptr;
}

bool ReadApplyDocument(const JsonText& text, ApplyDocument& doc, JsonMistake& not_json) {
    DocumentReader reader(doc, text.Size());
    if (!text.Read(reader, not_json)) return false;
    KeepTheLast(doc.values);
    KeepTheLast(doc.lists);
    return true;
}

bool ApplyToConfig(GameConfig& config, const ApplyDocument& doc, std::vector<ApplyLine>& lines) {
    bool good = true;
    for (const GivenValue& given : doc.values) {
        const ItemValue current = ValueOf(config, *given.row);
        ItemValue value = given.value;
        std::string error;
        if (!CheckValue(*given.row, value, current, error)) {
            lines.push_back({true, {given.at, given.path, error}});
            good = false;
        } else if (!SameValue(current, value)) {
            StoreValue(config, *given.row, value);
        }
    }
    for (const GivenList& given : doc.lists) {
        const AddressList list = given.row->list;
        std::vector<AddressPattern> entries = NewEntries({}, given.entries, [&](std::size_t i, std::size_t) {
            const AddressPattern& p = given.entries[i];
            lines.push_back({false, {kNoPlace, given.path + "[" + std::to_string(i) + "]",
                                     Say(CliText::kListedTwiceDropped,
                                         {FormatAddressText(p.octets[0], p.octets[1], p.octets[2], p.octets[3])})}});
        });
        if (entries.size() > ListCapacity(list)) {
            const std::string name = FaceWord(ListName(list), CliText::kListConnect, CliText::kListDenied, CliFace());
            lines.push_back(
                {true, {given.at, given.path, Say(CliText::kTooManyForList, {entries.size(), ListCapacity(list), name})}});
            good = false;
        } else if (std::vector<AddressPattern> gathered; !SamePatterns(ListEntries(config, list, gathered), entries)) {
            StoreEntries(config, list, std::move(entries));
        }
    }
    return good;
}
