// Reading one line of a plain-text address list the long way: comments, spaces,
// prefixes, ranges and "*", each mistake named.
#include "cli/list_text.h"

#include <algorithm>
#include <optional>

#include "cli/plain_pattern.h"
#include "cli/texts.h"
#include "model/address_text.h"

namespace {

bool IsSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool IsDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char ch : text)
        if (ch < '0' || ch > '9') return false;
    return true;
}

ListLine Bad(std::string error) {
    ListLine line;
    line.kind = ListLine::kBad;
    line.error = std::move(error);
    return line;
}


// The common line, four plain octets and nothing else (a CR aside). False for anything
// else, which the full reading then takes apart.
bool ReadPlainAddress(std::string_view text, AddressPattern& address) {
    if (text.ends_with('\r')) text.remove_suffix(1);
    return WholePlainPattern(text, false, address);
}

// The patterns of the network `address`/`prefix`: one where the prefix ends between
// whole parts, else one for each value of the part it ends in (a /20 is 16 patterns
// a.b.16.* to a.b.31.*; past /24, the single addresses).
void AppendBlock(std::uint32_t address, int prefix, ListLine& line) {
    const int part = prefix == 32 ? 3 : prefix / 8;
    const unsigned values = prefix % 8 == 0 ? 1u : 1u << (8 - prefix % 8);
    for (unsigned i = 0; i < values; ++i) {
        AddressPattern p;
        for (int k = 0; k < 4; ++k) {
            const std::uint16_t octet = static_cast<std::uint16_t>(address >> (24 - 8 * k) & 255);
            p.octets[k] = k < part || prefix == 32 ? octet : k == part && values > 1 ? static_cast<std::uint16_t>(octet + i) : kWildcardOctet;
        }
        if (line.kind != ListLine::kAddress) {
            line.kind = ListLine::kAddress;
            line.address = p;
        } else {
            line.more.push_back(p);
        }
    }
}

// Four plain parts, 0 to 255 each, as one number.
std::optional<std::uint32_t> PlainAddress(std::string_view text) {
    AddressPattern p;
    if (!ReadPlainAddress(text, p)) return std::nullopt;
    return static_cast<std::uint32_t>(p.octets[0]) << 24 | p.octets[1] << 16 | p.octets[2] << 8 | p.octets[3];
}

// A range first-last: the fewest networks that cover it exactly, each as its patterns.
ListLine ReadRange(std::string_view first_text, std::string_view last_text, AddressList list) {
    const std::optional<std::uint32_t> first = PlainAddress(first_text), last = PlainAddress(last_text);
    if (!first || !last) return Bad(Say(CliText::kRangeForm));
    if (*first > *last) return Bad(Say(CliText::kRangeBackwards));
    if (*first != *last && !ListRules(list).wildcard_allowed)
        return Bad(Say(CliText::kConnectNoRange));
    ListLine line;
    line.kind = ListLine::kBlank;
    for (std::uint64_t start = *first; start <= *last;) {
        int prefix = 32;
        while (prefix > 0) {
            const std::uint64_t size = std::uint64_t{1} << (33 - prefix);
            if (start % size != 0 || start + size - 1 > *last) break;
            --prefix;
        }
        AppendBlock(static_cast<std::uint32_t>(start), prefix, line);
        start += std::uint64_t{1} << (32 - prefix);
    }
    if (line.more.empty() && IsEmptySlot(list, line.address)) return Bad(Say(CliText::kEmptySlot));
    return line;
}

