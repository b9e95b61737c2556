// CP932 conversion for builds without Windows (the native tests), through iconv's CP932
// tables, which follow the same code page 932.
#include <iconv.h>

#include "text/cp932_text.h"
#include "text/utf16_bytes_posix.h"

namespace {

// Converts all of `in`; false when iconv refuses any of it.
bool Convert(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::string buffer(in.size() * 4 + 8, '\0');
    char* source = const_cast<char*>(in.data());
    std::size_t source_left = in.size();
    char* target = buffer.data();
    std::size_t target_left = buffer.size();
    const std::size_t result = iconv(converter, &source, &source_left, &target, &target_left);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || source_left != 0) return false;
    out.assign(buffer.data(), buffer.size() - target_left);
    return true;
}


}  // namespace

// Byte by byte where the whole does not convert: an invalid byte becomes U+FFFD.
std::wstring WideFromCp932(std::string_view bytes) {
    std::wstring text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
        std::string utf16;
        if (at + width <= bytes.size() && Convert("UTF-16LE", "CP932", std::string(bytes.substr(at, width)), utf16)) {
            text += WideFromUtf16Le(utf16);
            at += width;
        } else {
            text += static_cast<wchar_t>(0xFFFD);
            at += 1;
        }
    }
    return text;
}

std::string Cp932Character(std::wstring_view character) {
    std::string bytes;
    if (!Convert("CP932", "UTF-16LE", Utf16LeBytes(character), bytes) || bytes.empty()) return {};
    std::string back;
    if (!Convert("UTF-16LE", "CP932", bytes, back) || WideFromUtf16Le(back) != character) return {};
    return bytes;
}
