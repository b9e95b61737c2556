// The findings of `qorcfg check`: where the tool's reading of a file differs from the
// file's bytes, and what the window's next save would make of it.
#include <cstring>
#include <set>
#include <tuple>

#include "cli/list_text.h"
#include "config/config_codec.h"
#include "cli/report.h"
#include "model/address_text.h"

namespace {

constexpr std::size_t kWindowOpaqueRecords = 50;  // the 600-byte buffer the format was made for
constexpr std::uint8_t kHighestButton = 11;

std::string Number(long long value) { return std::to_string(value); }

void CheckLayout(std::span<const std::uint8_t> bytes, std::uint16_t version, const GameConfig& c,
                 std::vector<std::string>& findings) {
    if (version < kCurrentConfigVersion) {
        findings.push_back("version " + Number(version) + " is older than 272: the next save writes version 272, with " +
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

void CheckOptions(const GameConfig& c, std::vector<std::string>& findings) {
    for (const OptionView& v : OptionViews(c.options)) {
        if (v.in_set) continue;
        findings.push_back(std::string("option ") + v.name + " is " + Number(v.value) +
                           ", outside its values: the window shows " + v.meaning + " and its next save stores " +
                           Number(v.saved_as));
    }
    for (int player = 0; player < 2; ++player) {
        const std::string who = "player " + Number(player + 1);
        const std::int32_t method = c.options.input_method[player];
        if (method != 0 && method != 1)
            findings.push_back(who + "'s input method is " + Number(method) +
                               ": the key page shows keyboard and keeps the value until a choice is made there");
        for (std::size_t slot = 0; slot < c.options.key_map[player].size(); ++slot) {
            const std::uint8_t button = c.options.key_map[player][slot];
            if (button > kHighestButton)
                findings.push_back(who + "'s key slot " + Number(static_cast<long long>(slot)) + " holds button " +
                                   Number(button) + " (shown as KEY " + Number(button + 1) +
                                   "), which no capture sets; it is kept as it is");
        }
    }
    if (c.allowed_only != 0 && c.allowed_only != 1)
        findings.push_back("allowed-only is " + Number(c.allowed_only) +
                           ": the window shows it on and its next save stores 1");
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
        findings.push_back("the connect-to ID has no NUL in its 17 bytes: the window shows all 17 and its next save "
                           "keeps at most the first 15");
    else if (id_length > kConnectIdTextMax)
        findings.push_back("the connect-to ID is " + Number(static_cast<long long>(id_length)) +
                           " bytes: the window's next save keeps at most the first 15");
    for (std::size_t i = 0; i < kFunctionMessages; ++i) {
        const FunctionMessage& m = c.function_messages[i];
        const std::string key = std::string("F") + Number(static_cast<long long>(i + 1));
        if (std::memchr(m.text, 0, sizeof m.text) == nullptr)
            findings.push_back("message " + key + " has no NUL in its 41 bytes: the window shows at most its first 40 "
                               "and its next save ends it there");
        if (m.target > 1)
            findings.push_back("message " + key + "'s target is " + Number(m.target) +
                               ": the window shows own team and its next save stores 1");
    }
}

void CheckLists(const GameConfig& c, std::vector<std::string>& findings) {
    std::size_t used = 0;
    bool gap_before_used = false;
    for (const ConnectAddress& a : c.connect_addresses) {
        const bool empty = a.octets[0] == 0 && a.octets[1] == 0 && a.octets[2] == 0 && a.octets[3] == 0;
        if (!empty && used < static_cast<std::size_t>(&a - c.connect_addresses)) gap_before_used = true;
        if (!empty) ++used;
    }
    if (gap_before_used)
        findings.push_back("the connect-to table has empty slots before used ones: the window's next save moves its " +
                           Number(static_cast<long long>(used)) + " addresses to the first slots");

    const AddressList pattern_lists[] = {AddressList::kAllowed, AddressList::kDenied};
    for (AddressList list : pattern_lists) {
        const std::vector<AddressPattern>& entries =
            list == AddressList::kAllowed ? c.allowed_patterns : c.denied_patterns;
        std::size_t above = 0;
        std::size_t duplicates = 0;
        std::string first_duplicate;
        std::set<std::tuple<int, int, int, int>> seen;
        for (const AddressPattern& p : entries) {
            for (std::uint16_t octet : p.octets)
                if (octet > kWildcardOctet) {
                    ++above;
                    break;
                }
            const AddressPattern n = NormalisedPattern(p);
            if (!seen.insert({n.octets[0], n.octets[1], n.octets[2], n.octets[3]}).second) {
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
    if (c.opaque_records.size() > kWindowOpaqueRecords)
        findings.push_back("the file holds " + Number(static_cast<long long>(c.opaque_records.size())) +
                           " opaque records, more than the 50 the format was made for: they are carried unchanged");
}

}  // namespace

std::vector<std::string> CheckFindings(std::span<const std::uint8_t> bytes, const GameConfig& config) {
    std::vector<std::string> findings;
    CheckLayout(bytes, ConfigFileVersion(bytes).value_or(0), config, findings);
    CheckOptions(config, findings);
    CheckTexts(config, findings);
    CheckLists(config, findings);
    return findings;
}