// The four parts of an address before a "/", and the prefix length after it (32 when
// none is given). A fifth or a missing part is a typing error, not a short form.
std::optional<ListLine> SplitAddress(std::string_view text, bool wildcard_allowed, std::string_view (&parts)[4], int& prefix) {
    std::size_t count = 0, part_start = 0;
    const std::size_t address_end = std::min(text.find('/'), text.size());
    for (std::size_t i = 0; i < address_end; ++i) {
        if (text[i] != '.') continue;
        if (count == 3) return Bad(Say(CliText::kFourParts));
        parts[count++] = text.substr(part_start, i - part_start);
        part_start = i + 1;
    }
    if (count != 3) return Bad(Say(CliText::kFourParts));
    parts[3] = text.substr(part_start, address_end - part_start);
    prefix = 32;
    if (address_end == text.size()) return std::nullopt;
    const std::string_view length = Trim(text.substr(address_end + 1));
    if (!IsDigits(length) || length.size() > 2) return Bad(Say(CliText::kPrefixNumber));
    prefix = length.size() == 1 ? length[0] - '0' : (length[0] - '0') * 10 + (length[1] - '0');
    if (prefix > 32) return Bad(Say(CliText::kPrefixTooLong, {prefix}));
    if (prefix != 32 && !wildcard_allowed) return Bad(Say(CliText::kConnectNoPrefix));
    return std::nullopt;
}

// A prefix between whole parts: the network's exact patterns.
ListLine ReadNetwork(const std::string_view (&parts)[4], int prefix) {
    std::uint32_t address = 0;
    for (int i = 0; i < 4; ++i) {
        const std::optional<std::uint16_t> read = ReadOctet(parts[i], false);
        if (!read) return Bad(Say(CliText::kPartNotNumber, {i + 1, PrintableLine(parts[i])}));
        address = address << 8 | *read;
    }
    const std::uint32_t host_bits = (1u << (32 - prefix)) - 1;
    if ((address & host_bits) != 0) {
        const std::uint32_t network = address & ~host_bits;
        return Bad(Say(CliText::kBitsPastPrefix,
                       {prefix, FormatAddressText(network >> 24, network >> 16 & 255, network >> 8 & 255, network & 255)}));
    }
    ListLine block;
    AppendBlock(address, prefix, block);
    return block;
}

// Whole parts: each a number or "*", those a /24, /16, /8 or /0 leaves open given as 0.
ListLine ReadParts(const std::string_view (&parts)[4], int prefix, AddressList list) {
    const bool wildcard_allowed = ListRules(list).wildcard_allowed;
    ListLine line;
    line.kind = ListLine::kAddress;
    const int open_from = prefix / 8;  // octets at or past this index are left open
    for (int i = 0; i < 4; ++i) {
        if (parts[i] == "*") {
            if (!wildcard_allowed) return Bad(Say(CliText::kConnectNoWildcard));
            if (prefix != 32) return Bad(Say(CliText::kPrefixAndWildcard));
            line.address.octets[i] = kWildcardOctet;
            continue;
        }
        const std::optional<std::uint16_t> read = ReadOctet(parts[i], false);
        if (!read) return Bad(Say(CliText::kPartNotNumber, {i + 1, PrintableLine(parts[i])}));
        if (i >= open_from && *read != 0)
            return Bad(Say(CliText::kPartInsidePrefix, {i + 1, PrintableLine(parts[i]), prefix}));
        line.address.octets[i] = i >= open_from ? kWildcardOctet : *read;
    }
    if (IsEmptySlot(list, line.address)) return Bad(Say(CliText::kEmptySlot));
    return line;
}

}  // namespace

ListLine ReadListLine(std::string_view text, AddressList list) {
    {
        ListLine line;
        line.kind = ListLine::kAddress;
        if (ReadPlainAddress(text, line.address) && !IsEmptySlot(list, line.address)) return line;
    }
    const std::size_t comment = text.find_first_of("#;");
    if (comment != std::string_view::npos) text = text.substr(0, comment);
    text = Trim(text);
    if (text.empty()) return {};
    const std::size_t dash = text.find('-');
    if (dash != std::string_view::npos) return ReadRange(Trim(text.substr(0, dash)), Trim(text.substr(dash + 1)), list);
    std::string_view parts[4];
    int prefix = 32;
    if (std::optional<ListLine> bad = SplitAddress(text, ListRules(list).wildcard_allowed, parts, prefix)) return *bad;
    return prefix % 8 != 0 ? ReadNetwork(parts, prefix) : ReadParts(parts, prefix, list);
}
