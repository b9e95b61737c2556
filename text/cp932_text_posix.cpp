// CP932 conversion for the builds without Windows, through the tables written when the
// tree is built from the build machine's converter (text/cp932_table_posix.h): the same
// code page 932, with nothing loaded from the host at run time.
#include <algorithm>

#include "text/cp932_table_posix.h"
#include "text/cp932_text.h"

// Character by character; a byte that starts no character becomes U+FFFD, and the byte
// after it is read on its own.
std::wstring WideFromCp932(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        std::uint16_t character = kNoCp932Character;
        std::size_t width = 1;
        if (!IsCp932LeadByte(byte)) {
            character = kCp932Bytes[byte];
        } else if (at + 1 < bytes.size()) {
            character = kCp932Pairs[Cp932LeadRow(byte)][static_cast<unsigned char>(bytes[at + 1])];
            width = 2;
        }
        if (character == kNoCp932Character) {
            text += static_cast<wchar_t>(0xFFFD);
            at += 1;
        } else {
            text += static_cast<wchar_t>(character);
            at += width;
        }
    }
    return text;
}

// Only one UTF-16 unit has a form: no CP932 character reads as a surrogate pair.
std::string Cp932Character(std::wstring_view character) {
    if (character.size() != 1 || character[0] > 0xFFFF) return {};
    const auto* end = kCp932Codes + kCp932CodeCount;
    const auto* found = std::lower_bound(kCp932Codes, end, character[0],
                                         [](const Cp932Code& c, wchar_t unit) { return c.character < unit; });
    if (found == end || found->character != character[0]) return {};
    if (found->code < 0x100) return std::string(1, static_cast<char>(found->code));
    return {static_cast<char>(found->code >> 8), static_cast<char>(found->code & 0xFF)};
}
