// CP932 text: character boundaries of text cut to a byte limit, and the conversion to
// and from UTF-16, which must hold on every system code page.
#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/cp932_text.h"

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

struct StoredCase {
    const char* name;
    std::wstring text;
    std::size_t limit;
    std::string bytes;        // written out from code page 932's table and its best-fit forms
    std::size_t units;        // UTF-16 units read
    std::size_t left_out;     // characters without a form
};

// よ U+3088, ろ U+308D, し U+3057, く U+304F, ま U+307E, た U+305F, ね U+306D.
const std::wstring kSeeYou = L"\x3088\x308D\x3057\x304F";
const std::wstring kAgain = L"\x307E\x305F\x306D";
const std::string kSeeYouBytes = "\x82\xe6\x82\xeb\x82\xb5\x82\xad";
const std::string kAgainBytes = "\x82\xdc\x82\xbd\x82\xcb";
constexpr std::size_t kAll = std::string::npos;

const StoredCase kStoredCases[] = {
    {"wave dash U+301C as the full-width tilde", kSeeYou + L"\x301C" + kAgain, kAll,
     kSeeYouBytes + "\x81\x60" + kAgainBytes, 8, 0},
    {"full-width tilde U+FF5E", L"\xFF5E", kAll, "\x81\x60", 1, 0},
    {"minus sign U+2212", L"\x2212" L"1", kAll, "\x81\x7c" "1", 2, 0},
    {"double vertical line U+2016", L"\x2016", kAll, "\x81\x61", 1, 0},
    {"em dash U+2014", L"\x2014", kAll, "\x81\x5c", 1, 0},
    {"cent, pound and not signs as their full-width twins", L"\x00A2\x00A3\x00AC", kAll, "\x81\x91\x81\x92\x81\xca", 3, 0},
    {"yen sign as 5C", L"\x00A5" L"5", kAll, "\x5c" "5", 2, 0},
    {"e acute as e", L"Caf\x00E9!", kAll, "Cafe!", 5, 0},
    {"kanji and katakana", kJapaneseTest, kAll, kJapaneseTestBytes, 6, 0},
    {"an emoji is left out, the rest kept", L"a\xD83D\xDE00" L"b", kAll, "ab", 4, 1},
    {"a lone surrogate is left out", L"\xDE00" L"a\xD83D", kAll, "a", 3, 2},
    {"characters left out take no room", L"\xD83D\xDE00" + std::wstring(40, L'a'), 40, std::string(40, 'a'), 42, 1},
    {"a best-fit form across the limit is not taken", L"ab\x00A2", 3, "ab", 2, 0},
    {"21 kanji in 40 bytes keep 20", std::wstring(21, L'\x65E5'), 40, [] {
         std::string s;
         for (int i = 0; i < 20; ++i) s += "\x93\xfa";
         return s;
     }(), 20, 0},
};

TEST(Cp932Text, EnteredTextIsStoredInItsBestFitFormsAndLeavesOutWhatHasNone) {
    for (const StoredCase& c : kStoredCases) {
        const Cp932Stored stored = StoredCp932(c.text, c.limit);
        EXPECT_EQ(stored.bytes, c.bytes) << c.name;
        EXPECT_EQ(stored.units, c.units) << c.name;
        EXPECT_EQ(stored.left_out, c.left_out) << c.name;
        // What the window shows is what the file reads back.
        EXPECT_EQ(StoredTextShown(c.text, c.limit), WideFromCp932(c.bytes)) << c.name;
    }
}

#ifdef _WIN32
// The stored forms are the system's own code page 932 conversion with its best-fit
// forms, for every character of the Basic Multilingual Plane, except the four whose JIS
// mapping takes the code of the same glyph; and no character is ever stored as "?".
TEST(Cp932Text, StoredFormsAreTheSystemsBestFitConversion) {
    int compared = 0;
    for (unsigned code = 1; code < 0x10000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        const wchar_t character = static_cast<wchar_t>(code);
        char bytes[8];
        BOOL used_default = FALSE;
        const int length = WideCharToMultiByte(932, 0, &character, 1, bytes, sizeof bytes, nullptr, &used_default);
        const std::string expected = length > 0 && !used_default ? std::string(bytes, length) : std::string();
        const std::string stored = StoredCp932(std::wstring(1, character)).bytes;
        if (code == 0x301C || code == 0x2212 || code == 0x2016 || code == 0x2014) {
            EXPECT_TRUE(expected.empty()) << std::hex << code;
            continue;
        }
        EXPECT_EQ(stored, expected) << std::hex << code;
        compared += !expected.empty();
    }
    EXPECT_GT(compared, 9000);  // the whole table, not an empty conversion
}
#endif

#ifndef _WIN32
// Converts all of `in` with the C library's converter; false when it refuses any of it.
bool SystemConversion(iconv_t converter, std::string in, std::string& out) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* source = in.data();
    std::size_t source_left = in.size();
    char* target = buffer;
    std::size_t target_left = sizeof buffer;
    if (iconv(converter, &source, &source_left, &target, &target_left) == static_cast<std::size_t>(-1)) return false;
    out.assign(buffer, sizeof buffer - target_left);
    return source_left == 0;
}

// The tables this tree was built with read and write exactly what this machine's CP932
// converter does: every byte, every lead byte with every byte after it (U+FFFD for the
// lead, then the second byte on its own, where the pair is none), and the exact form of
// every character of the Basic Multilingual Plane (none where it reads back as another).
TEST(Cp932Text, TablesReadAndWriteAsTheSystemsConverter) {
    iconv_t from_cp932 = iconv_open("UTF-16LE", "CP932");
    iconv_t to_cp932 = iconv_open("CP932", "UTF-16LE");
    ASSERT_NE(from_cp932, reinterpret_cast<iconv_t>(-1));
    ASSERT_NE(to_cp932, reinterpret_cast<iconv_t>(-1));
    const auto unit_bytes = [](unsigned unit) { return std::string{char(unit & 0xFF), char(unit >> 8)}; };
    const auto read = [&](const std::string& bytes) {
        std::string utf16;
        if (!SystemConversion(from_cp932, bytes, utf16) || utf16.size() != 2) return std::wstring(1, L'\xFFFD');
        return std::wstring(1, wchar_t(static_cast<unsigned char>(utf16[0]) | static_cast<unsigned char>(utf16[1]) << 8));
    };
    std::wstring alone[256];
    for (int byte = 0; byte < 256; ++byte) {
        const std::string bytes(1, char(byte));
        alone[byte] = IsCp932LeadByte(byte) ? L"\xFFFD" : read(bytes);
        EXPECT_EQ(WideFromCp932(bytes), alone[byte]) << std::hex << byte;
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(lead)) continue;
        for (int trail = 0; trail < 256; ++trail) {
            const std::string pair{char(lead), char(trail)};
            std::wstring expected = read(pair);
            if (expected == L"\xFFFD") expected += alone[trail];
            EXPECT_EQ(WideFromCp932(pair), expected) << std::hex << lead << " " << trail;
        }
    }
    int written = 0;
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        std::string bytes, back;
        if (!SystemConversion(to_cp932, unit_bytes(unit), bytes) || !SystemConversion(from_cp932, bytes, back) ||
            back != unit_bytes(unit))
            bytes.clear();
        EXPECT_EQ(Cp932FromWide(std::wstring(1, wchar_t(unit))).bytes, bytes) << std::hex << unit;
        written += !bytes.empty();
    }
    EXPECT_GT(written, 9000);  // the whole table, not an empty conversion
    iconv_close(from_cp932);
    iconv_close(to_cp932);
}
#endif

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
