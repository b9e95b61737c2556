// A plain address pattern, four parts of one to three digits (or "*") joined by ".",
// read where it stands with no copy and no search for its end: the reading that a list's
// lines, a document's entries and a range's ends share.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "model/address_lists.h"

// The four octets as one pattern, put together in a register: stored octet by octet
// and then read back whole, each line would wait for its stores.
inline AddressPattern PatternOf(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
    if constexpr (std::endian::native == std::endian::little) {
        return std::bit_cast<AddressPattern>(a | b << 16 | c << 32 | d << 48);
    } else {
        return AddressPattern{{static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b),
                               static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(d)}};
    }
}

// The longest plain pattern, "255.255.255.255", and the most PlainPatternAt reads: one
// byte more.
inline constexpr std::size_t kPlainPatternMax = 15;
inline constexpr std::size_t kPlainPatternRead = kPlainPatternMax + 1;

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
inline bool WholePlainPattern(std::string_view text, bool wildcard, AddressPattern& pattern) {
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
