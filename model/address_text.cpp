// Formatting, splitting and reading the dotted address text.
#include "model/address_text.h"

#include <array>
#include <cstring>

#include "text/cp932_text.h"

#include "config/game_config.h"

namespace {

// The decimal text of every octet value, its digits first, and how many there are: an
// address is written from it three bytes at a time, without a division (the lists that
// qorcfg prints run to 65535 lines each).
struct OctetText {
    char digits[3];
    std::uint8_t length;
};

constexpr std::array<OctetText, 256> OctetTexts() {
    std::array<OctetText, 256> texts{};
    for (int value = 0; value < 256; ++value) {
        OctetText& t = texts[static_cast<std::size_t>(value)];
        if (value >= 100) t.digits[t.length++] = static_cast<char>('0' + value / 100);
        if (value >= 10) t.digits[t.length++] = static_cast<char>('0' + value / 10 % 10);
        t.digits[t.length++] = static_cast<char>('0' + value % 10);
    }
    return texts;
}

constexpr std::array<OctetText, 256> kOctetTexts = OctetTexts();

// Writes three bytes at `out` whatever the component's length: what follows it is
// written over the rest, and the last component of the longest address ends exactly at
// kAddressTextMax.
char* AppendComponent(char* out, std::uint16_t value) {
    if (value > 255) {
        *out++ = '*';
        return out;
    }
    const OctetText& text = kOctetTexts[value];
    std::memcpy(out, text.digits, sizeof text.digits);
    return out + text.length;
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
