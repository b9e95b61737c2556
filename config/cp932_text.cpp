// CP932 character rules, shared by every platform.
#include "config/cp932_text.h"

#include <cstring>

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

}  // namespace

Cp932Prefix Cp932FromWide(std::wstring_view text, std::size_t limit) {
    Cp932Prefix prefix;
    while (prefix.units < text.size()) {
        const std::size_t at = prefix.units;
        const bool pair = IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]);
        const std::size_t width = pair ? 2 : 1;
        const std::string bytes = Cp932Character(text.substr(at, width));
        if (bytes.empty() || bytes.size() > limit - prefix.bytes.size()) break;
        prefix.bytes += bytes;
        prefix.units += width;
    }
    return prefix;
}
