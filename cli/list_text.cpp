// Reading the plain-text address lists: one line as the long way reads it, and a whole
// text in one pass, where the common line, a plain address, is read where it stands
// without first finding its end.
#include "cli/list_text.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

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

// The longest plain pattern, "255.255.255.255", and the most PlainPatternAt reads: one
// byte more.
constexpr std::size_t kPlainPatternMax = 15;
constexpr std::size_t kPlainPatternRead = kPlainPatternMax + 1;

// One part of a plain pattern at `p`: one to three digits of at most 255, or "*" where
// `wildcard`. The reading goes on after it, or nullptr when it is none. A fourth digit is
// left where it stands: whatever reads on expects a "." or the end there, and so refuses
// the pattern, and the full reading names what is wrong. Reads three bytes, in straight
// steps with each byte loaded before the last is judged: a loop counting the digits, like
// the loop over the parts (unrolled below), makes every step wait for the one before.
inline const char* PlainPartAt(const char* p, bool wildcard, std::uint64_t& octet) {
    auto digit = [](char ch) { return static_cast<unsigned>(static_cast<unsigned char>(ch)) - '0'; };
    unsigned value = digit(p[0]), next = digit(p[1]);
    if (value > 9) {
        if (*p != '*' || !wildcard) return nullptr;
        octet = kWildcardOctet;
        return p + 1;
    }
    if (next > 9) return octet = value, p + 1;
    value = value * 10 + next;
    if ((next = digit(p[2])) > 9) return octet = value, p + 2;
    value = value * 10 + next;
    if (value > 255) return nullptr;
    return octet = value, p + 3;
}

// A plain pattern at `p`, four parts joined by "." and nothing between them: its end, or
// nullptr; `last`, where given, is where the fourth part begins. Reads kPlainPatternRead
// bytes.
inline const char* PlainPatternAt(const char* p, bool wildcard, AddressPattern& pattern, const char** last = nullptr) {
    std::uint64_t octets[4];
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && *p++ != '.') return nullptr;
        if (i == 3 && last != nullptr) *last = p;
        p = PlainPartAt(p, wildcard, octets[i]);
        if (p == nullptr) return nullptr;
    }
    pattern = PatternOf(octets[0], octets[1], octets[2], octets[3]);
    return p;
}

