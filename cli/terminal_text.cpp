// CP932 and UTF-8 meet in UTF-16: the CP932 side is the configuration store's one CP932
// module, so qorcfg stores, refuses and shows characters exactly as the window does.
#include "cli/terminal_text.h"

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
