// Reads arbitrary bytes as an imported address list, as qorcfg import does, and checks
// that the one-pass reading finds what reading each line on its own finds (a prefix or
// range line every entry it stands for), that a plain entry read in one pass is what
// the full reading makes of it, that what
// export writes for the addresses read is read back as the same addresses, and that
// the entries of any stored list survive export and import.
#include <algorithm>
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

// The lines of a text as an editor shows them: split at each "\n", a byte-order mark
// at the start skipped, no empty line after a final line break.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// Every address export writes must come back, in order, as the same stored pattern.
std::vector<AddressPattern> ReadBack(const std::string& text, AddressList list) {
    ListTextRead read;
    ReadListText(text, list, 1, read);
    Require(read.bad.empty() && read.addresses.size() == Lines(text).size());
    return read.addresses;
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

    // The import: every line is blank, an address or refused with a printable reason,
    // and the one pass over the text finds exactly what each line read alone gives.
    ListTextRead read;
    ReadListText(text, list, 1, read);
    std::vector<AddressPattern> imported;
    std::size_t bad = 0;
    const std::vector<std::string_view> lines = Lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const ListLine parsed = ReadListLine(line, list);
        // What the one pass takes, the full reading reads alike.
        AddressPattern plain;
        if (ReadPlainPattern(line, list, plain))
            Require(parsed.kind == ListLine::kAddress && parsed.more.empty() && SamePattern(parsed.address, plain));
        if (parsed.kind == ListLine::kBad) {
            Require(!parsed.error.empty());
            for (char ch : PrintableLine(line)) Require(ch >= 0x20 && ch < 0x7f);
            Require(bad < read.bad.size() && read.bad[bad].number == i + 1 && read.bad[bad].line == line &&
                    read.bad[bad].error == parsed.error);
            ++bad;
            continue;
        }
        if (parsed.kind != ListLine::kAddress) continue;
        // A prefix or a range stands for several entries, all numbered by its line.
        std::vector<AddressPattern> entries{parsed.address};
        entries.insert(entries.end(), parsed.more.begin(), parsed.more.end());
        for (const AddressPattern& entry : entries) {
            for (std::uint16_t octet : entry.octets) Require(octet <= kWildcardOctet);
            if (list == AddressList::kConnect) {
                for (std::uint16_t octet : entry.octets) Require(octet <= 255);
                const std::uint16_t* o = entry.octets;
                Require((o[0] | o[1] | o[2] | o[3]) != 0);
            }
            const std::size_t at = imported.size();
            Require(at < read.addresses.size() && read.NumberOf(at) == i + 1 && SamePattern(read.addresses[at], entry));
            imported.push_back(entry);
        }
    }
    Require(bad == read.bad.size() && imported.size() == read.addresses.size());
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