// The same of a whole text, which the reading may not pass: read from a copy with room
// behind it. One reader for a list's line, a document's entry and a range's ends.
bool WholePlainPattern(std::string_view text, bool wildcard, AddressPattern& pattern) {
    const std::size_t size = text.size();
    if (size < 7 || size > kPlainPatternMax) return false;  // "1.2.3.4" to "255.255.255.255"
    // Copied as two words that overlap, not byte by byte: a copy of any length between
    // calls the library for every entry of a list.
    char copy[kPlainPatternRead] = {};
    std::memcpy(copy, text.data(), 4);
    std::memcpy(copy + size - 4, text.data() + size - 4, 4);
    if (size > 8) {
        std::memcpy(copy, text.data(), 8);
        std::memcpy(copy + size - 8, text.data() + size - 8, 8);
    }
    return PlainPatternAt(copy, wildcard, pattern) == copy + size;
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

namespace {

// The longest plain line with its line break, "255.255.255.255\r\n", and so the most
// PlainLineAt reads.
constexpr std::ptrdiff_t kPlainLineMax = kPlainPatternMax + 2;

// The bytes of two words that the first three parts of a plain pattern, dots included,
// fill: six ("1.2.3.") to twelve ("255.255.255.").
struct PrefixMasks {
    std::uint64_t words[17][2];
};
constexpr PrefixMasks MakePrefixMasks() {
    PrefixMasks masks{};
    for (unsigned length = 0; length <= 16; ++length)
        for (unsigned byte = 0; byte < length; ++byte) masks.words[length][byte / 8] |= std::uint64_t{0xFF} << 8 * (byte % 8);
    return masks;
}
constexpr PrefixMasks kPrefixMasks = MakePrefixMasks();

// What a plain line's first three parts, dots included, read as, kept to read the next
// line by: the lines of a list in address order often begin as the line before does,
// and bytes alike read alike, so only the fourth part of such a line is read.
struct FirstParts {
    const char* line = nullptr;  // the line they stand at the start of, or none yet
    std::size_t length = 0;      // of the parts and their dots
    std::uint64_t octets[3] = {};
    // The lines to read whole before the next comparison. A line that begins otherwise
    // than the one before puts the comparisons off for a while: in a list whose lines
    // seldom begin alike they would only cost.
    unsigned wait = 1;
    static constexpr unsigned kWaitAfterMiss = 16;

    // Whether the line at `at` begins with the same bytes. Reads sixteen bytes at each.
    bool Begin(const char* at) const {
        if (line == nullptr) return false;
        if constexpr (std::endian::native != std::endian::little) return std::memcmp(at, line, length) == 0;
        std::uint64_t mine[2], theirs[2];
        std::memcpy(mine, line, sizeof mine);
        std::memcpy(theirs, at, sizeof theirs);
        const std::uint64_t(&mask)[2] = kPrefixMasks.words[length];
        return (((mine[0] ^ theirs[0]) & mask[0]) | ((mine[1] ^ theirs[1]) & mask[1])) == 0;
    }
};

// A plain pattern and its line break at `p`, as ReadPlainPattern reads it, but read
// without first finding the line's end: the next line's start, or nullptr for any other
// line. A line that begins as `before` does reads only its fourth part; any other keeps
// its own first parts there. Needs kPlainLineMax bytes, and sixteen at `before`.
__attribute__((always_inline)) inline const char* PlainLineAt(const char* p, bool wildcard, FirstParts& before, AddressPattern& address) {
    if (before.wait == 0 && before.Begin(p)) {
        std::uint64_t octet;
        p = PlainPartAt(p + before.length, wildcard, octet);
        if (p == nullptr) return nullptr;
        address = PatternOf(before.octets[0], before.octets[1], before.octets[2], octet);
    } else {
        before.wait = before.wait == 0 ? FirstParts::kWaitAfterMiss : before.wait - 1;
        const char* const start = p;
        const char* last = nullptr;
        p = PlainPatternAt(p, wildcard, address, &last);
        if (p == nullptr) return nullptr;
        if (before.wait == 0) {  // the next line is compared with this one
            before.line = start;
            before.length = static_cast<std::size_t>(last - start);
            for (int i = 0; i < 3; ++i) before.octets[i] = address.octets[i];
        }
    }
    if (*p == '\r') ++p;
    return *p == '\n' ? p + 1 : nullptr;
}

}  // namespace

bool ReadPlainPattern(std::string_view text, AddressList list, AddressPattern& pattern, std::size_t room) {
    const bool wildcard = ListRules(list).wildcard_allowed;
    // Where what follows the text may be read too and cannot continue a pattern (as the
    // quotation mark after a document's string), the pattern is read where it stands.
    const auto ends = [](char ch) { return (ch < '0' || ch > '9') && ch != '.' && ch != '*'; };
    const bool read = room > 0 && text.size() + room >= kPlainPatternRead && ends(text.data()[text.size()])
                          ? PlainPatternAt(text.data(), wildcard, pattern) == text.data() + text.size()
                          : WholePlainPattern(text, wildcard, pattern);
    return read && !IsEmptySlot(list, pattern);
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
    const AddressListRules& rules = ListRules(list);
    // Room for as many addresses as the text has room for plain lines ("1.2.3.4\n" is the
    // shortest), up to what the list holds: a text of more lines than that is refused, or
    // repeats itself, and makes room as it goes.
    const std::size_t lines = std::min(static_cast<std::size_t>(end - p) / 8, rules.capacity) + 1;
    read.addresses.reserve(read.addresses.size() + lines);
    // The next line's start after a plain line at `at` that the list takes, or nullptr.
    FirstParts before;  // of a line behind `at`, which leaves sixteen bytes to read there
    // Inlined into the loop: called, it hands each pattern back through memory.
    const auto plain_line = [&](const char* at, AddressPattern& address) __attribute__((always_inline)) -> const char* {
        const char* next = end - at >= kPlainLineMax ? PlainLineAt(at, rules.wildcard_allowed, before, address) : nullptr;
        return next != nullptr && !(rules.zero_is_empty && IsEmptySlot(list, address)) ? next : nullptr;
    };
    for (std::size_t number = first; p < end; ++number) {
        AddressPattern address;
        if (const char* next = plain_line(p, address)) {
            read.Add(address, number);
            p = next;
            // The plain lines right after it stand on the lines after its own: the same run.
            while ((next = plain_line(p, address)) != nullptr) {
                read.addresses.push_back(address);
                p = next;
                ++number;
            }
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
