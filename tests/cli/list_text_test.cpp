// The one-pass reading of an imported list: plain addresses are taken where they stand,
// every other line goes the long way, and each keeps its line number.
#include <gtest/gtest.h>

#include <cstring>

#include <string>

#include "cli/list_text.h"
#include "cli/terminal_text.h"

namespace {

// "a.b.c.d@line" for each address, then "!line" for each refused line.
std::string Found(const ListTextRead& read) {
    std::string out;
    for (std::size_t i = 0; i < read.addresses.size(); ++i) {
        for (int k = 0; k < 4; ++k) {
            const std::uint16_t octet = read.addresses[i].octets[k];
            out += (k ? "." : "") + (octet == kWildcardOctet ? std::string("*") : std::to_string(octet));
        }
        out += "@" + std::to_string(read.NumberOf(i)) + " ";
    }
    for (const ListTextRead::Bad& bad : read.bad) out += "!" + std::to_string(bad.number) + " ";
    return out;
}

TEST(ListText, EachLineIsReadAndNumberedWhereverItStands) {
    // Lines well before the end are read in place; the padding line keeps them there.
    const std::string pad = "# padding, so that the lines above are not the last seventeen bytes\n";
    struct Row {
        AddressList list;
        std::string text;
        std::size_t first;
        const char* found;
    };
    const Row rows[] = {
        {AddressList::kDenied, "1.2.3.4\n10.20.30.40\r\n" + pad, 1, "1.2.3.4@1 10.20.30.40@2 "},
        {AddressList::kDenied, "\xEF\xBB\xBF" "255.255.255.255\r\n001.002.003.004\n" + pad, 1,
         "255.255.255.255@1 1.2.3.4@2 "},
        {AddressList::kDenied, "# hosts\n\n5.6.7.8\n  9.9.9.9  # spaced\n" + pad, 1, "5.6.7.8@3 9.9.9.9@4 "},
        {AddressList::kDenied, "1.2.3.4444\n1.2.3.256\n1.2..4\n1.2.3.4.5\n.1.2.3\n7.7.7.7\n" + pad, 1,
         "7.7.7.7@6 !1 !2 !3 !4 !5 "},
        {AddressList::kDenied, "10.0.0.0/8\n1.2.3.*\n1.2.3.4\r\r\n" + pad, 1, "10.*.*.*@1 1.2.3.*@2 1.2.3.4@3 "},
        {AddressList::kConnect, "0.0.0.0\n1.1.1.1\n1.2.3.*\n" + pad, 1, "1.1.1.1@2 !1 !3 "},
        // "*" read in place where the list takes it, and only as a whole part.
        {AddressList::kAllowed, "*.*.*.*\n1.*.3.4\n1.2.**.4\n1*.2.3.4\n1.2.3.*5\n" + pad, 1, "*.*.*.*@1 1.*.3.4@2 !3 !4 !5 "},
        // The last lines, too short to be read in place, and no final line break.
        {AddressList::kDenied, "1.1.1.1\n2.2.2.2", 1, "1.1.1.1@1 2.2.2.2@2 "},
        {AddressList::kDenied, "", 1, ""},
        // Numbered from where the caller says, as the command's arguments are.
        {AddressList::kAllowed, "3.3.3.3\n\n4.4.4.4\n", 5, "3.3.3.3@5 4.4.4.4@7 "},
        // Block lists as they are published: any prefix, ranges, ";" comments. A line
        // stands for exactly the addresses it covers, each numbered by that line.
        {AddressList::kDenied, "1.10.16.0/20 ; SBL256894\n1.2.3.4\n" + pad, 1,
         "1.10.16.*@1 1.10.17.*@1 1.10.18.*@1 1.10.19.*@1 1.10.20.*@1 1.10.21.*@1 1.10.22.*@1 1.10.23.*@1 "
         "1.10.24.*@1 1.10.25.*@1 1.10.26.*@1 1.10.27.*@1 1.10.28.*@1 1.10.29.*@1 1.10.30.*@1 1.10.31.*@1 "
         "1.2.3.4@2 "},
        {AddressList::kDenied, "; a comment\n10.0.0.4/30\n10.0.0.0/7\n" + pad, 1,
         "10.0.0.4@2 10.0.0.5@2 10.0.0.6@2 10.0.0.7@2 10.*.*.*@3 11.*.*.*@3 "},
        {AddressList::kDenied, "10.0.0.5 - 10.0.0.9 # range\n192.168.0.0-192.168.1.255\n5.5.5.5-5.5.5.5\n" + pad, 1,
         "10.0.0.5@1 10.0.0.6@1 10.0.0.7@1 10.0.0.8@1 10.0.0.9@1 192.168.0.*@2 192.168.1.*@2 5.5.5.5@3 "},
        {AddressList::kAllowed, "0.0.0.0-255.255.255.255\n" + pad, 1, "*.*.*.*@1 "},
        // Host bits past the prefix, a range backwards, a prefix past /32.
        {AddressList::kDenied, "10.0.0.1/20\n9.0.0.0-8.0.0.0\n1.2.3.4/33\n1.2.3.4-\n" + pad, 1, "!1 !2 !3 !4 "},
        {AddressList::kConnect, "1.2.3.4-1.2.3.5\n1.2.3.4-1.2.3.4\n1.2.3.4/31\n" + pad, 1, "1.2.3.4@2 !1 !3 "},
        // Lines that begin as the one before: only what follows differs, rightly or not.
        {AddressList::kDenied, "1.2.3.4\n1.2.3.5\n1.2.3.*\n1.2.3.256\n1.2.3.4444\n1.2.3.\n1.2.3.66\r\n1.2.3.7 # x\n1.2.3.8\n" + pad,
         1, "1.2.3.4@1 1.2.3.5@2 1.2.3.*@3 1.2.3.66@7 1.2.3.7@8 1.2.3.8@9 !4 !5 !6 "},
        // Lines that begin alike only in part, the longest first parts, and a line compared
        // with the plain line before the comment between them.
        {AddressList::kDenied, "1.2.3.4\n1.2.34.5\n1.2.3.45\n12.2.3.4\n" + pad, 1, "1.2.3.4@1 1.2.34.5@2 1.2.3.45@3 12.2.3.4@4 "},
        {AddressList::kDenied, "255.255.255.1\n255.255.255.255\n255.255.25.255\n255.255.255\n" + pad, 1,
         "255.255.255.1@1 255.255.255.255@2 255.255.25.255@3 !4 "},
        {AddressList::kDenied, "1.2.3.4\n# note\n1.2.3.5\n" + pad, 1, "1.2.3.4@1 1.2.3.5@3 "},
        {AddressList::kConnect, "0.0.0.1\n0.0.0.0\n0.0.0.2\n0.0.0.*\n" + pad, 1, "0.0.0.1@1 0.0.0.2@3 !2 !4 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ListTextRead read;
        ReadListText(row.text, row.list, row.first, read);
        EXPECT_EQ(Found(read), row.found);
    }
}

TEST(ListText, Utf16WithItsByteOrderMarkIsReadAsUtf8) {
    // Written by hand in both byte orders: "1.2.3.4\r\n# é\r\n" and a pair for U+1F600.
    const std::string little("\xFF\xFE" "1\0.\0" "2\0.\0" "3\0.\0" "4\0\r\0\n\0" "#\0 \0\xE9\0" "\x3D\xD8\x00\xDE", 30);
    const std::string big("\xFE\xFF" "\0" "1\0" ".\0" "2\0" ".\0" "3\0" ".\0" "4\0\r\0\n\0#\0 \0\xE9" "\xD8\x3D\xDE\x00", 30);
    for (const std::string& bytes : {little, big}) {
        std::string text;
        ASSERT_TRUE(ListTextAsUtf8(bytes, text));
        EXPECT_EQ(text, "1.2.3.4\r\n# \xC3\xA9\xF0\x9F\x98\x80");
    }
    std::string untouched = "kept";
    EXPECT_FALSE(ListTextAsUtf8("1.2.3.4\n", untouched));
    EXPECT_EQ(untouched, "kept");
}

TEST(ListText, ALongRunOfLinesThatBeginAlikeIsReadAsEachLineAlone) {
    // Runs that begin alike, broken now and then by a line that begins otherwise: every
    // line is read, however far it stands from the last break.
    std::string text, found;
    for (int n = 0; n < 300; ++n) {
        const int network = n % 37 == 0 ? n : n - n % 37;
        const std::string line = "10." + std::to_string(network / 256) + "." + std::to_string(network % 256) + "." + std::to_string(n % 256);
        text += line + "\n";
        found += line + "@" + std::to_string(n + 1) + " ";
    }
    ListTextRead read;
    ReadListText(text + "# the end, well past the last line\n", AddressList::kDenied, 1, read);
    EXPECT_EQ(Found(read), found);
}

TEST(ListText, ReadingGoesOnAfterTheAddressesAlreadyRead) {
    ListTextRead read;
    ReadListText("1.1.1.1\n2.2.2.2\n", AddressList::kDenied, 2, read);
    ReadListText("3.3.3.3\n", AddressList::kDenied, 3, read);
    EXPECT_EQ(Found(read), "1.1.1.1@2 2.2.2.2@3 3.3.3.3@3 ");
}


TEST(ListText, APlainEntryIsReadInOnePassAndAnyOtherIsLeftToTheFullReading) {
    struct Row {
        AddressList list;
        const char* text;
        const char* pattern;  // "" where the one pass leaves the text to ReadListLine
    };
    const Row rows[] = {
        {AddressList::kDenied, "1.2.3.4", "1.2.3.4"},
        {AddressList::kDenied, "255.255.255.255", "255.255.255.255"},
        // Every length from the shortest to the longest, as the entry is copied for reading.
        {AddressList::kDenied, "10.2.3.4", "10.2.3.4"},
        {AddressList::kDenied, "1.2.3.255", "1.2.3.255"},
        {AddressList::kDenied, "10.20.30.40", "10.20.30.40"},
        {AddressList::kDenied, "1.2.3.4 ", ""},
        {AddressList::kDenied, "1.2.3.", ""},
        {AddressList::kDenied, "255.255.255.2555", ""},
        {AddressList::kDenied, "001.02.3.000", "1.2.3.0"},
        {AddressList::kDenied, "1.2.*.*", "1.2.*.*"},
        {AddressList::kAllowed, "*.*.*.*", "*.*.*.*"},
        {AddressList::kDenied, "0.0.0.0", "0.0.0.0"},
        {AddressList::kConnect, "192.168.0.2", "192.168.0.2"},
        // The connect-to list takes no "*", and 0.0.0.0 is its empty slot.
        {AddressList::kConnect, "1.2.*.4", ""},
        {AddressList::kConnect, "0.0.0.0", ""},
        // Not plain: too long a part or value, a part missing or more, spaces, a CR, a
        // comment, a prefix, a range, "*" inside a number.
        {AddressList::kDenied, "1.2.3.256", ""},
        {AddressList::kDenied, "1.2.3.0004", ""},
        {AddressList::kDenied, "1.2.3", ""},
        {AddressList::kDenied, "1.2.3.4.5", ""},
        {AddressList::kDenied, "1..3.4", ""},
        {AddressList::kDenied, " 1.2.3.4", ""},
        {AddressList::kDenied, "1.2.3.4\r", ""},
        {AddressList::kDenied, "1.2.3.4 # x", ""},
        {AddressList::kDenied, "1.2.0.0/16", ""},
        {AddressList::kDenied, "1.2.3.4-1.2.3.5", ""},
        {AddressList::kDenied, "1.2.3.4*", ""},
        {AddressList::kDenied, "1.2.**.4", ""},
        {AddressList::kDenied, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        AddressPattern pattern{};
        const bool plain = ReadPlainPattern(row.text, row.list, pattern);
        EXPECT_EQ(plain, *row.pattern != '\0');
        // Read where it stands when what follows may be read too: alike, whatever follows.
        for (const char* after : {"\"]}               ", "5.5.5.5.5.5.5.5.5", "*"}) {
            const std::string stands = std::string(row.text) + after;
            AddressPattern in_place{};
            EXPECT_EQ(ReadPlainPattern(std::string_view(stands).substr(0, std::strlen(row.text)), row.list, in_place,
                                       std::strlen(after)),
                      plain)
                << "followed by " << after;
            EXPECT_TRUE(!plain || SamePattern(in_place, pattern));
        }
        if (!plain) continue;
        ListTextRead read;
        ReadListText(std::string(row.text) + "\n", row.list, 1, read);
        EXPECT_EQ(Found(read), std::string(row.pattern) + "@1 ");
        ASSERT_EQ(read.addresses.size(), 1u);
        EXPECT_TRUE(SamePattern(read.addresses[0], pattern));
    }
}

}  // namespace

namespace {

// Where a text stops being UTF-8: the first byte of the first sequence that is none,
// wherever it falls against the eight-byte steps over ASCII.
TEST(TerminalText, Utf8MistakeIsFoundAtItsFirstByte) {
    const struct {
        std::string text;
        std::size_t at;  // the size when all of it is UTF-8
    } rows[] = {
        {"", 0},
        {"plain ascii, more than eight bytes", 34},
        {"\xE3\x81\x82 \xF0\x9F\x98\x80 \xC3\xA9", 11},  // a kana, an emoji, an accented letter
        {"12345678\x80", 8},                             // a continuation byte alone, after a step
        {"1234567\xC3\xA9x", 10},                        // a sequence across the step
        {"\xC0\xAF", 0},                                 // an overlong "/"
        {"ab\xE0\x80\xAF", 2},                           // an overlong three-byte form
        {"ab\xED\xA0\x80", 2},                           // a surrogate
        {"\xF4\x90\x80\x80", 0},                         // past U+10FFFF
        {"abc\xE3\x81", 3},                              // cut short at the end
        {"abcdefgh\xF5\x80\x80\x80", 8},                 // a byte that starts nothing
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Utf8MistakeAt(row.text), row.at) << PrintableLine(row.text);
        // The conversion to UTF-16 refuses exactly these texts, and the rest come back whole.
        std::wstring wide = L"untouched";
        EXPECT_EQ(WideFromUtf8(row.text, wide), row.at == row.text.size()) << PrintableLine(row.text);
        if (row.at == row.text.size()) EXPECT_EQ(Utf8FromWide(wide), row.text) << PrintableLine(row.text);
        else EXPECT_EQ(wide, L"untouched") << PrintableLine(row.text);
    }
}

// UTF-16 units, one per element, and UTF-8 at each length; a lone surrogate prints as U+FFFD.
TEST(TerminalText, Utf16AndUtf8AtEveryLength) {
    const struct {
        std::wstring wide;
        std::string utf8;
    } rows[] = {
        {L"A\x7F", "A\x7F"},
        {L"\x00E9\x07FF", "\xC3\xA9\xDF\xBF"},
        {L"\x3042\xFFFD", "\xE3\x81\x82\xEF\xBF\xBD"},
        {L"\xD83D\xDE00\xDBFF\xDFFF", "\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"},  // U+1F600, U+10FFFF
    };
    for (const auto& row : rows) {
        std::wstring wide;
        EXPECT_TRUE(WideFromUtf8(row.utf8, wide) && wide == row.wide) << PrintableLine(row.utf8);
        EXPECT_EQ(Utf8FromWide(row.wide), row.utf8) << PrintableLine(row.utf8);
    }
    EXPECT_EQ(Utf8FromWide(L"a\xD83D" L"b\xDE00"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

}  // namespace
