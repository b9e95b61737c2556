// The plain-text address lists' other forms: the text export writes, a list saved as
// UTF-16, and a line as a message may echo it.
#include <cstdio>

#include "cli/list_text.h"
#include "model/address_text.h"

std::string ListText(const std::vector<AddressPattern>& entries) {
    std::string text;
    text.reserve(entries.size() * 16);
    for (const AddressPattern& p : entries) {
        char line[kAddressTextMax + 1];
        char* end = WriteAddressText(line, p.octets[0], p.octets[1], p.octets[2], p.octets[3]);
        *end++ = '\n';
        text.append(line, end);
    }
    return text;
}

std::string PrintableLine(std::string_view line) {
    constexpr std::size_t kShown = 60;
    std::string out;
    for (std::size_t i = 0; i < line.size() && i < kShown; ++i) {
        const unsigned char ch = static_cast<unsigned char>(line[i]);
        if (ch >= 0x20 && ch < 0x7f) {
            out += static_cast<char>(ch);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", ch);
            out += hex;
        }
    }
    if (line.size() > kShown) out += "...";
    return out;
}

bool ListTextAsUtf8(std::string_view bytes, std::string& utf8) {
    const bool little = bytes.starts_with("\xFF\xFE"), big = bytes.starts_with("\xFE\xFF");
    if (!little && !big) return false;
    utf8.clear();
    utf8.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
        return little ? static_cast<std::uint32_t>(a | b << 8) : static_cast<std::uint32_t>(a << 8 | b);
    };
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        std::uint32_t code = unit(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 && unit(at + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;  // half of a pair
        }
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | code >> 6);
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | code >> 12);
            utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | code >> 18);
            utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return true;
}
