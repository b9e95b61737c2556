// CP932 text: character boundaries of text cut to a byte limit, and the conversion to
// and from UTF-16, which must hold on every system code page.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/cp932_text.h"

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


struct ToCp932Case {
    const char* name;
    std::wstring text;
    std::size_t limit;
    std::string bytes;   // written out from the code page 932 table
    std::size_t units;   // UTF-16 units taken
};

// Kanji and kana spelled as UTF-16 units so that the table reads the same on every
// platform: 日 U+65E5, 本 U+672C, 語 U+8A9E, テ U+30C6, ス U+30B9, ト U+30C8.
const std::wstring kJapaneseTest = L"\x65E5\x672C\x8A9E\x30C6\x30B9\x30C8";
const std::string kJapaneseTestBytes = "\x93\xfa\x96\x7b\x8c\xea\x83\x65\x83\x58\x83\x67";

const ToCp932Case kToCp932Cases[] = {
    {"kanji and katakana", kJapaneseTest, std::string::npos, kJapaneseTestBytes, 6},
    {"ASCII, a question mark included", L"Ok?", std::string::npos, "Ok?", 3},
    {"second bytes equal to a backslash (so, hyo)", L"\x30BD\x8868", std::string::npos, "\x83\x5c\x95\x5c", 2},
    {"half-width katakana is one byte", L"\xFF71", std::string::npos, "\xb1", 1},
    {"full-width tilde of the code page 932 table", L"\xFF5E", std::string::npos, "\x81\x60", 1},
    {"line break", L"\r\n", std::string::npos, "\r\n", 2},
    {"e acute stops the text, never a question mark", L"Ok Caf\x00E9!", std::string::npos, "Ok Caf", 6},
    {"yen sign has only a one-way mapping", L"\x00A5" L"1", std::string::npos, "", 0},
    {"an emoji (a surrogate pair)", L"a\xD83D\xDE00", std::string::npos, "a", 1},
    {"a lone high surrogate", L"a\xD83D" L"b", std::string::npos, "a", 1},
    {"a lone low surrogate", L"\xDE00", std::string::npos, "", 0},
    {"cut at the limit between characters", kJapaneseTest, 4, "\x93\xfa\x96\x7b", 2},
    {"a double-byte character across the limit is left out", L"a" + kJapaneseTest, 4, "a\x93\xfa", 2},
    {"21 kanji in 40 bytes keep 20", std::wstring(21, L'\x65E5'), 40, [] {
         std::string s;
         for (int i = 0; i < 20; ++i) s += "\x93\xfa";
         return s;
     }(), 20},
    {"zero limit", L"abc", 0, "", 0},
    {"empty text", L"", std::string::npos, "", 0},
};

TEST(Cp932Text, WideTextConvertsUntilACharacterCp932CannotHoldOrTheLimit) {
    for (const ToCp932Case& c : kToCp932Cases) {
        const Cp932Prefix prefix = Cp932FromWide(c.text, c.limit);
        EXPECT_EQ(prefix.bytes, c.bytes) << c.name;
        EXPECT_EQ(prefix.units, c.units) << c.name;
        // What went in comes back as the same characters.
        EXPECT_EQ(WideFromCp932(prefix.bytes), c.text.substr(0, c.units)) << c.name;
    }
}

TEST(Cp932Text, StoredBytesShowAsTheirCharacters) {
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {kJapaneseTestBytes, kJapaneseTest},
        {"ID \x83\x5c\xb1", L"ID \x30BD\xFF71"},
        {"\x81\x60", L"\xFF5E"},
        {"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(WideFromCp932(c.bytes), c.text) << c.bytes;
}

}  // namespace
