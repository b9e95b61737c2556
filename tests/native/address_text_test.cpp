// The dotted address text: formatting, splitting, the stored components, the ID cut.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/address_text.h"

namespace {

struct FormatCase {
    std::uint16_t a, b, c, d;
    const char* text;
};

TEST(AddressText, FormatWritesDecimalsAndWildcards) {
    const FormatCase cases[] = {
        {0, 0, 0, 0, "0.0.0.0"},
        {192, 168, 1, 10, "192.168.1.10"},
        {255, 255, 255, 255, "255.255.255.255"},
        {192, 168, 256, 1, "192.168.*.1"},
        {300, 65535, 256, 9, "*.*.*.9"},
        {7, 70, 100, 99, "7.70.100.99"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatAddressText(c.a, c.b, c.c, c.d), c.text) << c.text;
    EXPECT_EQ(FormatAddressText(255, 255, 255, 255).size(), kAddressTextMax);
}

struct SplitCase {
    const char* line;
    std::vector<std::string> components;
};

TEST(AddressText, SplitCutsAtDotsAndLeavesMissingComponentsEmpty) {
    const SplitCase cases[] = {
        {"192.168.*.1", {"192", "168", "*", "1"}},
        {"1.2.3", {"1", "2", "3", ""}},
        {"1.2.", {"1", "2", "", ""}},
        {"", {"", "", "", ""}},
        {"..", {"", "", "", ""}},
        {"1..2.3", {"1", "", "2", "3"}},
        {"1.2.3.4.5", {"1", "2", "3", "4"}},  // anything after a fourth dot is ignored
        {"12345", {"12345", "", "", ""}},
    };
    for (const SplitCase& c : cases) {
        auto parts = SplitAddressText(c.line);
        std::vector<std::string> got(parts.begin(), parts.end());
        EXPECT_EQ(got, c.components) << '"' << c.line << '"';
    }
}

TEST(AddressText, ComponentValuesForStoring) {
    EXPECT_EQ(PatternOctetFromText("*"), 256);
    EXPECT_EQ(PatternOctetFromText("*5"), 256);
    EXPECT_EQ(PatternOctetFromText("168"), 168);
    EXPECT_EQ(PatternOctetFromText(""), 0);
    EXPECT_EQ(PatternOctetFromText("65537"), 1);  // kept to 16 bits
    EXPECT_EQ(ConnectOctetFromText("255"), 255);
    EXPECT_EQ(ConnectOctetFromText("300"), 44);   // kept to 8 bits
    EXPECT_EQ(ConnectOctetFromText(""), 0);
    EXPECT_EQ(ConnectOctetFromText("12a"), 12);
}

struct IdCase {
    std::string text;
    std::size_t kept;
};

TEST(AddressText, ConnectIdKeepsFifteenBytesWithoutSplittingACharacter) {
    const std::string kana = "\x83\x41";  // one double-byte character
    const IdCase cases[] = {
        {"", 0},
        {"short", 5},
        {"123456789012345", 15},
        {"12345678901234567890", 15},
        {"1234567890123" + kana, 15},     // ends exactly at byte 15
        {"12345678901234" + kana, 14},    // would straddle bytes 15 and 16
        {kana + kana + kana + kana + kana + kana + kana + kana, 14},
        {"\xb1\xb2\xb3" + std::string(20, 'x'), 15},  // single-byte kana are one byte
        {"abc\x83", 3},                   // a lead byte without its second byte is no character
    };
    for (const IdCase& c : cases) EXPECT_EQ(ConnectIdLength(c.text), c.kept) << c.text;
}

}  // namespace
