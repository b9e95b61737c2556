// Character boundaries of CP932 text cut to a byte limit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/cp932_text.h"

namespace {

struct PrefixCase {
    const char* name;
    std::string text;
    std::size_t limit;
    std::size_t expected;
};

// Byte values are spelled out: "\x82\xa0" is あ, "\x83\x5c" is ソ (its second byte is
// '\\'), "\xb1" is the half-width ｱ (one byte, in the range between the lead ranges).
const PrefixCase kPrefixCases[] = {
    {"empty text", "", 40, 0},
    {"single-byte text under the limit", "abc", 40, 3},
    {"single-byte text cut at the limit", "abcdef", 4, 4},
    {"double-byte text ending exactly at the limit", "\x82\xa0\x82\xa0", 4, 4},
    {"double-byte character straddling the limit is dropped", "a\x82\xa0\x82\xa0", 4, 3},
    {"second byte in the lead range is not a lead", "\x82\x9f" "a", 3, 3},
    {"second byte equal to a backslash belongs to its lead", "\x83\x5c\x83\x5c", 3, 2},
    {"half-width katakana is one byte", "\xb1\xb2\xb3", 2, 2},
    {"lead at the end of the text without its second byte", "ab\x82", 40, 2},
    {"lead bytes at both range ends", "\x81\x40\x9f\x40\xe0\x40\xfc\x40", 7, 6},
    {"bytes just outside the lead ranges are single", "\x80\xa0\xfd\xfe", 3, 3},
    {"zero limit", "abc", 0, 0},
    {"limit of one before a double-byte character", "\x82\xa0", 1, 0},
};

TEST(Cp932Text, PrefixEndsOnACharacterBoundary) {
    for (const PrefixCase& c : kPrefixCases) {
        EXPECT_EQ(Cp932PrefixLength(c.text.data(), c.text.size(), c.limit), c.expected) << c.name;
    }
}

TEST(Cp932Text, LeadByteRanges) {
    for (int byte = 0; byte < 256; ++byte) {
        bool lead = (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
        EXPECT_EQ(IsCp932LeadByte(static_cast<unsigned char>(byte)), lead) << byte;
    }
}

struct FieldCase {
    const char* name;
    std::string field;  // exactly the field's bytes, NUL included where the field has one
    std::string expected;
};

TEST(Cp932Text, FieldCopyStopsAtTheNulOrTheFieldEnd) {
    const std::string forty_ascii(40, 'x');
    const std::string twenty_kana = [] {
        std::string s;
        for (int i = 0; i < 20; ++i) s += "\x82\xa0";
        return s;
    }();
    const FieldCase cases[] = {
        {"empty field", std::string(41, '\0'), ""},
        {"text then junk after the NUL", std::string("hi\0junk", 7) + std::string(34, 'z'), "hi"},
        {"40 bytes and the NUL", forty_ascii + std::string(1, '\0'), forty_ascii},
        {"20 double-byte characters and the NUL", twenty_kana + std::string(1, '\0'), twenty_kana},
        {"41 bytes without a NUL keep 40", forty_ascii + "y", forty_ascii},
        {"no NUL, a double-byte character across byte 40",
         std::string(39, 'x') + "\x82\xa0", std::string(39, 'x')},
        {"no NUL, double-byte text through to the end",
         twenty_kana + "\x82", twenty_kana},
    };
    for (const FieldCase& c : cases) {
        ASSERT_EQ(c.field.size(), 41u) << c.name;
        // The field lives in a buffer of exactly its size, so the sanitizers catch any
        // read past it.
        char* field = new char[41];
        std::memcpy(field, c.field.data(), 41);
        char out[41];
        std::memset(out, '#', sizeof out);
        std::size_t length = CopyCp932Text(field, 41, out, sizeof out);
        delete[] field;
        EXPECT_EQ(length, c.expected.size()) << c.name;
        EXPECT_EQ(std::string(out, length), c.expected) << c.name;
        EXPECT_EQ(out[length], '\0') << c.name;
    }
}

TEST(Cp932Text, FieldCopyIntoASmallerBuffer) {
    const char field[5] = {'a', '\x82', '\xa0', 'b', '\0'};
    char out[3];
    EXPECT_EQ(CopyCp932Text(field, sizeof field, out, sizeof out), 1u);
    EXPECT_STREQ(out, "a");
}

}  // namespace
