// CP932 and UTF-8 meet in UTF-16: the CP932 side is the configuration store's one CP932
// module, so qorcfg stores, refuses and shows characters exactly as the window does.
#include "cli/terminal_text.h"

#include <cstdint>
#include <cstring>

#include "text/cp932_text.h"

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    return Utf8FromWide(WideFromCp932(cp932));
}

bool Utf8ToCp932(std::string_view utf8, std::string& cp932) {
    if (IsAscii(utf8)) {
        cp932.assign(utf8);
        return true;
    }
    std::wstring wide;
    if (!WideFromUtf8(utf8, wide)) return false;
    Cp932Stored stored = StoredCp932(wide);
    if (stored.left_out != 0) return false;
    cp932 = std::move(stored.bytes);
    return true;
}

bool IsAscii(std::string_view text) {
    for (char ch : text)
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    return true;
}

std::size_t Utf8SequenceAt(std::string_view text) {
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || text.size() < length) return 0;
    // The second byte's range narrows after E0 and F0 (no overlong form), ED (no
    // surrogate) and F4 (nothing past U+10FFFF).
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

std::size_t Utf8MistakeAt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        // ASCII, the most of any document, eight bytes at a time.
        std::uint64_t eight;
        if (text.size() - at >= 8 && (std::memcpy(&eight, text.data() + at, 8), (eight & 0x8080808080808080u) == 0)) {
            at += 8;
            continue;
        }
        const std::size_t length = Utf8SequenceAt(text.substr(at));
        if (length == 0) return at;
        at += length;
    }
    return text.size();
}
