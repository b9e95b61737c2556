// Formatting, splitting and reading the dotted address text.
#include "model/address_text.h"

#include "text/cp932_text.h"

#include "config/game_config.h"

namespace {

char* AppendComponent(char* out, std::uint16_t value) {
    if (value > 255) {
        *out++ = '*';
        return out;
    }
    if (value >= 100) *out++ = static_cast<char>('0' + value / 100);
    if (value >= 10) *out++ = static_cast<char>('0' + value / 10 % 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The leading decimal digits as a number; unsigned arithmetic wraps, so the low bits
// are those of the exact value however long the digits run.
std::uint32_t LeadingDecimal(std::string_view text) {
    std::uint32_t value = 0;
    for (char ch : text) {
        if (!IsDigit(ch)) break;
        value = value * 10 + static_cast<std::uint32_t>(ch - '0');
    }
    return value;
}

}  // namespace

char* WriteAddressText(char* out, std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    out = AppendComponent(out, a);
    *out++ = '.';
    out = AppendComponent(out, b);
    *out++ = '.';
    out = AppendComponent(out, c);
    *out++ = '.';
    return AppendComponent(out, d);
}

std::string FormatAddressText(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    char text[kAddressTextMax];
    return std::string(text, WriteAddressText(text, a, b, c, d));
}

std::array<std::string_view, 4> SplitAddressText(std::string_view line) {
    std::array<std::string_view, 4> components;
    std::size_t position = 0;
    for (std::string_view& component : components) {
        if (position >= line.size()) break;  // this and the later components stay empty
        std::size_t dot = line.find('.', position);
        if (dot == std::string_view::npos) dot = line.size();
        component = line.substr(position, dot - position);
        position = dot + 1;
    }
    return components;
}

std::uint16_t PatternOctetFromText(std::string_view component) {
    if (!component.empty() && component.front() == '*') return kWildcardOctet;
    return static_cast<std::uint16_t>(LeadingDecimal(component));
}

std::uint8_t ConnectOctetFromText(std::string_view component) {
    return static_cast<std::uint8_t>(LeadingDecimal(component));
}

std::size_t ConnectIdLength(std::string_view text) {
    return Cp932PrefixLength(text.data(), text.size(), kConnectIdTextMax);
}
