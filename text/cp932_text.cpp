// CP932 character rules, shared by every platform.
#include "text/cp932_text.h"

#include <algorithm>
#include <cstring>
#include <iterator>

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t Cp932PrefixLength(const char* text, std::size_t length, std::size_t limit) {
    std::size_t end = 0;
    while (end < length) {
        std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > length || end + width > limit) break;
        end += width;
    }
    return end;
}

std::size_t CopyCp932Text(const char* field, std::size_t field_size, char* out, std::size_t out_size) {
    const void* nul = std::memchr(field, '\0', field_size);
    std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : field_size;
    std::size_t kept = Cp932PrefixLength(field, length, out_size - 1);
    std::memcpy(out, field, kept);
    out[kept] = '\0';
    return kept;
}

// Defined once per platform (cp932_text_win.cpp, cp932_text_posix.cpp): the CP932 form
// of one character, one UTF-16 unit or a surrogate pair, or an empty string when CP932
// has no form for it that converts back to the same character.
std::string Cp932Character(std::wstring_view character);

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The UTF-16 units of the character that starts at `at`: a surrogate pair, or one unit
// (a lone surrogate included).
std::size_t CharacterWidth(std::wstring_view text, std::size_t at) {
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

struct OneWayForm {
    char16_t character;
    const char* bytes;
};

// The characters whose stored form does not read back as themselves, by code point:
// code page 932's best-fit forms (as a Japanese Windows converts an ANSI edit's text),
// and the four characters whose JIS mapping differs from code page 932's, which take
// the code of the same glyph. Every other character is stored only in its exact form.
constexpr OneWayForm kOneWayForms[] = {
    {0x00A1, "\x21"},
    {0x00A2, "\x81\x91"},
    {0x00A3, "\x81\x92"},
    {0x00A5, "\x5c"},
    {0x00A6, "\x7c"},
    {0x00A9, "\x63"},
    {0x00AA, "\x61"},
    {0x00AB, "\x81\xe1"},
    {0x00AC, "\x81\xca"},
    {0x00AD, "\x2d"},
    {0x00AE, "\x52"},
    {0x00AF, "\x81\x50"},
    {0x00B2, "\x32"},
    {0x00B3, "\x33"},
    {0x00B5, "\x83\xca"},
    {0x00B7, "\x81\x45"},
    {0x00B8, "\x81\x43"},
    {0x00B9, "\x31"},
    {0x00BA, "\x6f"},
    {0x00BB, "\x81\xe2"},
    {0x00C0, "\x41"},
    {0x00C1, "\x41"},
    {0x00C2, "\x41"},
    {0x00C3, "\x41"},
    {0x00C4, "\x41"},
    {0x00C5, "\x41"},
    {0x00C6, "\x41"},
    {0x00C7, "\x43"},
    {0x00C8, "\x45"},
    {0x00C9, "\x45"},
    {0x00CA, "\x45"},
    {0x00CB, "\x45"},
    {0x00CC, "\x49"},
    {0x00CD, "\x49"},
    {0x00CE, "\x49"},
    {0x00CF, "\x49"},
    {0x00D0, "\x44"},
    {0x00D1, "\x4e"},
    {0x00D2, "\x4f"},
    {0x00D3, "\x4f"},
    {0x00D4, "\x4f"},
    {0x00D5, "\x4f"},
    {0x00D6, "\x4f"},
    {0x00D8, "\x4f"},
    {0x00D9, "\x55"},
    {0x00DA, "\x55"},
    {0x00DB, "\x55"},
    {0x00DC, "\x55"},
    {0x00DD, "\x59"},
    {0x00DE, "\x54"},
    {0x00DF, "\x73"},
    {0x00E0, "\x61"},
    {0x00E1, "\x61"},
    {0x00E2, "\x61"},
    {0x00E3, "\x61"},
    {0x00E4, "\x61"},
    {0x00E5, "\x61"},
    {0x00E6, "\x61"},
    {0x00E7, "\x63"},
    {0x00E8, "\x65"},
    {0x00E9, "\x65"},
    {0x00EA, "\x65"},
    {0x00EB, "\x65"},
    {0x00EC, "\x69"},
    {0x00ED, "\x69"},
    {0x00EE, "\x69"},
    {0x00EF, "\x69"},
    {0x00F0, "\x64"},
    {0x00F1, "\x6e"},
    {0x00F2, "\x6f"},
    {0x00F3, "\x6f"},
    {0x00F4, "\x6f"},
    {0x00F5, "\x6f"},
    {0x00F6, "\x6f"},
    {0x00F8, "\x6f"},
    {0x00F9, "\x75"},
    {0x00FA, "\x75"},
    {0x00FB, "\x75"},
    {0x00FC, "\x75"},
    {0x00FD, "\x79"},
    {0x00FE, "\x74"},
    {0x00FF, "\x79"},
    {0x2014, "\x81\x5c"},  // em dash, as the horizontal bar U+2015
    {0x2016, "\x81\x61"},  // double vertical line, as U+2225
    {0x2212, "\x81\x7c"},  // minus sign, as the full-width hyphen-minus U+FF0D
    {0x301C, "\x81\x60"},  // wave dash, as the full-width tilde U+FF5E
    {0x3094, "\x83\x94"},
    {0xF8F0, "\xa0"},
    {0xF8F1, "\xfd"},
    {0xF8F2, "\xfe"},
    {0xF8F3, "\xff"},
};

std::string StoredCharacter(std::wstring_view character) {
    if (character.size() == 1) {
        const auto* end = std::end(kOneWayForms);
        const auto* form = std::lower_bound(std::begin(kOneWayForms), end, character[0],
                                            [](const OneWayForm& f, wchar_t c) { return f.character < c; });
        if (form != end && form->character == character[0]) return form->bytes;
    }
    return Cp932Character(character);
}

}  // namespace

Cp932Prefix Cp932FromWide(std::wstring_view text, std::size_t limit) {
    Cp932Prefix prefix;
    while (prefix.units < text.size()) {
        const std::size_t width = CharacterWidth(text, prefix.units);
        const std::string bytes = Cp932Character(text.substr(prefix.units, width));
        if (bytes.empty() || bytes.size() > limit - prefix.bytes.size()) break;
        prefix.bytes += bytes;
        prefix.units += width;
    }
    return prefix;
}

Cp932Stored StoredCp932(std::wstring_view text, std::size_t limit) {
    Cp932Stored stored;
    while (stored.units < text.size()) {
        const std::size_t width = CharacterWidth(text, stored.units);
        const std::string bytes = StoredCharacter(text.substr(stored.units, width));
        if (bytes.size() > limit - stored.bytes.size()) break;
        if (bytes.empty()) ++stored.left_out;
        stored.bytes += bytes;
        stored.units += width;
    }
    return stored;
}

std::wstring StoredTextShown(std::wstring_view text, std::size_t limit) {
    return WideFromCp932(StoredCp932(text, limit).bytes);
}
