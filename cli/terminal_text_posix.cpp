// Terminal text on POSIX systems: the terminal speaks UTF-8. UTF-8 and UTF-16 are
// converted by their definitions, not by the C library's converter, which would load
// modules of the host into a statically linked qorcfg.
#include "cli/terminal_text.h"

namespace {

bool IsSurrogate(char32_t unit, char32_t first) { return unit >= first && unit <= first + 0x3FF; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};  // by the number of bytes that follow
    const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(kLead[tail] | (c >> (6 * tail)));
    for (int i = tail - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

}  // namespace

// A lone surrogate, or an element that is no UTF-16 unit, becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char32_t>(wide[i]);
        if (IsSurrogate(c, 0xD800) && i + 1 < wide.size() && IsSurrogate(static_cast<char32_t>(wide[i + 1]), 0xDC00))
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(wide[++i]) - 0xDC00);
        else if (IsSurrogate(c, 0xD800) || IsSurrogate(c, 0xDC00) || c > 0xFFFF)
            c = 0xFFFD;
        AppendUtf8(out, c);
    }
    return out;
}

bool WideFromUtf8(std::string_view utf8, std::wstring& wide) {
    std::wstring text;
    text.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = Utf8SequenceAt(utf8.substr(at));
        if (length == 0) return false;
        const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(utf8[at + i])); };
        char32_t c = length == 1 ? byte(0) : byte(0) & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) c = c << 6 | (byte(i) & 0x3F);
        if (c < 0x10000) {
            text += static_cast<wchar_t>(c);
        } else {
            text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        at += length;
    }
    wide = std::move(text);
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
