// Byte-length rules for CP932 text.
#include "ui/cp932_text.h"

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
