// Reading one line of the plain-text address lists, and the texts around them.
#include "cli/list_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

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

// The common line, four plain octets and nothing else (a CR aside), read in one pass.
// False for anything else, which the full reading then takes apart.
bool ReadPlainAddress(std::string_view text, AddressPattern& address) {
    const char* p = text.data();
    const char* end = p + text.size();
    if (end > p && end[-1] == '\r') --end;
    for (int i = 0; i < 4; ++i) {
        unsigned value = 0;
        const char* start = p;
        while (p < end && *p >= '0' && *p <= '9' && p - start < 4) value = value * 10 + static_cast<unsigned>(*p++ - '0');
        if (p == start || p - start > 3 || value > 255) return false;
        address.octets[i] = static_cast<std::uint16_t>(value);
        if (i < 3) {
            if (p == end || *p != '.') return false;
            ++p;
        }
    }
    return p == end;
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
    if (!first || !last) return Bad("a range is two addresses a.b.c.d-a.b.c.e of plain numbers");
    if (*first > *last) return Bad("the range's first address is after its last");
    if (*first != *last && !ListRules(list).wildcard_allowed)
        return Bad("the connect-to list holds single addresses only (no range)");
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
    if (line.more.empty() && IsEmptySlot(list, line.address)) return Bad("0.0.0.0 marks an empty slot and cannot be listed");
    return line;
}

// The four parts of an address before a "/", and the prefix length after it (32 when
// none is given). A fifth or a missing part is a typing error, not a short form.
std::optional<ListLine> SplitAddress(std::string_view text, bool wildcard_allowed, std::string_view (&parts)[4], int& prefix) {
    std::size_t count = 0, part_start = 0;
    const std::size_t address_end = std::min(text.find('/'), text.size());
    for (std::size_t i = 0; i < address_end; ++i) {
        if (text[i] != '.') continue;
        if (count == 3) return Bad("expected four parts a.b.c.d");
        parts[count++] = text.substr(part_start, i - part_start);
        part_start = i + 1;
    }
    if (count != 3) return Bad("expected four parts a.b.c.d");
    parts[3] = text.substr(part_start, address_end - part_start);
    prefix = 32;
    if (address_end == text.size()) return std::nullopt;
    const std::string_view length = Trim(text.substr(address_end + 1));
    if (!IsDigits(length) || length.size() > 2) return Bad("the prefix length must be a number from 0 to 32");
    prefix = length.size() == 1 ? length[0] - '0' : (length[0] - '0') * 10 + (length[1] - '0');
    if (prefix > 32) return Bad("prefix /" + std::to_string(prefix) + " is longer than /32");
    if (prefix != 32 && !wildcard_allowed) return Bad("the connect-to list holds single addresses only (no prefix but /32)");
    return std::nullopt;
}

std::string PartText(int i, std::string_view part) {
    return "part " + std::to_string(i + 1) + " \"" + PrintableLine(part) + "\"";
}

// A prefix between whole parts: the network's exact patterns.
ListLine ReadNetwork(const std::string_view (&parts)[4], int prefix) {
    std::uint32_t address = 0;
    for (int i = 0; i < 4; ++i) {
        const std::optional<std::uint16_t> read = ReadOctet(parts[i], false);
        if (!read) return Bad(PartText(i, parts[i]) + " is not a number from 0 to 255");
        address = address << 8 | *read;
    }
    const std::uint32_t host_bits = (1u << (32 - prefix)) - 1;
    if ((address & host_bits) != 0) {
        const std::uint32_t network = address & ~host_bits;
        return Bad("the address has bits set past its /" + std::to_string(prefix) + " prefix (the network is " +
                   FormatAddressText(network >> 24, network >> 16 & 255, network >> 8 & 255, network & 255) + "/" +
                   std::to_string(prefix) + ")");
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
            if (!wildcard_allowed) return Bad("the connect-to list takes no \"*\"");
            if (prefix != 32) return Bad("a prefix and \"*\" cannot be combined");
            line.address.octets[i] = kWildcardOctet;
            continue;
        }
        const std::optional<std::uint16_t> read = ReadOctet(parts[i], false);
        if (!read) return Bad(PartText(i, parts[i]) + " is not a number from 0 to 255");
        if (i >= open_from && *read != 0)
            return Bad(PartText(i, parts[i]) + " lies inside the /" + std::to_string(prefix) + " prefix's open part and must be 0");
        line.address.octets[i] = i >= open_from ? kWildcardOctet : *read;
    }
    if (IsEmptySlot(list, line.address)) return Bad("0.0.0.0 marks an empty slot and cannot be listed");
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

std::string PrintableLine(std::string_view line) {
    constexpr std::size_t kShown = 60;
    std::string out;
    for (std::size_t i = 0; i < line.size() && i < kShown; ++i) {
        const unsigned char ch = static_cast<unsigned char>(line[i]);
        if (ch >= 0x20 && ch < 0x7f) {
            out += static_cast<char>(ch);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", ch);
            out += hex;
        }
    }
    if (line.size() > kShown) out += "...";
    return out;
}

bool ListTextAsUtf8(std::string_view bytes, std::string& utf8) {
    const bool little = bytes.starts_with("\xFF\xFE"), big = bytes.starts_with("\xFE\xFF");
    if (!little && !big) return false;
    utf8.clear();
    utf8.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
        return little ? static_cast<std::uint32_t>(a | b << 8) : static_cast<std::uint32_t>(a << 8 | b);
    };
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        std::uint32_t code = unit(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 && unit(at + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;  // half of a pair
        }
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | code >> 6);
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | code >> 12);
            utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | code >> 18);
            utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return true;
}
