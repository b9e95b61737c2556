// Terminal text on POSIX systems: the terminal speaks UTF-8; iconv converts UTF-16.
#include "cli/terminal_text.h"

#include <errno.h>
#include <iconv.h>

#include "text/utf16_bytes_posix.h"

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

}  // namespace

std::string Utf8FromWide(std::wstring_view wide) {
    std::string out;
    Convert("UTF-8", "UTF-16LE", Utf16LeBytes(wide), out, false);
    return out;
}

bool WideFromUtf8(std::string_view utf8, std::wstring& wide) {
    std::string utf16;
    if (!Convert("UTF-16LE", "UTF-8", utf8, utf16, true)) return false;
    wide = WideFromUtf16Le(utf16);
    return true;
}

bool WriteTerminalText(std::FILE* stream, std::string_view utf8, bool) {
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
}

std::string ArgumentText(char** argv, int index) { return argv[index]; }

bool PathArgument(char** argv, int index, std::string& path) {
    path = argv[index];
    return true;
}

std::string PathText(const std::string& path) { return path; }

std::FILE* OpenPathForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }
