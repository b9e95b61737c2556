// CP932 as tables, for the builds without Windows: written when the tree is built
// (tools/cp932_table.cpp) from the build machine's converter, so that a program needs no
// converter of the host it runs on.
#pragma once

#include <cstddef>
#include <cstdint>

// No character: the bytes are not CP932.
inline constexpr std::uint16_t kNoCp932Character = 0xFFFF;

// What each single byte reads as, as one UTF-16 unit; kNoCp932Character for the lead
// bytes, which never stand alone.
extern const std::uint16_t kCp932Bytes[256];

// What a lead byte and the byte after it read as, one row per lead byte in order
// (0x81-0x9F rows 0-30, 0xE0-0xFC rows 31-59), one column per second byte.
extern const std::uint16_t kCp932Pairs[60][256];
constexpr int Cp932LeadRow(unsigned lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }

// The CP932 code of each character that reads back as itself, sorted by character: one
// byte below 0x100, else the lead byte << 8 | the second byte.
struct Cp932Code {
    std::uint16_t character;
    std::uint16_t code;
};
extern const Cp932Code kCp932Codes[];
extern const std::size_t kCp932CodeCount;
