// Reading and writing the plain-text address lists.
#include "cli/list_text.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <optional>

#include "model/address_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif


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
        const std::string_view length = Trim(text.substr(address_end + 1));
        if (!IsDigits(length) || length.size() > 2) return Bad("the prefix length must be a number from 0 to 32");
        prefix = length.size() == 1 ? length[0] - '0' : (length[0] - '0') * 10 + (length[1] - '0');
        if (prefix > 32) return Bad("prefix /" + std::to_string(prefix) + " is longer than /32");
        if (prefix != 32 && !wildcard_allowed)
            return Bad("the connect-to list holds single addresses only (no prefix but /32)");
    }

    if (prefix % 8 != 0) {
        // A prefix between whole parts: the network's exact patterns.
        std::uint32_t address = 0;
        for (int i = 0; i < 4; ++i) {
            const std::optional<std::uint16_t> read = ReadOctet(parts[i], false);
            if (!read) return Bad("part " + std::to_string(i + 1) + " \"" + PrintableLine(parts[i]) + "\" is not a number from 0 to 255");
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

namespace {

// The line breaks from `p` to `end`, sixteen bytes at a time where the processor can:
// one byte at a time, a text of 65535 lines takes longer to count than to read.
std::size_t CountLineBreaks(const char* p, const char* end) {
    std::size_t count = 0;
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        // Each byte lane counts up to 255 breaks, then the lanes are summed.
        __m128i lanes = _mm_setzero_si128();
        for (int i = 0; i < 255 && end - p >= 16; ++i, p += 16)
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), newline));
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) + static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    return count + static_cast<std::size_t>(std::count(p, end, '\n'));
}

// The four octets as one pattern, put together in a register: stored octet by octet
// and then read back whole, each line would wait for its stores.
AddressPattern PatternOf(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
    if constexpr (std::endian::native == std::endian::little) {
        return std::bit_cast<AddressPattern>(a | b << 16 | c << 32 | d << 48);
    } else {
        return AddressPattern{{static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b),
                               static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(d)}};
    }
}

// One octet of a plain address at `p`: up to three digits, at most 255. The reading
// goes on after it, or nullptr when it is not one (a fourth digit included: the full
// reading names what is wrong). Reads at most four bytes.
inline const char* PlainOctetAt(const char* p, unsigned& octet) {
    auto digit = [](char ch) { return static_cast<unsigned>(static_cast<unsigned char>(ch)) - '0'; };
    unsigned value = digit(p[0]);
    if (value > 9) return nullptr;
    int length = 1;
    for (unsigned next; length < 4 && (next = digit(p[length])) <= 9; ++length) value = value * 10 + next;
    if (length == 4 || value > 255) return nullptr;
    octet = value;
    return p + length;
}

// The longest plain line with its line break, "255.255.255.255\r\n", and so the most
// PlainLineAt reads.
constexpr std::ptrdiff_t kPlainLineMax = 17;

// A plain address and its line break at `p`, as ReadPlainAddress reads it, but read
// without first finding the line's end: the next line's start, or nullptr for any other
// line. Needs kPlainLineMax bytes.
inline const char* PlainLineAt(const char* p, AddressPattern& address) {
    unsigned octets[4];
    for (int i = 0; i < 4; ++i) {
        p = PlainOctetAt(p, octets[i]);
        if (p == nullptr || (i < 3 && *p++ != '.')) return nullptr;
    }
    if (*p == '\r') ++p;
    if (*p != '\n') return nullptr;
    address = PatternOf(octets[0], octets[1], octets[2], octets[3]);
    return p + 1;
}

}  // namespace

bool ReadPlainPattern(std::string_view text, AddressList list, AddressPattern& pattern) {
    const AddressListRules& rules = ListRules(list);
    const char* p = text.data();
    const char* const end = p + text.size();
    std::uint64_t octets[4];
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (p == end || *p != '.') return false;
            ++p;
        }
        if (p < end && *p == '*' && rules.wildcard_allowed) {
            octets[i] = kWildcardOctet;
            ++p;
            continue;
        }
        unsigned value = 0;
        const char* const start = p;
        while (p < end && p - start < 4 && *p >= '0' && *p <= '9') value = value * 10 + static_cast<unsigned>(*p++ - '0');
        if (p == start || p - start > 3 || value > 255) return false;
        octets[i] = value;
    }
    if (p != end) return false;
    pattern = PatternOf(octets[0], octets[1], octets[2], octets[3]);
    return !IsEmptySlot(list, pattern);
}

std::size_t ListTextRead::NumberOf(std::size_t index) const {
    // The last run that starts at or before `index`.
    const auto after = std::upper_bound(runs_.begin(), runs_.end(), index,
                                        [](std::size_t i, const std::pair<std::size_t, std::size_t>& run) { return i < run.first; });
    const auto& run = after[-1];
    return run.second + (index - run.first);
}

void ReadListText(std::string_view text, AddressList list, std::size_t first, ListTextRead& read) {
    const char* p = text.data();
    const char* const end = p + text.size();
    if (text.starts_with("\xEF\xBB\xBF")) p += 3;
    const bool zero_is_empty = ListRules(list).zero_is_empty;
    // Room for an address on every line, and no more: the list may be most of the memory
    // an import touches.
    read.addresses.reserve(read.addresses.size() + CountLineBreaks(p, end) + 1);
    for (std::size_t number = first; p < end; ++number) {
        AddressPattern address;
        const char* next = end - p >= kPlainLineMax ? PlainLineAt(p, address) : nullptr;
        if (next != nullptr && !(zero_is_empty && IsEmptySlot(list, address))) {
            read.Add(address, number);
            p = next;
            continue;
        }
        // Anything else: a comment, a prefix, a mistake, or a line too near the end.
        const char* line_end = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (line_end == nullptr) line_end = end;
        const std::string_view line(p, static_cast<std::size_t>(line_end - p));
        ListLine read_line = ReadListLine(line, list);
        if (read_line.kind == ListLine::kAddress) {
            read.Add(read_line.address, number);
            for (const AddressPattern& more : read_line.more) read.Add(more, number);
            if (!read_line.more.empty())
                read.expanded.push_back({number, line.substr(0, line.size() - line.ends_with('\r')), read_line.more.size() + 1});
        } else if (read_line.kind == ListLine::kBad) {
            read.bad.push_back({number, line, std::move(read_line.error)});
        }
        p = line_end == end ? end : line_end + 1;
    }
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
