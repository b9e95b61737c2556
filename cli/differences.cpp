// Collecting the differences of two configurations by the schema's rows, and printing
// them.
#include "cli/differences.h"

#include <algorithm>
#include <cstring>

#include "cli/json_writer.h"
#include "cli/texts.h"
#include "model/address_lists.h"
#include "model/address_text.h"

namespace {

std::string PatternText(const AddressPattern& p) { return FormatAddressText(p.octets[0], p.octets[1], p.octets[2], p.octets[3]); }

// The entries of `of` that `other` does not hold, each once; all of them, as they stand,
// when `other` is empty (a list given to an empty one, or emptied, is not looked through).
std::vector<AddressPattern> Missing(const std::vector<AddressPattern>& other, const std::vector<AddressPattern>& of) {
    if (other.empty() || of.empty()) return other.empty() ? of : std::vector<AddressPattern>{};
    return NewEntries(other, of, [](std::size_t, std::size_t) {});
}

bool SameRecords(const GameConfig& a, const GameConfig& b) {
    return std::equal(a.opaque_records.begin(), a.opaque_records.end(), b.opaque_records.begin(), b.opaque_records.end(),
                      [](const OpaqueRecord& x, const OpaqueRecord& y) { return std::memcmp(x.bytes, y.bytes, sizeof x.bytes) == 0; });
}

void CompareCarried(const SchemaRow& row, const GameConfig& from, const GameConfig& to, Differences& out) {
    if (row.fact == FactKind::kOpaqueWords &&
        (from.opaque_word_1 != to.opaque_word_1 || from.opaque_word_2 != to.opaque_word_2))
        out.carried.push_back({&row, {from.opaque_word_1, from.opaque_word_2}, {to.opaque_word_1, to.opaque_word_2}});
    if (row.fact == FactKind::kOpaqueRecords && !SameRecords(from, to))
        out.carried.push_back({&row, {from.opaque_records.size()}, {to.opaque_records.size()}});
}

std::string Numbers(const std::vector<std::uint64_t>& numbers) {
    if (numbers.size() == 1) return std::to_string(numbers[0]);
    std::string text;
    for (std::uint64_t n : numbers) text += (text.empty() ? "[" : ",") + std::to_string(n);
    return text + "]";
}

void PutValue(JsonOut& out, const SchemaRow& row, const ItemValue& value) {
    if (value.is_text) return out.String(value.text);
    out.LineObject([&](JsonOut::LineWriter& line) {
        line.Key("value");
        line.Int64(value.number);
        line.Key("meaning");
        JsonOut::PutString(line, Meaning(row, value));
    });
}

void PutNumbers(JsonOut& out, const std::vector<std::uint64_t>& numbers) {
    if (numbers.size() == 1) return void(out->Uint64(numbers[0]));
    out.LineArray([&](JsonOut::Writer& line) {
        for (std::uint64_t n : numbers) line.Uint64(n);
    });
}

// One member of "fields": {"field", "other", "this"}.
template <typename Put>
void PutField(JsonOut& out, const std::string& name, Put put_from, Put put_to) {
    out->StartObject();
    out.Key("field");
    out.String(name);
    out.Key("other");
    put_from();
    out.Key("this");
    put_to();
    out->EndObject();
}

void PutList(JsonOut& out, const ListDifference& list) {
    out.Key(list.row->name);
    out->StartObject();
    for (const auto& [key, entries] : {std::pair{"added", &list.added}, std::pair{"removed", &list.removed}}) {
        out.Key(key);
        out->StartArray();
        for (const AddressPattern& p : *entries) out.String(PatternText(p));
        out->EndArray();
    }
    out.Key("reordered");
    out->Bool(list.reordered);
    out->EndObject();
}

}  // namespace

ItemValue ConfigSide::Value(const SchemaRow& row) const {
    const GivenValue* given = document != nullptr ? document->ValueFor(row) : nullptr;
    return given != nullptr ? given->value : ValueOf(config, row);
}

const std::vector<AddressPattern>& ConfigSide::List(const SchemaRow& row, std::vector<AddressPattern>& gathered) const {
    const GivenList* given = document != nullptr ? document->ListFor(row) : nullptr;
    return given != nullptr ? given->entries : ListEntries(config, row.list, gathered);
}

