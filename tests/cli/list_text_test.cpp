// The one-pass reading of an imported list: plain addresses are taken where they stand,
// every other line goes the long way, and each keeps its line number.
#include <gtest/gtest.h>

#include <string>

#include "cli/list_text.h"

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
        // The last lines, too short to be read in place, and no final line break.
        {AddressList::kDenied, "1.1.1.1\n2.2.2.2", 1, "1.1.1.1@1 2.2.2.2@2 "},
        {AddressList::kDenied, "", 1, ""},
        // Numbered from where the caller says, as the command's arguments are.
        {AddressList::kAllowed, "3.3.3.3\n\n4.4.4.4\n", 5, "3.3.3.3@5 4.4.4.4@7 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ListTextRead read;
        ReadListText(row.text, row.list, row.first, read);
        EXPECT_EQ(Found(read), row.found);
    }
}

TEST(ListText, ReadingGoesOnAfterTheAddressesAlreadyRead) {
    ListTextRead read;
    ReadListText("1.1.1.1\n2.2.2.2\n", AddressList::kDenied, 2, read);
    ReadListText("3.3.3.3\n", AddressList::kDenied, 3, read);
    EXPECT_EQ(Found(read), "1.1.1.1@2 2.2.2.2@3 3.3.3.3@3 ");
}

}  // namespace
