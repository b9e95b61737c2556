// The dotted address text a.b.c.d in which the address pages show and read addresses
// ("*" stands for the wildcard octet), and the cut of the connect-to ID text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Longest address text: four octets of three digits and three dots.
inline constexpr std::size_t kAddressTextMax = 15;

// Most bytes of ID text that fit in connect_id together with its NUL.
inline constexpr std::size_t kConnectIdTextMax = 15;

// "a.b.c.d" with each value in decimal, or "*" for a value above 255.
std::string FormatAddressText(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d);

// The same text written to `out` (room for kAddressTextMax bytes, no NUL); returns the
// end of what was written.
char* WriteAddressText(char* out, std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d);

// The four components of a line, in order: each runs up to the next "." or the end of
// the line; the components past the end of a short line are empty.
std::array<std::string_view, 4> SplitAddressText(std::string_view line);

// The stored value of a list line's component: its leading decimal digits (none read as
// 0), kept to 16 bits; a component starting with "*" is the wildcard.
std::uint16_t PatternOctetFromText(std::string_view component);

// The stored byte of a connect-to line's component: its decimal value kept to 8 bits.
std::uint8_t ConnectOctetFromText(std::string_view component);

// How many leading bytes of `text` the connect ID keeps: at most kConnectIdTextMax, and
// never the first half of a CP932 double-byte character whose second half does not fit.
std::size_t ConnectIdLength(std::string_view text);
