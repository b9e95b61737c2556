// The plain-text address lists that qorcfg imports, exports and takes on its command
// line: one address per line in the dotted form the window shows, "#" comments, and
// CIDR prefixes that stand for wildcard octets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/game_config.h"
#include "model/address_lists.h"

// One line of list text, read.
struct ListLine {
    enum Kind { kBlank, kAddress, kBad } kind = kBlank;
    AddressPattern address{};  // kAddress: the octets, 256 for "*"
    std::string error;         // kBad: why the line was refused
};

// Reads one line (without its line break; a trailing CR is ignored). Blank lines and
// lines holding only a "#" comment are kBlank; text after "#" is a comment. An address
// is four parts joined by ".", each 0 to 255 (leading zeros allowed) or "*" where the
// list allows wildcards; a prefix /32, /24, /16, /8 or /0 turns the octets it leaves
// open into "*". A list without wildcards takes neither "*" nor a prefix that opens an
// octet, and no list takes what marks its empty slot.
ListLine ReadListLine(std::string_view line, AddressList list);

// The lines of an imported text, without their line breaks, in order: a UTF-8
// byte-order mark at the start (as some editors write one) is skipped, and a text that
// ends in a line break has no empty line after it.
std::vector<std::string_view> ListTextLines(std::string_view text);

// The list text that ReadListLine reads back: one address per line, each ending in "\n".
std::string ListText(const std::vector<AddressPattern>& entries);

// A line of input as it may be echoed in a message: printable ASCII kept, other bytes
// as \xNN, cut to a readable length.
std::string PrintableLine(std::string_view line);
