// Reads arbitrary bytes as an imported address list, as qorcfg import does, and checks
// that what export writes for the addresses read is read back as the same addresses,
// and that the entries of any stored list survive export and import.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/list_text.h"

namespace {

constexpr AddressList kLists[] = {AddressList::kDenied, AddressList::kAllowed, AddressList::kConnect};

void Require(bool condition) {
    if (!condition) std::abort();
}

// Every address export writes must come back, in order, as the same stored pattern.
std::vector<AddressPattern> ReadBack(const std::string& text, AddressList list) {
    std::vector<AddressPattern> read;
    for (std::string_view line : ListTextLines(text)) {
        const ListLine parsed = ReadListLine(line, list);
        Require(parsed.kind == ListLine::kAddress);
        read.push_back(parsed.address);
    }
    return read;
}

void RequireSameEntries(const std::vector<AddressPattern>& a, const std::vector<AddressPattern>& b) {
    Require(a.size() == b.size());
    for (std::size_t i = 0; i < a.size(); ++i) Require(SamePattern(a[i], b[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const AddressList list = kLists[data[0] % 3];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    // The import: every line is blank, an address or refused with a printable reason.
    std::vector<AddressPattern> imported;
    for (std::string_view line : ListTextLines(text)) {
        Require(line.find('\n') == std::string_view::npos);
        const ListLine parsed = ReadListLine(line, list);
        if (parsed.kind == ListLine::kBad) {
            Require(!parsed.error.empty());
            for (char ch : PrintableLine(line)) Require(ch >= 0x20 && ch < 0x7f);
            continue;
        }
        if (parsed.kind != ListLine::kAddress) continue;
        for (std::uint16_t octet : parsed.address.octets) Require(octet <= kWildcardOctet);
        if (list == AddressList::kConnect) {
            for (std::uint16_t octet : parsed.address.octets) Require(octet <= 255);
            const std::uint16_t* o = parsed.address.octets;
            Require((o[0] | o[1] | o[2] | o[3]) != 0);
        }
        imported.push_back(parsed.address);
    }
    const std::string exported = ListText(imported);
    RequireSameEntries(ReadBack(exported, list), imported);

    // A stored pattern list holds any 16-bit octets (a file may say anything): its export
    // reads back as the same patterns once normalised.
    std::vector<AddressPattern> stored;
    for (std::size_t at = 1; at + 8 <= size; at += 8) {
        AddressPattern p{};
        for (int i = 0; i < 4; ++i)
            p.octets[i] = static_cast<std::uint16_t>(data[at + 2 * i] | data[at + 2 * i + 1] << 8);
        stored.push_back(p);
    }
    RequireSameEntries(ReadBack(ListText(stored), AddressList::kDenied), stored);
    return 0;
}