Differences Compare(const ConfigSide& from, const ConfigSide& to) {
    Differences out;
    for (const SchemaRow& row : SchemaRows()) {
        if (row.row == RowKind::kValue) {
            ItemValue was = from.Value(row), now = to.Value(row);
            if (!SameValue(was, now)) out.values.push_back({&row, std::move(was), std::move(now)});
        } else if (row.row == RowKind::kList) {
            std::vector<AddressPattern> gathered_was, gathered_now;
            const std::vector<AddressPattern>& was = from.List(row, gathered_was);
            const std::vector<AddressPattern>& now = to.List(row, gathered_now);
            if (SamePatterns(was, now)) continue;
            ListDifference list{&row, Missing(was, now), Missing(now, was), false};
            list.reordered = list.added.empty() && list.removed.empty();
            out.lists.push_back(std::move(list));
        } else {
            CompareCarried(row, from.config, to.config, out);
        }
    }
    return out;
}

std::string DifferencesText(const Differences& d) {
    std::string text;
    for (const ValueDifference& v : d.values)
        text += ShownName(*v.row) + ": " + ValueText(*v.row, v.from, CliFace()) + " -> " + ValueText(*v.row, v.to, CliFace()) +
                "\n";
    for (const ListDifference& list : d.lists) {
        for (const AddressPattern& p : list.added) text += list.row->name + ": + " + PatternText(p) + "\n";
        for (const AddressPattern& p : list.removed) text += list.row->name + ": - " + PatternText(p) + "\n";
        if (list.reordered) text += Say(CliText::kDiffReordered, {list.row->name}) + "\n";
    }
    for (const CarriedDifference& c : d.carried)
        text += c.row->fact == FactKind::kOpaqueRecords
                    ? Say(CliText::kDiffRecords, {c.row->name, Numbers(c.from), Numbers(c.to)}) + "\n"
                    : c.row->name + ": " + Numbers(c.from) + " -> " + Numbers(c.to) + "\n";
    return text;
}

std::string DifferencesJson(const Differences& d, const std::string& from_name, const std::string& to_name) {
    JsonOut out;
    out->StartObject();
    out.Key("other");
    out.String(from_name);
    out.Key("this");
    out.String(to_name);
    out.Key("same");
    out->Bool(d.Empty());
    out.Key("fields");
    out->StartArray();
    for (const ValueDifference& v : d.values) {
        auto put = [&](const ItemValue& value) { return [&, value] { PutValue(out, *v.row, value); }; };
        PutField(out, ShownName(*v.row), put(v.from), put(v.to));
    }
    for (const CarriedDifference& c : d.carried) {
        auto put = [&](const std::vector<std::uint64_t>& numbers) { return [&] { PutNumbers(out, numbers); }; };
        PutField(out, c.row->name, put(c.from), put(c.to));
    }
    out->EndArray();
    out.Key("lists");
    out->StartObject();
    for (const ListDifference& list : d.lists) PutList(out, list);
    out->EndObject();
    out->EndObject();
    return std::string(out.Text());
}

std::string DifferencesSummary(const Differences& d) {
    constexpr std::size_t kShown = 6;
    std::vector<std::string> names;
    for (const ValueDifference& v : d.values) names.push_back(ShownName(*v.row));
    std::string text;
    if (!names.empty()) {
        std::string shown;
        for (std::size_t i = 0; i < names.size() && i < kShown; ++i) shown += (i == 0 ? "" : Say(CliText::kJoinComma)) + names[i];
        if (names.size() > kShown) shown = Say(CliText::kSummaryMore, {shown, names.size() - kShown});
        text = Say(CliText::kSummaryChanged, {shown});
    }
    for (const ListDifference& list : d.lists) {
        const std::string counts = list.reordered ? Say(CliText::kSummaryReordered, {list.row->name})
                                                  : Say(CliText::kSummaryListCounts,
                                                        {list.row->name, list.removed.size(), list.added.size()});
        text = text.empty() ? counts : Say(CliText::kThenOutcome, {text, counts});
    }
    return text.empty() ? Say(CliText::kNoValueChanged) : text;
}
