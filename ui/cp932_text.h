// Byte-length rules for CP932 text: where a text of bounded size may end without
// splitting a double-byte character.
#pragma once

#include <cstddef>

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
