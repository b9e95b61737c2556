// Reading a whole plain-text address list in one pass: the common line, a plain
// address, is read where it stands without first finding its end, and any other goes
// through ReadListLine.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "cli/list_text.h"
#include "cli/plain_pattern.h"

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
