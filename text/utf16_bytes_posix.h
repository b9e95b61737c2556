// UTF-16 text (one unit per wchar_t element, whatever wchar_t's width here) as the bytes
// iconv reads and writes under the name "UTF-16LE", and back. POSIX builds only.
#pragma once

#include <string>
#include <string_view>

inline std::string Utf16LeBytes(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (wchar_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    return bytes;
}

inline std::wstring WideFromUtf16Le(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}
