// Reading and writing the plain-text address lists.
#include "cli/list_text.h"

#include <algorithm>
#include <cstdio>

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

}  // namespace

ListLine ReadListLine(std::string_view text, AddressList list) {
    {
        ListLine line;
        line.kind = ListLine::kAddress;
        if (ReadPlainAddress(text, line.address) && !IsEmptySlot(list, line.address)) return line;
    }
    const std::size_t comment = text.find('#');
    if (comment != std::string_view::npos) text = text.substr(0, comment);
    text = Trim(text);
    if (text.empty()) return {};

    // One pass: up to four parts split at ".", and the prefix after a "/". A fifth or a
    // missing part is a typing error, not a short form.
    const bool wildcard_allowed = ListRules(list).wildcard_allowed;
    std::string_view parts[4];
    std::size_t count = 0;
    std::size_t part_start = 0;
    std::size_t address_end = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '/') {
            address_end = i;
            break;
        }
        if (text[i] != '.') continue;
        if (count == 3) return Bad("expected four parts a.b.c.d");
        parts[count++] = text.substr(part_start, i - part_start);
        part_start = i + 1;
    }
    if (count != 3) return Bad("expected four parts a.b.c.d");
    parts[3] = text.substr(part_start, address_end - part_start);

    int prefix = 32;
    if (address_end != text.size()) {
        const std::string_view length = text.substr(address_end + 1);
        if (!IsDigits(length) || length.size() > 2) return Bad("the prefix length must be a number");
        prefix = length.size() == 1 ? length[0] - '0' : (length[0] - '0') * 10 + (length[1] - '0');
        if (prefix != 32 && prefix != 24 && prefix != 16 && prefix != 8 && prefix != 0)
            return Bad("prefix /" + std::to_string(prefix) + " is not one of /32 /24 /16 /8 /0");
        if (prefix != 32 && !wildcard_allowed)
            return Bad("the connect-to list holds single addresses only (no prefix but /32)");
    }

    ListLine line;
    line.kind = ListLine::kAddress;
    const int open_from = prefix / 8;  // octets at or past this index are left open
    for (int i = 0; i < 4; ++i) {
        const std::string_view part = parts[i];
        auto which = [&] { return "part " + std::to_string(i + 1) + " \"" + PrintableLine(part) + "\""; };
        if (part == "*") {
            if (!wildcard_allowed) return Bad("the connect-to list takes no \"*\"");
            if (prefix != 32) return Bad("a prefix and \"*\" cannot be combined");
            line.address.octets[i] = kWildcardOctet;
            continue;
        }
        const std::optional<std::uint16_t> read = ReadOctet(part, false);
        if (!read) return Bad(which() + " is not a number from 0 to 255");
        std::uint16_t octet = *read;
        if (i >= open_from) {
            if (octet != 0) return Bad(which() + " lies inside the /" + std::to_string(prefix) + " prefix's open part and must be 0");
            octet = kWildcardOctet;
        }
        line.address.octets[i] = octet;
    }
    if (IsEmptySlot(list, line.address)) return Bad("0.0.0.0 marks an empty slot and cannot be listed");
    return line;
}

std::vector<std::string_view> ListTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string ListText(const std::vector<AddressPattern>& entries) {
    std::string text;
    text.reserve(entries.size() * 16);
    for (const AddressPattern& p : entries) {
        char line[kAddressTextMax + 1];
        char* end = WriteAddressText(line, p.octets[0], p.octets[1], p.octets[2], p.octets[3]);
        *end++ = '\n';
        text.append(line, end);
    }
    return text;
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
