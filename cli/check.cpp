// The findings of `qorcfg check`: where the tool's reading of a file differs from the
// file's bytes, and what the window's next save would make of it.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>

#include "cli/list_text.h"
#include "config/config_codec.h"
#include "cli/report.h"
#include "cli/schema.h"
#include "cli/texts.h"
#include "model/address_text.h"
#include "model/key_assign.h"

namespace {

template <typename Integer>
std::string Number(Integer value) {
    return std::to_string(value);
}

// The findings in one face, each said as the face says it.
struct Findings {
    Language face;
    std::vector<std::string> lines;
    void Add(CliText id, std::initializer_list<TextArgument> arguments) { lines.push_back(SayIn(face, id, arguments)); }
    std::string ListWord(AddressList list) const {
        return FaceWord(ListName(list), CliText::kListConnect, CliText::kListDenied, face);
    }
};

void CheckLayout(std::span<const std::uint8_t> bytes, std::uint16_t version, const GameConfig& c, Findings& findings) {
    if (version < kCurrentConfigVersion) {
        std::vector<std::string> parts = MigrationDefaults(version);
        for (std::string& part : parts) part = FaceWord(part, CliText::kMissingAllowedOnly, CliText::kMissingMessages, findings.face);
        findings.Add(CliText::kFindingOlder, {version, kCurrentConfigVersion, Listing(parts, CliText::kJoinAnd, findings.face)});
    }
    std::size_t expected = 0;
    const char* first_cut = nullptr;
    for (const ConfigLayoutItem& item :
         ConfigLayout(version, c.allowed_patterns.size(), c.denied_patterns.size(), c.opaque_records.size())) {
        if (first_cut == nullptr && expected + item.size > bytes.size()) first_cut = item.name;
        expected += item.size;
    }
    if (bytes.size() < expected) {
        findings.Add(CliText::kFindingShort,
                     {bytes.size(), expected - bytes.size(), expected,
                      FaceWord(first_cut, CliText::kItemVersion, CliText::kItemRecordCount, findings.face)});
    } else if (bytes.size() > expected) {
        findings.Add(CliText::kFindingLong, {bytes.size() - expected});
    }
}

// Every number outside its row's set, with what the window shows and saves for it.
void CheckValues(const GameConfig& c, Findings& findings) {
    for (const SchemaRow& row : SchemaRows()) {
        if (row.row != RowKind::kValue || IsTextRow(row)) continue;
        const ItemValue value = ValueOf(c, row);
        if (InValueSet(row, value.number)) continue;
        const std::int64_t saved = SavedValue(row, value.number);
        const std::string shown = Meaning(row, value, findings.face);
        if (saved == value.number)
            findings.Add(CliText::kFindingOutsideKept, {ShownName(row), value.number, shown});
        else
            findings.Add(CliText::kFindingOutsideSaved, {ShownName(row), value.number, shown, saved});
    }
}

void CheckTexts(const GameConfig& c, Findings& findings) {
    const void* id_end = std::memchr(c.connect_id, 0, kConnectIdBytes);
    const std::size_t id_length = id_end == nullptr ? kConnectIdBytes
                                                    : static_cast<std::size_t>(static_cast<const char*>(id_end) - c.connect_id);
    const std::size_t id_shown = ShownIdBytes(c);
    if (id_shown < id_length)
        findings.Add(CliText::kFindingIdLineBreak, {id_shown, FieldText(c.connect_id, id_shown, kConnectIdBytes),
                                                    FieldText(c.connect_id, id_shown, kConnectIdTextMax)});
    else if (id_end == nullptr)
        findings.Add(CliText::kFindingIdNoNul, {kConnectIdBytes, kConnectIdTextMax});
    else if (id_length > kConnectIdTextMax)
        findings.Add(CliText::kFindingIdLong, {id_length, kConnectIdTextMax});
    for (std::size_t i = 0; i < kFunctionMessages; ++i) {
        const FunctionMessage& m = c.function_messages[i];
        const std::string key = std::string("F") + Number(static_cast<long long>(i + 1));
        if (std::memchr(m.text, 0, sizeof m.text) == nullptr)
            findings.Add(CliText::kFindingMessageNoNul, {key, kMessageTextBytes, kMessageTextLimit});
        if (m.target > 1) findings.Add(CliText::kFindingTarget, {key, m.target});
    }
}

void CheckLists(const GameConfig& c, Findings& findings) {
    ConnectAddress slots[kConnectSlots];
    std::copy(std::begin(c.connect_addresses), std::end(c.connect_addresses), slots);
    if (CompactConnectSlots(slots))
        findings.Add(CliText::kFindingConnectGaps, {ListEntries(c, AddressList::kConnect).size()});

    const AddressList pattern_lists[] = {AddressList::kAllowed, AddressList::kDenied};
    for (AddressList list : pattern_lists) {
        const std::vector<AddressPattern>& entries =
            list == AddressList::kAllowed ? c.allowed_patterns : c.denied_patterns;
        std::size_t above = 0;
        std::size_t duplicates = 0;
        std::string first_duplicate;
        std::set<std::uint64_t> seen;
        for (const AddressPattern& p : entries) {
            for (std::uint16_t octet : p.octets)
                if (octet > kWildcardOctet) {
                    ++above;
                    break;
                }
            const AddressPattern n = NormalisedPattern(p);
            if (!seen.insert(PatternKey(n)).second) {
                if (duplicates++ == 0) first_duplicate = FormatAddressText(n.octets[0], n.octets[1], n.octets[2], n.octets[3]);
            }
        }
        if (above > 0) findings.Add(CliText::kFindingAbove256, {findings.ListWord(list), above});
        if (duplicates > 0) findings.Add(CliText::kFindingDuplicates, {findings.ListWord(list), duplicates, first_duplicate});
    }
    if (c.opaque_records.size() > kFormatOpaqueRecords)
        findings.Add(CliText::kFindingOpaque, {c.opaque_records.size(), kFormatOpaqueRecords});
}

}  // namespace

std::vector<std::string> CheckFindings(std::span<const std::uint8_t> bytes, const GameConfig& config, Language face) {
    Findings findings{face, {}};
    CheckLayout(bytes, ConfigFileVersion(bytes).value_or(0), config, findings);
    CheckValues(config, findings);
    CheckTexts(config, findings);
    CheckLists(config, findings);
    return std::move(findings.lines);
}
