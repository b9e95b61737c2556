// Reading a whole list text at once: the common line, a plain address, read where it
// stands without first finding its end; any other through ReadListLine.
#include <algorithm>
#include <bit>
#include <cstring>

#include "cli/list_text.h"
#include "model/address_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

