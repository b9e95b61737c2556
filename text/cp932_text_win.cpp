// CP932 conversion through the system's tables for code page 932, named explicitly.
#include <windows.h>

#include "text/cp932_text.h"

namespace {
constexpr UINT kCp932 = 932;
}  // namespace

std::wstring WideFromCp932(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(kCp932, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::wstring text(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(kCp932, 0, bytes.data(), size, text.data(), units);
    return text;
}

// A character is refused when the conversion had to use the default character, and also
// when its bytes read back as another character: a one-way mapping (the yen sign to
// 0x5C, which reads back as a backslash) would otherwise change the text on the way.
std::string Cp932Character(std::wstring_view character) {
    const int size = static_cast<int>(character.size());
    char bytes[8];
    BOOL used_default = FALSE;
    const int length = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, character.data(), size, bytes,
                                           sizeof bytes, nullptr, &used_default);
    if (length <= 0 || used_default) return {};
    wchar_t back[4];
    const int units = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes, length, back, 4);
    if (units != size || std::wstring_view(back, static_cast<std::size_t>(units)) != character) return {};
    return std::string(bytes, static_cast<std::size_t>(length));
}
