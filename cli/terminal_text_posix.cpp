// Terminal text on POSIX systems: the terminal speaks UTF-8; iconv converts CP932.
#include "cli/terminal_text.h"

#include <errno.h>
#include <iconv.h>

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Converts with iconv; at a byte sequence the source encoding cannot read, either gives
// up (strict) or writes U+FFFD and skips one byte.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out, bool strict) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    out.resize(in.size() * 2 + 16);
    std::size_t written = 0;
    bool ok = true;
    while (src_left > 0) {
        char* dst = out.data() + written;
        std::size_t dst_left = out.size() - written;
        const std::size_t result = iconv(cd, &src, &src_left, &dst, &dst_left);
        written = out.size() - dst_left;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else if (strict) {
            ok = false;
            break;
        } else {  // EILSEQ or EINVAL (a lead byte at the end)
            out.resize(written);
            out += kReplacement;
            written = out.size();
            out.resize(written + src_left * 2 + 16);
            ++src;
            --src_left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    out.resize(ok ? written : 0);
    return ok;
}

bool IsAscii(std::string_view text) {
    for (char ch : text)
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    std::string out;
    Convert("UTF-8", "CP932", cp932, out, false);
    return out;
}

bool Utf8ToCp932(std::string_view utf8, std::string& cp932) {
    if (IsAscii(utf8)) {
        cp932.assign(utf8);
        return true;
    }
    return Convert("CP932", "UTF-8", utf8, cp932, true);
}

bool WriteTerminalText(std::FILE* stream, std::string_view utf8, bool) {
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
}

std::string ArgumentText(char** argv, int index) { return argv[index]; }
