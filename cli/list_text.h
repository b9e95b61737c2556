// The plain-text address lists that qorcfg imports, exports and takes on its command
// line: one address per line in the dotted form the window shows, "#" comments, and
// CIDR prefixes that stand for wildcard octets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/game_config.h"
#include "model/address_lists.h"

// One line of list text, read.
struct ListLine {
    enum Kind { kBlank, kAddress, kBad } kind = kBlank;
    AddressPattern address{};  // kAddress: the octets, 256 for "*"
    std::vector<AddressPattern> more;  // kAddress: the entries after the first that a
                                       // prefix or range stands for, in order
    std::string error;         // kBad: why the line was refused
};

// Reads one line (without its line break; a trailing CR is ignored). Blank lines and
// lines holding only a comment are kBlank; text after "#" or ";" is a comment. An
// address is four parts joined by ".", each 0 to 255 (leading zeros allowed) or "*"
// where the list allows wildcards; a prefix /0 to /32, or a range a.b.c.d-a.b.c.e,
// stands for exactly the patterns that cover it (whole open octets as "*", a prefix
// between whole octets as one pattern per value of its octet). A list without
// wildcards takes neither "*" nor a prefix or range of more than one address, and no
// list takes what marks its empty slot.
ListLine ReadListLine(std::string_view line, AddressList list);

// The common entry, four parts of plain numbers (0 to 255, up to three digits) or "*"
// where the list takes it, and nothing else, read in one pass: true, with the pattern,
// when the list takes it as it stands. False for anything else, which ReadListLine reads
// (and names what is wrong with); what this takes, ReadListLine reads alike. `room`:
// how many bytes after the text may be read as well, so that it is read where it stands.
bool ReadPlainPattern(std::string_view text, AddressList list, AddressPattern& pattern, std::size_t room = 0);

// What an imported text holds, read line by line as ReadListLine reads each.
class ListTextRead {
public:
    struct Bad {
        std::size_t number;
        std::string_view line;  // without its line break
        std::string error;
    };
    std::vector<AddressPattern> addresses;  // in order
    std::vector<Bad> bad;                   // the refused lines, in order
    // The lines that stood for more than one entry (a prefix or range), in order.
    struct Expanded {
        std::size_t number;
        std::string_view line;
        std::size_t entries;
    };
    std::vector<Expanded> expanded;

    void Add(AddressPattern address, std::size_t number) {
        if (runs_.empty() || number - runs_.back().second != addresses.size() - runs_.back().first)
            runs_.emplace_back(addresses.size(), number);
        addresses.push_back(address);
    }
    // The line the address at `index` stands on.
    std::size_t NumberOf(std::size_t index) const;

private:
    // Where the addresses stop standing on one line after another: {the first address of
    // such a run, its line}. A list without blank or refused lines is one run, so no
    // number is kept per address.
    std::vector<std::pair<std::size_t, std::size_t>> runs_;
};

// Reads every line of `text` (numbered from `first`) into `read`, in one pass: a UTF-8
// byte-order mark at the start (as some editors write one) is skipped, and a text that
// ends in a line break has no empty line after it. The common line, a plain address,
// is read where it stands; any other goes through ReadListLine.
void ReadListText(std::string_view text, AddressList list, std::size_t first, ListTextRead& read);

// A list saved as UTF-16 with its byte-order mark (what a Windows shell's ">" writes) as
// UTF-8 text; false, leaving `utf8` alone, for any other text.
bool ListTextAsUtf8(std::string_view bytes, std::string& utf8);

// The list text that ReadListLine reads back: one address per line, each ending in "\n".
std::string ListText(const std::vector<AddressPattern>& entries);

// A line of input as it may be echoed in a message: printable ASCII kept, other bytes
// as \xNN, cut to a readable length.
std::string PrintableLine(std::string_view line);
