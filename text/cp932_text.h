// CP932 text: the character rules (where a text of bounded size may end) and the
// conversion between CP932 bytes and UTF-16. The game reads its file as CP932 whatever
// the system's code page is, so every conversion names code page 932 and none goes
// through the system's ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True for the first byte of a CP932 double-byte character (0x81-0x9F, 0xE0-0xFC).
bool IsCp932LeadByte(unsigned char byte);

// The length of the longest prefix of text[0, length) that is at most `limit` bytes long
// and ends on a character boundary. A lead byte whose second byte is missing (the text
// ends right after it) is an incomplete character and never part of the prefix.
std::size_t Cp932PrefixLength(const char* text, std::size_t length, std::size_t limit);

// Copies the text of a fixed-size field into `out` (capacity `out_size`, at least 1):
// the field's text ends at its first NUL or at the end of the field, whichever comes
// first, and is cut at a character boundary to fit `out_size - 1` bytes. `out` is always
// NUL-terminated. Never reads past `field_size` bytes of `field`. Returns the length.
std::size_t CopyCp932Text(const char* field, std::size_t field_size, char* out, std::size_t out_size);

// UTF-16 text is held in std::wstring, one code unit per element (a character outside
// the Basic Multilingual Plane is two elements, a surrogate pair), on every platform.

// CP932 bytes as UTF-16, for showing stored text. Bytes that are not valid CP932 (only a
// damaged file holds them) become whatever the platform's conversion makes of them.
std::wstring WideFromCp932(std::string_view bytes);

struct Cp932Prefix {
    std::string bytes;       // the CP932 form of the prefix
    std::size_t units = 0;   // how many UTF-16 units of the text it covers
};

// The longest prefix of `text` made of whole characters that CP932 holds exactly (they
// read back as the same characters) and whose CP932 form is at most `limit` bytes. For
// names such as paths, which must reach the same file: it stops before the first
// character without an exact form, so `units` < text.size() tells the caller the text
// did not go in whole.
Cp932Prefix Cp932FromWide(std::wstring_view text, std::size_t limit = std::string::npos);

// What the file stores of a text the user entered, by the rule a Japanese Windows
// applies to an ANSI edit's text: each character takes the bytes code page 932 gives it
// with its best-fit forms (a yen sign 5C, an e acute 65, a cent sign 81 91), and the
// characters whose JIS mapping differs from code page 932's take the code of the same
// glyph (the wave dash U+301C 81 60, the minus sign U+2212 81 7C, the double vertical
// line U+2016 81 61, the em dash U+2014 81 5C). A character with no form at all (an
// emoji, a lone surrogate) is left out, never stored as "?"; the rest is kept, up to the
// last whole character within `limit` bytes.
struct Cp932Stored {
    std::string bytes;
    std::size_t units = 0;     // UTF-16 units of the text read, left-out characters included
    std::size_t left_out = 0;  // characters left out for having no form
};
Cp932Stored StoredCp932(std::wstring_view text, std::size_t limit = std::string::npos);

// The text as it reads back from what StoredCp932 stores of it: what a window shows so
// that the screen never differs from the file.
std::wstring StoredTextShown(std::wstring_view text, std::size_t limit = std::string::npos);
