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
#include "model/address_text.h"
#include "model/key_assign.h"

namespace {

template <typename Integer>
std::string Number(Integer value) {
    return std::to_string(value);
}

void CheckLayout(std::span<const std::uint8_t> bytes, std::uint16_t version, const GameConfig& c,
                 std::vector<std::string>& findings) {
    if (version < kCurrentConfigVersion) {
        findings.push_back("version " + Number(version) + " is older than " + Number(kCurrentConfigVersion) +
                           ": the next save writes version " + Number(kCurrentConfigVersion) + ", with " +
                           MigrationDefaultsText(version));
    }
    std::size_t expected = 0;
    const char* first_cut = nullptr;
    for (const ConfigLayoutItem& item :
         ConfigLayout(version, c.allowed_patterns.size(), c.denied_patterns.size(), c.opaque_records.size())) {
        if (first_cut == nullptr && expected + item.size > bytes.size()) first_cut = item.name;
        expected += item.size;
    }
    if (bytes.size() < expected) {
        findings.push_back("the file is " + Number(static_cast<long long>(bytes.size())) + " bytes, " +
                           Number(static_cast<long long>(expected - bytes.size())) + " short of the " +
                           Number(static_cast<long long>(expected)) + " its layout needs: from the " + first_cut +
                           " on, the missing bytes read as zeros, and the next save writes them so");
    } else if (bytes.size() > expected) {
        findings.push_back(Number(static_cast<long long>(bytes.size() - expected)) +
                           " bytes follow the end of the layout: they are not read, and the next save drops them");
    }
}

// Every number outside its row's set, with what the window shows and saves for it.
void CheckValues(const GameConfig& c, std::vector<std::string>& findings) {
    for (const SchemaRow& row : SchemaRows()) {
        if (row.row != RowKind::kValue || IsTextRow(row)) continue;
        const ItemValue value = ValueOf(c, row);
        if (InValueSet(row, value.number)) continue;
        const std::int64_t saved = SavedValue(row, value.number);
        findings.push_back(ShownName(row) + " is " + Number(value.number) + ", outside its values: the window shows " +
                           Meaning(row, value) +
                           (saved == value.number ? " and keeps it as it is" : " and its next save stores " + Number(saved)));
    }
}

void CheckTexts(const GameConfig& c, std::vector<std::string>& findings) {
    const void* id_end = std::memchr(c.connect_id, 0, kConnectIdBytes);
    const std::size_t id_length = id_end == nullptr ? kConnectIdBytes
                                                    : static_cast<std::size_t>(static_cast<const char*>(id_end) - c.connect_id);
    const std::size_t id_shown = ShownIdBytes(c);
    if (id_shown < id_length)
        findings.push_back("the connect-to ID holds a line break after its first " + Number(static_cast<long long>(id_shown)) +
                           " bytes: the window shows \"" + FieldText(c.connect_id, id_shown, kConnectIdBytes) +
                           "\" and its next save stores \"" + FieldText(c.connect_id, id_shown, kConnectIdTextMax) +
                           "\", without the line break and what follows it");
    else if (id_end == nullptr)
        findings.push_back("the connect-to ID has no NUL in its " + Number(kConnectIdBytes) + " bytes: the window shows all " +
                           Number(kConnectIdBytes) + " and its next save keeps at most the first " +
                           Number(kConnectIdTextMax));
    else if (id_length > kConnectIdTextMax)
        findings.push_back("the connect-to ID is " + Number(static_cast<long long>(id_length)) +
                           " bytes: the window's next save keeps at most the first " + Number(kConnectIdTextMax));
    for (std::size_t i = 0; i < kFunctionMessages; ++i) {
        const FunctionMessage& m = c.function_messages[i];
        const std::string key = std::string("F") + Number(static_cast<long long>(i + 1));
        if (std::memchr(m.text, 0, sizeof m.text) == nullptr)
            findings.push_back("message " + key + " has no NUL in its " + Number(kMessageTextBytes) +
                               " bytes: the window shows at most its first " + Number(kMessageTextLimit) +
                               " and its next save ends it there");
        if (m.target > 1)
            findings.push_back("message " + key + "'s target is " + Number(m.target) +
                               ": the window shows own team and its next save stores 1");
    }
}

void CheckLists(const GameConfig& c, std::vector<std::string>& findings) {
    ConnectAddress slots[kConnectSlots];
    std::copy(std::begin(c.connect_addresses), std::end(c.connect_addresses), slots);
    if (CompactConnectSlots(slots))
        findings.push_back("the connect-to table has empty slots before used ones: the window's next save moves its " +
                           Number(static_cast<long long>(ListEntries(c, AddressList::kConnect).size())) +
                           " addresses to the first slots");

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
        const std::string name = std::string("the ") + ListName(list) + " list";
        if (above > 0)
            findings.push_back(name + " has " + Number(static_cast<long long>(above)) +
                               " entries with an octet above 256: shown as \"*\", and the window's next save stores 256");
        if (duplicates > 0)
            findings.push_back(name + " holds " + Number(static_cast<long long>(duplicates)) +
                               " duplicate entries (the first: " + first_duplicate + ")");
    }
    if (c.opaque_records.size() > kFormatOpaqueRecords)
        findings.push_back("the file holds " + Number(static_cast<long long>(c.opaque_records.size())) +
                           " opaque records, more than the " + Number(kFormatOpaqueRecords) +
                           " the format was made for: they are carried unchanged");
}

}  // namespace

std::vector<std::string> CheckFindings(std::span<const std::uint8_t> bytes, const GameConfig& config) {
    std::vector<std::string> findings;
    CheckLayout(bytes, ConfigFileVersion(bytes).value_or(0), config, findings);
    CheckValues(config, findings);
    CheckTexts(config, findings);
    CheckLists(config, findings);
    return findings;
}
